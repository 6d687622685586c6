#include "designer/windows/UnitSelectPaper.h"

#include "designer/model/LxLblInfo.h"
#include "designer/model/SheetDrawing.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/app/Messages.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"

#include <QCollator>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolTip>
#include <algorithm>

namespace lx {

namespace {

struct ListedPaper {
    QString line;
    int index; // in the catalogue's entries
};

// The catalogue's lines for a category, each with the entry it stands for.
// The lines come in catalogue order, so each one belongs to the next entry
// of the category that shows as that line; the entry is kept with the line
// instead of being looked up again by its text.
std::vector<ListedPaper> ListedPapers(const TlxPaper& catalogue, std::int32_t category, std::string_view filter)
{
    static const std::string open = Sjis("【");
    static const std::string close = Sjis("】");
    const auto& papers = catalogue.Papers();
    std::vector<ListedPaper> listed;
    std::size_t next = 0;
    for (const std::string& line : SplitLines(catalogue.ListPapers(category, filter))) {
        for (; next < papers.size(); ++next) {
            const TlxPaperObject& paper = papers[next];
            const std::string shown = category == kUserPaperCategory
                ? paper.GetModelNumber()
                : paper.GetModelNumber() + open + paper.GetSizeName() + close;
            if (paper.GetMakerIndex() == category && shown == line)
                break;
        }
        if (next == papers.size())
            break;
        listed.push_back({ToQString(line), static_cast<int>(next++)});
    }
    return listed;
}

void SortForList(std::vector<ListedPaper>& listed)
{
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(listed.begin(), listed.end(),
                     [&](const ListedPaper& a, const ListedPaper& b) { return collator.compare(a.line, b.line) < 0; });
}

template <typename Widget>
Widget* Place(Widget* widget, QWidget* parent, const char* name, int left, int top, int width, int height)
{
    widget->setParent(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

TFormSelectPaper::TFormSelectPaper(DataFolders folders, QWidget* parent) : QDialog(parent), Folders(std::move(folders))
{
    setObjectName(QStringLiteral("FormSelectPaper"));
    setWindowTitle(QStringLiteral("用紙選択"));
    UseDialogFrame(this);
    setFixedSize(567, 330);
    BuildComponents();
    guarded([this] { LoadPaperChooser(); });
}

TFormSelectPaper::~TFormSelectPaper() = default;

void TFormSelectPaper::BuildComponents()
{
    LblMaker = Place(new QLabel(QStringLiteral("用紙メーカ－")), this, "LblMaker", 12, 8, 250, 16);
    CBMaker = Place(new QComboBox, this, "CBMaker", 12, 26, 250, 24);
    LblSearch = Place(new QLabel(QStringLiteral("型番検索")), this, "LblSearch", 12, 56, 250, 16);
    EditSearch = Place(new QLineEdit, this, "EditSearch", 12, 74, 250, 24);
    LblPaperList = Place(new QLabel(QStringLiteral("用紙型番")), this, "LblPaperList", 12, 104, 250, 16);
    LBPaperList = Place(new QListWidget, this, "LBPaperList", 12, 122, 250, 150);
    GBPaperMuki = Place(new QGroupBox(QStringLiteral("用紙方向")), this, "GBPaperMuki", 12, 278, 250, 44);
    RBTate = Place(new QRadioButton(QStringLiteral("縦")), GBPaperMuki, "RBTate", 16, 18, 80, 20);
    RBYoko = Place(new QRadioButton(QStringLiteral("横")), GBPaperMuki, "RBYoko", 110, 18, 80, 20);
    RBTate->setChecked(true);
    LblPreview = Place(new QLabel(QStringLiteral("用紙プレビュー")), this, "LblPreview", 290, 8, 254, 16);
    PanelPreview = Place(new QFrame, this, "PanelPreview", 290, 26, 254, 254);
    PanelPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelPreview->setLineWidth(2);
    ImageDesign = Place(new PictureView, PanelPreview, "ImageDesign", 2, 2, 250, 250);
    BtnAddPaper = Place(new QPushButton(QStringLiteral("用紙追加")), this, "BtnAddPaper", 276, 292, 66, 28);
    BtnDelPaper = Place(new QPushButton(QStringLiteral("用紙削除")), this, "BtnDelPaper", 346, 292, 66, 28);
    BtnBack = Place(new QPushButton(QStringLiteral("戻る")), this, "BtnBack", 420, 292, 66, 28);
    BtnNext = Place(new QPushButton(QStringLiteral("次へ")), this, "BtnNext", 490, 292, 66, 28);

    const auto bind = [this](auto* sender, auto signal, void (TFormSelectPaper::*handler)(), const char* name) {
        Wire(name, sender, signal, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    bind(CBMaker, &QComboBox::currentIndexChanged, LX_HANDLER(TFormSelectPaper, CBMakerChange));
    bind(EditSearch, &QLineEdit::textChanged, LX_HANDLER(TFormSelectPaper, EditSearchChange));
    bind(LBPaperList, &QListWidget::currentRowChanged, LX_HANDLER(TFormSelectPaper, RefreshPreview));
    // Only the button that becomes checked redraws, not the one let go.
    for (QRadioButton* button : {RBTate, RBYoko})
        Wire("RefreshPreview", button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                guarded([this] { RefreshPreview(); });
        });
    bind(BtnNext, &QPushButton::clicked, LX_HANDLER(TFormSelectPaper, BtnNextClick));
    bind(BtnBack, &QPushButton::clicked, LX_HANDLER(TFormSelectPaper, BtnBackClick));
    bind(BtnAddPaper, &QPushButton::clicked, LX_HANDLER(TFormSelectPaper, BtnAddPaperClick));
    bind(BtnDelPaper, &QPushButton::clicked, LX_HANDLER(TFormSelectPaper, BtnDelPaperClick));
}

void TFormSelectPaper::showEvent(QShowEvent* event)
{
    CentreOn(this, Windows.menu);
    QDialog::showEvent(event);
}

std::unique_ptr<TlxPaper> TFormSelectPaper::ReadCatalogue() const
{
    return std::make_unique<TlxPaper>(CatalogueFilePath(Folders.data), CatalogueFilePath(Folders.user));
}

void TFormSelectPaper::LoadPaperChooser()
{
    previewBitmap_ = Bitmap();
    catalogue_ = ReadCatalogue();
    {
        const QSignalBlocker blocker(CBMaker);
        LBPaperList->clear();
        CBMaker->clear();
        categories_.clear();
        // Categories 0 to 13 are the catalogue's makers; a catalogue naming
        // more cannot give them papers apart from the user's own category.
        const auto& makers = catalogue_->MakerNames();
        for (std::size_t i = 0; i < makers.size() && i < static_cast<std::size_t>(kUserPaperCategory); ++i) {
            CBMaker->addItem(ToQString(makers[i]));
            categories_.push_back(static_cast<std::int32_t>(i));
        }
        CBMaker->addItem(QStringLiteral("ユーザ設定"));
        categories_.push_back(kUserPaperCategory);
        CBMaker->setCurrentIndex(0);
    }
    {
        const QSignalBlocker blocker(EditSearch);
        EditSearch->clear();
    }
    ShowPaperList(SelectedCategory(), SearchText());
}

std::int32_t TFormSelectPaper::SelectedCategory() const
{
    const int index = CBMaker->currentIndex();
    return index >= 0 && index < static_cast<int>(categories_.size()) ? categories_[static_cast<std::size_t>(index)]
                                                                      : -1;
}

std::string TFormSelectPaper::SearchText() const { return ToCp932(EditSearch->text()); }

const TlxPaperObject* TFormSelectPaper::SelectedPaper() const
{
    const QListWidgetItem* item = LBPaperList->currentItem();
    if (!item || !catalogue_)
        return nullptr;
    const int index = item->data(Qt::UserRole).toInt();
    const auto& papers = catalogue_->Papers();
    return index >= 0 && index < static_cast<int>(papers.size()) ? &papers[static_cast<std::size_t>(index)] : nullptr;
}

void TFormSelectPaper::ShowPaperList(std::int32_t category, const std::string& filter)
{
    {
        const QSignalBlocker blocker(LBPaperList);
        LBPaperList->clear();
        std::vector<ListedPaper> listed;
        if (catalogue_)
            listed = ListedPapers(*catalogue_, category, filter);
        SortForList(listed);
        for (const ListedPaper& paper : listed) {
            auto* item = new QListWidgetItem(paper.line, LBPaperList);
            item->setData(Qt::UserRole, paper.index);
            // The whole line as the hint, for lines wider than the list.
            item->setToolTip(paper.line);
        }
        if (LBPaperList->count() > 0)
            LBPaperList->setCurrentRow(0);
        BtnNext->setEnabled(LBPaperList->count() > 0);
    }
    // A damaged layout file shows its message, and the buttons below are
    // still brought up to date.
    guarded([this] { RefreshPreview(); });
    const bool userPapers = CBMaker->currentIndex() >= 0 && SelectedCategory() == kUserPaperCategory;
    BtnAddPaper->setEnabled(userPapers);
    BtnDelPaper->setEnabled(userPapers && LBPaperList->count() > 0);
}

void TFormSelectPaper::CBMakerChange()
{
    QToolTip::hideText();
    ShowPaperList(SelectedCategory(), SearchText());
}

void TFormSelectPaper::EditSearchChange() { ShowPaperList(SelectedCategory(), SearchText()); }

std::unique_ptr<TlxLblInfo> TFormSelectPaper::ReadSelectedLayout() const
{
    const TlxPaperObject* paper = SelectedPaper();
    if (!paper)
        return nullptr;
    return std::make_unique<TlxLblInfo>(catalogue_->LayoutFolder(*paper), RBTate->isChecked(), *paper);
}

void TFormSelectPaper::RefreshPreview()
{
    const auto layout = ReadSelectedLayout();
    if (!layout) {
        previewBitmap_ = Bitmap();
        ImageDesign->clearPicture();
        return;
    }
    const double width = layout->GetPaperWidth();
    const double height = layout->GetPaperHeight();
    const Size size = FitProportionally(width, height, ImageDesign->width(), ImageDesign->height());
    previewBitmap_ = Bitmap(size.cx, size.cy);
    const double kx = size.cx / width * 25.4;
    const double ky = size.cy / height * 25.4;
    {
        RasterDeviceContext dc(previewBitmap_);
        dc.SetBkMode(BkMode::Transparent);
        dc.SelectPen({PenStyle::Solid, 0, 0x000000});
        for (std::int32_t i = 0; i < static_cast<std::int32_t>(layout->Cells.size()); ++i) {
            const Rect box = ScaleMmRect(layout->GetLabelLeft(i), layout->GetLabelTop(i), layout->GetLabelWidth(i),
                                         layout->GetLabelHeight(i), kx, ky);
            DrawCellOutline(dc, layout->GetLabelLineKind(i), box);
            DrawInnerShapes(dc, *layout, i, 0, 0, kx, ky);
        }
    }
    ImageDesign->setPicture(ToQImage(previewBitmap_));
}

void TFormSelectPaper::BtnNextClick()
{
    if (!SelectedPaper()) {
        ShowInfo("用紙の型番を選択してください。");
        return;
    }
    // The layout is read before the window closes: when it cannot be read,
    // the message shows and the chooser stays open.
    auto layout = ReadSelectedLayout();
    accept();
    if (Windows.editor)
        Windows.editor->NewDesign(std::move(*layout));
}

void TFormSelectPaper::BtnBackClick()
{
    QDialog::reject();
    if (Windows.menu)
        Windows.menu->show();
}

void TFormSelectPaper::reject()
{
    // Escape, the close button and Alt+F4 all end here. On the road from the
    // start menu they act as 戻る, so the program never runs with nothing on
    // screen; over a template the editor opens it on its own paper.
    if (isModal())
        QDialog::reject();
    else
        BtnBackClick();
}

void TFormSelectPaper::BtnAddPaperClick()
{
    if (Windows.paperEditor)
        Windows.paperEditor->exec();
    // Read anew; when that fails the old catalogue stays in use.
    catalogue_ = ReadCatalogue();
    ShowPaperList(SelectedCategory(), SearchText());
}

void TFormSelectPaper::BtnDelPaperClick()
{
    if (!AskYesNo("選択中の用紙を削除しますか？"))
        return;
    const TlxPaperObject* paper = SelectedPaper();
    if (!paper || SelectedCategory() != kUserPaperCategory)
        return;
    const std::string model = paper->GetModelNumber();
    catalogue_->DeletePaper(kUserPaperCategory, model);
    ShowPaperList(SelectedCategory(), SearchText());
}

} // namespace lx
