// The session's edits: each one undo step on the cell it changes, and undo
// and redo replaying those steps onto the cells they name.
#include "designer/model/EditorSession.h"

#include "designer/model/LxObjectFactory.h"
#include "platform/io/Errors.h"
#include "platform/text/Numbers.h"

#include <algorithm>
#include <cstdio>

namespace lx {

namespace {

// One decimal, as the panel fields show numbers.
double ToTenths(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    return ParseFloat(text);
}

// Merge texts, merge symbols, merge QR and serial numbers: kept only in
// single mode. Known by class: a file may store any kind byte.
bool SingleModeOnly(const TLxLableObjectBase* object)
{
    return object && object->GetRecordBinding() != RecordBinding::None;
}

} // namespace

// ---- recording

std::unique_ptr<TLxLableObjectBase> EditorSession::CloneAt(ObjectPlace place) const
{
    return document_->GetObject(place.Index, place.Face)->Clone();
}

void EditorSession::RecordGroup(std::int32_t key, std::int32_t action, const std::vector<ObjectPlace>& places,
                                bool before)
{
    for (const ObjectPlace& place : places)
        undo_.PushUndo(key, action, place, CloneAt(place), before);
    if (!before)
        MarkChanged();
}

void EditorSession::Record(std::int32_t action, ObjectPlace place, std::unique_ptr<TLxLableObjectBase> snapshot)
{
    undo_.PushUndo(undo_.NewUndoGroupKey(), action, place, std::move(snapshot), false);
    MarkChanged();
}

void EditorSession::RecordIrreversibleChange()
{
    undo_.Clear();
    MarkChanged();
}

// An edit of several objects: their states before it and after it are two
// groups, so undo restores them together. The after-states are recorded
// also when the edit fails half way, as the objects may have changed.
void EditorSession::ChangeObjects(const std::vector<std::int32_t>& indexes, const ObjectEdit& edit)
{
    if (!document_ || indexes.empty())
        return;
    std::vector<ObjectPlace> places;
    for (std::int32_t index : indexes)
        places.push_back(At(index));
    RecordGroup(undo_.NewUndoGroupKey(), UndoChanged, places, true);
    const auto after = [&] { RecordGroup(undo_.NewUndoGroupKey(), UndoChanged, places, false); };
    try {
        for (const ObjectPlace& place : places)
            edit(*document_->GetObject(place.Index, place.Face));
    } catch (...) {
        after();
        throw;
    }
    after();
}

// ---- edits of objects

void EditorSession::AddObject(std::uint8_t kind)
{
    if (!document_)
        return;
    if (kind == KindCsvString || kind == KindCsvBarcode || kind == KindCsvQRCarry)
        document_->AddMergeObject(kind, currentFace_, mergeTable_);
    else
        document_->AddObject(kind, currentFace_);
    const std::int32_t index = document_->GetSelectedIndex(currentFace_);
    Record(UndoAdded, At(index), CloneAt(At(index)));
}

void EditorSession::DeleteSelected()
{
    const TLxLableObjectBase* object = SelectedObject();
    if (!object)
        return;
    const std::int32_t index = SelectedIndex();
    Record(UndoDeleted, At(index), object->Clone());
    document_->DeleteObject(index, currentFace_);
    document_->SetSelectedIndex(-1, currentFace_);
    multiSelecting_ = false;
}

bool EditorSession::MoveSelectedFront()
{
    const std::int32_t index = SelectedIndex();
    if (index <= 0)
        return false;
    Record(UndoMovedFront, At(index), nullptr);
    document_->MoveObjectFront(index, currentFace_);
    document_->SetSelectedIndex(index - 1, currentFace_);
    return true;
}

bool EditorSession::MoveSelectedBack()
{
    const std::int32_t index = SelectedIndex();
    if (index < 0 || index + 1 >= document_->GetObjectCount(currentFace_))
        return false;
    Record(UndoMovedBack, At(index), nullptr);
    document_->MoveObjectBack(index, currentFace_);
    document_->SetSelectedIndex(index + 1, currentFace_);
    return true;
}

void EditorSession::MoveObjects(const std::vector<std::int32_t>& indexes, double dx, double dy)
{
    ChangeObjects(indexes, [dx, dy](TLxLableObjectBase& object) {
        object.SetLeft(object.GetLeft() + dx);
        object.SetTop(object.GetTop() + dy);
    });
}

void EditorSession::NudgeObjects(const std::vector<std::int32_t>& indexes, double dx, double dy)
{
    ChangeObjects(indexes, [dx, dy](TLxLableObjectBase& object) {
        object.SetLeft(ToTenths(object.GetLeft() + dx));
        object.SetTop(ToTenths(object.GetTop() + dy));
    });
}

void EditorSession::RenameSelected(std::string name)
{
    EditSelected([&name](TLxLableObjectBase& object) { object.SetName(std::move(name)); });
}

void EditorSession::EditSelected(const ObjectEdit& edit)
{
    if (editing_) {
        edit(*editing_);
        return;
    }
    TLxLableObjectBase* object = Selected();
    if (!object)
        return;
    editing_ = object;
    try {
        ChangeObjects({SelectedIndex()}, edit);
    } catch (...) {
        editing_ = nullptr;
        throw;
    }
    editing_ = nullptr;
}

// ---- copying cells

bool EditorSession::CopyCurrentFace()
{
    if (!document_ || document_->GetObjectCount(currentFace_) == 0)
        return false;
    copySourceFace_ = currentFace_;
    return true;
}

// A design loaded since the copy may have fewer cells.
bool EditorSession::HasCopySource() const
{
    return document_ && copySourceFace_ >= 0 && copySourceFace_ < document_->GetFaceCount();
}

PasteResult EditorSession::PasteFace()
{
    if (!HasCopySource())
        return PasteResult::NoSource;
    if (copySourceFace_ == currentFace_)
        return PasteResult::SameCell;
    Paste({currentFace_});
    return PasteResult::Pasted;
}

PasteResult EditorSession::PasteFaceOnAll()
{
    if (!HasCopySource())
        return PasteResult::NoSource;
    std::vector<std::int32_t> targets;
    for (std::int32_t i = 0; i < document_->GetFaceCount(); ++i)
        if (i != copySourceFace_)
            targets.push_back(i);
    Paste(targets);
    return PasteResult::Pasted;
}

// The cells' objects replaced, as one group: deleting each cell's old
// objects from the back and adding the copies from the front, so that undo
// and redo replay them in either direction.
void EditorSession::Paste(const std::vector<std::int32_t>& targets)
{
    const std::int32_t key = undo_.NewUndoGroupKey();
    for (std::int32_t target : targets) {
        const auto objects = [&] {
            std::vector<ObjectPlace> places;
            for (std::int32_t i = 0; i < document_->GetObjectCount(target); ++i)
                places.push_back({target, i});
            return places;
        };
        std::vector<ObjectPlace> old = objects();
        std::reverse(old.begin(), old.end());
        for (const ObjectPlace& place : old)
            undo_.PushUndo(key, UndoDeleted, place, CloneAt(place), false);
        document_->CopyFace(mergeTable_.get(), copySourceFace_, target);
        for (const ObjectPlace& place : objects())
            undo_.PushUndo(key, UndoAdded, place, CloneAt(place), false);
    }
    multiSelecting_ = false;
    MarkChanged();
}

// ---- changes undo cannot take back

void EditorSession::DeleteFaceDesign()
{
    if (!document_)
        return;
    document_->ClearFace(currentFace_);
    multiSelecting_ = false;
    RecordIrreversibleChange();
}

void EditorSession::DeleteDesign()
{
    DeleteFaceDesign();
    mergeTable_->Clear();
}

void EditorSession::SwitchMode()
{
    if (!document_)
        return;
    if (document_->GetSingleMode()) {
        document_->SetSingleMode(false);
        for (std::int32_t i = document_->GetObjectCount(currentFace_) - 1; i >= 0; --i)
            if (SingleModeOnly(document_->GetObject(i, currentFace_)))
                document_->DeleteObject(i, currentFace_);
    } else {
        document_->SetSingleMode(true);
        document_->CopyFace(mergeTable_.get(), currentFace_, 0);
        currentFace_ = 0;
        for (std::int32_t i = 1; i < document_->GetFaceCount(); ++i)
            document_->ClearFace(i);
    }
    ClearMultiSelection();
    RecordIrreversibleChange();
}

// ---- the merge table

void EditorSession::RebindSelectedMergeObject(const std::shared_ptr<const TLxCSV>& previous)
{
    TLxLableObjectBase* object = Selected();
    // Only a merge object has a table to return to.
    if (!object || !BindMergeTable(*object, previous))
        return;
    const ObjectPlace place = At(SelectedIndex());
    undo_.PushUndo(undo_.NewUndoGroupKey(), UndoChangedWithTable, place, object->Clone(), true);
    // The after-state keeps today's rows: the design's own table takes the
    // old rows back on undo, so redo must not read them from there.
    BindMergeTable(*object, std::shared_ptr<const TLxCSV>(mergeTable_->Clone()));
    Record(UndoChangedWithTable, place, object->Clone());
    BindMergeTable(*object, mergeTable_);
}

// ---- undo and redo

void EditorSession::Replay(bool redo)
{
    if (!document_ || !(redo ? undo_.CanRedo() : undo_.CanUndo()))
        return;
    ClearMultiSelection();
    const std::int32_t n = redo ? undo_.GetRedoGroupSize() : undo_.GetUndoGroupSize();
    std::vector<std::int32_t> faces;
    // What was applied stays applied, and the design differs from its file.
    const auto finish = [&] {
        ShowFaceOf(faces);
        MarkChanged();
    };
    try {
        for (std::int32_t i = 0; i < n; ++i) {
            UndoStep step = redo ? undo_.PopRedo() : undo_.PopUndo();
            faces.push_back(step.Face);
            Apply(step, redo);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    if (n > 1)
        ClearMultiSelection();
}

// The editor stays on its cell when the group changed it, else goes to the
// first cell the group changed.
void EditorSession::ShowFaceOf(const std::vector<std::int32_t>& faces)
{
    if (faces.empty() || std::find(faces.begin(), faces.end(), currentFace_) != faces.end())
        return;
    const std::int32_t first = *std::min_element(faces.begin(), faces.end());
    if (first >= 0 && first < document_->GetFaceCount())
        currentFace_ = first;
}

void EditorSession::Apply(UndoStep& step, bool redo)
{
    const std::int32_t face = step.Face;
    const std::int32_t index = step.Index;
    switch (step.Action) {
    case UndoAdded:
    case UndoDeleted:
        // Undoing an addition and redoing a deletion remove the object;
        // the other two put the snapshot back.
        if ((step.Action == UndoAdded) != redo) {
            document_->DeleteObject(index, face);
            document_->SetSelectedIndex(-1, face);
            return;
        }
        if (!step.Snapshot)
            throw Error("もどす内容がありません。");
        BindMergeTable(*step.Snapshot, mergeTable_);
        document_->InsertObject(std::move(step.Snapshot), index, face);
        break;
    case UndoMovedFront:
        if (redo)
            document_->MoveObjectFront(index, face);
        else
            document_->MoveObjectBack(index - 1, face);
        break;
    case UndoMovedBack:
        if (redo)
            document_->MoveObjectBack(index, face);
        else
            document_->MoveObjectFront(index + 1, face);
        break;
    case UndoChanged:
    case UndoChangedWithTable:
        if (!step.Snapshot)
            throw Error("もどす内容がありません。");
        if (step.Action == UndoChangedWithTable)
            BindMergeObjectsToTable(face, *step.Snapshot);
        BindMergeTable(*step.Snapshot, mergeTable_);
        document_->ReplaceObject(index, face, std::move(step.Snapshot));
        break;
    default: return;
    }
    document_->SetSelectedIndex(index, face);
}

void EditorSession::BindMergeObjectsToTable(std::int32_t face, const TLxLableObjectBase& restored)
{
    // The restored object holds the table it was bound to at the time. The
    // design's own table takes those rows, so what is shown is also what a
    // save writes, and every merge object keeps reading the design's table.
    const TLxCSV* table = MergeTableOf(restored);
    if (!table || table == mergeTable_.get())
        return;
    *mergeTable_ = *table;
    for (std::int32_t i = 0; i < document_->GetObjectCount(face); ++i)
        BindMergeTable(*document_->GetObject(i, face), mergeTable_);
}

} // namespace lx
