// The editor's undo and redo: recording the states of the selected object
// around an edit, and replaying a group of records on the current cell.
#include "designer/windows/UnitDesign.h"

#include "designer/model/LxObjectFactory.h"
#include "designer/windows/HandlerWiring.h"
#include "platform/io/Errors.h"

#include <QPushButton>

namespace lx {

void TFormDesign::BuildUndoComponents()
{
    Wire("BtnUndoClick", BtnUndo, &QPushButton::clicked, this, [this] { guarded([this] { BtnUndoClick(); }); });
    Wire("BtnRedoClick", BtnRedo, &QPushButton::clicked, this, [this] { guarded([this] { BtnRedoClick(); }); });
}

TLxLableObjectBase* TFormDesign::SelectedObject() const
{
    if (!Session.Document())
        return nullptr;
    const std::int32_t index = Session.Document()->GetSelectedIndex(CurrentFace);
    if (index < 0 || index >= Session.Document()->GetObjectCount(CurrentFace))
        return nullptr;
    return Session.Document()->GetObject(index, CurrentFace);
}

void TFormDesign::RecordGeometryUndo(bool before) { RecordSelectedUndo(UndoChanged, before); }

void TFormDesign::RecordPropertyUndo(bool before) { RecordSelectedUndo(UndoChangedWithTable, before); }

void TFormDesign::RecordSelectedUndo(std::int32_t action, bool before)
{
    if (SelectedObject())
        PushObjectUndo(Session.Document()->GetSelectedIndex(CurrentFace), before, action);
}

void TFormDesign::ClearMultiSelection()
{
    Session.EndMultiSelection();
    Session.Document()->SetSelectedIndex(-1, CurrentFace);
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i)
        Session.Document()->GetObject(i, CurrentFace)->SetSelected(0);
}

void TFormDesign::BtnUndoClick()
{
    if (!Session.Undo() || !Session.Undo()->CanUndo())
        return;
    ReplayGroup(false);
}

void TFormDesign::BtnRedoClick()
{
    if (!Session.Undo() || !Session.Undo()->CanRedo())
        return;
    ReplayGroup(true);
}

void TFormDesign::ReplayGroup(bool redo)
{
    PanelsReady = false;
    ClearMultiSelection();
    const auto apply = [this, redo](UndoStep& step) { ReplayUndoStep(step, redo); };
    std::int32_t n = 0;
    try {
        n = redo ? Session.RedoGroup(apply) : Session.UndoGroup(apply);
    } catch (...) {
        // What was applied stays applied; the rest of the history is not
        // offered again.
        RedrawAfterEdit();
        (redo ? BtnRedo : BtnUndo)->hide();
        PanelsReady = true;
        throw;
    }
    // A group of several objects leaves nothing selected.
    if (n > 1)
        ClearMultiSelection();
    RedrawAfterEdit();
    PanelsReady = true;
}

void TFormDesign::ReplayUndoStep(UndoStep& step, bool redo)
{
    const std::int32_t face = CurrentFace;
    const std::int32_t index = step.Index;
    switch (step.Action) {
    case UndoAdded:
    case UndoDeleted:
        // Undoing an addition and redoing a deletion remove the object;
        // the other two put the snapshot back.
        if ((step.Action == UndoAdded) != redo) {
            Session.Document()->DeleteObject(index, face);
            Session.Document()->SetSelectedIndex(-1, face);
            return;
        }
        if (!step.Snapshot)
            throw Error("もどす内容がありません。");
        BindMergeTable(*step.Snapshot, Session.MergeTable());
        Session.Document()->InsertObject(std::move(step.Snapshot), index, face);
        break;
    case UndoMovedFront:
        if (redo)
            Session.Document()->MoveObjectFront(index, face);
        else
            Session.Document()->MoveObjectBack(index - 1, face);
        break;
    case UndoMovedBack:
        if (redo)
            Session.Document()->MoveObjectBack(index, face);
        else
            Session.Document()->MoveObjectFront(index + 1, face);
        break;
    case UndoChanged:
    case UndoChangedWithTable: {
        if (!step.Snapshot)
            throw Error("もどす内容がありません。");
        if (step.Action == UndoChangedWithTable)
            BindMergeObjectsToTable(*step.Snapshot);
        BindMergeTable(*step.Snapshot, Session.MergeTable());
        Session.Document()->ReplaceObject(index, face, std::move(step.Snapshot));
        break;
    }
    default: return;
    }
    Session.Document()->SetSelectedIndex(index, face);
}

void TFormDesign::BindMergeObjectsToTable(const TLxLableObjectBase& restored)
{
    // The restored object holds the table it was bound to at the time. The
    // design's own table takes those rows, so what is shown is also what a
    // save writes, and every merge object keeps reading the design's table.
    const TLxCSV* table = MergeTableOf(restored);
    if (!table || table == Session.MergeTable().get())
        return;
    Session.RestoreMergeRows(*table);
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i)
        BindMergeTable(*Session.Document()->GetObject(i, CurrentFace), Session.MergeTable());
}

} // namespace lx
