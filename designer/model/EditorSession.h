#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "designer/model/LxCSV.h"
#include "designer/model/LxDesignFile.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLblInfo.h"
#include "designer/model/LxUndoManager.h"

namespace lx {

// One object's state as an undo record keeps it.
struct ObjectState {
    std::int32_t Index = 0;
    std::unique_ptr<TLxLableObjectBase> Snapshot;
};

// The design open in the editor: its content, layout, merge table and undo
// history, with its file name, unsaved flag and selection mode. Every undo
// record is made here, and recording a change also counts the design
// unsaved, so no recorded change leaves the design counted as saved and the
// user is asked before the work is thrown away.
class EditorSession {
public:
    EditorSession();
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // ---- The open design. Document and history are null while no design
    // is being edited; the layout is null until a paper was chosen.
    TlxLabelManager* Document() const { return document_.get(); }
    const TlxLblInfo* Layout() const { return layout_.get(); }
    const TlxUndoManager* Undo() const { return undo_.get(); }
    // The table every merge object of the design reads; always there.
    const std::shared_ptr<TLxCSV>& MergeTable() const { return mergeTable_; }

    // ---- Opening and closing.
    // A design just read becomes the open one; the old one goes first. It
    // matches its file: saved, with an empty history.
    void Open(Design design, std::string fileName);
    // A new design on the paper of layout. A document still open (a
    // template not laid onto the new paper yet) keeps the layout it refers
    // to alive until it is replaced or closed.
    void BeginNew(TlxLblInfo layout);
    // The content laid anew onto the current layout (made for it); the old
    // document and the layout kept for it are released.
    void ReplaceDocument(std::unique_ptr<TlxLabelManager> document);
    // Editing starts: an empty document for the layout unless one is open,
    // and a fresh history.
    void BeginEditing();
    // The user gave the design up: nothing is left to save, and its file
    // name and merge rows are forgotten.
    void Abandon();
    // Releases the history, the document and the layout kept for it; the
    // layout and the merge table wait for the next design.
    void Close();

    // ---- Changes.
    // The state of an object before an edit; the edit's after-state follows
    // with RecordChange.
    void RecordBefore(std::int32_t action, std::int32_t index, std::unique_ptr<TLxLableObjectBase> state);
    // A change with its undo record (the after-state of an edit, or an
    // addition, deletion or reordering); the design is now unsaved.
    void RecordChange(std::int32_t action, std::int32_t index, std::unique_ptr<TLxLableObjectBase> state);
    // The after-state of an edit that turned out to change nothing: undo and
    // redo stay paired and the design keeps its saved state.
    void RecordUnchanged(std::int32_t action, std::int32_t index, std::unique_ptr<TLxLableObjectBase> state);
    // The same for several objects changed together: undone as one group.
    void RecordGroupBefore(std::int32_t action, std::vector<ObjectState> states);
    void RecordGroupChange(std::int32_t action, std::vector<ObjectState> states);
    // A change undo cannot take back: the history no longer fits the design
    // and is dropped.
    void RecordIrreversibleChange();
    // A change that has no undo record (cells, pictures, layout of the page).
    void MarkChanged() { saved_ = false; }
    // The history no longer fits what is shown (another cell was chosen);
    // the design itself is unchanged.
    void ForgetUndo();

    // Undoes (redoes) the newest group, handing each record to apply in
    // turn; the design counts as changed once the whole group is applied.
    // Returns the size of the group.
    using ApplyStep = std::function<void(UndoStep&)>;
    std::int32_t UndoGroup(const ApplyStep& apply) { return Replay(false, apply); }
    std::int32_t RedoGroup(const ApplyStep& apply) { return Replay(true, apply); }

    // ---- The merge table.
    // Reads path into the design's table in place, so every object bound to
    // it sees the new rows; a change when read. False when the file cannot
    // be opened; a malformed file throws ReadError and leaves the table.
    // `choose` is asked about text that reads two ways (TLxCSV::LoadFromFile).
    bool LoadMergeTable(const std::string& path, const EncodingChooser& choose = {});
    // Empties the table: a change of the design.
    void ClearMergeTable();
    // The rows an undo record was bound to come back into the design's
    // table (part of an undo step, which counts the change).
    void RestoreMergeRows(const TLxCSV& rows) { *mergeTable_ = rows; }

    // ---- Saved state, file name, selection mode.
    // The design matches what is on disk: just saved, opened, or begun anew.
    void MarkSaved() { saved_ = true; }
    bool IsSaved() const { return saved_; }

    // File-name part of the open design (CP932); empty for a new design or
    // a template.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }
    void ForgetFileName() { fileName_.clear(); }

    // Several objects of the current cell selected together; the objects
    // carry their own marks, this is the editor's mode.
    void BeginMultiSelection() { multiSelecting_ = true; }
    void EndMultiSelection() { multiSelecting_ = false; }
    bool IsMultiSelecting() const { return multiSelecting_; }

private:
    void PushGroup(std::int32_t action, std::vector<ObjectState> states, bool before);
    std::int32_t Replay(bool redo, const ApplyStep& apply);

    // Declared in the order of their lifetimes: the document refers to the
    // layouts and the merge table, the history's records to the table.
    std::shared_ptr<TLxCSV> mergeTable_;
    std::unique_ptr<TlxLblInfo> layout_;
    std::unique_ptr<TlxLblInfo> retainedLayout_;
    std::unique_ptr<TlxLabelManager> document_;
    std::unique_ptr<TlxUndoManager> undo_;
    bool saved_ = true;
    bool multiSelecting_ = false;
    std::string fileName_;
};

} // namespace lx
