// The editor's frame: its components, the three ways a design enters it,
// showing, the design surface and closing.
#include "designer/windows/UnitDesign.h"

#include "designer/model/SheetDrawing.h"
#include "designer/windows/EditorShapes.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PageFit.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/SheetTabBar.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

namespace lx {

namespace {

// Cell outlines and inner shapes on the design surface are blue.
constexpr ColorRef kOutlineColor = 0xFF0000;

const QString kSingleModeCaption = QStringLiteral("現在のモード：シングル");
const QString kMultiModeCaption = QStringLiteral("現在のモード：マルチ");

} // namespace

TFormDesign::TFormDesign(EditorSession& session, std::string dataFolder, QWidget* parent)
    : QWidget(parent), Session(session), DataFolder(std::move(dataFolder))
{
    setObjectName(QStringLiteral("FormDesign"));
    setWindowTitle(QStringLiteral("デザイン画面"));
    setWindowFlags(Qt::Window);
    BuildComponents();
    resize(950, 650);
    setMinimumSize(950, 650);
    CentreOnDesktop(this);
    FormCreate();
}

TFormDesign::~TFormDesign()
{
    // No event or signal may reach the editing handlers of a window being
    // torn down: its boxes lose the focus as they go.
    delete EditingHook;
    qDeleteAll(findChildren<EventHook*>());
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    Session.Close();
}

void TFormDesign::BuildComponents()
{
    PanelTool = Named(new QFrame, "PanelTool");
    PanelTool->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelTool->setFixedHeight(44);
    PngBtnDelDesign = Named(new PictureButton, "PngBtnDelDesign");
    PngBtnDelDesign->setText(QStringLiteral("デザイン削除"));
    BtnUndo = Named(new QPushButton(QStringLiteral("もどす")), "BtnUndo");
    BtnRedo = Named(new QPushButton(QStringLiteral("やり直す")), "BtnRedo");
    katabanlbl = Named(new QLabel(QStringLiteral("型番")), "katabanlbl");
    Paperlbl = Named(new ElidedLabel, "Paperlbl");
    CBShowSize = Named(new QComboBox, "CBShowSize");
    CBShowSize->addItems({QStringLiteral("標準サイズ"), QStringLiteral("1024 x  768"), QStringLiteral("1280 x 1024"),
                          QStringLiteral("1920 x 1200")});
    LblMode = Named(new QLabel, "LblMode");
    // As wide in either mode: switching moves nothing beside it.
    for (const QString& mode : {kSingleModeCaption, kMultiModeCaption}) {
        LblMode->setText(mode);
        LblMode->setMinimumWidth(std::max(LblMode->minimumWidth(), LblMode->sizeHint().width()));
    }
    BtnMode = Named(new QPushButton(QStringLiteral("モード変更")), "BtnMode");
    auto* tools = new QHBoxLayout(PanelTool);
    tools->setContentsMargins(6, 4, 6, 4);
    for (QWidget* widget : std::initializer_list<QWidget*>{PngBtnDelDesign, BtnUndo, BtnRedo})
        tools->addWidget(widget);
    // Hidden, もどす and やり直す keep their room: what lies right of them
    // never moves under the mouse when they come and go.
    for (QWidget* widget : std::initializer_list<QWidget*>{BtnUndo, BtnRedo}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    tools->addSpacing(8);
    tools->addWidget(katabanlbl);
    // The model number takes the room the buttons leave, cut short when it
    // is long; what lies right of it keeps its place at the window's edge.
    tools->addWidget(Paperlbl, 1);
    tools->addSpacing(8);
    for (QWidget* widget : std::initializer_list<QWidget*>{CBShowSize, LblMode, BtnMode})
        tools->addWidget(widget);
    katabanlbl->hide();

    ScrollBoxDesign = Named(new QScrollArea, "ScrollBoxDesign");
    ScrollBoxDesign->setWidgetResizable(false);
    ImageDesign = Named(new PictureView, "ImageDesign");
    QPalette grey = ImageDesign->palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    for (QWidget* widget : std::initializer_list<QWidget*>{ScrollBoxDesign->viewport(), ImageDesign}) {
        widget->setPalette(grey);
        widget->setAutoFillBackground(true);
    }
    ScrollBoxDesign->setWidget(ImageDesign);
    ScrollBoxDesign->installEventFilter(this);
    TABSheet = Named(new SheetTabBar, "TABSheet");
    TABSheet->setShape(QTabBar::RoundedSouth);
    // The strip keeps the height of its row of tabs while the cell has no
    // object, so the surface above it holds still when the first one comes.
    TABSheet->addTab(QStringLiteral("文字シート1"));
    TABSheet->setMinimumHeight(TABSheet->sizeHint().height());
    TABSheet->removeTab(0);

    PanelSide = Named(new QFrame, "PanelSide");
    PanelSide->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelSide->setFixedWidth(330);
    ImagePrev = Named(new PictureView, "ImagePrev");
    ImagePrev->setFixedSize(140, 140);
    BtnSheetCopy = Named(new QPushButton(QStringLiteral("コピー")), "BtnSheetCopy");
    BtnSheetPaste = Named(new QPushButton(QStringLiteral("貼付")), "BtnSheetPaste");
    BtnSheetPasteAll = Named(new QPushButton(QStringLiteral("全面に貼付")), "BtnSheetPasteAll");
    BtnSheetDel = Named(new QPushButton(QStringLiteral("削除")), "BtnSheetDel");
    BtnCsvSheet = Named(new QPushButton(QStringLiteral("差込シート")), "BtnCsvSheet");
    BtnRenbanSheet = Named(new QPushButton(QStringLiteral("連番シート")), "BtnRenbanSheet");
    auto* faceButtons = new QVBoxLayout;
    for (QPushButton* button :
         {BtnSheetCopy, BtnSheetPaste, BtnSheetPasteAll, BtnSheetDel, BtnCsvSheet, BtnRenbanSheet})
        faceButtons->addWidget(button);
    faceButtons->addStretch(1);
    auto* overview = new QHBoxLayout;
    overview->addWidget(ImagePrev, 0, Qt::AlignTop);
    overview->addLayout(faceButtons);
    auto* side = new QVBoxLayout(PanelSide);
    side->addLayout(overview);
    side->addStretch(1);

    auto* surface = new QVBoxLayout;
    surface->setSpacing(0);
    surface->addWidget(ScrollBoxDesign, 1);
    surface->addWidget(TABSheet);
    auto* body = new QHBoxLayout;
    body->addLayout(surface, 1);
    body->addWidget(PanelSide);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(2);
    window->addWidget(PanelTool);
    window->addLayout(body, 1);

    Wire("CBShowSizeChange", CBShowSize, &QComboBox::currentIndexChanged, this,
         [this] { guarded([this] { CBShowSizeChange(); }); });
    BuildFileComponents();
    BuildPrintComponents();
    BuildCellComponents();
    BuildOrderComponents();
    BuildUndoComponents();
    BuildObjectComponents();
    BuildEffectStyleComponents();
    BuildPictureComponents();
    BuildMergeComponents();
    BuildSymbolComponents();
    BuildShellComponents();
    FitPagesToContent(PageControlProperty);
    FitSidePanelToPages();
}

void TFormDesign::FitSidePanelToPages()
{
    // The pages scroll down but never sideways: the panel takes the width of
    // the widest page in the window's font.
    const QMargins margins = PanelSide->contentsMargins() + PanelSide->layout()->contentsMargins();
    const int scrollBar = PropertyPages->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int pages = std::max(PageControlProperty->minimumSizeHint().width() + scrollBar,
                               PanelCommonEdit->minimumSizeHint().width());
    PanelSide->setFixedWidth(std::max(PanelSide->width(), pages + margins.left() + margins.right()));
}

void TFormDesign::FormCreate()
{
    ReadDocumentsFolder();
    SetupDesignFileDialogs();
}

void TFormDesign::NewDesign(const TlxPaperObject& paper, bool portrait)
{
    NewDesign(TlxLblInfo(DataFolder, portrait, paper));
}

void TFormDesign::NewDesign(TlxLblInfo layout)
{
    katabanlbl->show();
    Paperlbl->setText(ToQString(layout.Paper.GetModelNumber()));
    // A template waiting for this paper is laid onto it.
    Session.BeginNew(std::move(layout));
    ObjectGrabbed = false;
    PrepareDesignSurface();
    show();
}

void TFormDesign::OpenDesignFile(const std::string& path)
{
    PanelsReady = false;
    Session.Load(path);
    ShowLoadedDesign();
    show();
}

void TFormDesign::OpenTemplateFile(const std::string& path)
{
    PanelsReady = false;
    Session.LoadTemplate(path);
    ShowLoadedDesign();
    if (Windows.paperChooser)
        Windows.paperChooser->exec();
    // "戻る" took the user back to the start menu: the template is dropped,
    // so the editor and the menu are never open side by side.
    if (Windows.menu && Windows.menu->isVisible()) {
        Session.Close();
        return;
    }
    show();
}

void TFormDesign::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TFormDesign::FormShow()
{
    // The session has the design laid onto its paper, with no selection.
    ReturnToMenu = true;
    PanelsReady = true;
    ObjectGrabbed = false;
    ShowPropertyPage();
    for (QComboBox* box : {CBFontName, CBCsvFontList, CBRenbanFontName, CBFontName2})
        FillFontCombo(box);
    {
        const QSignalBlocker blocker(CBShowSize);
        CBShowSize->setCurrentIndex(0);
    }
    DrawFaceOverview();
    RefreshDesign();
}

QSize TFormDesign::LayOutDesignImage(DisplaySize size)
{
    // The image fills the visible area and is at least the display size; a
    // scroll bar appears in each direction where the display size is larger,
    // which in turn narrows the visible area of the other direction.
    const QSize maximum = ScrollBoxDesign->maximumViewportSize();
    const int bar = ScrollBoxDesign->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBoxDesign);
    bool across = size.width > maximum.width();
    bool down = size.height > maximum.height();
    across = across || (down && size.width > maximum.width() - bar);
    down = down || (across && size.height > maximum.height() - bar);
    const QSize visible(maximum.width() - (down ? bar : 0), maximum.height() - (across ? bar : 0));
    const QSize image(std::max(size.width, visible.width()), std::max(size.height, visible.height()));
    ImageDesign->resize(image);
    return image;
}

void TFormDesign::PrepareDesignSurface()
{
    const int index = std::clamp(CBShowSize->currentIndex(), 0, static_cast<int>(kDisplaySizes.size()) - 1);
    const QSize image = LayOutDesignImage(kDisplaySizes[static_cast<std::size_t>(index)]);
    const double w = Session.Layout()->GetLabelWidth(Session.CurrentFace());
    const double h = Session.Layout()->GetLabelHeight(Session.CurrentFace());
    Size picture{0, 0};
    if (w > 0 && h > 0) {
        if (h >= w)
            picture = {RoundToInt(image.height() * w / h), image.height()};
        else
            picture = {image.width(), RoundToInt(image.width() * h / w)};
    }
    SurfaceBitmap = Bitmap(picture.cx, picture.cy);
    ImageDesign->setPicture(ToQImage(SurfaceBitmap));
}

void TFormDesign::RefreshDesign()
{
    if (!Session.Layout())
        return;
    PrepareDesignSurface();
    setWindowTitle(Session.FileName().empty() ? QStringLiteral("デザイン画面")
                                              : QStringLiteral("デザイン画面 -") +
                           FromUtf8(ReadableFileName(Session.FileName())) + QStringLiteral("-"));
    UpdateScreenDpi();
    DrawDesignGuide();
    DrawLabel();
    DrawCellShapes();
    ImageDesign->setPicture(ToQImage(SurfaceBitmap));
    RefreshObjectTabs();
    DrawSelection();
    if (Session.IsMultiSelecting())
        DrawMultiSelectionFrames();
    ShowModeControls();
    EnablePositionBoxes();
    // The tab strip repaints through a change of its width.
    TABSheet->resize(TABSheet->width() + 1, TABSheet->height());
    TABSheet->updateGeometry();
}

void TFormDesign::DrawLabel()
{
    if (SurfaceBitmap.Empty() || !Session.Document())
        return;
    const auto selectedSize = [this]() -> std::pair<double, double> {
        const TLxLableObjectBase* object = SelectedObject();
        return object ? std::pair{object->GetWidth(), object->GetHeight()} : std::pair{0.0, 0.0};
    };
    const auto sizeBefore = selectedSize();
    const EnhMetafile label = Session.RenderCurrentFace();
    // Drawing sizes text objects to their text.
    if (selectedSize() != sizeBefore)
        ShowSelectedGeometry();
    RasterDeviceContext dc(SurfaceBitmap);
    PlayEnhMetafile(dc, label, Rect{0, 0, SurfaceBitmap.Width(), SurfaceBitmap.Height()});
}

void TFormDesign::DrawCellShapes()
{
    if (SurfaceBitmap.Empty())
        return;
    RasterDeviceContext dc(SurfaceBitmap);
    dc.SetBkMode(BkMode::Transparent);
    dc.SelectPen({PenStyle::Solid, 0, kOutlineColor});
    const std::int32_t face = Session.CurrentFace();
    const double width = Session.Layout()->GetLabelWidth(face);
    const double height = Session.Layout()->GetLabelHeight(face);
    // A rectangular cell needs no outline: the picture's edge is the cell's.
    if (Session.Layout()->GetLabelLineKind(face) == lxLineCircle)
        DrawCellOutline(dc, lxLineCircle, ScaleMmRect(0, 0, width, height, ScreenDpiX, ScreenDpiY));
    DrawInnerShapes(dc, *Session.Layout(), face, Session.Layout()->GetLabelLeft(face),
                    Session.Layout()->GetLabelTop(face), ScreenDpiX, ScreenDpiY);
}

void TFormDesign::ShowModeControls()
{
    const bool allowsSingle = Session.Layout()->SingleMode;
    BtnMode->setVisible(allowsSingle);
    LblMode->setVisible(allowsSingle);
    BtnUndo->setVisible(Session.CanUndo());
    BtnRedo->setVisible(Session.CanRedo());
    const bool single = Session.Document() && Session.Document()->GetSingleMode();
    LblMode->setText(single ? kSingleModeCaption : kMultiModeCaption);
    BtnCsvSheet->setVisible(single);
    PngBtnDelDesign->setVisible(single);
    BtnRenbanSheet->setVisible(false);
    for (QPushButton* button : {BtnSheetCopy, BtnSheetPasteAll, BtnSheetPaste, BtnSheetDel})
        button->setVisible(!single);
}

void TFormDesign::CBShowSizeChange() { RefreshDesign(); }

bool TFormDesign::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ScrollBoxDesign && event->type() == QEvent::Resize && isVisible())
        guarded([this] { RefreshDesign(); });
    return QWidget::eventFilter(watched, event);
}

void TFormDesign::closeEvent(QCloseEvent* event)
{
    if (!ConfirmDiscardChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    guarded([this] { FormClose(); });
}

void TFormDesign::FormClose()
{
    Session.Close();
    if (ReturnToMenu && Windows.menu)
        Windows.menu->show();
}

} // namespace lx
