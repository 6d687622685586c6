#include "DesignEditing.h"
#include "DialogTestSupport.h"
#include "support/TextEncodings.h"

#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelGrid.h"
#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"
#include "designer/windows/EditorShapes.h"
#include "designer/windows/UpDown.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/io/Stream.h"
#include "platform/text/Cp932.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

using namespace lx;
using lxtest::DesignEditingTest;

namespace {

std::string Saved(const TLxLableObjectBase& object)
{
    MemoryStream stream;
    object.SaveToStream(stream);
    return stream.Bytes();
}

} // namespace

TEST_F(DesignEditingTest, TextPanelWritesEveryFieldAsOneUndoStepAndRedraws)
{
    Add(1);
    Place(0, 10, 10, 60, 20);
    const auto& text = ObjectAs<TLxLabelObjectString>(0);
    EXPECT_EQ(Editor().MemoSheetString->toPlainText(), QStringLiteral("ここに文字列を入力してください"));
    EXPECT_EQ(Editor().SEFontSize->value(), 10);
    // Entering the box clears the prompt text.
    Editor().MemoSheetStringEnter();
    EXPECT_EQ(text.GetText(), "");
    Editor().MemoSheetString->setPlainText(QStringLiteral("ラベル\n二行目"));
    EXPECT_EQ(text.GetText(), Sjis("ラベル\r\n二行目"));
    Editor().SEFontSize->setValue(36);
    Editor().SBFontBold->setChecked(true);
    Editor().RBCenter->setChecked(true);
    Editor().EditStrSpace->setText(QStringLiteral("x"));
    EXPECT_EQ(text.GetFontSize(), 36);
    EXPECT_EQ(text.GetFontStyle(), kFontBold);
    EXPECT_EQ(text.GetAlignment(), 1);
    EXPECT_EQ(text.GetCharSpacing(), 0.0);
    EXPECT_GT(CountDark(10, 10, 60, 20), 50);
    EXPECT_EQ(CountIn(10, 10, 60, 20, lxtest::kRed), 0);
    // The colour comes from the colour dialog and shows on the surface.
    messages.ChooseColorNext(0x0000FF);
    Editor().BtnFontColor->click();
    EXPECT_EQ(text.GetFontColor(), 0x0000FFu);
    EXPECT_EQ(Editor().ShapeFontColor->color(), 0x0000FFu);
    EXPECT_GT(CountIn(10, 10, 60, 20, lxtest::kRed), 50);
    // Undo gives back the state before the colour change.
    Editor().BtnUndo->click();
    EXPECT_EQ(ObjectAs<TLxLabelObjectString>(0).GetFontColor(), 0u);
}

TEST_F(DesignEditingTest, SelectingNeverChangesButEveryPanelChangeMarksUnsaved)
{
    Add(1);
    Add(3);
    MarkSaved();
    const std::string text = Saved(Object(1));
    lxtest::ClickTab(Editor().TABSheet, 1);
    lxtest::ClickTab(Editor().TABSheet, 0);
    lxtest::ClickTab(Editor().TABSheet, 1);
    EXPECT_EQ(Saved(Object(1)), text);
    EXPECT_TRUE(Session().IsSaved());
    Editor().CBNotPrint->setChecked(true);
    EXPECT_FALSE(Session().IsSaved());
    EXPECT_EQ(Object(1).GetNotPrint(), 1);
}

TEST_F(DesignEditingTest, CommonPanelPlacesTheObjectAndFallsBackOnBadNumbers)
{
    Add(3);
    Editor().EditSheetPosLeft->setText(QStringLiteral("20.5"));
    Editor().EditSheetPosTop->setText(QStringLiteral("7"));
    Editor().EditSheetWidth->setText(QString());
    EXPECT_EQ(Object(0).GetLeft(), 20.5);
    EXPECT_EQ(Object(0).GetTop(), 7.0);
    EXPECT_EQ(Object(0).GetWidth(), 10.0);
    EXPECT_EQ(Editor().ShapeSheetLine->pos(), At(20.5, 7));
    // The up-down buttons step by 0.2; text that does not parse steps from 2.0.
    Editor().UpDownPosX->UpButton->click();
    EXPECT_EQ(Editor().EditSheetPosLeft->text(), QStringLiteral("20.7"));
    EXPECT_DOUBLE_EQ(Object(0).GetLeft(), 20.7);
    Editor().EditSheetHeight->setText(QStringLiteral("abc"));
    Editor().UpDownHeight->DownButton->click();
    EXPECT_EQ(Editor().EditSheetHeight->text(), QStringLiteral("1.8"));
    EXPECT_DOUBLE_EQ(Object(0).GetHeight(), 1.8);
    Editor().CBCanMove->setChecked(true);
    EXPECT_EQ(Object(0).GetCanMove(), 0);
    EXPECT_FALSE(Editor().ShapeLeftTop->isVisible());
    EXPECT_FALSE(Editor().EditSheetWidth->isEnabled());
}

TEST_F(DesignEditingTest, VerticalWritingTurnsTheTextBox)
{
    Add(1);
    Editor().MemoSheetString->setPlainText(QStringLiteral("AB"));
    Place(0, 5, 5, 30, 10);
    Editor().ShowPropertyPage();
    Editor().CBStringTate->setChecked(true);
    EXPECT_EQ(ObjectAs<TLxLabelObjectString>(0).GetVerticalWriting(), 1);
    EXPECT_EQ(Object(0).GetWidth(), 10.0);
    EXPECT_EQ(Object(0).GetHeight(), 30.0);
    EXPECT_EQ(Editor().RBLeft->text(), QStringLiteral("上揃え"));
    EXPECT_EQ(Editor().RBRight->text(), QStringLiteral("下揃え"));
}

TEST_F(DesignEditingTest, FigurePanelDrawsAFilledShapeAndDisablesWidthForBrokenLines)
{
    Add(3);
    Place(0, 50, 10, 30, 20);
    Editor().ShowPropertyPage();
    Editor().ShapeLineColor->setColor(0x0000FF);
    Editor().SBSquare2->setChecked(true);
    auto& figure = ObjectAs<TLxLabelObjectFigure>(0);
    EXPECT_EQ(figure.GetFigureType(), FigureFilledRectangle);
    EXPECT_EQ(figure.GetLineColor(), 0x0000FFu);
    const int area = CountIn(50, 10, 30, 20, lxtest::kRed);
    EXPECT_GT(area, 0);
    EXPECT_EQ(area, CountIn(0, 0, 100, 50, lxtest::kRed));
    Editor().SELineWidth->setValue(5);
    EXPECT_EQ(figure.GetLineWidth(), 5);
    Editor().CBLineType->setCurrentIndex(2);
    EXPECT_EQ(figure.GetLineType(), 1); // dashed
    EXPECT_FALSE(Editor().SELineWidth->isEnabled());
    EXPECT_EQ(Editor().SELineWidth->value(), 1);
    EXPECT_EQ(figure.GetLineWidth(), 1);
    Editor().SBRound1->setChecked(true);
    EXPECT_EQ(figure.GetFigureType(), FigureEllipse);
}

TEST_F(DesignEditingTest, GridPanelShowsEachLineWidthByItsPenStyle)
{
    Add(8);
    // A new grid has dotted inner lines and a solid frame.
    EXPECT_FALSE(Editor().SEdGridLineInnerWidth->isEnabled());
    EXPECT_EQ(Editor().SEdGridLineInnerWidth->value(), 1);
    EXPECT_TRUE(Editor().SEdGridLineOuterWidth->isEnabled());
    EXPECT_EQ(Editor().SEdGridLineOuterWidth->value(), 3);
    EXPECT_EQ(Editor().CBGridLineInnerType->currentText(), QStringLiteral("点線"));
    Editor().SpinEditGridCol->setValue(4);
    Editor().CBGridLineInnerType->setCurrentIndex(0);
    messages.ChooseColorNext(0x0000FF);
    Editor().BtnGridOuterColor->click();
    const auto& grid = ObjectAs<TLxLabelObjectGrid>(0);
    EXPECT_EQ(grid.GetColumns(), 4);
    EXPECT_EQ(grid.GetInnerLineType(), 0);
    EXPECT_TRUE(Editor().SEdGridLineInnerWidth->isEnabled());
    EXPECT_EQ(grid.GetOuterLineColor(), 0x0000FFu);
    EXPECT_GT(
        CountIn(Object(0).GetLeft(), Object(0).GetTop(), Object(0).GetWidth(), Object(0).GetHeight(), lxtest::kRed), 0);
}

TEST_F(DesignEditingTest, SerialNumberPanelKeepsItsBoxWhenWritingTurns)
{
    Add(7);
    Place(0, 5, 5, 30, 10);
    Editor().ShowPropertyPage();
    EXPECT_EQ(Editor().PageControlProperty->currentWidget(), Editor().TabSheetRenban);
    Editor().EditRenbanStart->setText(QStringLiteral("007"));
    Editor().CBRenbanStringTate->setChecked(true);
    const auto& serial = ObjectAs<TLxLabelObjectRenbanString>(0);
    EXPECT_EQ(serial.GetStartNumber(), "007");
    EXPECT_EQ(serial.GetVerticalWriting(), 1);
    EXPECT_EQ(Object(0).GetWidth(), 30.0);
    EXPECT_EQ(Object(0).GetHeight(), 10.0);
}

TEST_F(DesignEditingTest, PictureWithKeptAspectNarrowsItsFrameToThePicture)
{
    Add(2);
    Place(0, 10, 10, 40, 40);
    Editor().ShowPropertyPage();
    EXPECT_TRUE(Editor().CBFixRate->isChecked());
    EXPECT_FALSE(Editor().SBtnClear->isEnabled());
    // A red picture twice as tall as wide, pasted from the clipboard.
    {
        Clipboard clipboard;
        ASSERT_TRUE(clipboard.Open());
        ASSERT_TRUE(clipboard.Empty());
        ASSERT_TRUE(clipboard.SetBitmap(Bitmap(20, 40, 0xFFFF0000u)));
    }
    Editor().SBtnPaste->click();
    EXPECT_FALSE(ObjectAs<TLxLabelObjectImage>(0).GetPicture().Empty());
    EXPECT_EQ(Object(0).GetWidth(), 20.0);
    EXPECT_EQ(Object(0).GetHeight(), 40.0);
    EXPECT_GT(CountIn(11, 11, 18, 38, lxtest::kRed), 0);
    EXPECT_EQ(CountIn(31, 11, 18, 38, lxtest::kRed), 0);
}

// A character CP932 cannot hold is told by name and line and taken out of
// the box; the rest of what was typed or pasted stays and is written.
TEST_F(DesignEditingTest, TextWithoutACp932FormIsToldAndTheRestKept)
{
    Add(1);
    Editor().activateWindow();
    QPlainTextEdit* memo = Editor().MemoSheetString;
    memo->setFocus();
    memo->selectAll();
    lxtest::TypeText(memo, QStringLiteral("Aé"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"1行目の文字「é」はこのプログラムでは扱えません。"});
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("A"));
    lxtest::TypeText(memo, QStringLiteral("B"));
    messages.Clear();
    // A paste names each character it takes out, not only the first.
    memo->insertPlainText(QStringLiteral("\n") + QString::fromUtf8("\xF0\x9F\x98\x80") + QStringLiteral("〜éC"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"2行目の文字「😀」「é」はこのプログラムでは扱えません。"});
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("AB\n〜C"));
    EXPECT_EQ(memo->textCursor().position(), 5) << "the cursor stays behind what was pasted";
    EXPECT_EQ(ObjectAs<TLxLabelObjectString>(0).GetText(), lxtest::Iconv("AB\r\n～C", "CP932"));

    // The effect text's box too.
    Add(9);
    messages.Clear();
    Editor().MemoSheetEffects->setPlainText(QStringLiteral("xéy"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"1行目の文字「é」はこのプログラムでは扱えません。"});
    EXPECT_EQ(ObjectAs<TLxLabelObjectEffects>(0).GetText(), "xy") << "the new object comes first";

    // And a symbol's data, typed into its box.
    Add(4);
    messages.Clear();
    QPlainTextEdit* data = Editor().MemoCodeQr;
    data->setFocus();
    data->selectAll();
    lxtest::TypeText(data, QStringLiteral("QéR"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"1行目の文字「é」はこのプログラムでは扱えません。"});
    EXPECT_EQ(data->toPlainText(), QStringLiteral("QR"));
    EXPECT_EQ(ObjectAs<TLxLabelObjectBarcode>(0).GetData(), "QR");
}

TEST_F(DesignEditingTest, SizeBoxesFollowATextThatSizesItselfWhenDrawn)
{
    Add(1);
    Editor().activateWindow();
    QPlainTextEdit* memo = Editor().MemoSheetString;
    memo->setFocus();
    memo->selectAll();
    QTest::keyClicks(memo, QStringLiteral("WWWWWWWWWWWWWWWWWWWW"));
    const double widthBefore = Object(0).GetWidth();
    const auto shows = [](QLineEdit* box, double mm) { EXPECT_EQ(box->text(), QString::number(mm, 'f', 1)); };

    // A larger font: drawing grows the box, and the boxes show it.
    Editor().SEFontSize->setFocus();
    QTest::keyClick(Editor().SEFontSize, Qt::Key_PageUp);
    const double grownWidth = Object(0).GetWidth();
    ASSERT_GT(grownWidth, widthBefore);
    shows(Editor().EditSheetWidth, grownWidth);
    shows(Editor().EditSheetHeight, Object(0).GetHeight());

    // The next edit of the page writes the boxes back: the text keeps its size.
    Editor().SBFontBold->click();
    EXPECT_GE(Object(0).GetWidth(), grownWidth);
    shows(Editor().EditSheetWidth, Object(0).GetWidth());

    // A box being typed in keeps what the user typed until it is left.
    QLineEdit* width = Editor().EditSheetWidth;
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("1"));
    EXPECT_EQ(width->text(), QStringLiteral("1"));
    QTest::keyClick(width, Qt::Key_Return);
    shows(width, Object(0).GetWidth());
}
