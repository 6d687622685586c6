#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DesignTesting.h"
#include "designer/model/EditorSession.h"
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelRenbanString.h"
#include "platform/io/Stream.h"
#include "support/TestPaths.h"

namespace lx {
namespace {

// A design of equal cells, each holding two texts named "<cell>a" and
// "<cell>b", front first; with merge objects, every cell also holds a merge
// text and a serial number in front of them.
Design DesignOnCells(std::int32_t cells, bool withMerge = false, double width = 40)
{
    Design design;
    design.MergeTable = std::make_shared<TLxCSV>();
    design.SheetLayout = std::make_unique<TlxLblInfo>(lxtest::MakeLayout(std::vector(cells, std::pair{width, 20.0})));
    design.Document = std::make_unique<TlxLabelManager>(cells, *design.SheetLayout);
    for (std::int32_t face = 0; face < cells; ++face) {
        for (std::int32_t i = 0; i < 2; ++i) {
            const std::string name = std::to_string(face) + static_cast<char>('a' + i);
            auto text = lxtest::TextObject(name, name);
            text->SetLeft(2 + 5 * i);
            text->SetTop(3 + 4 * i);
            design.Document->InsertObject(std::move(text), i, face);
        }
        if (withMerge) {
            design.Document->InsertObject(lxtest::MergeObject(design.MergeTable, 1, face), 0, face);
            design.Document->InsertObject(lxtest::SerialObject(face), 0, face);
        }
    }
    return design;
}

struct Editing {
    EditorSession session;
    explicit Editing(std::int32_t cells = 3, bool withMerge = false) : Editing(DesignOnCells(cells, withMerge)) {}
    explicit Editing(Design design) { session.Open(std::move(design), ""); }
    // The design as its file holds it.
    std::string Bytes() const
    {
        MemoryStream stream;
        WriteDesign(stream, *session.MergeTable(), *session.Layout(), *session.Document());
        return std::string(stream.Bytes());
    }
    std::vector<std::string> Names(std::int32_t face) const { return lxtest::FaceNames(*session.Document(), face); }
};

TLxLabelObjectString& Text(TLxLableObjectBase& object) { return dynamic_cast<TLxLabelObjectString&>(object); }
const TLxLabelObjectString& Text(const TLxLableObjectBase& object)
{
    return dynamic_cast<const TLxLabelObjectString&>(object);
}

std::string WriteCsv(const lxtest::TempDir& temp, const std::string& name, const std::string& lines)
{
    std::ofstream(temp.File(name), std::ios::binary) << lines;
    return temp.File(name);
}

// Every edit changes the cell it is made on, counts the design unsaved, and
// is undone and redone there whichever cell is current by then; the editor
// is taken back to that cell. The file's bytes are the judge.
TEST(EditorSession, EveryEditIsOneStepOnItsOwnCell)
{
    const struct {
        const char* what;
        std::function<void(EditorSession&)> edit;
        std::int32_t shown; // the cell the editor shows after undo and redo
    } edits[] = {
        {"add a text", [](EditorSession& s) { s.AddObject(KindString); }, 1},
        {"add a grid", [](EditorSession& s) { s.AddObject(KindGrid); }, 1},
        {"delete",
         [](EditorSession& s) {
             s.Select(1);
             s.DeleteSelected();
         },
         1},
        {"one step to the front",
         [](EditorSession& s) {
             s.Select(1);
             EXPECT_TRUE(s.MoveSelectedFront());
         },
         1},
        {"one step to the back",
         [](EditorSession& s) {
             s.Select(0);
             EXPECT_TRUE(s.MoveSelectedBack());
         },
         1},
        {"drag one object", [](EditorSession& s) { s.MoveObjects({1}, 3, -2); }, 1},
        {"drag two objects",
         [](EditorSession& s) {
             s.MoveObjects({0, 1}, 2, 2);
         },
         1},
        {"nudge two objects",
         [](EditorSession& s) {
             s.NudgeObjects({0, 1}, 0.2, 0);
         },
         1},
        {"rename",
         [](EditorSession& s) {
             s.Select(0);
             s.RenameSelected("renamed");
         },
         1},
        {"apply a property page",
         [](EditorSession& s) {
             s.Select(0);
             s.EditSelected([](TLxLableObjectBase& o) {
                 Text(o).SetText("new text");
                 Text(o).SetFontSize(20);
             });
         },
         1},
        {"resize",
         [](EditorSession& s) {
             s.Select(1);
             s.EditSelected([](TLxLableObjectBase& o) {
                 o.SetWidth(30);
                 o.SetHeight(7);
             });
         },
         1},
        {"paste a cell",
         [](EditorSession& s) {
             s.ChooseFace(2);
             ASSERT_TRUE(s.CopyCurrentFace());
             s.ChooseFace(1);
             EXPECT_EQ(s.PasteFace(), PasteResult::Pasted);
         },
         1},
        {"paste on every cell",
         [](EditorSession& s) {
             s.ChooseFace(2);
             ASSERT_TRUE(s.CopyCurrentFace());
             s.ChooseFace(1);
             EXPECT_EQ(s.PasteFaceOnAll(), PasteResult::Pasted);
         },
         0},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.what);
        Editing e;
        e.session.ChooseFace(1);
        const std::string before = e.Bytes();
        edit.edit(e.session);
        EXPECT_FALSE(e.session.IsSaved());
        const std::string after = e.Bytes();
        ASSERT_NE(after, before);

        // Cell 2 is left alone by every edit.
        const std::vector<std::string> away = e.Names(2);
        e.session.ChooseFace(2);
        e.session.Undo();
        EXPECT_EQ(e.Bytes(), before);
        EXPECT_EQ(e.session.CurrentFace(), edit.shown);
        EXPECT_FALSE(e.session.CanUndo());

        e.session.ChooseFace(2);
        e.session.Redo();
        EXPECT_EQ(e.Bytes(), after);
        EXPECT_EQ(e.session.CurrentFace(), edit.shown);
        EXPECT_EQ(e.Names(2), away);
        EXPECT_FALSE(e.session.CanRedo());
    }
}

// Steps of several cells interleave: each undo goes back to its own cell.
TEST(EditorSession, StepsOfSeveralCellsUndoInTurn)
{
    Editing e;
    e.session.ChooseFace(0);
    e.session.Select(0);
    e.session.RenameSelected("zero");
    e.session.ChooseFace(2);
    e.session.Select(1);
    e.session.DeleteSelected();
    e.session.ChooseFace(1);
    e.session.AddObject(KindFigure);
    ASSERT_EQ(e.Names(1).size(), 3u);

    e.session.Undo();
    EXPECT_EQ(e.session.CurrentFace(), 1);
    EXPECT_EQ(e.Names(1), (std::vector<std::string>{"1a", "1b"}));
    e.session.Undo();
    EXPECT_EQ(e.session.CurrentFace(), 2);
    EXPECT_EQ(e.Names(2), (std::vector<std::string>{"2a", "2b"}));
    EXPECT_EQ(e.session.SelectedIndex(), 1); // the object put back is selected
    e.session.Undo();
    EXPECT_EQ(e.session.CurrentFace(), 0);
    EXPECT_EQ(e.Names(0), (std::vector<std::string>{"0a", "0b"}));
    EXPECT_EQ(e.Names(1), (std::vector<std::string>{"1a", "1b"}));
    EXPECT_FALSE(e.session.CanUndo());
}

// Undo of an addition selects nothing; redo puts it back in front and
// selects it. A group of several objects leaves nothing selected and ends
// the multi-selection.
TEST(EditorSession, UndoLeavesTheSelectionAsTheUserExpects)
{
    Editing e;
    e.session.AddObject(KindString);
    EXPECT_EQ(e.session.SelectedIndex(), 0);
    e.session.Undo();
    EXPECT_EQ(e.session.SelectedIndex(), -1);
    e.session.Redo();
    EXPECT_EQ(e.session.SelectedIndex(), 0);

    for (std::int32_t i : {0, 1, 2})
        e.session.SetMember(i, true);
    e.session.BeginMultiSelection();
    e.session.MoveObjects(e.session.Members(), 1, 1);
    e.session.Undo();
    EXPECT_EQ(e.session.SelectedIndex(), -1);
    EXPECT_FALSE(e.session.IsMultiSelecting());
    EXPECT_TRUE(e.session.Members().empty());
}

// The edits of the selected object do nothing without one, and moving
// stops at either end of the list; none of them counts as a change.
TEST(EditorSession, EditsWithoutTheirObjectChangeNothing)
{
    Editing e;
    const std::string before = e.Bytes();
    e.session.DeleteSelected();
    e.session.RenameSelected("x");
    e.session.EditSelected([](TLxLableObjectBase& o) { o.SetLeft(99); });
    e.session.Select(0);
    EXPECT_FALSE(e.session.MoveSelectedFront());
    e.session.Select(1);
    EXPECT_FALSE(e.session.MoveSelectedBack());
    e.session.MoveObjects({}, 5, 5);
    EXPECT_EQ(e.Bytes(), before);
    EXPECT_TRUE(e.session.IsSaved());
    EXPECT_FALSE(e.session.CanUndo());
}

// A page writer that writes part of another page inside its own edit makes
// one step; an edit that fails half way is still recorded, so undo can
// take back what it wrote.
TEST(EditorSession, NestedAndFailingEditsAreOneStep)
{
    Editing e;
    e.session.Select(0);
    e.session.EditSelected([&](TLxLableObjectBase& o) {
        Text(o).SetText("outer");
        e.session.EditSelected([](TLxLableObjectBase& inner) { inner.SetLeft(17); });
    });
    EXPECT_EQ(e.session.SelectedObject()->GetLeft(), 17);
    e.session.Undo();
    EXPECT_EQ(e.session.SelectedObject()->GetLeft(), 2);
    EXPECT_EQ(Text(*e.session.Document()->GetObject(0, 0)).GetText(), "0a");
    EXPECT_FALSE(e.session.CanUndo());

    e.session.Redo();
    EXPECT_THROW(e.session.EditSelected([](TLxLableObjectBase& o) {
        o.SetTop(30);
        throw Error("failed");
    }),
                 Error);
    EXPECT_EQ(e.session.SelectedObject()->GetTop(), 30);
    e.session.Undo();
    EXPECT_EQ(e.session.SelectedObject()->GetTop(), 3);
    // The session writes no object from outside an edit any more.
    e.session.EditSelected([](TLxLableObjectBase& o) { o.SetTop(4); });
    EXPECT_EQ(e.session.SelectedObject()->GetTop(), 4);
}

// Pasting reports what it could not do, takes the source as it is when
// pasting, and pastes onto every cell but the source.
TEST(EditorSession, PastingCopiesTheSourceAsItIsThen)
{
    Editing e;
    EXPECT_EQ(e.session.PasteFace(), PasteResult::NoSource);
    EXPECT_EQ(e.session.PasteFaceOnAll(), PasteResult::NoSource);
    EXPECT_TRUE(e.session.IsSaved());

    Editing empty(2);
    empty.session.ChooseFace(1);
    empty.session.Select(0);
    empty.session.DeleteSelected();
    empty.session.Select(0);
    empty.session.DeleteSelected();
    EXPECT_FALSE(empty.session.CopyCurrentFace()) << "an empty cell is no source";
    EXPECT_EQ(empty.session.CopySourceFace(), -1);

    e.session.ChooseFace(2);
    ASSERT_TRUE(e.session.CopyCurrentFace());
    EXPECT_EQ(e.session.PasteFace(), PasteResult::SameCell);
    EXPECT_TRUE(e.session.IsSaved());
    e.session.Select(0);
    e.session.RenameSelected("edited after the copy");
    e.session.ChooseFace(0);
    e.session.PasteFaceOnAll();
    EXPECT_EQ(e.Names(0), (std::vector<std::string>{"edited after the copy", "2b"}));
    EXPECT_EQ(e.Names(1), e.Names(0));
    EXPECT_EQ(e.session.CopySourceFace(), 2);
}

// A pasted merge object reads the record of the cell it was pasted on, also
// once the paste is undone and redone.
TEST(EditorSession, PastedMergeObjectsFollowTheirCellsRecord)
{
    Editing e(3, true);
    e.session.ChooseFace(0);
    ASSERT_TRUE(e.session.CopyCurrentFace());
    e.session.ChooseFace(2);
    e.session.PasteFace();
    e.session.Undo();
    e.session.Redo();
    const auto* merge = dynamic_cast<const TLxLabelObjectCsvString*>(e.session.Document()->GetObject(1, 2));
    ASSERT_NE(merge, nullptr);
    EXPECT_EQ(merge->GetRecordIndex(), 2);
}

// Deleting a cell's design or the whole design and switching the mode are
// changes the user is told cannot be undone: the history goes with them.
TEST(EditorSession, IrreversibleChangesDropTheHistory)
{
    {
        Editing e(3, true);
        e.session.ChooseFace(1);
        e.session.AddObject(KindString);
        e.session.DeleteFaceDesign();
        EXPECT_TRUE(e.Names(1).empty());
        EXPECT_EQ(e.Names(0).size(), 4u);
        EXPECT_FALSE(e.session.IsSaved());
        EXPECT_FALSE(e.session.CanUndo());
    }
    {
        lxtest::TempDir temp;
        Editing e;
        ASSERT_TRUE(e.session.LoadMergeTable(WriteCsv(temp, "rows.csv", "a,b\r\n")));
        e.session.Save(temp.File("saved.bv2"));
        e.session.DeleteDesign();
        EXPECT_TRUE(e.Names(0).empty());
        EXPECT_FALSE(e.session.MergeTable()->IsLoaded());
        EXPECT_FALSE(e.session.IsSaved());
        EXPECT_FALSE(e.session.CanUndo());
    }
    {
        // Single to multi: the current cell loses its merge and serial
        // objects, the other cells keep theirs.
        Design single = DesignOnCells(3, true);
        single.Document->SetSingleMode(true);
        Editing e(std::move(single));
        e.session.AddObject(KindString);
        e.session.SwitchMode();
        EXPECT_FALSE(e.session.Document()->GetSingleMode());
        ASSERT_EQ(e.Names(0).size(), 3u);
        EXPECT_EQ(e.Names(0)[1], "0a");
        EXPECT_EQ(e.Names(1), (std::vector<std::string>{"serial", "merge", "1a", "1b"}));
        EXPECT_FALSE(e.session.CanUndo());
        EXPECT_FALSE(e.session.IsSaved());

        // Multi to single while editing cell 2: its design becomes the one
        // design, on cell 0.
        e.session.ChooseFace(2);
        e.session.SwitchMode();
        EXPECT_TRUE(e.session.Document()->GetSingleMode());
        EXPECT_EQ(e.session.CurrentFace(), 0);
        EXPECT_EQ(e.Names(0), (std::vector<std::string>{"serial", "merge", "2a", "2b"}));
        EXPECT_TRUE(e.Names(1).empty());
        EXPECT_TRUE(e.Names(2).empty());
        EXPECT_FALSE(e.session.CanUndo());
    }
}

// Choosing cells, selecting, marking members and the design guide are no
// changes; the history outlives a change of cell.
TEST(EditorSession, ChoosingAndSelectingAreNoChanges)
{
    Editing e;
    e.session.AddObject(KindString);
    e.session.Save(lxtest::TempDir().File("x.bv2"));
    e.session.ChooseFace(2);
    e.session.Select(1);
    e.session.SetMember(0, true);
    e.session.SetMember(1, true);
    e.session.BeginMultiSelection();
    EXPECT_EQ(e.session.Members(), (std::vector<std::int32_t>{0, 1}));
    e.session.SetShowGuide(false);
    EXPECT_FALSE(e.session.Document()->GetShowGuide());
    EXPECT_TRUE(e.session.IsSaved());
    EXPECT_TRUE(e.session.CanUndo());
    // Leaving the cell ends its multi-selection.
    e.session.ChooseFace(0);
    EXPECT_FALSE(e.session.IsMultiSelecting());
    e.session.ChooseFace(2);
    EXPECT_TRUE(e.session.Members().empty());
    e.session.ChooseFace(7); // no such cell
    EXPECT_EQ(e.session.CurrentFace(), 2);
}

// A design is saved under its file's name and reads back the same; a file
// that cannot be read or written changes neither the design nor its name.
TEST(EditorSession, SavedAndLoadedDesignsKeepTheirNameAndContent)
{
    lxtest::TempDir temp;
    Editing e;
    e.session.AddObject(KindString);
    const std::string path = temp.File("\xe3\x83\xa9\xe3\x83\x99\xe3\x83\xab.bv2");
    e.session.Save(path);
    EXPECT_TRUE(e.session.IsSaved());
    EXPECT_EQ(e.session.FileName(), "\xe3\x83\xa9\xe3\x83\x99\xe3\x83\xab.bv2");
    const std::string saved = e.Bytes();

    e.session.AddObject(KindString);
    EXPECT_THROW(e.session.Save(temp.File("no folder/x.bv2")), Error);
    EXPECT_FALSE(e.session.IsSaved());
    EXPECT_EQ(e.session.FileName(), "\xe3\x83\xa9\xe3\x83\x99\xe3\x83\xab.bv2");

    const std::string unsaved = e.Bytes();
    EXPECT_ANY_THROW(e.session.Load(temp.File("missing.bv2")));
    EXPECT_EQ(e.Bytes(), unsaved);
    EXPECT_FALSE(e.session.IsSaved());

    e.session.Load(path);
    EXPECT_EQ(e.Bytes(), saved);
    EXPECT_TRUE(e.session.IsSaved());
    EXPECT_FALSE(e.session.CanUndo());
    EXPECT_FALSE(e.session.IsNewDesign());
    e.session.LoadTemplate(path);
    EXPECT_TRUE(e.session.FileName().empty());
}

// A template laid onto a paper of more cells spreads into a new document,
// its merge objects reading their new cells' records; onto fewer cells it
// keeps every cell. The cells take the paper's sizes, the paper decides the
// mode, and the design starts saved with no history.
TEST(EditorSession, TemplateIsLaidOntoTheChosenPaper)
{
    {
        Editing e(2, true);
        e.session.AddObject(KindString);
        TlxLblInfo paper = lxtest::MakeLayout(std::vector(10, std::pair{25.0, 12.0}));
        paper.SingleMode = 1;
        e.session.BeginNew(std::move(paper));
        const TlxLabelManager& document = *e.session.Document();
        ASSERT_EQ(document.GetFaceCount(), 10);
        EXPECT_EQ(e.Names(0).size(), 5u);
        EXPECT_EQ(e.Names(0)[1], "serial");
        EXPECT_EQ(e.Names(1), (std::vector<std::string>{"serial", "merge", "1a", "1b"}));
        EXPECT_TRUE(e.Names(9).empty());
        const auto* merge = dynamic_cast<const TLxLabelObjectCsvString*>(document.GetObject(1, 1));
        ASSERT_NE(merge, nullptr);
        EXPECT_EQ(merge->GetRecordIndex(), 1);
        for (std::int32_t i = 0; i < 10; ++i) {
            EXPECT_EQ(document.GetFaceObjects(i).GetLabelWidth(), 25.0);
            EXPECT_EQ(document.GetFaceObjects(i).GetLabelHeight(), 12.0);
        }
        EXPECT_TRUE(document.GetSingleMode());
        EXPECT_TRUE(e.session.IsSaved());
        EXPECT_TRUE(e.session.IsNewDesign());
        EXPECT_FALSE(e.session.CanUndo());
        EXPECT_TRUE(e.session.FileName().empty());
    }
    {
        Editing e(10);
        e.session.BeginNew(lxtest::MakeLayout(std::vector(6, std::pair{30.0, 15.0})));
        const TlxLabelManager& document = *e.session.Document();
        ASSERT_EQ(document.GetFaceCount(), 10);
        EXPECT_EQ(e.Names(9), (std::vector<std::string>{"9a", "9b"}));
        EXPECT_EQ(document.GetFaceObjects(5).GetLabelWidth(), 30.0);
        EXPECT_EQ(document.GetFaceObjects(6).GetLabelWidth(), 40.0);
        EXPECT_FALSE(document.GetSingleMode());
        // Edits work on the kept cells, and the old layout they read lives on.
        e.session.ChooseFace(8);
        e.session.AddObject(KindString);
        e.session.Undo();
        EXPECT_EQ(e.Names(8), (std::vector<std::string>{"8a", "8b"}));
    }
}

// A new design on a paper with nothing open: empty cells of its sizes.
TEST(EditorSession, NewDesignStartsEmptyOnItsPaper)
{
    EditorSession session;
    session.BeginNew(lxtest::MakeLayout({{50, 30}, {20, 10}}));
    ASSERT_NE(session.Document(), nullptr);
    EXPECT_EQ(session.Document()->GetFaceCount(), 2);
    EXPECT_EQ(session.Document()->GetObjectCount(0), 0);
    EXPECT_FALSE(session.Document()->GetSingleMode());
    EXPECT_TRUE(session.IsSaved());
    session.AddObject(KindString);
    session.Close();
    EXPECT_EQ(session.Document(), nullptr);
    EXPECT_FALSE(session.CanUndo());
    ASSERT_NE(session.Layout(), nullptr);
}

// A template still open when another paper is chosen keeps reading its own
// layout: closing releases the document before the layouts it reads (the
// sanitizer build checks the order).
TEST(EditorSession, LayoutOutlivesTheDocumentThatReadsIt)
{
    Editing e(4);
    e.session.BeginNew(lxtest::MakeLayout({{20, 10}}));
    e.session.ChooseFace(3);
    EXPECT_FALSE(e.session.RenderCurrentFace().Bytes().empty());
    e.session.Close();
    EXPECT_EQ(e.session.Document(), nullptr);
    ASSERT_NE(e.session.Layout(), nullptr);
}

// A change of CSV file reads the rows into the design's table in place;
// undo brings the old rows back into that table for every merge object of
// the cell, redo today's.
TEST(EditorSession, UndoOfATableChangeBringsTheOldRowsBack)
{
    lxtest::TempDir temp;
    Editing e(2);
    EXPECT_FALSE(e.session.LoadMergeTable(temp.File("missing.csv")));
    EXPECT_TRUE(e.session.IsSaved());
    const TLxCSV* table = e.session.MergeTable().get();
    ASSERT_TRUE(e.session.LoadMergeTable(WriteCsv(temp, "old.csv", "r0\r\nold,1\r\n")));
    EXPECT_FALSE(e.session.IsSaved());
    e.session.ChooseFace(1);
    e.session.AddObject(KindCsvString);
    e.session.AddObject(KindCsvString);
    for (std::int32_t i : {0, 1}) {
        e.session.Select(i);
        e.session.EditSelected([](TLxLableObjectBase& o) { dynamic_cast<TLxLabelObjectCsvString&>(o).SetColumn(1); });
    }
    const auto shown = [&](std::int32_t i) {
        const auto& merge = dynamic_cast<const TLxLabelObjectCsvString&>(*e.session.Document()->GetObject(i, 1));
        EXPECT_EQ(merge.GetCSV(), e.session.MergeTable().get());
        return merge.GetMergedText();
    };
    ASSERT_EQ(shown(0), "old");

    const std::shared_ptr<const TLxCSV> previous = e.session.MergeTable()->Clone();
    ASSERT_TRUE(e.session.LoadMergeTable(WriteCsv(temp, "new.csv", "r0\r\nnew,2\r\n")));
    EXPECT_EQ(e.session.MergeTable().get(), table);
    e.session.Select(0);
    e.session.RebindSelectedMergeObject(previous);
    EXPECT_EQ(shown(0), "new");
    EXPECT_EQ(shown(1), "new");

    e.session.ChooseFace(0);
    e.session.Undo();
    EXPECT_EQ(e.session.CurrentFace(), 1);
    EXPECT_EQ(shown(0), "old");
    EXPECT_EQ(shown(1), "old");
    EXPECT_EQ(e.session.MergeTable()->GetLines(), (std::vector<std::string>{"r0", "old,1"}));
    e.session.Redo();
    EXPECT_EQ(shown(0), "new");
    EXPECT_EQ(shown(1), "new");
    EXPECT_EQ(e.session.MergeTable()->GetLines(), (std::vector<std::string>{"r0", "new,2"}));

    e.session.Abandon();
    EXPECT_TRUE(e.session.IsSaved());
    EXPECT_FALSE(e.session.MergeTable()->IsLoaded());
}

} // namespace
} // namespace lx
