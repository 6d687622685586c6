// Adding objects to the current label cell, the property page of the
// selected object, the object tab strip, and the selection frame with its
// corner handles over the design surface.
#include "designer/windows/UnitDesign.h"

#include "designer/windows/EditorShapes.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UpDown.h"
#include "platform/text/Numbers.h"

#include <optional>

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

namespace lx {

namespace {

constexpr int kHandleSize = 8;
constexpr std::uint32_t kFramePen = 0x808080;
constexpr std::uint32_t kMultiSelectPen = 0x53D082;

// The editor's side of each kind: the tag of the add command that makes it
// (0: only files bring the kind), its property page (with the inner page of
// PageControlCSV for merge kinds), the page's filler and the colour of its
// name.
struct KindEditor {
    std::uint8_t kind;
    int addTag;
    QWidget* TFormDesign::*page;
    QWidget* TFormDesign::*innerPage;
    void (TFormDesign::*fill)(const TLxLableObjectBase&);
    std::uint32_t nameColour;
};

constexpr std::array<KindEditor, kLabelObjectKindCount> kKindEditors{{
    {KindString, 1, &TFormDesign::TabSheetText, nullptr, &TFormDesign::FillTextPage, 0x1200E5},
    {KindFigure, 3, &TFormDesign::TabSheetDrawing, nullptr, &TFormDesign::FillFigurePage, 0x21C28D},
    {KindImage, 2, &TFormDesign::TabSheetImage, nullptr, &TFormDesign::FillImagePage, 0x0082FF},
    {KindBarcode, 4, &TFormDesign::TabSheetBarcode, nullptr, &TFormDesign::FillBarcodePage, 0x98A400},
    {KindQRCarry, 5, &TFormDesign::TabSheetQRCarry, nullptr, &TFormDesign::FillQRCarryPage, 0xE0A62C},
    {KindCsvString, 6, &TFormDesign::TabSheetCSV, &TFormDesign::TabSheetCsvString, &TFormDesign::FillTextPage,
     0xD46100},
    {KindCsvBarcode, 0, &TFormDesign::TabSheetCSV, &TFormDesign::TabSheetCsvBarcode, &TFormDesign::FillCsvBarcodePage,
     0xD46100},
    {KindCsvQRCarry, 0, &TFormDesign::TabSheetCSV, &TFormDesign::TabSheetCsvQRCarry, &TFormDesign::FillCsvQRCarryPage,
     0xD46100},
    {KindRenbanString, 7, &TFormDesign::TabSheetRenban, nullptr, &TFormDesign::FillTextPage, 0x008080},
    {KindGrid, 8, &TFormDesign::TabSheetGrid, nullptr, &TFormDesign::FillGridPage, 0xB34787},
    {KindEffects, 9, &TFormDesign::TabSheetEffects, nullptr, &TFormDesign::FillEffectsPage, 0x698700},
}};
static_assert(CoversKindsInOrder(kKindEditors), "one editor row per kind, in kind order");

// The kind an add command's tag adds.
std::optional<std::uint8_t> KindOfAddTag(int tag)
{
    for (const KindEditor& row : kKindEditors)
        if (tag != 0 && row.addTag == tag)
            return row.kind;
    return std::nullopt;
}

QStringList TabTexts(const QTabBar& bar)
{
    QStringList texts;
    for (int i = 0; i < bar.count(); ++i)
        texts << bar.tabText(i);
    return texts;
}

OutlineShape* NewHandle(QWidget* parent, const char* name, int tag, Qt::CursorShape cursor)
{
    auto* handle = Named(new OutlineShape(parent), name);
    handle->setProperty("tag", tag);
    handle->setPen(0x000000, Qt::SolidLine);
    handle->setFill(0xFFFFFF);
    handle->resize(kHandleSize, kHandleSize);
    handle->setCursor(cursor);
    handle->hide();
    return handle;
}

} // namespace

void TFormDesign::BuildObjectComponents()
{
    BtnStringSheet = Named(new QPushButton(QStringLiteral("文字")), "BtnStringSheet");
    BtnPicSheet = Named(new QPushButton(QStringLiteral("画像")), "BtnPicSheet");
    BtnFigureSheet = Named(new QPushButton(QStringLiteral("図形")), "BtnFigureSheet");
    BtnBarSheet = Named(new QPushButton(QStringLiteral("QRコード")), "BtnBarSheet");
    BtnQrCarrySheet = Named(new QPushButton(QStringLiteral("携帯QR")), "BtnQrCarrySheet");
    PngBtnChart = Named(new PictureButton, "PngBtnChart");
    PngBtnChart->setText(QStringLiteral("格子模様"));
    PNGButton1 = Named(new PictureButton, "PNGButton1");
    PNGButton1->setText(QStringLiteral("特殊文字"));
    const std::array<std::pair<QAbstractButton*, int>, 9> buttons{{{BtnStringSheet, 1},
                                                                   {BtnPicSheet, 2},
                                                                   {BtnFigureSheet, 3},
                                                                   {BtnBarSheet, 4},
                                                                   {BtnQrCarrySheet, 5},
                                                                   {BtnCsvSheet, 6},
                                                                   {BtnRenbanSheet, 7},
                                                                   {PngBtnChart, 8},
                                                                   {PNGButton1, 9}}};
    auto* addButtons = new QGridLayout;
    addButtons->setSpacing(2);
    int at = 0;
    for (const auto& [button, tag] : buttons) {
        Wire("BtnAddSheetClick", button, &QAbstractButton::clicked, this,
             [this, tag = tag] { guarded([&] { BtnAddSheetClick(tag); }); });
        if (button != BtnCsvSheet && button != BtnRenbanSheet) {
            addButtons->addWidget(button, at / 4, at % 4);
            ++at;
        }
    }
    PopupMenuSelect = Named(new QMenu(this), "PopupMenuSelect");
    const std::array<std::tuple<const char*, QString, int>, 7> items{
        {{"MenuItemMoji", QStringLiteral("文字"), 1},
         {"MenuItemPic", QStringLiteral("画像"), 2},
         {"MenuItemZukei", QStringLiteral("図形"), 3},
         {"MenuItemQR", QStringLiteral("QRコード"), 4},
         {"MenuItemKeitai", QStringLiteral("携帯QR"), 5},
         {"MenuItemMoyou", QStringLiteral("格子模様"), 8},
         {"MenuItemEffect", QStringLiteral("特殊文字"), 9}}};
    for (const auto& [name, text, tag] : items) {
        QAction* item = Named(PopupMenuSelect->addAction(text), name);
        item->setData(tag);
        Wire("BtnAddSheetClick", item, &QAction::triggered, this,
             [this, tag = tag] { guarded([&] { BtnAddSheetClick(tag); }); });
    }

    ShapeSheetLine = Named(new OutlineShape(ImageDesign), "ShapeSheetLine");
    ShapeSheetLine->setPen(kFramePen, Qt::DotLine);
    ShapeMultiSelect = Named(new OutlineShape(ImageDesign), "ShapeMultiSelect");
    ShapeMultiSelect->setPen(kMultiSelectPen, Qt::DotLine);
    for (OutlineShape* shape : {ShapeSheetLine, ShapeMultiSelect}) {
        shape->setAttribute(Qt::WA_TransparentForMouseEvents);
        shape->hide();
    }
    ShapeLeftTop = NewHandle(ImageDesign, "ShapeLeftTop", 1, Qt::SizeFDiagCursor);
    ShapeRightTop = NewHandle(ImageDesign, "ShapeRightTop", 2, Qt::SizeBDiagCursor);
    ShapeLeftBottom = NewHandle(ImageDesign, "ShapeLeftBottom", 3, Qt::SizeBDiagCursor);
    ShapeRightBottom = NewHandle(ImageDesign, "ShapeRightBottom", 4, Qt::SizeFDiagCursor);

    EditSheetName = Named(new QLabel, "EditSheetName");
    QFont bold = EditSheetName->font();
    bold.setBold(true);
    EditSheetName->setFont(bold);
    PageControlProperty = Named(new QStackedWidget, "PageControlProperty");
    PageControlCSV = Named(new QStackedWidget, "PageControlCSV");
    const auto page = [](QStackedWidget* control, const char* name) {
        auto* widget = Named(new QWidget, name);
        control->addWidget(widget);
        return widget;
    };
    TabSheetText = page(PageControlProperty, "TabSheetText");
    TabSheetDrawing = page(PageControlProperty, "TabSheetDrawing");
    TabSheetImage = page(PageControlProperty, "TabSheetImage");
    TabSheetBarcode = page(PageControlProperty, "TabSheetBarcode");
    TabSheetQRCarry = page(PageControlProperty, "TabSheetQRCarry");
    TabSheetCSV = page(PageControlProperty, "TabSheetCSV");
    TabSheetRenban = page(PageControlProperty, "TabSheetRenban");
    TabSheetGrid = page(PageControlProperty, "TabSheetGrid");
    TabSheetEffects = page(PageControlProperty, "TabSheetEffects");
    TabSheetDummy = page(PageControlProperty, "TabSheetDummy");
    TabSheetCsvString = page(PageControlCSV, "TabSheetCsvString");
    TabSheetCsvBarcode = page(PageControlCSV, "TabSheetCsvBarcode");
    TabSheetCsvQRCarry = page(PageControlCSV, "TabSheetCsvQRCarry");
    auto* csv = new QVBoxLayout(TabSheetCSV);
    csv->setContentsMargins(0, 0, 0, 0);
    csv->addWidget(PageControlCSV);
    PageControlProperty->setCurrentWidget(TabSheetDummy);

    BuildPanelComponents();
    auto* side = static_cast<QBoxLayout*>(PanelSide->layout());
    side->insertLayout(1, addButtons);
    int slot = side->indexOf(CBGrid) + 1;
    side->insertWidget(slot++, EditSheetName);
    // Pages taller than the room left scroll rather than squeeze.
    auto* pages = new QScrollArea;
    pages->setFrameShape(QFrame::NoFrame);
    pages->setWidgetResizable(true);
    pages->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pages->setWidget(PageControlProperty);
    side->insertWidget(slot++, pages, 1);
    PropertyPages = pages;
    // The pages take the room the side panel's closing stretch held.
    side->setStretch(side->count() - 1, 0);
    side->insertWidget(slot, PanelCommonEdit);
    EditSheetName->hide();
    PanelCommonEdit->hide();

    Wire("TABSheetChange", TABSheet, &QTabBar::tabBarClicked, this,
         [this](int index) { guarded([&] { TABSheetChange(index); }); });
    BuildMouseComponents();
}

int TFormDesign::SurfaceMmToPixels(bool horizontal, double mm) const
{
    return RoundToInt(mm * (horizontal ? ScreenDpiX : ScreenDpiY) / 25.4);
}

int TFormDesign::SurfacePixelsToMm(bool horizontal, double px) const
{
    return RoundToInt(px * 25.4 / (horizontal ? ScreenDpiX : ScreenDpiY));
}

void TFormDesign::BtnAddSheetClick(int tag)
{
    if (!Session.Document() || !KindOfAddTag(tag))
        return;
    PanelsReady = false;
    // A failing addition must not leave the panels dead.
    try {
        AddObjectOfTag(tag);
    } catch (...) {
        PanelsReady = true;
        throw;
    }
}

void TFormDesign::AddObjectOfTag(int tag)
{
    const std::uint8_t kind = *KindOfAddTag(tag);
    if (kind == KindCsvString) {
        if (!Session.MergeTable()->IsLoaded()) {
            FileDialogRequest request;
            request.caption = "差込シートに使用するCSVファイルを選択してください";
            request.filters = {"CSVファイル (*.csv *.CSV)"};
            const auto chosen = Messages().ChooseFile(request);
            if (!chosen) {
                PanelsReady = true;
                return;
            }
            if (!LoadMergeTable(chosen->path)) {
                PanelsReady = true;
                return;
            }
            FillMergeColumnLists(Session.MergeTable()->GetColCount());
        }
    }
    Session.AddObject(kind);
    if (kind == KindEffects) {
        Label129->hide();
        ShapeArtFontColor2->hide();
        SBArtFont2->hide();
    }
    RefreshDesign();
    ShowPropertyPage();
    RefreshObjectTabs();
    PanelsReady = true;
}

void TFormDesign::ShowPropertyPage()
{
    if (!Session.Document())
        return;
    {
        const QSignalBlocker blocker(CBGrid);
        CBGrid->setChecked(Session.Document()->GetShowGuide());
    }
    const TLxLableObjectBase* object = SelectedObject();
    const std::uint8_t kind = object ? object->GetKind() : 0xFF;
    if (!object || kind >= kLabelObjectKindCount) {
        PageControlProperty->setCurrentWidget(TabSheetDummy);
        EditSheetName->hide();
        PanelCommonEdit->hide();
        return;
    }
    EditSheetName->show();
    PageControlProperty->show();
    PanelCommonEdit->show();
    const KindEditor& editor = kKindEditors[kind];
    PageControlProperty->setCurrentWidget(this->*editor.page);
    if (editor.innerPage)
        PageControlCSV->setCurrentWidget(this->*editor.innerPage);
    QPalette palette = EditSheetName->palette();
    palette.setColor(QPalette::WindowText, toQColor(editor.nameColour));
    EditSheetName->setPalette(palette);
    FillPropertyPanel();
    if (kind == KindString)
        CaptionAlignmentButtons(CBStringTate, RBLeft, RBRight);
}

void TFormDesign::FillPropertyPanel()
{
    const TLxLableObjectBase* object = SelectedObject();
    if (!object)
        return;
    // Filling the controls must never write back.
    const bool ready = PanelsReady;
    PanelsReady = false;
    if (object->GetKind() < kLabelObjectKindCount)
        (this->*kKindEditors[object->GetKind()].fill)(*object);
    FillCommonPanel(*object);
    PanelsReady = ready;
}

void TFormDesign::TABSheetChange(int index)
{
    if (!Session.Document() || index < 0 || index >= Session.Document()->GetObjectCount(Session.CurrentFace()))
        return;
    PanelsReady = false;
    Session.Select(index);
    Session.EndMultiSelection();
    Session.ClearMembers();
    DrawSelection();
    ShowPropertyPage();
    RefreshDesign();
    PanelsReady = true;
    update();
}

void TFormDesign::RefreshObjectTabs()
{
    if (!Session.Document())
        return;
    QStringList names;
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(Session.CurrentFace()); ++i)
        names << ToQString(Session.Document()->GetObject(i, Session.CurrentFace())->GetName());
    const QSignalBlocker blocker(TABSheet);
    // Unchanged tabs are kept, so the strip does not flicker.
    if (TabTexts(*TABSheet) != names) {
        while (TABSheet->count() > 0)
            TABSheet->removeTab(0);
        for (const QString& name : names)
            TABSheet->addTab(name);
    }
    const std::int32_t selected = Session.SelectedIndex();
    if (selected >= 0 && selected < TABSheet->count())
        TABSheet->setCurrentIndex(selected);
}

QRect TFormDesign::ObjectSurfaceRect(const TLxLableObjectBase& object) const
{
    const QPoint origin = PictureOrigin();
    return QRect(origin.x() + SurfaceMmToPixels(true, object.GetLeft()),
                 origin.y() + SurfaceMmToPixels(false, object.GetTop()), SurfaceMmToPixels(true, object.GetWidth()),
                 SurfaceMmToPixels(false, object.GetHeight()));
}

QPoint TFormDesign::PictureOrigin() const { return ImageDesign->pictureOffset(); }

void TFormDesign::DrawSelection()
{
    if (!Session.Document() || !Session.Layout())
        return;
    UpdateScreenDpi();
    const TLxLableObjectBase* object = SelectedObject();
    const std::array<OutlineShape*, 4> handles{ShapeLeftTop, ShapeRightTop, ShapeLeftBottom, ShapeRightBottom};
    if (!object || Session.IsMultiSelecting()) {
        ShapeSheetLine->hide();
        for (OutlineShape* handle : handles)
            handle->hide();
        if (Session.IsMultiSelecting()) {
            QRect box(QPoint(65535, 65535), QPoint(0, 0));
            int right = 0;
            int bottom = 0;
            for (std::int32_t i : Session.Members()) {
                const QRect r = ObjectSurfaceRect(*Session.Document()->GetObject(i, Session.CurrentFace()));
                box.setLeft(std::min(box.left(), r.left()));
                box.setTop(std::min(box.top(), r.top()));
                right = std::max(right, r.left() + r.width());
                bottom = std::max(bottom, r.top() + r.height());
            }
            MultiSelectRect = QRect(box.left(), box.top(), right - box.left(), bottom - box.top());
            PlaceMultiSelectShape();
        } else if (Session.Document()->GetObjectCount(Session.CurrentFace()) > 0 && LeftButtonDown) {
            // The start of a rubber band.
            MultiSelectRect = QRect(PictureOrigin().x() + PressPictureX, PictureOrigin().y() + PressPictureY, 0, 0);
            PlaceMultiSelectShape();
        } else if (!LeftButtonDown) {
            ShapeMultiSelect->hide();
        }
        return;
    }
    const QRect frame = ObjectSurfaceRect(*object);
    ShapeSheetLine->setGeometry(frame);
    ShapeSheetLine->show();
    ShapeSheetLine->raise();
    const int half = RoundToInt(kHandleSize / 2.0);
    const int right = frame.left() + frame.width() - half;
    const int bottom = frame.top() + frame.height() - half;
    ShapeLeftTop->move(frame.left() - half, frame.top() - half);
    ShapeRightTop->move(right, frame.top() - half);
    ShapeLeftBottom->move(frame.left() - half, bottom);
    ShapeRightBottom->move(right, bottom);
    for (OutlineShape* handle : handles) {
        handle->setVisible(object->GetCanMove() != 0);
        handle->raise();
    }
    ShapeMultiSelect->hide();
}

void TFormDesign::PlaceMultiSelectShape()
{
    ShapeMultiSelect->setGeometry(MultiSelectRect.normalized());
    ShapeMultiSelect->show();
    ShapeMultiSelect->raise();
}

// Fixed objects keep their place: their position and size boxes are disabled.
void TFormDesign::EnablePositionBoxes()
{
    const TLxLableObjectBase* object = SelectedObject();
    if (!object)
        return;
    for (QWidget* box :
         std::initializer_list<QWidget*>{EditSheetPosLeft, EditSheetPosTop, EditSheetWidth, EditSheetHeight, UpDownPosX,
                                         UpDownPosY, UpDownWidth, UpDownHeight})
        box->setEnabled(object->GetCanMove() != 0);
}

} // namespace lx
