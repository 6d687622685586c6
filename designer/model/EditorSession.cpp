#include "designer/model/EditorSession.h"

namespace lx {

EditorSession::EditorSession() : mergeTable_(std::make_shared<TLxCSV>()) {}

EditorSession::~EditorSession() { Close(); }

void EditorSession::Open(Design design, std::string fileName)
{
    document_.reset();
    retainedLayout_.reset();
    mergeTable_ = std::move(design.MergeTable);
    layout_ = std::move(design.SheetLayout);
    document_ = std::move(design.Document);
    if (undo_)
        undo_->Clear();
    fileName_ = std::move(fileName);
    MarkSaved();
}

void EditorSession::BeginNew(TlxLblInfo layout)
{
    // The document reads the layout kept for it if there is one, else the
    // current one.
    if (document_ && !retainedLayout_)
        retainedLayout_ = std::move(layout_);
    layout_ = std::make_unique<TlxLblInfo>(std::move(layout));
    EndMultiSelection();
    ForgetFileName();
    MarkSaved();
}

void EditorSession::ReplaceDocument(std::unique_ptr<TlxLabelManager> document)
{
    document_ = std::move(document);
    retainedLayout_.reset();
}

void EditorSession::BeginEditing()
{
    if (!document_)
        document_ = std::make_unique<TlxLabelManager>(layout_->LabelCount, *layout_);
    undo_ = std::make_unique<TlxUndoManager>();
}

void EditorSession::Abandon()
{
    MarkSaved();
    ForgetFileName();
    mergeTable_->Clear();
}

void EditorSession::Close()
{
    undo_.reset();
    document_.reset();
    retainedLayout_.reset();
}

namespace {

std::vector<ObjectState> One(std::int32_t index, std::unique_ptr<TLxLableObjectBase> state)
{
    std::vector<ObjectState> states;
    states.push_back({index, std::move(state)});
    return states;
}

} // namespace

void EditorSession::PushGroup(std::int32_t action, std::vector<ObjectState> states, bool before)
{
    if (!undo_)
        return;
    const std::int32_t key = undo_->NewUndoGroupKey();
    for (ObjectState& state : states)
        undo_->PushUndo(key, action, state.Index, std::move(state.Snapshot), before);
}

void EditorSession::RecordBefore(std::int32_t action, std::int32_t index, std::unique_ptr<TLxLableObjectBase> state)
{
    PushGroup(action, One(index, std::move(state)), true);
}

void EditorSession::RecordUnchanged(std::int32_t action, std::int32_t index, std::unique_ptr<TLxLableObjectBase> state)
{
    PushGroup(action, One(index, std::move(state)), false);
}

void EditorSession::RecordChange(std::int32_t action, std::int32_t index, std::unique_ptr<TLxLableObjectBase> state)
{
    RecordGroupChange(action, One(index, std::move(state)));
}

void EditorSession::RecordGroupBefore(std::int32_t action, std::vector<ObjectState> states)
{
    PushGroup(action, std::move(states), true);
}

void EditorSession::RecordGroupChange(std::int32_t action, std::vector<ObjectState> states)
{
    PushGroup(action, std::move(states), false);
    MarkChanged();
}

void EditorSession::RecordIrreversibleChange()
{
    ForgetUndo();
    MarkChanged();
}

void EditorSession::ForgetUndo()
{
    if (undo_)
        undo_->Clear();
}

std::int32_t EditorSession::Replay(bool redo, const ApplyStep& apply)
{
    if (!undo_)
        return 0;
    const std::int32_t n = redo ? undo_->GetRedoGroupSize() : undo_->GetUndoGroupSize();
    for (std::int32_t i = 0; i < n; ++i) {
        UndoStep step = redo ? undo_->PopRedo() : undo_->PopUndo();
        apply(step);
    }
    MarkChanged();
    return n;
}

bool EditorSession::LoadMergeTable(const std::string& path, const EncodingChooser& choose)
{
    if (!mergeTable_->LoadFromFile(path, choose))
        return false;
    MarkChanged();
    return true;
}

void EditorSession::ClearMergeTable()
{
    mergeTable_->Clear();
    MarkChanged();
}

} // namespace lx
