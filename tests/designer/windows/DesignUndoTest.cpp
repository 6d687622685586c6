#include "EditorFixture.h"

#include "designer/model/LxLabelCSVString.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <fstream>

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
    std::int32_t Selected() { return Document().GetSelectedIndex(FormDesign->CurrentFace); }
    std::string NameAt(std::int32_t i)
    {
        return Cp932ToUtf8(Document().GetObject(i, FormDesign->CurrentFace)->GetName());
    }
};

} // namespace

TEST_F(DesignUndoTest, ButtonsReplayAdditionsAndEditsBackToTheSameDocument)
{
    const std::string empty = DesignBytes();
    AddText("一");
    const std::string one = DesignBytes();
    AddText("二");
    Document().SetSelectedIndex(1, 0);
    messages.InputTextNext(std::string("改名"));
    FormDesign->SBtnChangeName->click();
    EXPECT_EQ(NameAt(1), "改名");
    const std::string edited = DesignBytes();
    EXPECT_TRUE(FormDesign->BtnUndo->isVisible());
    EXPECT_FALSE(FormDesign->BtnRedo->isVisible());

    Undo(); // the rename
    EXPECT_EQ(NameAt(1), "一");
    EXPECT_EQ(Selected(), 1);
    Undo(); // the second text
    EXPECT_EQ(DesignBytes(), one);
    EXPECT_EQ(Selected(), -1);
    Undo();
    EXPECT_EQ(DesignBytes(), empty);
    EXPECT_FALSE(FormDesign->BtnUndo->isVisible());
    EXPECT_TRUE(FormDesign->BtnRedo->isVisible());

    FormDesign->Session.MarkSaved();
    Redo(); // back in front and selected
    EXPECT_EQ(DesignBytes(), one);
    EXPECT_EQ(Selected(), 0);
    EXPECT_FALSE(FormDesign->Session.IsSaved()); // the design differs from the file again
    Redo();
    Redo();
    EXPECT_EQ(DesignBytes(), edited);
    EXPECT_FALSE(FormDesign->BtnRedo->isVisible());
    EXPECT_TRUE(FormDesign->PanelsReady);
}

TEST_F(DesignUndoTest, GroupOfSeveralObjectsRestoresAllAndSelectsNone)
{
    for (const char* text : {"甲", "乙", "丙"})
        AddText(text);
    const std::string before = DesignBytes();
    // A drag of all three, recorded as the mouse does it.
    const auto states = [&] {
        std::vector<ObjectState> states;
        for (std::int32_t i = 0; i < 3; ++i)
            states.push_back({i, Document().GetObject(i, 0)->Clone()});
        return states;
    };
    FormDesign->Session.RecordGroupBefore(UndoChanged, states());
    for (std::int32_t i = 0; i < 3; ++i) {
        TLxLableObjectBase& object = *Document().GetObject(i, 0);
        object.SetLeft(object.GetLeft() + 5);
        object.SetSelected(1);
    }
    FormDesign->Session.RecordGroupChange(UndoChanged, states());
    const std::string moved = DesignBytes();
    FormDesign->Session.BeginMultiSelection();
    Undo();
    EXPECT_EQ(DesignBytes(), before);
    EXPECT_EQ(Selected(), -1);
    EXPECT_FALSE(FormDesign->Session.IsMultiSelecting());
    Redo();
    EXPECT_EQ(Selected(), -1);
    for (std::int32_t i = 0; i < 3; ++i)
        Document().GetObject(i, 0)->SetSelected(1);
    EXPECT_EQ(DesignBytes(), moved);
}

TEST_F(DesignUndoTest, UndoOfATableChangeBringsTheOldRowsBackIntoTheDesignsTable)
{
    const auto csv = [&](const std::string& name, const std::string& line) {
        std::ofstream(temp.File(name), std::ios::binary) << Sjis(line) << "\r\n";
        return temp.File(name);
    };
    TFormDesign& editor = *FormDesign;
    ASSERT_TRUE(editor.Session.MergeTable()->LoadFromFile(csv("旧.csv", "旧,データ")));
    Document().AddMergeObject(KindCsvString, 0, editor.Session.MergeTable());
    auto& merge = static_cast<TLxLabelObjectCsvString&>(*Document().GetObject(0, 0));
    merge.SetColumn(1);
    // A change of CSV file as the merge page makes it.
    const std::shared_ptr<const TLxCSV> previous = editor.Session.MergeTable()->Clone();
    ASSERT_TRUE(editor.Session.MergeTable()->LoadFromFile(csv("新.csv", "新,データ")));
    merge.SetCSV(previous);
    editor.RecordPropertyUndo(true);
    merge.SetCSV(editor.Session.MergeTable());
    editor.RecordPropertyUndo(false);

    const auto shown = [&] {
        const auto& object = static_cast<TLxLabelObjectCsvString&>(*Document().GetObject(0, 0));
        EXPECT_EQ(object.GetCSV(), editor.Session.MergeTable().get());
        return Cp932ToUtf8(object.GetMergedText());
    };
    Undo();
    EXPECT_EQ(shown(), "旧");
    EXPECT_EQ(editor.Session.MergeTable()->GetLines(), std::vector<std::string>{Sjis("旧,データ")});
    Redo();
    EXPECT_EQ(shown(), "新");
    EXPECT_EQ(editor.Session.MergeTable()->GetLines(), std::vector<std::string>{Sjis("新,データ")});
}

TEST_F(DesignUndoTest, FailingRecordHidesTheButtonAndKeepsTheEditorWorking)
{
    AddText("一");
    // A record of another cell's list whose index this cell does not have.
    FormDesign->Session.RecordChange(UndoDeleted, 5, nullptr);
    FormDesign->RefreshDesign();
    Undo();
    EXPECT_EQ(messages.Shown().size(), 1u);
    EXPECT_FALSE(FormDesign->BtnUndo->isVisible());
    EXPECT_TRUE(FormDesign->PanelsReady);
    EXPECT_EQ(Document().GetObjectCount(0), 1);
}

// もどす and やり直す come and go; the paper's model number and the display
// size box stay where the user saw them.
TEST_F(DesignUndoTest, ToolBarKeepsItsPlacesWhenUndoAndRedoComeAndGo)
{
    const auto places = [] {
        lxtest::ProcessEvents();
        return std::vector<QRect>{FormDesign->katabanlbl->geometry(), FormDesign->Paperlbl->geometry(),
                                  FormDesign->CBShowSize->geometry(), FormDesign->BtnUndo->geometry(),
                                  FormDesign->BtnRedo->geometry()};
    };
    const std::vector<QRect> before = places();
    AddText("一");
    ASSERT_TRUE(FormDesign->BtnUndo->isVisible());
    EXPECT_EQ(places(), before);
    Undo();
    ASSERT_TRUE(FormDesign->BtnRedo->isVisible());
    ASSERT_FALSE(FormDesign->BtnUndo->isVisible());
    EXPECT_EQ(places(), before);
}
