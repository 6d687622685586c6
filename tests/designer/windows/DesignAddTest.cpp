#include "DesignEditing.h"

#include "designer/windows/EditorShapes.h"
#include "designer/windows/QtBridge.h"
#include "platform/text/Cp932.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <fstream>

using namespace lx;
using lxtest::DesignEditingTest;

namespace {

struct AddCase {
    int tag;
    std::uint8_t kind;
    const char* page;
    std::uint32_t nameColour;
    const char* name;
};

} // namespace

TEST_F(DesignEditingTest, EachAddCommandPutsItsKindInFrontSelectedWithItsPage)
{
    const AddCase cases[] = {
        {1, KindString, "TabSheetText", 0x1200E5, "文字シート"},
        {3, KindFigure, "TabSheetDrawing", 0x21C28D, "図形シート"},
        {2, KindImage, "TabSheetImage", 0x0082FF, "画像シート"},
        {8, KindGrid, "TabSheetGrid", 0xB34787, "格子模様シート"},
        {9, KindEffects, "TabSheetEffects", 0x698700, "特殊文字シート"},
    };
    int count = 0;
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.tag);
        MarkSaved();
        Add(c.tag);
        ++count;
        ASSERT_EQ(Doc().GetObjectCount(0), count);
        EXPECT_EQ(Object(0).GetKind(), c.kind);
        EXPECT_EQ(Doc().GetSelectedIndex(0), 0);
        EXPECT_FALSE(Session().IsSaved());
        EXPECT_EQ(Editor().PageControlProperty->currentWidget()->objectName(), QString::fromLatin1(c.page));
        EXPECT_EQ(fromQColor(Editor().EditSheetName->palette().color(QPalette::WindowText)), c.nameColour);
        EXPECT_EQ(Editor().EditSheetName->text(), QString::fromUtf8(c.name) + QStringLiteral("1"));
        EXPECT_TRUE(Editor().PanelCommonEdit->isVisible());
        // The new object is the first tab, and the selection frame lies on it.
        ASSERT_EQ(Editor().TABSheet->count(), count);
        EXPECT_EQ(Editor().TABSheet->tabText(0), QString::fromUtf8(c.name) + QStringLiteral("1"));
        EXPECT_EQ(Editor().TABSheet->currentIndex(), 0);
        EXPECT_TRUE(Editor().ShapeSheetLine->isVisible());
        EXPECT_EQ(Editor().ShapeSheetLine->pos(), At(Object(0).GetLeft(), Object(0).GetTop()));
        EXPECT_TRUE(Editor().ShapeRightBottom->isVisible());
    }
    EXPECT_EQ(UndoGroups(), 5);
}

TEST_F(DesignEditingTest, MillimetresConvertToPixelsAndBackToWholeMillimetres)
{
    EXPECT_EQ(Editor().SurfacePixelsToMm(true, Editor().SurfaceMmToPixels(true, 10.4)), 10);
    // A tall cell is centred horizontally; the frame is offset by the same margin.
    OpenCell(40, 80);
    Add(3);
    Place(0, 0, 0, 10, 10);
    const QPoint offset = Editor().ImageDesign->pictureOffset();
    EXPECT_GT(offset.x(), 0);
    EXPECT_EQ(Editor().ShapeSheetLine->pos(), offset);
}

TEST_F(DesignEditingTest, MergeTextAsksForTheTableOnceAndNothingIsAddedWithout)
{
    const std::string csv = temp.File("names.csv");
    std::ofstream(csv, std::ios::binary) << "a,b\r\nc,d\r\n";
    // Cancelled: nothing added, nothing recorded.
    messages.ChooseFileNext(std::nullopt);
    Add(6);
    EXPECT_EQ(Doc().GetObjectCount(0), 0);
    EXPECT_FALSE(Session().CanUndo());
    // A file that cannot be read: a message and nothing added.
    messages.ChooseFileNext(FileDialogResult{temp.File("missing.csv"), 0});
    Add(6);
    EXPECT_EQ(Doc().GetObjectCount(0), 0);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], temp.File("missing.csv") + "を開くことができません。");
    // Neither left the panels dead.
    ExpectPanelsWrite();
    // The first merge text asks, the second does not.
    messages.ChooseFileNext(FileDialogResult{csv, 0});
    Add(6);
    Add(6);
    EXPECT_EQ(messages.FileRequests().size(), 3u);
    EXPECT_EQ(messages.FileRequests().back().caption, "差込シートに使用するCSVファイルを選択してください");
    ASSERT_EQ(Doc().GetObjectCount(0), 3);
    EXPECT_EQ(Object(0).GetKind(), KindCsvString);
    EXPECT_EQ(Editor().PageControlProperty->currentWidget(), Editor().TabSheetCSV);
    EXPECT_EQ(Editor().PageControlCSV->currentWidget(), Editor().TabSheetCsvString);
}
