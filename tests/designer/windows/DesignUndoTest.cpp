#include "EditorFixture.h"

#include "designer/windows/PictureButton.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

using namespace lx;

namespace {

class DesignUndoTest : public lxtest::EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        NewMultiDesign();
    }
    void Undo() { FormDesign->BtnUndo->click(); }
    void Redo() { FormDesign->BtnRedo->click(); }
    std::int32_t Selected() { return Document().GetSelectedIndex(Session().CurrentFace()); }
    std::string NameAt(std::int32_t i)
    {
        return Cp932ToUtf8(Document().GetObject(i, Session().CurrentFace())->GetName());
    }
    void ClickTab(int index) { lxtest::ClickTab(FormDesign->TABSheet, index); }
};

} // namespace

TEST_F(DesignUndoTest, ButtonsReplayAdditionsAndEditsBackToTheSameDocument)
{
    const std::string empty = DesignBytes();
    FormDesign->BtnStringSheet->click();
    const std::string first = NameAt(0);
    const std::string one = DesignBytes();
    FormDesign->BtnStringSheet->click();
    ClickTab(1);
    messages.InputTextNext(std::string("改名"));
    FormDesign->SBtnChangeName->click();
    EXPECT_EQ(NameAt(1), "改名");
    const std::string edited = DesignBytes();
    EXPECT_TRUE(FormDesign->BtnUndo->isVisible());
    EXPECT_FALSE(FormDesign->BtnRedo->isVisible());

    Undo(); // the rename
    EXPECT_EQ(NameAt(1), first);
    EXPECT_EQ(Selected(), 1);
    Undo(); // the second text
    EXPECT_EQ(DesignBytes(), one);
    EXPECT_EQ(Selected(), -1);
    Undo();
    EXPECT_EQ(DesignBytes(), empty);
    EXPECT_FALSE(FormDesign->BtnUndo->isVisible());
    EXPECT_TRUE(FormDesign->BtnRedo->isVisible());

    MarkSaved();
    Redo(); // back in front and selected
    EXPECT_EQ(DesignBytes(), one);
    EXPECT_EQ(Selected(), 0);
    EXPECT_FALSE(Session().IsSaved()); // the design differs from the file again
    Redo();
    Redo();
    EXPECT_EQ(DesignBytes(), edited);
    EXPECT_FALSE(FormDesign->BtnRedo->isVisible());
    // The panels work again: the page of the renamed object writes into it.
    FormDesign->MemoSheetString->setPlainText(QStringLiteral("後"));
    EXPECT_EQ(Texts(0)[1], "後");
}

TEST_F(DesignUndoTest, GroupOfSeveralObjectsRestoresAllAndSelectsNone)
{
    for (const char* text : {"甲", "乙", "丙"})
        AddText(text);
    const std::string before = DesignBytes();
    // A drag of all three, as the mouse makes it.
    for (std::int32_t i = 0; i < 3; ++i)
        Session().SetMember(i, true);
    Session().BeginMultiSelection();
    Session().MoveObjects(Session().Members(), 5, 0);
    const std::string moved = DesignBytes();
    FormDesign->RefreshDesign();
    Undo();
    EXPECT_EQ(DesignBytes(), before);
    EXPECT_EQ(Selected(), -1);
    EXPECT_FALSE(Session().IsMultiSelecting());
    Redo();
    EXPECT_EQ(Selected(), -1);
    for (std::int32_t i = 0; i < 3; ++i)
        Session().SetMember(i, true);
    EXPECT_EQ(DesignBytes(), moved);
}

// もどす and やり直す come and go; the paper's model number and the display
// size box stay where the user saw them.
TEST_F(DesignUndoTest, ToolBarKeepsItsPlacesWhenUndoAndRedoComeAndGo)
{
    const auto places = [this] {
        lxtest::ProcessEvents();
        return std::vector<QRect>{FormDesign->katabanlbl->geometry(), FormDesign->Paperlbl->geometry(),
                                  FormDesign->CBShowSize->geometry(), FormDesign->BtnUndo->geometry(),
                                  FormDesign->BtnRedo->geometry()};
    };
    const std::vector<QRect> before = places();
    FormDesign->BtnStringSheet->click();
    ASSERT_TRUE(FormDesign->BtnUndo->isVisible());
    EXPECT_EQ(places(), before);
    Undo();
    ASSERT_TRUE(FormDesign->BtnRedo->isVisible());
    ASSERT_FALSE(FormDesign->BtnUndo->isVisible());
    EXPECT_EQ(places(), before);
}
