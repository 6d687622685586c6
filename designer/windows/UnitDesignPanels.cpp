// The property panels: the common panel and one page per object kind,
// filled from the selected object and written back into it, each write
// recorded for undo.
#include "designer/windows/UnitDesign.h"

#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelGrid.h"
#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"
#include "designer/windows/EditorShapes.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UpDown.h"
#include "platform/text/Numbers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

namespace lx {

namespace {

// Pen styles of the line-type boxes' items "実線", "点線", "破線", "一点鎖線", "二点鎖線".
constexpr std::array<std::uint8_t, 5> kPenStyleOfLineType{0, 2, 1, 3, 4};

std::uint8_t LineTypeFromIndex(int index)
{
    return index >= 0 && index < 5 ? kPenStyleOfLineType[static_cast<std::size_t>(index)] : 0;
}

int IndexFromLineType(std::uint8_t style)
{
    for (std::size_t i = 0; i < kPenStyleOfLineType.size(); ++i)
        if (kPenStyleOfLineType[i] == style)
            return static_cast<int>(i);
    return 0;
}

QString FormatTenths(double value)
{
    QString text = QString::asprintf("%.1f", value);
    return text == QStringLiteral("-0.0") ? QStringLiteral("0.0") : text;
}

double ParsedOr(const QLineEdit* edit, double fallback)
{
    return TryParseFloat(edit->text().toStdString()).value_or(fallback);
}

std::string MemoText(const QPlainTextEdit* memo) { return MemoToCp932(memo->toPlainText()); }

void SetMemoText(QPlainTextEdit* memo, const std::string& cp932) { memo->setPlainText(MemoToQString(cp932)); }

QComboBox* LineTypeBox(const char* name)
{
    auto* box = Named(new QComboBox, name);
    box->addItems({QStringLiteral("実線"), QStringLiteral("点線"), QStringLiteral("破線"), QStringLiteral("一点鎖線"),
                   QStringLiteral("二点鎖線")});
    return box;
}

QSpinBox* SpinBox(const char* name, int minimum, int maximum)
{
    auto* box = Named(new QSpinBox, name);
    box->setRange(minimum, maximum);
    return box;
}

QToolButton* Toggle(const char* name, const QString& text)
{
    auto* button = Named(new QToolButton, name);
    button->setText(text);
    button->setCheckable(true);
    return button;
}

void SetAlignment(QRadioButton* left, QRadioButton* centre, QRadioButton* right, std::uint8_t alignment)
{
    (alignment == 2 ? right : alignment == 1 ? centre : left)->setChecked(true);
}

std::uint8_t GetAlignment(const QRadioButton* centre, const QRadioButton* right)
{
    return right->isChecked() ? 2 : centre->isChecked() ? 1 : 0;
}

// The width box of a line: 1 and disabled for a pen style other than solid.
void ShowLineWidth(QSpinBox* box, std::uint8_t style, std::int32_t width)
{
    const QSignalBlocker blocker(box);
    box->setEnabled(style == 0);
    box->setValue(style == 0 ? width : 1);
}

} // namespace

// The controls that the text, merge text and serial-number pages share.
struct TextPageControls {
    QComboBox* font;
    QSpinBox* size;
    ColorSwatch* colour;
    QToolButton* bold;
    QToolButton* italic;
    QToolButton* underline;
    QCheckBox* vertical;
    QRadioButton* left;
    QRadioButton* centre;
    QRadioButton* right;
    QLineEdit* spacing;
};

static TextPageControls TextPage(const TFormDesign& f, std::uint8_t kind)
{
    if (kind == KindCsvString)
        return {f.CBCsvFontList,    f.SECsvFontSize,       f.ShapeCsvFontColor, f.BtnCsvFontBold,
                f.BtnCsvFontItalic, f.BtnCsvFontUnderLine, f.CBCsvFontTate,     f.RBCsvLeft,
                f.RBCsvCenter,      f.RBCsvRight,          f.EditCsvStrSpace};
    if (kind == KindRenbanString)
        return {f.CBRenbanFontName,   f.SERenbanFontSize,      f.ShapeRenbanFontColor, f.SBRenbanFontBold,
                f.SBRenbanFontItalic, f.SBRenbanFontUnderLine, f.CBRenbanStringTate,   f.RBRenbanLeft,
                f.RBRenbanCenter,     f.RBRenbanRight,         f.EditRenbanStrSpace};
    return {f.CBFontName,   f.SEFontSize, f.ShapeFontColor, f.SBFontBold, f.SBFontItalic, f.SBFontUnderLine,
            f.CBStringTate, f.RBLeft,     f.RBCenter,       f.RBRight,    f.EditStrSpace};
}

void TFormDesign::BuildPanelComponents()
{
    PanelCommonEdit = Named(new QFrame, "PanelCommonEdit");
    PanelCommonEdit->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelCommonEdit->setLineWidth(2);
    EditSheetPosLeft = Named(new QLineEdit, "EditSheetPosLeft");
    EditSheetPosTop = Named(new QLineEdit, "EditSheetPosTop");
    EditSheetWidth = Named(new QLineEdit, "EditSheetWidth");
    EditSheetHeight = Named(new QLineEdit, "EditSheetHeight");
    UpDownPosX = Named(UpDown::ForEdit(0), "UpDownPosX");
    UpDownPosY = Named(UpDown::ForEdit(1), "UpDownPosY");
    UpDownWidth = Named(UpDown::ForEdit(2), "UpDownWidth");
    UpDownHeight = Named(UpDown::ForEdit(3), "UpDownHeight");
    CBCanDisplay = Named(new QCheckBox(QStringLiteral("表示なし")), "CBCanDisplay");
    CBCanMove = Named(new QCheckBox(QStringLiteral("位置固定")), "CBCanMove");
    CBNotPrint = Named(new QCheckBox(QStringLiteral("印刷なし")), "CBNotPrint");
    auto* common = new QGridLayout(PanelCommonEdit);
    const std::array<std::tuple<QString, QLineEdit*, UpDown*>, 4> rows{
        {{QStringLiteral("横位置"), EditSheetPosLeft, UpDownPosX},
         {QStringLiteral("縦位置"), EditSheetPosTop, UpDownPosY},
         {QStringLiteral("幅"), EditSheetWidth, UpDownWidth},
         {QStringLiteral("高さ"), EditSheetHeight, UpDownHeight}}};
    for (int i = 0; i < 4; ++i) {
        const auto& [caption, edit, updown] = rows[static_cast<std::size_t>(i)];
        common->addWidget(new QLabel(caption), i / 2, (i % 2) * 3);
        common->addWidget(edit, i / 2, (i % 2) * 3 + 1);
        common->addWidget(updown, i / 2, (i % 2) * 3 + 2);
    }
    common->addWidget(CBCanDisplay, 2, 0, 1, 2);
    common->addWidget(CBCanMove, 2, 2, 1, 2);
    common->addWidget(CBNotPrint, 2, 4, 1, 2);

    BuildTextPages(TabSheetText, TabSheetCsvString, TabSheetRenban);
    BuildFigurePage();
    BuildImagePage();
    BuildGridPage();
    BuildEffectsPage();
    ConnectPanelHandlers();
}

void TFormDesign::BuildTextPages(QWidget* text, QWidget* merge, QWidget* serial)
{
    MemoSheetString = Named(new QPlainTextEdit, "MemoSheetString");
    MemoSheetString->setMinimumHeight(60);
    CBCsvCol = Named(new QComboBox, "CBCsvCol");
    EditFrontStr = Named(new QLineEdit, "EditFrontStr");
    EditBackStr = Named(new QLineEdit, "EditBackStr");
    MemoCSVContent = Named(new QPlainTextEdit, "MemoCSVContent");
    MemoCSVContent->setReadOnly(true);
    EditRenbanStart = Named(new QLineEdit, "EditRenbanStart");
    EditRenbanFinish = Named(new QLineEdit, "EditRenbanFinish");
    for (QLineEdit* edit : {EditRenbanStart, EditRenbanFinish}) {
        edit->setMaxLength(9);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    struct Names {
        const char *font, *size, *colour, *button, *bold, *italic, *underline, *vertical, *left, *centre, *right,
            *spacing, *updown;
        int tag;
    };
    const std::array<Names, 3> names{
        {{"CBFontName", "SEFontSize", "ShapeFontColor", "BtnFontColor", "SBFontBold", "SBFontItalic", "SBFontUnderLine",
          "CBStringTate", "RBLeft", "RBCenter", "RBRight", "EditStrSpace", "UpDownStrSpace", 4},
         {"CBCsvFontList", "SECsvFontSize", "ShapeCsvFontColor", "BtnCsvFontColor", "BtnCsvFontBold",
          "BtnCsvFontItalic", "BtnCsvFontUnderLine", "CBCsvFontTate", "RBCsvLeft", "RBCsvCenter", "RBCsvRight",
          "EditCsvStrSpace", "UpDownCsvStrSpace", 5},
         {"CBRenbanFontName", "SERenbanFontSize", "ShapeRenbanFontColor", "BtnRenbanFontColor", "SBRenbanFontBold",
          "SBRenbanFontItalic", "SBRenbanFontUnderLine", "CBRenbanStringTate", "RBRenbanLeft", "RBRenbanCenter",
          "RBRenbanRight", "EditRenbanStrSpace", "UpDownRenbanStrSpace", 6}}};
    const std::array<QWidget*, 3> pages{text, merge, serial};
    const std::array<std::uint8_t, 3> kinds{KindString, KindCsvString, KindRenbanString};
    for (std::size_t p = 0; p < 3; ++p) {
        const Names& n = names[p];
        auto* font = Named(new QComboBox, n.font);
        font->setEditable(true);
        auto* colour = Named(new ColorSwatch, n.colour);
        auto* button = Named(new QPushButton(QStringLiteral("変更")), n.button);
        auto* left = Named(new QRadioButton(QStringLiteral("左揃え")), n.left);
        auto* centre = Named(new QRadioButton(QStringLiteral("中央揃え")), n.centre);
        auto* right = Named(new QRadioButton(QStringLiteral("右揃え")), n.right);
        auto* group = new QButtonGroup(pages[p]);
        for (QRadioButton* radio : {left, centre, right})
            group->addButton(radio);
        auto* spacing = Named(new QLineEdit, n.spacing);
        auto* updown = Named(UpDown::ForEdit(n.tag), n.updown);
        TextPageControls c{font,
                           SpinBox(n.size, 1, 500),
                           colour,
                           Toggle(n.bold, QStringLiteral("B")),
                           Toggle(n.italic, QStringLiteral("I")),
                           Toggle(n.underline, QStringLiteral("U")),
                           Named(new QCheckBox(QStringLiteral("縦書き")), n.vertical),
                           left,
                           centre,
                           right,
                           spacing};
        if (kinds[p] == KindString) {
            CBFontName = font, SEFontSize = c.size, ShapeFontColor = colour, BtnFontColor = button;
            SBFontBold = c.bold, SBFontItalic = c.italic, SBFontUnderLine = c.underline, CBStringTate = c.vertical;
            RBLeft = left, RBCenter = centre, RBRight = right, EditStrSpace = spacing, UpDownStrSpace = updown;
        } else if (kinds[p] == KindCsvString) {
            CBCsvFontList = font, SECsvFontSize = c.size, ShapeCsvFontColor = colour, BtnCsvFontColor = button;
            BtnCsvFontBold = c.bold, BtnCsvFontItalic = c.italic, BtnCsvFontUnderLine = c.underline;
            CBCsvFontTate = c.vertical, RBCsvLeft = left, RBCsvCenter = centre, RBCsvRight = right;
            EditCsvStrSpace = spacing, UpDownCsvStrSpace = updown;
        } else {
            CBRenbanFontName = font, SERenbanFontSize = c.size, ShapeRenbanFontColor = colour;
            BtnRenbanFontColor = button, SBRenbanFontBold = c.bold, SBRenbanFontItalic = c.italic;
            SBRenbanFontUnderLine = c.underline, CBRenbanStringTate = c.vertical, RBRenbanLeft = left;
            RBRenbanCenter = centre, RBRenbanRight = right, EditRenbanStrSpace = spacing;
            UpDownRenbanStrSpace = updown;
        }
        auto* grid = new QGridLayout(pages[p]);
        int row = 0;
        if (kinds[p] == KindString) {
            grid->addWidget(MemoSheetString, row++, 0, 1, 6);
        } else if (kinds[p] == KindCsvString) {
            grid->addWidget(new QLabel(QStringLiteral("列")), row, 0);
            grid->addWidget(CBCsvCol, row++, 1, 1, 5);
            grid->addWidget(new QLabel(QStringLiteral("前に付ける文字")), row, 0, 1, 3);
            grid->addWidget(new QLabel(QStringLiteral("後に付ける文字")), row++, 3, 1, 3);
            grid->addWidget(EditFrontStr, row, 0, 1, 3);
            grid->addWidget(EditBackStr, row++, 3, 1, 3);
            grid->addWidget(MemoCSVContent, row++, 0, 1, 6);
        } else {
            grid->addWidget(new QLabel(QStringLiteral("開始番号")), row, 0, 1, 3);
            grid->addWidget(new QLabel(QStringLiteral("終了番号")), row++, 3, 1, 3);
            grid->addWidget(EditRenbanStart, row, 0, 1, 3);
            grid->addWidget(EditRenbanFinish, row++, 3, 1, 3);
        }
        grid->addWidget(new QLabel(QStringLiteral("フォント")), row, 0);
        grid->addWidget(font, row++, 1, 1, 5);
        grid->addWidget(new QLabel(QStringLiteral("フォントサイズ")), row, 0);
        grid->addWidget(c.size, row, 1);
        grid->addWidget(colour, row, 2);
        grid->addWidget(button, row++, 3);
        grid->addWidget(c.bold, row, 0);
        grid->addWidget(c.italic, row, 1);
        grid->addWidget(c.underline, row, 2);
        grid->addWidget(c.vertical, row++, 3, 1, 3);
        grid->addWidget(left, row, 0, 1, 2);
        grid->addWidget(centre, row, 2, 1, 2);
        grid->addWidget(right, row++, 4, 1, 2);
        grid->addWidget(new QLabel(QStringLiteral("文字間隔")), row, 0);
        grid->addWidget(spacing, row, 1, 1, 2);
        grid->addWidget(updown, row++, 3);
        grid->setRowStretch(row, 1);
    }
}

void TFormDesign::BuildFigurePage()
{
    const std::array<std::pair<QToolButton**, std::pair<const char*, QString>>, 8> buttons{
        {{&SBLineVertical, {"SBLineVertical", QStringLiteral("│")}},
         {&SBLineHorizontal, {"SBLineHorizontal", QStringLiteral("─")}},
         {&SBLineDiagonal, {"SBLineDiagonal", QStringLiteral("＼")}},
         {&SBLineCoDiagonal, {"SBLineCoDiagonal", QStringLiteral("／")}},
         {&SBSquare1, {"SBSquare1", QStringLiteral("□")}},
         {&SBRound1, {"SBRound1", QStringLiteral("○")}},
         {&SBSquare2, {"SBSquare2", QStringLiteral("■")}},
         {&SBRound2, {"SBRound2", QStringLiteral("●")}}}};
    auto* grid = new QGridLayout(TabSheetDrawing);
    auto* group = new QButtonGroup(TabSheetDrawing);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        *buttons[i].first = Toggle(buttons[i].second.first, buttons[i].second.second);
        group->addButton(*buttons[i].first);
        grid->addWidget(*buttons[i].first, static_cast<int>(i / 4), static_cast<int>(i % 4));
    }
    ShapeLineColor = Named(new ColorSwatch, "ShapeLineColor");
    BtnChangeLineColor = Named(new QPushButton(QStringLiteral("変更")), "BtnChangeLineColor");
    SELineWidth = SpinBox("SELineWidth", 1, 99);
    CBLineType = LineTypeBox("CBLineType");
    grid->addWidget(new QLabel(QStringLiteral("線の色")), 2, 0);
    grid->addWidget(ShapeLineColor, 2, 1);
    grid->addWidget(BtnChangeLineColor, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("線の太さ")), 3, 0);
    grid->addWidget(SELineWidth, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("線の種類")), 4, 0);
    grid->addWidget(CBLineType, 4, 1, 1, 3);
    grid->setRowStretch(5, 1);
}

void TFormDesign::BuildImagePage()
{
    ShapePictureBack = Named(new QFrame, "ShapePictureBack");
    ShapePictureBack->setFrameStyle(QFrame::Box | QFrame::Plain);
    ShapePictureBack->setFixedSize(200, 150);
    ImageSheetPicture = Named(new PictureView(ShapePictureBack), "ImageSheetPicture");
    ImageSheetPicture->setGeometry(1, 1, 198, 148);
    CBTransparent = Named(new QCheckBox(QStringLiteral("透明にする色を設定する")), "CBTransparent");
    CBFixRate = Named(new QCheckBox(QStringLiteral("画像の比率を固定する")), "CBFixRate");
    ShapeTransparent = Named(new ColorSwatch, "ShapeTransparent");
    SBtnCopy = Named(new QToolButton, "SBtnCopy");
    SBtnCopy->setText(QStringLiteral("コピー"));
    SBtnClear = Named(new QToolButton, "SBtnClear");
    SBtnClear->setText(QStringLiteral("クリア"));
    PanelPicture = Named(new QFrame, "PanelPicture");
    PanelPicture->setAcceptDrops(true);
    auto* page = new QVBoxLayout(TabSheetImage);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(PanelPicture);
    auto* grid = new QGridLayout(PanelPicture);
    grid->addWidget(ShapePictureBack, 0, 0, 1, 3);
    // Row 1 holds the picture commands, in sight under the picture.
    grid->addWidget(SBtnCopy, 2, 0);
    grid->addWidget(SBtnClear, 2, 1);
    grid->addWidget(CBTransparent, 3, 0, 1, 2);
    grid->addWidget(ShapeTransparent, 3, 2);
    grid->addWidget(CBFixRate, 4, 0, 1, 3);
    grid->setRowStretch(5, 1);
}

void TFormDesign::BuildGridPage()
{
    SpinEditGridCol = SpinBox("SpinEditGridCol", 1, 50);
    SpinEditGridRow = SpinBox("SpinEditGridRow", 1, 50);
    ShapeGridInnerColor = Named(new ColorSwatch, "ShapeGridInnerColor");
    BtnGridInnerColor = Named(new QPushButton(QStringLiteral("変更")), "BtnGridInnerColor");
    ShapeGridOuterColor = Named(new ColorSwatch, "ShapeGridOuterColor");
    BtnGridOuterColor = Named(new QPushButton(QStringLiteral("変更")), "BtnGridOuterColor");
    SEdGridLineInnerWidth = SpinBox("SEdGridLineInnerWidth", 1, 99);
    SEdGridLineOuterWidth = SpinBox("SEdGridLineOuterWidth", 1, 99);
    CBGridLineInnerType = LineTypeBox("CBGridLineInnerType");
    CBGridLineOuterType = LineTypeBox("CBGridLineOuterType");
    auto* grid = new QGridLayout(TabSheetGrid);
    grid->addWidget(new QLabel(QStringLiteral("列数")), 0, 0);
    grid->addWidget(SpinEditGridCol, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("行数")), 0, 2);
    grid->addWidget(SpinEditGridRow, 0, 3);
    const std::array<std::tuple<QString, ColorSwatch*, QPushButton*, QSpinBox*, QComboBox*>, 2> lines{
        {{QStringLiteral("外枠"), ShapeGridOuterColor, BtnGridOuterColor, SEdGridLineOuterWidth, CBGridLineOuterType},
         {QStringLiteral("内線"), ShapeGridInnerColor, BtnGridInnerColor, SEdGridLineInnerWidth, CBGridLineInnerType}}};
    int row = 1;
    for (const auto& [caption, swatch, button, width, type] : lines) {
        grid->addWidget(new QLabel(caption), row, 0);
        grid->addWidget(swatch, row, 1);
        grid->addWidget(button, row++, 2);
        grid->addWidget(width, row, 1);
        grid->addWidget(type, row++, 2, 1, 2);
    }
    grid->setRowStretch(row, 1);
    for (QSpinBox* box : {SpinEditGridCol, SpinEditGridRow}) {
        if (QLineEdit* edit = box->findChild<QLineEdit*>())
            edit->setMaxLength(2);
    }
}

void TFormDesign::BuildEffectsPage()
{
    MemoSheetEffects = Named(new QPlainTextEdit, "MemoSheetEffects");
    MemoSheetEffects->setMinimumHeight(60);
    CBFontName2 = Named(new QComboBox, "CBFontName2");
    CBFontName2->setEditable(true);
    ShapeFontColor2 = Named(new ColorSwatch, "ShapeFontColor2");
    BtnFontColor2 = Named(new QPushButton(QStringLiteral("変更")), "BtnFontColor2");
    // The size and sub-colour row is placed by hand: the style boxes move
    // the size box between two places.
    auto* sizeRow = new QWidget;
    sizeRow->setFixedHeight(46);
    Label129 = Named(new QLabel(QStringLiteral("サブフォント色"), sizeRow), "Label129");
    Label129->move(0, 0);
    ShapeArtFontColor2 = Named(new ColorSwatch(sizeRow), "ShapeArtFontColor2");
    ShapeArtFontColor2->move(0, 20);
    SBArtFont2 = Named(new QToolButton(sizeRow), "SBArtFont2");
    SBArtFont2->setText(QStringLiteral("変更"));
    SBArtFont2->move(28, 20);
    Label127 = Named(new QLabel(QStringLiteral("フォントサイズ"), sizeRow), "Label127");
    Label127->move(85, 0);
    SEFontSize2 = Named(new QSpinBox(sizeRow), "SEFontSize2");
    SEFontSize2->setRange(1, 500);
    SEFontSize2->setGeometry(89, 20, 64, 22);
    ShapeArtFontColor3 = Named(new ColorSwatch, "ShapeArtFontColor3");
    SBArtFont3 = Named(new QToolButton, "SBArtFont3");
    SBArtFont3->setText(QStringLiteral("変更"));
    const std::array<std::tuple<QCheckBox**, const char*, QString>, 8> styles{
        {{&CB_Kage2, "CB_Kage2", QStringLiteral("影を付ける①")},
         {&CB_small2, "CB_small2", QStringLiteral("影を付ける②")},
         {&CB_Kakoi2, "CB_Kakoi2", QStringLiteral("囲いを付ける")},
         {&CB_Kyokusen2, "CB_Kyokusen2", QStringLiteral("曲線")},
         {&CB_naname2, "CB_naname2", QStringLiteral("斜め文字／")},
         {&CB_naname2_2, "CB_naname2_2", QStringLiteral("斜め文字＼")},
         {&CB_haikei1, "CB_haikei1", QStringLiteral("文字を変形する")},
         {&CB_tokusyu1, "CB_tokusyu1", QStringLiteral("追加用")}}};
    auto* grid = new QGridLayout(TabSheetEffects);
    grid->addWidget(MemoSheetEffects, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("フォント")), 1, 0);
    grid->addWidget(CBFontName2, 1, 1, 1, 3);
    grid->addWidget(sizeRow, 2, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("フォント色")), 3, 0);
    grid->addWidget(ShapeFontColor2, 3, 1);
    grid->addWidget(BtnFontColor2, 3, 2);
    grid->addWidget(ShapeArtFontColor3, 4, 1);
    grid->addWidget(SBArtFont3, 4, 2);
    for (std::size_t i = 0; i < styles.size(); ++i) {
        auto& [box, name, caption] = styles[i];
        *box = Named(new QCheckBox(caption), name);
        grid->addWidget(*box, 5 + static_cast<int>(i / 2), static_cast<int>(i % 2) * 2, 1, 2);
    }
    CB_tokusyu1->hide();
    RBLeft2 = Named(new QRadioButton(QStringLiteral("左揃え")), "RBLeft2");
    RBCenter2 = Named(new QRadioButton(QStringLiteral("中央揃え")), "RBCenter2");
    RBRight2 = Named(new QRadioButton(QStringLiteral("右揃え")), "RBRight2");
    auto* group = new QButtonGroup(TabSheetEffects);
    int column = 0;
    for (QRadioButton* radio : {RBLeft2, RBCenter2, RBRight2}) {
        group->addButton(radio);
        grid->addWidget(radio, 9, column++);
    }
    grid->setRowStretch(10, 1);
    for (QWidget* widget : std::initializer_list<QWidget*>{Label129, ShapeArtFontColor2, SBArtFont2})
        widget->hide();
}

void TFormDesign::ConnectPanelHandlers()
{
    using Handler = void (TFormDesign::*)();
    const auto run = [this](Handler handler) { return [this, handler] { guarded([&] { (this->*handler)(); }); }; };
    const auto edits = [&](std::initializer_list<QLineEdit*> boxes, Handler handler, const char* name) {
        for (QLineEdit* box : boxes)
            Wire(name, box, &QLineEdit::textChanged, this, run(handler));
    };
    const auto checks = [&](std::initializer_list<QAbstractButton*> boxes, Handler handler, const char* name) {
        for (QAbstractButton* box : boxes)
            Wire(name, box, &QAbstractButton::toggled, this, run(handler));
    };
    // Radio buttons apply when one becomes ticked, not when the other one
    // clears, so a change writes once.
    const auto radios = [&](std::initializer_list<QAbstractButton*> buttons, Handler handler, const char* name) {
        for (QAbstractButton* button : buttons)
            Wire(name, button, &QAbstractButton::toggled, this, [this, handler](bool on) {
                if (on)
                    guarded([&] { (this->*handler)(); });
            });
    };
    const auto spins = [&](std::initializer_list<QSpinBox*> boxes, Handler handler, const char* name) {
        for (QSpinBox* box : boxes)
            Wire(name, box, &QSpinBox::valueChanged, this, run(handler));
    };
    const auto combos = [&](std::initializer_list<QComboBox*> boxes, Handler handler, const char* name) {
        for (QComboBox* box : boxes) {
            if (box->isEditable())
                Wire(name, box, &QComboBox::currentTextChanged, this, run(handler));
            else
                Wire(name, box, &QComboBox::currentIndexChanged, this, run(handler));
        }
    };
    // What CP932 cannot hold is taken out and told before the text is written.
    const auto memo = [&](QPlainTextEdit* box, Handler handler, const char* name) {
        connect(box, &QPlainTextEdit::textChanged, this, [box] { guarded([box] { KeepCp932Only(box); }); });
        Wire(name, box, &QPlainTextEdit::textChanged, this, run(handler));
    };

    edits({EditSheetPosLeft, EditSheetPosTop, EditSheetWidth, EditSheetHeight},
          LX_HANDLER(TFormDesign, CommonSheetChange));
    for (QLineEdit* box : {EditSheetPosLeft, EditSheetPosTop, EditSheetWidth, EditSheetHeight})
        connect(box, &QLineEdit::editingFinished, this, [this] { ShowSelectedGeometry(true); });
    checks({CBCanDisplay, CBCanMove, CBNotPrint}, LX_HANDLER(TFormDesign, CommonSheetChange));

    memo(MemoSheetString, LX_HANDLER(TFormDesign, StringSheetChange));
    combos({CBFontName}, LX_HANDLER(TFormDesign, StringSheetChange));
    spins({SEFontSize}, LX_HANDLER(TFormDesign, StringSheetChange));
    checks({SBFontBold, SBFontItalic, SBFontUnderLine, CBStringTate}, LX_HANDLER(TFormDesign, StringSheetChange));
    radios({RBLeft, RBCenter, RBRight}, LX_HANDLER(TFormDesign, StringSheetChange));
    edits({EditStrSpace}, LX_HANDLER(TFormDesign, StringSheetChange));

    combos({CBCsvCol, CBCsvFontList}, LX_HANDLER(TFormDesign, CsvStringSheetChange));
    for (QLineEdit* box : {EditFrontStr, EditBackStr})
        connect(box, &QLineEdit::textChanged, this, [box] { guarded([box] { KeepCp932Only(box); }); });
    edits({EditFrontStr, EditBackStr, EditCsvStrSpace}, LX_HANDLER(TFormDesign, CsvStringSheetChange));
    spins({SECsvFontSize}, LX_HANDLER(TFormDesign, CsvStringSheetChange));
    checks({BtnCsvFontBold, BtnCsvFontItalic, BtnCsvFontUnderLine, CBCsvFontTate},
           LX_HANDLER(TFormDesign, CsvStringSheetChange));
    radios({RBCsvLeft, RBCsvCenter, RBCsvRight}, LX_HANDLER(TFormDesign, CsvStringSheetChange));

    edits({EditRenbanStart, EditRenbanFinish, EditRenbanStrSpace}, LX_HANDLER(TFormDesign, RenbanStringSheetChange));
    combos({CBRenbanFontName}, LX_HANDLER(TFormDesign, RenbanStringSheetChange));
    spins({SERenbanFontSize}, LX_HANDLER(TFormDesign, RenbanStringSheetChange));
    checks({SBRenbanFontBold, SBRenbanFontItalic, SBRenbanFontUnderLine, CBRenbanStringTate},
           LX_HANDLER(TFormDesign, RenbanStringSheetChange));
    radios({RBRenbanLeft, RBRenbanCenter, RBRenbanRight}, LX_HANDLER(TFormDesign, RenbanStringSheetChange));

    radios(
        {SBLineVertical, SBLineHorizontal, SBLineDiagonal, SBLineCoDiagonal, SBSquare1, SBRound1, SBSquare2, SBRound2},
        LX_HANDLER(TFormDesign, FigureSheetChange));
    combos({CBLineType}, LX_HANDLER(TFormDesign, FigureSheetChange));
    spins({SELineWidth}, LX_HANDLER(TFormDesign, FigureSheetChange));

    spins({SpinEditGridCol, SpinEditGridRow, SEdGridLineInnerWidth, SEdGridLineOuterWidth},
          LX_HANDLER(TFormDesign, GridSheetChange));
    combos({CBGridLineInnerType, CBGridLineOuterType}, LX_HANDLER(TFormDesign, GridSheetChange));

    memo(MemoSheetEffects, LX_HANDLER(TFormDesign, EffectsSheetChange));
    combos({CBFontName2}, LX_HANDLER(TFormDesign, EffectsSheetChange));
    spins({SEFontSize2}, LX_HANDLER(TFormDesign, EffectsSheetChange));
    radios({RBLeft2, RBCenter2, RBRight2}, LX_HANDLER(TFormDesign, EffectsSheetChange));

    for (UpDown* updown :
         {UpDownPosX, UpDownPosY, UpDownWidth, UpDownHeight, UpDownStrSpace, UpDownCsvStrSpace, UpDownRenbanStrSpace})
        Wire("UpDownEffectsSheetClick", updown, &UpDown::clicked, this, [this, updown](UpDown::Button button) {
            guarded([&] { UpDownEffectsSheetClick(updown->Tag, button == UpDown::btNext); });
        });
    Wire("BtnFontColorClick", BtnFontColor, &QPushButton::clicked, this, run(&TFormDesign::BtnFontColorClick));
    Wire("BtnGridOuterColorClick", BtnGridOuterColor, &QPushButton::clicked, this,
         run(&TFormDesign::BtnGridOuterColorClick));
    Wire("BtnGridInnerColorClick", BtnGridInnerColor, &QPushButton::clicked, this,
         run(&TFormDesign::BtnGridInnerColorClick));
    auto* enter = new EventHook(
        [this](QObject* watched, QEvent* event) {
            if (event->type() == QEvent::FocusIn)
                guarded([&] {
                    if (watched == MemoSheetString)
                        MemoSheetStringEnter();
                    else
                        MemoSheetEffectsEnter();
                });
            return false;
        },
        this);
    MemoSheetString->installEventFilter(enter);
    MemoSheetEffects->installEventFilter(enter);
    NoteEventHandlers(MemoSheetString, {"MemoSheetStringEnter"});
    NoteEventHandlers(MemoSheetEffects, {"MemoSheetEffectsEnter"});
}

// ---- Filling the panels from the selected object. ----

void TFormDesign::FillFontCombo(QComboBox* box)
{
    if (!Session.Document())
        return;
    const QSignalBlocker blocker(box);
    const QString current = box->currentText();
    box->clear();
    for (const std::string& entry : Session.Document()->GetFontList()) {
        if (!entry.empty() && entry[0] == '@')
            continue;
        box->addItem(ToQString(entry.substr(0, entry.find(':'))));
    }
    box->setCurrentText(current);
}

void TFormDesign::FillCommonPanel(const TLxLableObjectBase& object)
{
    EditSheetName->setText(ToQString(object.GetName()));
    EditSheetPosLeft->setText(FormatTenths(object.GetLeft()));
    EditSheetPosTop->setText(FormatTenths(object.GetTop()));
    EditSheetWidth->setText(FormatTenths(object.GetWidth()));
    EditSheetHeight->setText(FormatTenths(object.GetHeight()));
    CBCanDisplay->setChecked(object.GetCanDisplay() == 0);
    CBCanMove->setChecked(object.GetCanMove() == 0);
    CBNotPrint->setChecked(object.GetNotPrint() != 0);
}

void TFormDesign::ShowSelectedGeometry(bool evenTheFocusedBox)
{
    const TLxLableObjectBase* object = SelectedObject();
    if (!object)
        return;
    const std::pair<QLineEdit*, double> boxes[] = {{EditSheetPosLeft, object->GetLeft()},
                                                   {EditSheetPosTop, object->GetTop()},
                                                   {EditSheetWidth, object->GetWidth()},
                                                   {EditSheetHeight, object->GetHeight()}};
    const bool ready = std::exchange(PanelsReady, false);
    for (const auto& [box, value] : boxes) {
        const QString shown = FormatTenths(value);
        if ((evenTheFocusedBox || !box->hasFocus()) && box->text() != shown)
            box->setText(shown);
    }
    PanelsReady = ready;
}

void TFormDesign::FillTextPage(const TLxLableObjectBase& object)
{
    const std::uint8_t kind = object.GetKind();
    const auto* text = dynamic_cast<const TLxLabelObjectString*>(&object);
    if (!text)
        return;
    if (kind == KindString) {
        SetMemoText(MemoSheetString, text->GetText());
    } else if (const auto* merge = dynamic_cast<const TLxLabelObjectCsvString*>(text)) {
        CBCsvCol->setCurrentIndex(merge->GetColumn() < CBCsvCol->count() ? merge->GetColumn() : -1);
        EditFrontStr->setText(ToQString(merge->GetFrontText()));
        EditBackStr->setText(ToQString(merge->GetBackText()));
        SetMemoText(MemoCSVContent, Session.MergeTable()->GetColumnPreview(merge->GetColumn(), 5));
    } else if (const auto* serial = dynamic_cast<const TLxLabelObjectRenbanString*>(text)) {
        EditRenbanStart->setText(ToQString(serial->GetStartNumber()));
        EditRenbanFinish->setText(ToQString(serial->GetFinishNumber()));
    }
    const TextPageControls c = TextPage(*this, kind);
    c.font->setCurrentText(ToQString(text->GetFontName()));
    c.size->setValue(text->GetFontSize());
    c.colour->setColor(text->GetFontColor());
    c.bold->setChecked(text->GetFontStyle() & kFontBold);
    c.italic->setChecked(text->GetFontStyle() & kFontItalic);
    c.underline->setChecked(text->GetFontStyle() & kFontUnderline);
    c.vertical->setChecked(text->GetVerticalWriting() != 0);
    SetAlignment(c.left, c.centre, c.right, text->GetAlignment());
    c.spacing->setText(FormatTenths(text->GetCharSpacing()));
}

void TFormDesign::FillFigurePage(const TLxLableObjectBase& object)
{
    const auto* figure = dynamic_cast<const TLxLabelObjectFigure*>(&object);
    if (!figure)
        return;
    const std::array<QToolButton*, 8> buttons{SBLineVertical, SBLineHorizontal, SBLineDiagonal, SBLineCoDiagonal,
                                              SBSquare1,      SBRound1,         SBSquare2,      SBRound2};
    if (figure->GetFigureType() < buttons.size())
        buttons[figure->GetFigureType()]->setChecked(true);
    ShapeLineColor->setColor(figure->GetLineColor());
    CBLineType->setCurrentIndex(IndexFromLineType(figure->GetLineType()));
    ShowLineWidth(SELineWidth, figure->GetLineType(), figure->GetLineWidth());
}

void TFormDesign::FillImagePage(const TLxLableObjectBase& object)
{
    const auto* image = dynamic_cast<const TLxLabelObjectImage*>(&object);
    if (!image)
        return;
    ImageSheetPictureData = image->GetPicture();
    CBTransparent->setChecked(image->GetTransparent() != 0);
    CBFixRate->setChecked(image->GetFixRate() != 0);
    ShapeTransparent->setColor(image->GetTransparentColor());
    SBtnCopy->setEnabled(!ImageSheetPictureData.Empty());
    SBtnClear->setEnabled(!ImageSheetPictureData.Empty());
    // Shown fitted into the frame less one pixel a side.
    FitSheetPicture();
}

void TFormDesign::FillGridPage(const TLxLableObjectBase& object)
{
    const auto* grid = dynamic_cast<const TLxLabelObjectGrid*>(&object);
    if (!grid)
        return;
    SpinEditGridCol->setValue(grid->GetColumns());
    SpinEditGridRow->setValue(grid->GetRows());
    ShapeGridInnerColor->setColor(grid->GetInnerLineColor());
    ShapeGridOuterColor->setColor(grid->GetOuterLineColor());
    CBGridLineInnerType->setCurrentIndex(IndexFromLineType(grid->GetInnerLineType()));
    CBGridLineOuterType->setCurrentIndex(IndexFromLineType(grid->GetOuterLineType()));
    ShowLineWidth(SEdGridLineInnerWidth, grid->GetInnerLineType(), grid->GetInnerLineWidth());
    ShowLineWidth(SEdGridLineOuterWidth, grid->GetOuterLineType(), grid->GetOuterLineWidth());
}

void TFormDesign::FillEffectsPage(const TLxLableObjectBase& object)
{
    const auto* effects = dynamic_cast<const TLxLabelObjectEffects*>(&object);
    if (!effects)
        return;
    SetMemoText(MemoSheetEffects, effects->GetText());
    CBFontName2->setCurrentText(ToQString(effects->GetFontName()));
    SEFontSize2->setValue(effects->GetFontSize());
    ShapeFontColor2->setColor(effects->GetFontColor());
    ShapeArtFontColor2->setColor(effects->GetSubFontColor());
    ShapeArtFontColor3->setColor(effects->GetShapedTextColor());
    CB_Kage2->setChecked(effects->GetShadow() != 0);
    CB_Kakoi2->setChecked(effects->GetOutline() != 0);
    CB_small2->setChecked(effects->GetShadow2() != 0);
    CB_Kyokusen2->setChecked(effects->GetCurve() != 0);
    CB_naname2->setChecked(effects->GetSlantForward() != 0);
    CB_naname2_2->setChecked(effects->GetSlantBackward() != 0);
    CB_haikei1->setChecked(effects->GetDeform() != 0);
    ApplyEffectStyleRule();
    SetAlignment(RBLeft2, RBCenter2, RBRight2, effects->GetAlignment());
}

void TFormDesign::ApplyEffectStyleRule()
{
    const std::array<std::pair<QCheckBox*, int>, 7> boxes{{{CB_Kage2, EffectShadow1},
                                                           {CB_Kakoi2, EffectOutline},
                                                           {CB_small2, EffectShadow2},
                                                           {CB_Kyokusen2, EffectCurve},
                                                           {CB_naname2, EffectSlantForward},
                                                           {CB_naname2_2, EffectSlantBackward},
                                                           {CB_haikei1, EffectDeform}}};
    int ticked = 0;
    const std::pair<QCheckBox*, int>* only = nullptr;
    for (const auto& box : boxes)
        if (box.first->isChecked()) {
            ++ticked;
            only = &box;
        }
    if (ticked > 1)
        return;
    for (const auto& box : boxes)
        box.first->setEnabled(!only || box.first == only->first);
    const bool spare = EffectStyleFlags[EffectSpare];
    EffectStyleFlags.fill(false);
    EffectStyleFlags[EffectSpare] = spare;
    if (only)
        EffectStyleFlags[static_cast<std::size_t>(only->second)] = true;
    const int style = only ? only->second : -1;
    const bool subColour = style == EffectShadow1 || style == EffectShadow2 || style == EffectOutline;
    const bool sizeHidden = style == EffectCurve || style == EffectSlantForward || style == EffectSlantBackward;
    for (QWidget* widget : std::initializer_list<QWidget*>{Label129, ShapeArtFontColor2, SBArtFont2})
        widget->setVisible(subColour);
    if (subColour)
        Label129->setText(style == EffectOutline ? QStringLiteral("囲いの色") : QStringLiteral("影の色"));
    Label127->setVisible(!sizeHidden);
    SEFontSize2->setVisible(!sizeHidden);
    Label127->move(subColour ? 168 : 85, Label127->y());
    SEFontSize2->move(subColour ? 172 : 89, SEFontSize2->y());
    // The deformed text takes at most 40 characters.
    MemoSheetEffects->setProperty("maxLength", style == EffectDeform ? 40 : 0);
}

// ---- Writing the panels into the object. ----

void TFormDesign::RecordedWrite(std::int32_t index, const ObjectEdit& write)
{
    // The pages write the selected object only.
    if (index == Session.SelectedIndex())
        Session.EditSelected(write);
}

void TFormDesign::ApplyPanel(void (TFormDesign::*writer)(std::int32_t), bool drawSelection)
{
    if (!PanelsReady || !Session.Document())
        return;
    WriteSelected(writer);
    if (drawSelection)
        DrawSelection();
    RefreshDesign();
}

void TFormDesign::CaptionAlignmentButtons(QCheckBox* vertical, QRadioButton* left, QRadioButton* right)
{
    left->setText(vertical->isChecked() ? QStringLiteral("上揃え") : QStringLiteral("左揃え"));
    right->setText(vertical->isChecked() ? QStringLiteral("下揃え") : QStringLiteral("右揃え"));
}

void TFormDesign::CommonSheetChange() { ApplyPanel(&TFormDesign::LabelEditCommonObj, true); }

void TFormDesign::StringSheetChange()
{
    if (!PanelsReady)
        return;
    CaptionAlignmentButtons(CBStringTate, RBLeft, RBRight);
    ApplyPanel(&TFormDesign::LabelEditStringObj, false);
}

void TFormDesign::CsvStringSheetChange()
{
    if (!PanelsReady)
        return;
    CaptionAlignmentButtons(CBCsvFontTate, RBCsvLeft, RBCsvRight);
    SetMemoText(MemoCSVContent, Session.MergeTable()->GetColumnPreview(std::max(CBCsvCol->currentIndex(), 0), 5));
    ApplyPanel(&TFormDesign::LabelEditCsvString, true);
}

void TFormDesign::RenbanStringSheetChange()
{
    if (!PanelsReady)
        return;
    CaptionAlignmentButtons(CBRenbanStringTate, RBRenbanLeft, RBRenbanRight);
    ApplyPanel(&TFormDesign::LabelEditRenbanStringObj, false);
}

void TFormDesign::FigureSheetChange()
{
    if (!PanelsReady)
        return;
    if (CBLineType->currentIndex() != 0)
        ShowLineWidth(SELineWidth, 1, 1);
    SELineWidth->setEnabled(CBLineType->currentIndex() == 0);
    ApplyPanel(&TFormDesign::LabelEditFigureObj, true);
}

void TFormDesign::ImageSheetChange() { ApplyPanel(&TFormDesign::LabelEditImageObj, true); }

void TFormDesign::GridSheetChange()
{
    if (!PanelsReady)
        return;
    for (const auto& [type, width] : {std::pair{CBGridLineInnerType, SEdGridLineInnerWidth},
                                      std::pair{CBGridLineOuterType, SEdGridLineOuterWidth}}) {
        if (type->currentIndex() != 0)
            ShowLineWidth(width, 1, 1);
        width->setEnabled(type->currentIndex() == 0);
    }
    ApplyPanel(&TFormDesign::LabelEditGridObj, true);
}

void TFormDesign::EffectsSheetChange() { ApplyPanel(&TFormDesign::LabelEditEffectsObj, false); }

void TFormDesign::LabelEditCommonObj(std::int32_t index)
{
    RecordedWrite(index, [this](TLxLableObjectBase& object) {
        object.SetName(ToCp932(EditSheetName->text()));
        object.SetLeft(ParsedOr(EditSheetPosLeft, 10));
        object.SetTop(ParsedOr(EditSheetPosTop, 10));
        object.SetWidth(ParsedOr(EditSheetWidth, 10));
        object.SetHeight(ParsedOr(EditSheetHeight, 10));
        object.SetCanDisplay(!CBCanDisplay->isChecked());
        object.SetCanMove(!CBCanMove->isChecked());
        object.SetNotPrint(CBNotPrint->isChecked());
    });
}

std::uint8_t TFormDesign::GetFormFontStyle(std::uint8_t kind) const
{
    if (kind != KindString && kind != KindCsvString && kind != KindRenbanString)
        return 0;
    const TextPageControls c = TextPage(*this, kind);
    return static_cast<std::uint8_t>((c.bold->isChecked() ? kFontBold : 0) | (c.italic->isChecked() ? kFontItalic : 0) |
                                     (c.underline->isChecked() ? kFontUnderline : 0));
}

void TFormDesign::WriteTextStyle(std::uint8_t kind, TLxLableObjectBase& object)
{
    auto& text = dynamic_cast<TLxLabelObjectString&>(object);
    const TextPageControls c = TextPage(*this, kind);
    text.SetFontName(ToCp932(c.font->currentText()));
    text.SetFontSize(c.size->value());
    text.SetFontColor(c.colour->color());
    text.SetFontStyle(GetFormFontStyle(kind));
    // Turning the writing direction turns the box: the common write reads
    // the swapped width and height.
    if (kind != KindRenbanString && c.vertical->isChecked() != (text.GetVerticalWriting() != 0)) {
        const bool ready = PanelsReady;
        PanelsReady = false;
        EditSheetWidth->setText(FormatTenths(text.GetHeight()));
        EditSheetHeight->setText(FormatTenths(text.GetWidth()));
        PanelsReady = ready;
    }
    text.SetVerticalWriting(c.vertical->isChecked());
    text.SetAlignment(GetAlignment(c.centre, c.right));
    text.SetCharSpacing(ParsedOr(c.spacing, 0));
}

void TFormDesign::LabelEditStringObj(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* text = dynamic_cast<TLxLabelObjectString*>(&object);
        if (!text || object.GetKind() != KindString)
            return;
        text->SetText(MemoText(MemoSheetString));
        WriteTextStyle(KindString, object);
        LabelEditCommonObj(index);
    });
}

void TFormDesign::LabelEditCsvString(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* merge = dynamic_cast<TLxLabelObjectCsvString*>(&object);
        if (!merge)
            return;
        merge->SetColumn(std::max(CBCsvCol->currentIndex(), 0));
        merge->SetFrontText(ToCp932(EditFrontStr->text()));
        merge->SetBackText(ToCp932(EditBackStr->text()));
        WriteTextStyle(KindCsvString, object);
        LabelEditCommonObj(index);
    });
}

void TFormDesign::LabelEditRenbanStringObj(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* serial = dynamic_cast<TLxLabelObjectRenbanString*>(&object);
        if (!serial)
            return;
        serial->SetStartNumber(ToCp932(EditRenbanStart->text()));
        serial->SetFinishNumber(ToCp932(EditRenbanFinish->text()));
        WriteTextStyle(KindRenbanString, object);
        LabelEditCommonObj(index);
    });
}

std::uint8_t TFormDesign::GetFormFigureType() const
{
    const std::array<std::pair<QToolButton*, std::uint8_t>, 7> order{{{SBRound2, 7},
                                                                      {SBRound1, 5},
                                                                      {SBSquare2, 6},
                                                                      {SBSquare1, 4},
                                                                      {SBLineCoDiagonal, 3},
                                                                      {SBLineDiagonal, 2},
                                                                      {SBLineHorizontal, 1}}};
    for (const auto& [button, type] : order)
        if (button->isChecked())
            return type;
    return 0;
}

void TFormDesign::LabelEditFigureObj(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* figure = dynamic_cast<TLxLabelObjectFigure*>(&object);
        if (!figure)
            return;
        figure->SetFigureType(GetFormFigureType());
        figure->SetLineColor(ShapeLineColor->color());
        figure->SetLineWidth(SELineWidth->value());
        figure->SetLineType(LineTypeFromIndex(CBLineType->currentIndex()));
        LabelEditCommonObj(index);
    });
}

void TFormDesign::LabelEditImageObj(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* image = dynamic_cast<TLxLabelObjectImage*>(&object);
        if (!image)
            return;
        image->SetPicture(ImageSheetPictureData);
        image->SetTransparent(CBTransparent->isChecked());
        image->SetFixRate(CBFixRate->isChecked());
        image->SetTransparentColor(ShapeTransparent->color());
        if (CBFixRate->isChecked())
            FitFrameToPicture(image->GetPicture(), false);
        LabelEditCommonObj(index);
    });
}

void TFormDesign::FitFrameToPicture(const Picture& picture, bool heightOnly)
{
    if (picture.Empty() || picture.Width() <= 0 || picture.Height() <= 0)
        return;
    const QSignalBlocker widthBlocker(EditSheetWidth);
    const QSignalBlocker heightBlocker(EditSheetHeight);
    QRect frame = ShapeSheetLine->geometry();
    if (!heightOnly && picture.Width() < picture.Height()) {
        frame.setWidth(RoundToInt(static_cast<double>(picture.Width()) / picture.Height() * frame.height()));
        EditSheetWidth->setText(FormatTenths(SurfacePixelsToMm(true, frame.width())));
    } else {
        frame.setHeight(RoundToInt(static_cast<double>(picture.Height()) / picture.Width() * frame.width()));
        EditSheetHeight->setText(FormatTenths(SurfacePixelsToMm(false, frame.height())));
    }
    ShapeSheetLine->setGeometry(frame);
}

void TFormDesign::LabelEditGridObj(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* grid = dynamic_cast<TLxLabelObjectGrid*>(&object);
        if (!grid)
            return;
        grid->SetColumns(SpinEditGridCol->value());
        grid->SetRows(SpinEditGridRow->value());
        grid->SetInnerLineColor(ShapeGridInnerColor->color());
        grid->SetOuterLineColor(ShapeGridOuterColor->color());
        grid->SetInnerLineWidth(SEdGridLineInnerWidth->value());
        grid->SetOuterLineWidth(SEdGridLineOuterWidth->value());
        grid->SetInnerLineType(LineTypeFromIndex(CBGridLineInnerType->currentIndex()));
        grid->SetOuterLineType(LineTypeFromIndex(CBGridLineOuterType->currentIndex()));
        LabelEditCommonObj(index);
    });
}

void TFormDesign::LabelEditEffectsObj(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* effects = dynamic_cast<TLxLabelObjectEffects*>(&object);
        if (!effects)
            return;
        effects->SetText(MemoText(MemoSheetEffects));
        effects->SetFontName(ToCp932(CBFontName2->currentText()));
        effects->SetFontSize(SEFontSize2->value());
        effects->SetFontColor(ShapeFontColor2->color());
        effects->SetSubFontColor(ShapeArtFontColor2->color());
        // The shaped text keeps the colour of its own sample.
        effects->SetShapedTextColor(ShapeArtFontColor3->color());
        const auto& flags = EffectStyleFlags;
        effects->SetShadow(flags[EffectShadow1]);
        effects->SetOutline(flags[EffectOutline]);
        effects->SetShadow2(flags[EffectShadow2]);
        effects->SetCurve(flags[EffectCurve]);
        effects->SetSlantForward(flags[EffectSlantForward]);
        effects->SetSlantBackward(flags[EffectSlantBackward]);
        effects->SetDeform(flags[EffectDeform]);
        effects->SetSpareStyle(flags[EffectSpare]);
        effects->SetAlignment(GetAlignment(RBCenter2, RBRight2));
        LabelEditCommonObj(index);
    });
}

// ---- Buttons of the panels. ----

void TFormDesign::UpDownEffectsSheetClick(int tag, bool up)
{
    const std::array<QLineEdit*, 7> boxes{EditSheetPosLeft, EditSheetPosTop, EditSheetWidth,    EditSheetHeight,
                                          EditStrSpace,     EditCsvStrSpace, EditRenbanStrSpace};
    if (tag < 0 || tag >= static_cast<int>(boxes.size()))
        return;
    QLineEdit* box = boxes[static_cast<std::size_t>(tag)];
    const double value = ParsedOr(box, tag <= 3 ? 2.0 : 0.0);
    box->setText(FormatTenths(value + (up ? 0.2 : -0.2)));
}

void TFormDesign::ChooseSwatchColor(ColorSwatch* swatch, void (TFormDesign::*writer)(std::int32_t))
{
    const auto chosen = Messages().ChooseColor(swatch->color());
    if (!chosen)
        return;
    swatch->setColor(*chosen);
    WriteSelected(writer);
    RefreshDesign();
}

void TFormDesign::BtnFontColorClick() { ChooseSwatchColor(ShapeFontColor, &TFormDesign::LabelEditStringObj); }
void TFormDesign::BtnGridOuterColorClick() { ChooseSwatchColor(ShapeGridOuterColor, &TFormDesign::LabelEditGridObj); }
void TFormDesign::BtnGridInnerColorClick() { ChooseSwatchColor(ShapeGridInnerColor, &TFormDesign::LabelEditGridObj); }

void TFormDesign::MemoSheetStringEnter()
{
    if (MemoSheetString->toPlainText() == QStringLiteral("ここに文字列を入力してください"))
        MemoSheetString->clear();
}

void TFormDesign::MemoSheetEffectsEnter()
{
    if (MemoSheetEffects->toPlainText() == QStringLiteral("ここに特殊文字列を入力してください"))
        MemoSheetEffects->clear();
}

} // namespace lx
