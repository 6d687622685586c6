#include <gtest/gtest.h>

#include <fstream>

#include "DesignTesting.h"
#include "designer/model/EditorSession.h"
#include "platform/io/Stream.h"
#include "support/TestPaths.h"

namespace lx {
namespace {

// A session editing a new two-cell design with one text object.
struct Editing {
    EditorSession session;
    Editing()
    {
        session.BeginNew(lxtest::MakeLayout({{40, 20}, {30, 10}}));
        session.BeginEditing();
        session.Document()->InsertObject(lxtest::TextObject("a", "A"), 0, 0);
    }
    TLxLableObjectBase& Object(std::int32_t j) { return *session.Document()->GetObject(j, 0); }
};

Design DesignOnCells(std::int32_t cells)
{
    Design design;
    design.MergeTable = std::make_shared<TLxCSV>();
    design.SheetLayout = std::make_unique<TlxLblInfo>(lxtest::MakeLayout(std::vector(cells, std::pair{20.0, 10.0})));
    design.Document = std::make_unique<TlxLabelManager>(cells, *design.SheetLayout);
    return design;
}

// A design counts as unsaved from its first change until it is written or
// replaced; closing it in between must ask the user.
TEST(EditorSession, ChangesStayUnsavedUntilTheDesignIsSavedAgain)
{
    EditorSession session;
    EXPECT_TRUE(session.IsSaved()); // a design just begun has nothing to lose

    session.MarkChanged();
    session.MarkChanged();
    EXPECT_FALSE(session.IsSaved());
    session.MarkSaved();
    EXPECT_TRUE(session.IsSaved());

    session.MarkChanged();
    EXPECT_FALSE(session.IsSaved()); // saving once does not cover later changes
}

// Selecting is not a change to the design: a saved design stays saved.
TEST(EditorSession, SelectingLeavesTheDesignSaved)
{
    EditorSession session;
    EXPECT_FALSE(session.IsMultiSelecting());
    session.BeginMultiSelection();
    EXPECT_TRUE(session.IsMultiSelecting());
    session.EndMultiSelection();
    EXPECT_FALSE(session.IsMultiSelecting());
    EXPECT_TRUE(session.IsSaved());
}

// Naming and forgetting the file touch neither the unsaved flag nor the
// selection: the editor marks those itself once the file was read or written.
TEST(EditorSession, FileNameIsKeptApartFromTheUnsavedFlag)
{
    EditorSession session;
    EXPECT_TRUE(session.FileName().empty());
    session.MarkChanged();
    session.SetFileName("\x83\x89\x83x\x83\x8b.bv2"); // CP932 bytes pass through
    EXPECT_EQ(session.FileName(), "\x83\x89\x83x\x83\x8b.bv2");
    EXPECT_FALSE(session.IsSaved());
    session.ForgetFileName();
    EXPECT_TRUE(session.FileName().empty());
    EXPECT_FALSE(session.IsSaved());
}

// Recording a change is what marks the design unsaved; the states before an
// edit, and an edit that changed nothing, leave it saved. Undo hands the
// records back and counts as a change itself.
TEST(EditorSession, RecordedChangesMarkUnsavedAndCanBeUndone)
{
    Editing e;
    e.session.RecordBefore(UndoChanged, 0, e.Object(0).Clone());
    e.session.RecordUnchanged(UndoChanged, 0, e.Object(0).Clone());
    EXPECT_TRUE(e.session.IsSaved());

    const double was = e.Object(0).GetLeft();
    e.session.RecordBefore(UndoChanged, 0, e.Object(0).Clone());
    e.Object(0).SetLeft(was + 5);
    e.session.RecordChange(UndoChanged, 0, e.Object(0).Clone());
    EXPECT_FALSE(e.session.IsSaved());
    e.session.MarkSaved();

    std::vector<double> restored;
    const auto apply = [&](UndoStep& step) {
        EXPECT_EQ(step.Action, UndoChanged);
        EXPECT_EQ(step.Index, 0);
        restored.push_back(step.Snapshot->GetLeft());
    };
    EXPECT_EQ(e.session.UndoGroup(apply), 1);
    EXPECT_EQ(restored, std::vector<double>{was});
    EXPECT_FALSE(e.session.IsSaved());
    EXPECT_TRUE(e.session.Undo()->CanRedo());
    EXPECT_EQ(e.session.RedoGroup(apply), 1);
    EXPECT_EQ(restored.back(), was + 5);
}

// Objects moved together are undone as one group.
TEST(EditorSession, GroupOfObjectsIsOneStep)
{
    Editing e;
    e.session.Document()->InsertObject(lxtest::TextObject("b", "B"), 1, 0);
    const auto states = [&] {
        std::vector<ObjectState> states;
        for (std::int32_t i = 0; i < 2; ++i)
            states.push_back({i, e.Object(i).Clone()});
        return states;
    };
    e.session.RecordGroupBefore(UndoChanged, states());
    EXPECT_TRUE(e.session.IsSaved());
    e.session.RecordGroupChange(UndoChanged, states());
    EXPECT_FALSE(e.session.IsSaved());
    std::vector<std::int32_t> indices;
    EXPECT_EQ(e.session.UndoGroup([&](UndoStep& step) { indices.push_back(step.Index); }), 2);
    EXPECT_EQ(indices.size(), 2u);
    EXPECT_FALSE(e.session.Undo()->CanUndo());
}

// Changes undo cannot reach drop the history; choosing another cell drops it
// too but changes nothing.
TEST(EditorSession, DroppedHistoryAndIrreversibleChanges)
{
    Editing e;
    e.session.RecordChange(UndoAdded, 0, e.Object(0).Clone());
    e.session.MarkSaved();
    e.session.ForgetUndo();
    EXPECT_FALSE(e.session.Undo()->CanUndo());
    EXPECT_TRUE(e.session.IsSaved());

    e.session.RecordChange(UndoAdded, 0, e.Object(0).Clone());
    e.session.MarkSaved();
    e.session.RecordIrreversibleChange();
    EXPECT_FALSE(e.session.Undo()->CanUndo());
    EXPECT_FALSE(e.session.IsSaved());
}

// Opening a file or beginning a new design leaves a saved design with no
// history of the one before.
TEST(EditorSession, OpeningAndBeginningStartSavedWithoutHistory)
{
    Editing e;
    e.session.RecordChange(UndoAdded, 0, e.Object(0).Clone());
    e.session.BeginMultiSelection();
    e.session.Open(DesignOnCells(3), "\x83\x89\x83x\x83\x8b.bv2");
    EXPECT_TRUE(e.session.IsSaved());
    EXPECT_FALSE(e.session.Undo()->CanUndo());
    EXPECT_EQ(e.session.FileName(), "\x83\x89\x83x\x83\x8b.bv2");
    EXPECT_EQ(e.session.Layout()->LabelCount, 3);
    EXPECT_EQ(e.session.Document()->GetFaceCount(), 3);

    e.session.MarkChanged();
    e.session.BeginNew(lxtest::MakeLayout({{50, 50}}));
    EXPECT_TRUE(e.session.IsSaved());
    EXPECT_TRUE(e.session.FileName().empty());
    EXPECT_FALSE(e.session.IsMultiSelecting());
    e.session.Close();
    e.session.BeginEditing();
    EXPECT_EQ(e.session.Document()->GetFaceCount(), 1);
    EXPECT_FALSE(e.session.Undo()->CanUndo());
}

// A template still open when another paper is chosen keeps reading its own
// layout until its content is laid anew; closing releases the document
// before the layouts it reads (the sanitizer build checks the order).
TEST(EditorSession, LayoutOutlivesTheDocumentThatReadsIt)
{
    EditorSession session;
    session.Open(DesignOnCells(2), "");
    MemoryStream content;
    session.Document()->SaveToStream(content);
    session.BeginNew(lxtest::MakeLayout({{20, 10}}));
    session.BeginNew(lxtest::MakeLayout({{20, 10}, {20, 10}, {20, 10}}));
    EXPECT_EQ(session.Layout()->LabelCount, 3);
    // Reading walks the old layout's two cells, not the new three.
    content.Seek(0);
    session.Document()->LoadFromStream(content, session.MergeTable());
    EXPECT_EQ(session.Document()->GetFaceCount(), 2);

    session.ReplaceDocument(std::make_unique<TlxLabelManager>(3, *session.Layout()));
    session.BeginEditing();
    session.Close();
    EXPECT_EQ(session.Document(), nullptr);
    EXPECT_EQ(session.Undo(), nullptr);
    ASSERT_NE(session.Layout(), nullptr);
    EXPECT_EQ(session.Layout()->LabelCount, 3);
}

// The merge table is read in place, so objects bound to it see the rows; a
// table that cannot be read changes nothing.
TEST(EditorSession, MergeTableChangesInPlace)
{
    lxtest::TempDir temp;
    EditorSession session;
    const TLxCSV* table = session.MergeTable().get();
    EXPECT_FALSE(session.LoadMergeTable(temp.File("missing.csv")));
    EXPECT_TRUE(session.IsSaved());
    std::ofstream(temp.File("rows.csv"), std::ios::binary) << "a,b\r\nc,d\r\n";
    ASSERT_TRUE(session.LoadMergeTable(temp.File("rows.csv")));
    EXPECT_FALSE(session.IsSaved());
    EXPECT_EQ(session.MergeTable().get(), table);
    EXPECT_EQ(session.MergeTable()->GetRowCount(), 2);

    session.MarkSaved();
    session.ClearMergeTable();
    EXPECT_FALSE(session.MergeTable()->IsLoaded());
    EXPECT_FALSE(session.IsSaved());

    ASSERT_TRUE(session.LoadMergeTable(temp.File("rows.csv")));
    session.SetFileName("a.bv2");
    session.Abandon();
    EXPECT_TRUE(session.IsSaved());
    EXPECT_TRUE(session.FileName().empty());
    EXPECT_FALSE(session.MergeTable()->IsLoaded());
}

} // namespace
} // namespace lx
