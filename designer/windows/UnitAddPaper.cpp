#include "designer/windows/UnitAddPaper.h"

#include "designer/model/SheetDrawing.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/app/Messages.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QValidator>

namespace lx {

namespace {

constexpr int kMaxFreeLabels = 50;
// Columns and rows of a grid: a sheet of more is no label sheet, and the
// designer keeps a face for every label.
constexpr int kMaxGridCount = 99;
constexpr double kNewCellSize = 10;
const char* const kEllipseText = "円形";

// The characters a paper name cannot hold, as it names a file and a
// quoted catalogue field: / \ : * ? " < > | # { } % & ~.
bool ForbiddenInPaperName(QChar c)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|#{}%&~");
    return forbidden.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// Drops what a paper name cannot hold, whether typed or pasted: the
// characters above and those without a CP932 form (by the conversion every
// text box uses, so 〜 stays and is stored as its CP932 twin).
class PaperNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        QString kept;
        int keptBeforeCursor = 0;
        for (int i = 0; i < input.size(); ++i) {
            if (ForbiddenInPaperName(input[i]))
                continue;
            kept += input[i];
            if (i < pos)
                ++keptBeforeCursor;
        }
        DropCharsWithoutCp932(kept, keptBeforeCursor);
        input = kept;
        pos = keptBeforeCursor;
        return Acceptable;
    }
};

struct PaperChoice {
    std::uint8_t kind;
    double width;
    double height;
};
constexpr PaperChoice kA4{lxPaperA4, 210, 297};
constexpr PaperChoice kHagaki{lxPaperHagaki, 100, 148};
constexpr PaperChoice kB5{lxPaperB5, 182, 257};

std::string FieldText(const QLineEdit* edit) { return ToCp932(edit->text()); }
bool IsBlank(const QLineEdit* edit) { return edit->text().trimmed().isEmpty(); }
double NumberOr0(const QLineEdit* edit) { return TryParseFloat(FieldText(edit)).value_or(0); }
int IntegerOr0(const QLineEdit* edit) { return TryParseInt(FieldText(edit)).value_or(0); }

template <typename Widget>
Widget* Place(Widget* widget, QWidget* parent, const char* name, int left, int top, int width, int height)
{
    widget->setParent(parent);
    if (name)
        widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QComboBox* OutlineBox(QWidget* parent, const char* name, int left, int top)
{
    auto* box = Place(new QComboBox, parent, name, left, top, 100, 24);
    box->addItems({QStringLiteral("四角形"), QString::fromUtf8(kEllipseText)});
    return box;
}

} // namespace

TFormAddPaper::TFormAddPaper(DataFolders folders, const QWidget* over, QWidget* parent)
    : QDialog(parent), Folders(std::move(folders)), Over(over)
{
    setObjectName(QStringLiteral("FormAddPaper"));
    setWindowTitle(QStringLiteral("用紙追加"));
    UseDialogFrame(this);
    setFixedSize(638, 384);
    BuildComponents();
}

TFormAddPaper::~TFormAddPaper() = default;

void TFormAddPaper::BuildComponents()
{
    Place(new QLabel(QStringLiteral("作成する用紙の種類")), this, nullptr, 12, 10, 280, 18);
    CBMakeType = Place(new QComboBox, this, "CBMakeType", 12, 30, 280, 24);
    CBMakeType->addItems(
        {QStringLiteral("ネームラベル系（CSV差込可能）"), QStringLiteral("特殊系（各ラベルの大きさが違うもの）")});
    GBPaperSize = Place(new QGroupBox(QStringLiteral("用紙サイズ")), this, "GBPaperSize", 12, 62, 280, 48);
    RadioButtonA4Size =
        Place(new QRadioButton(QStringLiteral("Ａ４サイズ")), GBPaperSize, "RadioButtonA4Size", 10, 20, 86, 22);
    RadioButtonHagakiSize =
        Place(new QRadioButton(QStringLiteral("ハガキサイズ")), GBPaperSize, "RadioButtonHagakiSize", 98, 20, 96, 22);
    RadioButtonB5Size =
        Place(new QRadioButton(QStringLiteral("Ｂ５サイズ")), GBPaperSize, "RadioButtonB5Size", 196, 20, 80, 22);
    Place(new QLabel(QStringLiteral("用紙名")), this, nullptr, 12, 122, 56, 18);
    EditPaperName = Place(new QLineEdit, this, "EditPaperName", 70, 118, 222, 24);
    EditPaperName->setValidator(new PaperNameValidator(EditPaperName));

    PGMakeType = Place(new QStackedWidget, this, "PGMakeType", 12, 150, 280, 222);
    TabSheetLblType1 = BuildGridPage();
    TabSheetLblType2 = BuildFreeListPage();
    PGMakeType->addWidget(TabSheetLblType1);
    PGMakeType->addWidget(TabSheetLblType2);

    PanelPreview = Place(new QFrame, this, "PanelPreview", 304, 12, 322, 322);
    PanelPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelPreview->setLineWidth(2);
    ImageDesign = Place(new PictureView, PanelPreview, "ImageDesign", 2, 2, 318, 318);
    BtnPreview = Place(new QPushButton(QStringLiteral("プレビュー")), this, "BtnPreview", 304, 344, 100, 28);
    BtnAddPaper = Place(new QPushButton(QStringLiteral("用紙追加")), this, "BtnAddPaper", 415, 344, 100, 28);
    BtnCancel = Place(new QPushButton(QStringLiteral("キャンセル")), this, "BtnCancel", 526, 344, 100, 28);

    const auto bind = [this](auto* sender, auto signal, auto handler, const char* name) {
        Wire(name, sender, signal, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    bind(CBMakeType, &QComboBox::currentIndexChanged, LX_HANDLER(TFormAddPaper, CBMakeTypeChange));
    bind(SELblCount, &QSpinBox::valueChanged, LX_HANDLER(TFormAddPaper, SELblCountChange));
    Wire("TCLblConfigChange", TCLblConfig, &QTabBar::currentChanged, this, [this](int index) {
        if (revertingTab_ || index < 0 || index == currentCell_)
            return;
        // The tab bar has no veto: a refused change is turned back.
        if (!TCLblConfigChanging()) {
            revertingTab_ = true;
            TCLblConfig->setCurrentIndex(currentCell_);
            revertingTab_ = false;
            return;
        }
        currentCell_ = index;
        guarded([this] { TCLblConfigChange(); });
    });
    for (QLineEdit* edit : {EditLblWidth, EditLblHeigh, EditPosX, EditPosY})
        bind(edit, &QLineEdit::textChanged, LX_HANDLER(TFormAddPaper, EditEtcLblChange));
    bind(CBLblType, &QComboBox::currentIndexChanged, LX_HANDLER(TFormAddPaper, EditEtcLblChange));
    bind(BtnPreview, &QPushButton::clicked, LX_HANDLER(TFormAddPaper, BtnPreviewClick));
    bind(BtnAddPaper, &QPushButton::clicked, LX_HANDLER(TFormAddPaper, BtnAddPaperClick));
    bind(BtnCancel, &QPushButton::clicked, LX_HANDLER(TFormAddPaper, BtnCancelClick));
}

// Two columns of caption, edit and unit share the 280-pixel page.
constexpr int kFieldColumnStep = 140;

QWidget* TFormAddPaper::BuildGridPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetLblType1"));
    // Two columns of fields, each a caption, an edit and its unit.
    const auto field = [page](const char* name, const QString& caption, int column, int row, const QString& unit) {
        const int left = column * kFieldColumnStep;
        const int top = 8 + row * 34;
        Place(new QLabel(caption), page, nullptr, left, top + 3, 54, 18);
        auto* edit = Place(new QLineEdit, page, name, left + 56, top, 52, 24);
        Place(new QLabel(unit), page, nullptr, left + 110, top + 3, 26, 18);
        return edit;
    };
    const QString mm = QStringLiteral("mm");
    EditLabelWidth = field("EditLabelWidth", QStringLiteral("幅"), 0, 0, mm);
    EditLabelHeight = field("EditLabelHeight", QStringLiteral("高さ"), 1, 0, mm);
    EditOffsetUpper = field("EditOffsetUpper", QStringLiteral("上余白"), 0, 1, mm);
    EditOffsetLower = field("EditOffsetLower", QStringLiteral("下余白"), 1, 1, mm);
    EditOffsetLeft = field("EditOffsetLeft", QStringLiteral("左余白"), 0, 2, mm);
    EditOffsetRight = field("EditOffsetRight", QStringLiteral("右余白"), 1, 2, mm);
    EditCol = field("EditCol", QStringLiteral("列数"), 0, 3, QStringLiteral("列"));
    EditRow = field("EditRow", QStringLiteral("段数"), 1, 3, QStringLiteral("段"));
    Place(new QLabel(QStringLiteral("形状")), page, nullptr, 0, 147, 54, 18);
    CBLabelType = OutlineBox(page, "CBLabelType", 56, 144);
    return page;
}

QWidget* TFormAddPaper::BuildFreeListPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetLblType2"));
    Place(new QLabel(QStringLiteral("ラベル数")), page, nullptr, 0, 11, 54, 18);
    SELblCount = Place(new QSpinBox, page, "SELblCount", 56, 8, 64, 24);
    SELblCount->setRange(1, kMaxFreeLabels);
    TCLblConfig = Place(new QTabBar, page, "TCLblConfig", 0, 42, 280, 28);
    TCLblConfig->setUsesScrollButtons(true);
    TCLblConfig->setExpanding(false);
    const auto field = [page](const char* name, const QString& caption, int column, int row) {
        const int left = column * kFieldColumnStep;
        const int top = 80 + row * 34;
        Place(new QLabel(caption), page, nullptr, left, top + 3, 54, 18);
        auto* edit = Place(new QLineEdit, page, name, left + 56, top, 52, 24);
        Place(new QLabel(QStringLiteral("mm")), page, nullptr, left + 110, top + 3, 26, 18);
        return edit;
    };
    EditLblWidth = field("EditLblWidth", QStringLiteral("幅"), 0, 0);
    EditLblHeigh = field("EditLblHeigh", QStringLiteral("高さ"), 1, 0);
    EditPosX = field("EditPosX", QStringLiteral("左から"), 0, 1);
    EditPosY = field("EditPosY", QStringLiteral("上から"), 1, 1);
    Place(new QLabel(QStringLiteral("形状")), page, nullptr, 0, 151, 54, 18);
    CBLblType = OutlineBox(page, "CBLblType", 56, 148);
    return page;
}

void TFormAddPaper::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        CentreOn(this, Over);
        guarded([this] { FormShow(); });
    }
    QDialog::showEvent(event);
}

void TFormAddPaper::FormShow()
{
    {
        const QSignalBlocker blocker(CBMakeType);
        CBMakeType->setCurrentIndex(0);
    }
    SetDefaults();
}

void TFormAddPaper::CBMakeTypeChange() { SetDefaults(); }

void TFormAddPaper::SetDefaults()
{
    PGMakeType->setCurrentIndex(std::max(0, CBMakeType->currentIndex()));
    RadioButtonA4Size->setChecked(true);
    EditPaperName->setText(ToQString(NextUserPaperName()));
    for (QLineEdit* edit : {EditLabelWidth, EditLabelHeight})
        edit->setText(QStringLiteral("10"));
    for (QLineEdit* edit : {EditOffsetUpper, EditOffsetLower, EditOffsetLeft, EditOffsetRight, EditCol, EditRow})
        edit->setText(QStringLiteral("0"));
    CBLabelType->setCurrentIndex(0);
    cells_.clear();
    currentCell_ = 0;
    {
        const QSignalBlocker blocker(SELblCount);
        SELblCount->setValue(1);
    }
    SELblCountChange();
    BuildLayout();
    DrawPreview();
}

std::string TFormAddPaper::NextUserPaperName() const
{
    const std::string folder = DataFolder();
    const std::string stem = Sjis("ユーザ定義");
    for (int n = 1;; ++n) {
        const std::string name = stem + std::to_string(n);
        if (!FileExists(LayoutFilePath(folder, kUserPaperCategory, name)))
            return name;
    }
}

std::string TFormAddPaper::PaperName() const { return ToCp932(EditPaperName->text().trimmed()); }

bool TFormAddPaper::IsGrid() const { return CBMakeType->currentIndex() != 1; }

// ---- the free list

void TFormAddPaper::SELblCountChange()
{
    const int count = SELblCount->value();
    if (static_cast<int>(cells_.size()) > count)
        cells_.resize(static_cast<std::size_t>(count));
    while (static_cast<int>(cells_.size()) < count)
        cells_.emplace_back(lxLineNomal, 0, 0, kNewCellSize, kNewCellSize);
    revertingTab_ = true;
    while (TCLblConfig->count() > count)
        TCLblConfig->removeTab(TCLblConfig->count() - 1);
    while (TCLblConfig->count() < count)
        TCLblConfig->addTab(QString::number(TCLblConfig->count() + 1) + QStringLiteral("番目"));
    currentCell_ = std::min(currentCell_, count - 1);
    TCLblConfig->setCurrentIndex(currentCell_);
    revertingTab_ = false;
    FillCellFields();
}

void TFormAddPaper::TCLblConfigChange() { FillCellFields(); }

void TFormAddPaper::FillCellFields()
{
    const TLblPosition& cell = cells_[static_cast<std::size_t>(currentCell_)];
    filling_ = true;
    EditLblWidth->setText(QString::fromStdString(FormatFloat(cell.GetWidth())));
    EditLblHeigh->setText(QString::fromStdString(FormatFloat(cell.GetHeight())));
    EditPosX->setText(QString::fromStdString(FormatFloat(cell.GetLeft())));
    EditPosY->setText(QString::fromStdString(FormatFloat(cell.GetTop())));
    CBLblType->setCurrentIndex(cell.GetLineKind() == lxLineNomal ? 0 : 1);
    filling_ = false;
}

bool TFormAddPaper::TCLblConfigChanging() { return ValidateFreeCell(); }

void TFormAddPaper::EditEtcLblChange()
{
    if (filling_ || currentCell_ < 0 || currentCell_ >= static_cast<int>(cells_.size()))
        return;
    TLblPosition& cell = cells_[static_cast<std::size_t>(currentCell_)];
    if (const auto width = TryParseFloat(FieldText(EditLblWidth)))
        cell.SetWidth(*width);
    if (const auto height = TryParseFloat(FieldText(EditLblHeigh)))
        cell.SetHeight(*height);
    if (const auto left = TryParseFloat(FieldText(EditPosX)))
        cell.SetLeft(*left);
    if (const auto top = TryParseFloat(FieldText(EditPosY)))
        cell.SetTop(*top);
    cell.SetLineKind(CBLblType->currentText() == QString::fromUtf8(kEllipseText) ? lxLineCircle : lxLineNomal);
}

// ---- checking the fields

namespace {

struct NamedField {
    const char* name;
    QLineEdit* edit;
};

bool Refuse(const char* name, const char* reason)
{
    ShowInfo(std::string(name) + reason);
    return false;
}

} // namespace

bool TFormAddPaper::ValidateFields()
{
    if (PaperName().empty())
        return Refuse("用紙名", "が未入力です。");
    return IsGrid() ? ValidateGrid() : ValidateFreeCell();
}

bool TFormAddPaper::ValidateGrid()
{
    const NamedField fields[] = {
        {"幅", EditLabelWidth},      {"高さ", EditLabelHeight},  {"上余白", EditOffsetUpper},
        {"下余白", EditOffsetLower}, {"左余白", EditOffsetLeft}, {"右余白", EditOffsetRight},
        {"列数", EditCol},           {"段数", EditRow},
    };
    const auto isCount = [this](const QLineEdit* edit) { return edit == EditCol || edit == EditRow; };
    for (const NamedField& field : fields)
        if (IsBlank(field.edit))
            return Refuse(field.name, "が未入力です。");
    for (const NamedField& field : fields) {
        if (!TryParseFloat(FieldText(field.edit)))
            return Refuse(field.name, "は数値で入力してください。");
        // A count with a fraction would silently become no label at all.
        if (isCount(field.edit) && !TryParseInt(FieldText(field.edit)))
            return Refuse(field.name, "は整数で入力してください。");
    }
    for (const NamedField& field : fields) {
        const bool sized = field.edit == EditLabelWidth || field.edit == EditLabelHeight || isCount(field.edit);
        if (sized && NumberOr0(field.edit) < 1)
            return Refuse(field.name, "は1以上の数値を入力してください。");
        if (isCount(field.edit) && NumberOr0(field.edit) > kMaxGridCount)
            return Refuse(field.name, "は99以下の数値を入力してください。");
    }
    return true;
}

bool TFormAddPaper::ValidateFreeCell()
{
    const NamedField fields[] = {
        {"幅", EditLblWidth}, {"高さ", EditLblHeigh}, {"左からの位置", EditPosX}, {"上からの位置", EditPosY}};
    for (const NamedField& field : fields)
        if (!TryParseFloat(FieldText(field.edit)))
            return Refuse(field.name, "は数値で入力してください。");
    for (const NamedField& field : {fields[0], fields[1]})
        if (NumberOr0(field.edit) < 1)
            return Refuse(field.name, "は1以上の数値を入力してください。");
    return true;
}

// ---- the layout and its preview

std::vector<TLblPosition> TFormAddPaper::GridCells(double paperWidth, double paperHeight) const
{
    const int columns = std::clamp(IntegerOr0(EditCol), 0, kMaxGridCount);
    const int rows = std::clamp(IntegerOr0(EditRow), 0, kMaxGridCount);
    const double width = NumberOr0(EditLabelWidth);
    const double height = NumberOr0(EditLabelHeight);
    const double top = NumberOr0(EditOffsetUpper);
    const double left = NumberOr0(EditOffsetLeft);
    const double across = columns >= 2 ? (paperWidth - left - NumberOr0(EditOffsetRight) - width) / (columns - 1) : 0;
    const double down = rows >= 2 ? (paperHeight - top - NumberOr0(EditOffsetLower) - height) / (rows - 1) : 0;
    const std::uint8_t outline =
        CBLabelType->currentText() == QString::fromUtf8(kEllipseText) ? lxLineCircle : lxLineNomal;
    std::vector<TLblPosition> cells;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            cells.emplace_back(outline, left + column * across, top + row * down, width, height);
    return cells;
}

void TFormAddPaper::BuildLayout()
{
    const PaperChoice paper = RadioButtonHagakiSize->isChecked() ? kHagaki : RadioButtonB5Size->isChecked() ? kB5 : kA4;
    layout_ = TlxLblInfo();
    layout_.Paper.SetMakerIndex(kUserPaperCategory);
    layout_.Paper.SetPaperSize({paper.kind, paper.width, paper.height});
    layout_.Paper.SetModelNumber(PaperName());
    layout_.Paper.SetSizeName(PaperName());
    layout_.Header = "LBLBASE";
    layout_.Version = "1.00";
    layout_.Cells = IsGrid() ? GridCells(paper.width, paper.height) : cells_;
    layout_.LabelCount = static_cast<std::int32_t>(layout_.Cells.size());
    layout_.SingleMode = IsGrid();
    layout_.Portrait = true;
}

void TFormAddPaper::DrawPreview()
{
    const double width = layout_.GetPaperWidth();
    const double height = layout_.GetPaperHeight();
    const Size size = FitProportionally(width, height, ImageDesign->width(), ImageDesign->height());
    preview_ = Bitmap(size.cx, size.cy);
    const double kx = size.cx / width * 25.4;
    const double ky = size.cy / height * 25.4;
    {
        RasterDeviceContext dc(preview_);
        dc.SetBkMode(BkMode::Transparent);
        dc.SelectPen({PenStyle::Solid, 0, 0x000000});
        LogFont font;
        font.faceName = Sjis("ＭＳ Ｐゴシック");
        font.charSet = 128;
        font.height = -RoundToInt(8 * 96 / 72.0);
        dc.SelectFont(font);
        for (std::int32_t i = 0; i < layout_.LabelCount; ++i) {
            const Rect box = ScaleMmRect(layout_.GetLabelLeft(i), layout_.GetLabelTop(i), layout_.GetLabelWidth(i),
                                         layout_.GetLabelHeight(i), kx, ky);
            DrawCellOutline(dc, layout_.GetLabelLineKind(i) == lxLineNomal ? lxLineNomal : lxLineCircle, box);
            const std::string number = std::to_string(i + 1);
            const Size extent = dc.GetTextExtent(number);
            dc.TextOut(Div(box.left + box.right - extent.cx, 2), Div(box.top + box.bottom - extent.cy, 2), number);
        }
    }
    ImageDesign->setPicture(ToQImage(preview_));
}

// ---- the buttons

void TFormAddPaper::BtnPreviewClick()
{
    if (!ValidateFields())
        return;
    BuildLayout();
    DrawPreview();
}

void TFormAddPaper::BtnAddPaperClick()
{
    if (!ValidateFields())
        return;
    BuildLayout();
    // A paper of the same name would be replaced with its layout file.
    const std::string folder = DataFolder();
    if (FileExists(LayoutFilePath(folder, kUserPaperCategory, layout_.Paper.GetModelNumber())) &&
        !AskYesNo("同じ名前の用紙があります。置き換えますか？"))
        return;
    EnsureCatalogue(folder);
    layout_.SaveLayoutFile(folder);
    ShowInfo("用紙を追加しました。");
    accept();
}

void TFormAddPaper::BtnCancelClick() { reject(); }

} // namespace lx
