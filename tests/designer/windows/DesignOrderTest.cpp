#include "EditorFixture.h"

#include "designer/windows/PictureView.h"
#include "platform/text/Numbers.h"

#include <QCheckBox>
#include <QToolButton>

using namespace lx;

namespace {

class DesignOrderTest : public lxtest::EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        NewMultiDesign();
        for (const char* text : {"丙", "乙", "甲"})
            AddText(text); // front to back: 甲 乙 丙
    }
    void Select(std::int32_t i) { Session().Select(i); }
    std::int32_t Selected() { return Document().GetSelectedIndex(0); }
};

} // namespace

TEST_F(DesignOrderTest, FrontAndBackStepOnceAndUndoPutsThemBack)
{
    const auto names = [&] { return Texts(0); };
    Select(-1);
    FormDesign->SBtnSheetPrev->click();
    FormDesign->SBtnSheetBack->click();
    Select(0);
    FormDesign->SBtnSheetPrev->click(); // already in front
    Select(2);
    FormDesign->SBtnSheetBack->click(); // already last
    EXPECT_EQ(names(), (std::vector<std::string>{"甲", "乙", "丙"}));

    MarkSaved();
    FormDesign->SBtnSheetPrev->click();
    EXPECT_EQ(names(), (std::vector<std::string>{"甲", "丙", "乙"}));
    EXPECT_EQ(Selected(), 1);
    EXPECT_FALSE(Session().IsSaved()); // a change the file does not hold yet
    FormDesign->BtnUndo->click();
    EXPECT_EQ(names(), (std::vector<std::string>{"甲", "乙", "丙"}));
    EXPECT_EQ(Selected(), 2);

    Select(0);
    FormDesign->SBtnSheetBack->click();
    EXPECT_EQ(names(), (std::vector<std::string>{"乙", "甲", "丙"}));
    EXPECT_EQ(Selected(), 1);
    FormDesign->BtnUndo->click();
    EXPECT_EQ(names(), (std::vector<std::string>{"甲", "乙", "丙"}));
    EXPECT_EQ(Selected(), 0);
    FormDesign->BtnRedo->click();
    EXPECT_EQ(names(), (std::vector<std::string>{"乙", "甲", "丙"}));
}

TEST_F(DesignOrderTest, RenameAndDeleteAskAndCanBeUndone)
{
    Select(1);
    FormDesign->SBtnChangeName->click(); // cancelled
    EXPECT_EQ(Cp932ToUtf8(Document().GetObject(1, 0)->GetName()), "乙");
    messages.InputTextNext(std::string());
    FormDesign->SBtnChangeName->click();
    EXPECT_EQ(Document().GetObject(1, 0)->GetName(), "");
    FormDesign->BtnUndo->click();
    EXPECT_EQ(Cp932ToUtf8(Document().GetObject(1, 0)->GetName()), "乙");

    FormDesign->SBtnDelSheet->click(); // No
    EXPECT_EQ(messages.Texts().back(), "乙を削除しますか？");
    EXPECT_EQ(Document().GetObjectCount(0), 3);
    messages.Answer(MessageAnswer::Yes);
    FormDesign->SBtnDelSheet->click();
    EXPECT_EQ(Texts(0), (std::vector<std::string>{"甲", "丙"}));
    EXPECT_EQ(Selected(), -1);
    FormDesign->BtnUndo->click();
    EXPECT_EQ(Texts(0), (std::vector<std::string>{"甲", "乙", "丙"}));
    EXPECT_EQ(Selected(), 1);
}

TEST_F(DesignOrderTest, DesignGuideDotsEveryThreeMillimetres)
{
    // Cell 7 is 190 x 60 mm: dots at 0 to 189 mm across, 0 to 57 mm down
    // (the row at 60 mm lies on the edge, outside the picture).
    Session().ChooseFace(7);
    FormDesign->RefreshDesign();
    ASSERT_TRUE(FormDesign->CBGrid->isChecked());
    const auto dots = [&] { return lxtest::CountPixels(FormDesign->ImageDesign->picture(), 0xFF000000u); };
    EXPECT_EQ(dots(), 64 * 20);
    const QImage surface = FormDesign->ImageDesign->picture();
    const int x = RoundToInt(9 * surface.width() / 190.0);
    const int y = RoundToInt(6 * surface.height() / 60.0);
    EXPECT_EQ(surface.pixel(x, y), 0xFF000000u);
    EXPECT_EQ(surface.pixel(x + 1, y), 0xFFFFFFFFu);

    FormDesign->CBGrid->setChecked(false);
    EXPECT_FALSE(Document().GetShowGuide());
    EXPECT_EQ(dots(), 0);
    // The flag is the editor's own: the saved bytes do not change with it.
    const std::string off = DesignBytes();
    FormDesign->CBGrid->setChecked(true);
    EXPECT_EQ(DesignBytes(), off);
}
