#include "EditorFixture.h"

#include "designer/windows/PictureButton.h"
#include "designer/windows/PictureView.h"

#include "platform/text/Numbers.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTabBar>
#include <fstream>

using namespace lx;

namespace {

constexpr QRgb kCurrentCell = 0xFF96C8F9u;

class DesignCellsTest : public lxtest::EditorTest {
protected:
    // The overview pixel at a point of the sheet, in mm.
    QPoint OverviewPoint(double leftMm, double topMm)
    {
        const TlxLblInfo& layout = *Session().Layout();
        const QImage& picture = FormDesign->ImagePrev->picture();
        const double k = picture.width() / layout.GetPaperWidth();
        return QPoint(RoundToInt(leftMm * k), RoundToInt(topMm * picture.height() / layout.GetPaperHeight()));
    }
    QPoint CellCentre(std::int32_t i)
    {
        const TlxLblInfo& layout = *Session().Layout();
        return OverviewPoint(layout.GetLabelLeft(i) + layout.GetLabelWidth(i) / 2,
                             layout.GetLabelTop(i) + layout.GetLabelHeight(i) / 2);
    }
    void ClickOverview(QPoint picturePoint)
    {
        const QPointF at = picturePoint + FormDesign->ImagePrev->pictureOffset();
        QMouseEvent press(QEvent::MouseButtonPress, at, FormDesign->ImagePrev->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(FormDesign->ImagePrev, &press);
    }
    void ClickCell(std::int32_t i) { ClickOverview(CellCentre(i)); }
};

} // namespace

TEST_F(DesignCellsTest, OverviewFillsTheCurrentCellAndPicksCellsByClick)
{
    NewMultiDesign();
    ASSERT_FALSE(Document().GetSingleMode());
    const auto filled = [&](std::int32_t i) {
        return FormDesign->ImagePrev->picture().pixel(CellCentre(i)) == kCurrentCell;
    };
    EXPECT_TRUE(filled(0));
    EXPECT_FALSE(filled(5));
    ClickCell(5);
    EXPECT_EQ(Session().CurrentFace(), 5);
    EXPECT_TRUE(filled(5));
    EXPECT_FALSE(filled(0));
    // The surface now shows cell 5's proportions (60 x 38.1 mm).
    const Size surface{FormDesign->ImageDesign->picture().width(), FormDesign->ImageDesign->picture().height()};
    EXPECT_NEAR(static_cast<double>(surface.cx) / surface.cy, 60 / 38.1, 0.01);
    // Outside every cell and on a cell's border line nothing changes.
    ClickOverview(OverviewPoint(5, 5));
    ClickOverview(OverviewPoint(10, 150));
    EXPECT_EQ(Session().CurrentFace(), 5);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(DesignCellsTest, CopyPastePasteAllAndDelete)
{
    NewMultiDesign();
    FormDesign->BtnSheetPaste->click();
    FormDesign->BtnSheetCopy->click(); // an empty cell is refused
    FormDesign->BtnSheetPasteAll->click();
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"貼り付け元がありません。", "シートが存在しないデザインはコピーできません。",
                                        "貼り付け元がありません。"}));
    EXPECT_EQ(Session().CopySourceFace(), -1);

    messages.Clear();
    ClickCell(3);
    AddText("元");
    FormDesign->BtnSheetCopy->click();
    FormDesign->BtnSheetPaste->click();
    AddText("後から"); // read at paste time
    ClickCell(5);
    MarkSaved();
    FormDesign->BtnSheetPaste->click();
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"現在編集中のデザインをコピーしました。", "貼り付け元と貼り付け先が同一です。",
                                        "コピーしたデザインを現在編集中の面に貼り付けました。"}));
    EXPECT_EQ(Texts(5), (std::vector<std::string>{"後から", "元"}));
    EXPECT_FALSE(Session().IsSaved());
    // Cell 5 keeps its own size.
    EXPECT_DOUBLE_EQ(Document().GetFaceObjects(5).GetLabelWidth(), 60);

    AddText("五だけ");
    FormDesign->BtnSheetPasteAll->click();
    for (std::int32_t i = 0; i < Document().GetFaceCount(); ++i)
        EXPECT_EQ(Texts(i), (std::vector<std::string>{"後から", "元"})) << i;
    EXPECT_EQ(messages.Texts().back(), "コピーしたデザインを全面に貼り付けました。");

    messages.Clear();
    FormDesign->BtnSheetDel->click(); // No
    EXPECT_EQ(Document().GetObjectCount(5), 2);
    messages.Answer(MessageAnswer::Yes);
    FormDesign->BtnSheetDel->click();
    EXPECT_EQ(messages.Texts().back(),
              "現在、編集中のデザインを削除しますか？\r\n※デザインの削除は「もどす」ボタンでは戻せません。");
    EXPECT_EQ(Document().GetObjectCount(5), 0);
    EXPECT_EQ(Document().GetObjectCount(4), 2);
    EXPECT_FALSE(FormDesign->BtnUndo->isVisible());
}

// The history outlives a change of cell: an undo goes back to the cell its
// step was made on, shows that cell, and leaves the current one alone.
TEST_F(DesignCellsTest, UndoGoesBackToTheCellOfItsStep)
{
    NewMultiDesign();
    ClickCell(2);
    FormDesign->BtnStringSheet->click();
    ClickCell(5);
    AddText("五");
    ClickCell(6);
    ASSERT_TRUE(FormDesign->BtnUndo->isVisible());

    FormDesign->BtnUndo->click(); // the text of cell 5
    EXPECT_EQ(Session().CurrentFace(), 5);
    EXPECT_EQ(Document().GetObjectCount(5), 1);
    EXPECT_EQ(FormDesign->ImagePrev->picture().pixel(CellCentre(5)), kCurrentCell);
    FormDesign->BtnUndo->click(); // the addition on cell 5
    FormDesign->BtnUndo->click(); // the addition on cell 2
    EXPECT_EQ(Session().CurrentFace(), 2);
    EXPECT_EQ(Document().GetObjectCount(2), 0);
    EXPECT_EQ(Document().GetObjectCount(5), 0);
    EXPECT_EQ(FormDesign->TABSheet->count(), 0);
    EXPECT_FALSE(FormDesign->BtnUndo->isVisible());

    ClickCell(7);
    FormDesign->BtnRedo->click();
    EXPECT_EQ(Session().CurrentFace(), 2);
    EXPECT_EQ(Document().GetObjectCount(2), 1);
    EXPECT_EQ(FormDesign->TABSheet->count(), 1);
}

// Pasting is one step: undo gives the cell its own design back.
TEST_F(DesignCellsTest, PasteIsUndoneOnTheCellItWasPastedOn)
{
    NewMultiDesign();
    ClickCell(1);
    AddText("元");
    FormDesign->BtnSheetCopy->click();
    ClickCell(4);
    AddText("四");
    FormDesign->BtnSheetPaste->click();
    ASSERT_EQ(Texts(4), std::vector<std::string>{"元"});
    ClickCell(0);
    FormDesign->BtnUndo->click();
    EXPECT_EQ(Session().CurrentFace(), 4);
    EXPECT_EQ(Texts(4), std::vector<std::string>{"四"});
    FormDesign->BtnRedo->click();
    EXPECT_EQ(Texts(4), std::vector<std::string>{"元"});
}

TEST_F(DesignCellsTest, ModeSwitchKeepsTheEditedDesignAndDropsWhatTheModeCannotUse)
{
    NewSingleDesign();
    ASSERT_TRUE(Document().GetSingleMode());
    ASSERT_TRUE(FormDesign->BtnMode->isVisible());
    // Every cell is filled and clicks pick nothing in single mode.
    EXPECT_EQ(FormDesign->ImagePrev->picture().pixel(CellCentre(7)), kCurrentCell);
    ClickCell(7);
    EXPECT_EQ(Session().CurrentFace(), 0);

    AddText("残る");
    Session().AddObject(KindRenbanString);
    Session().AddObject(KindCsvString);
    AddText("これも");
    FormDesign->BtnMode->click(); // No
    EXPECT_TRUE(Document().GetSingleMode());
    messages.Answer(MessageAnswer::Yes);
    FormDesign->BtnMode->click();
    EXPECT_FALSE(Document().GetSingleMode());
    EXPECT_EQ(Texts(0), (std::vector<std::string>{"これも", "残る"}));
    EXPECT_FALSE(FormDesign->BtnUndo->isVisible());
    EXPECT_EQ(FormDesign->LblMode->text(), QStringLiteral("現在のモード：マルチ"));
    EXPECT_TRUE(FormDesign->BtnSheetCopy->isVisible());
    EXPECT_TRUE(messages.Texts().back().starts_with("現在のモードからマルチモードへ変更しますか？\r\n"));

    // Back to single while editing cell 4: its design becomes the one design.
    ClickCell(4);
    AddText("四");
    MarkSaved();
    messages.Answer(MessageAnswer::Yes);
    FormDesign->BtnMode->click();
    EXPECT_TRUE(messages.Texts().back().starts_with("現在のモードからシングルモードへ変更しますか？\r\n"));
    EXPECT_TRUE(Document().GetSingleMode());
    EXPECT_EQ(Session().CurrentFace(), 0);
    EXPECT_EQ(Texts(0), std::vector<std::string>{"四"});
    for (std::int32_t i = 1; i < Document().GetFaceCount(); ++i)
        EXPECT_EQ(Document().GetObjectCount(i), 0) << i;
    EXPECT_FALSE(Session().IsSaved());
    EXPECT_EQ(FormDesign->LblMode->text(), QStringLiteral("現在のモード：シングル"));
}

TEST_F(DesignCellsTest, DeletingTheWholeDesignAlsoEmptiesTheMergeTable)
{
    NewSingleDesign();
    std::ofstream(temp.File("差込.csv"), std::ios::binary) << "a,b\r\n";
    ASSERT_TRUE(Session().LoadMergeTable(temp.File("差込.csv")));
    AddText("消える");
    messages.Answer(MessageAnswer::Yes);
    FormDesign->PngBtnDelDesign->click();
    EXPECT_EQ(Document().GetObjectCount(0), 0);
    EXPECT_FALSE(Session().MergeTable()->IsLoaded());
}
