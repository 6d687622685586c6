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
#include "platform/metafile/EnhMetafile.h"

namespace lx {

// Writes an object's new state in place.
using ObjectEdit = std::function<void(TLxLableObjectBase&)>;

// What pasting a copied cell's design did.
enum class PasteResult { NoSource, SameCell, Pasted };

// The design open in the editor and every change made to it: its content,
// layout, merge table, undo history, file name, unsaved flag, the label cell
// being edited and the selection there. The editor's windows read the
// design and ask for changes; each edit records its undo step on its own
// cell and counts the design unsaved, so no change goes unrecorded and no
// step is replayed onto another cell's objects.
class EditorSession {
public:
    EditorSession();
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // ---- The open design. The document is null while no design is open;
    // the layout is null until a paper was chosen.
    const TlxLabelManager* Document() const { return document_.get(); }
    const TlxLblInfo* Layout() const { return layout_.get(); }
    // The table every merge object of the design reads; always there.
    std::shared_ptr<const TLxCSV> MergeTable() const { return mergeTable_; }
    bool IsSaved() const { return saved_; }
    // File-name part of the open design (CP932); empty for a new design or
    // a template.
    const std::string& FileName() const { return fileName_; }
    // Begun on a paper (a template laid onto one included) rather than read.
    bool IsNewDesign() const { return newDesign_; }

    // ---- Opening, saving and closing. Each road leaves the design ready to
    // edit: laid onto its layout, saved, with an empty history, cell 0
    // current and nothing selected.
    // A design just read becomes the open one; the old one goes first.
    void Open(Design design, std::string fileName);
    // Reads a design file whole, then opens it under the file's name. A
    // file that cannot be read throws and leaves the open design as it was.
    void Load(const std::string& path);
    // The same for a template: the design carries no file name.
    void LoadTemplate(const std::string& path);
    // Writes the design; it is then saved under that file's name. A failed
    // write throws and changes neither.
    void Save(const std::string& path);
    // A new design on the paper of layout. A template still open is laid
    // onto it: onto more cells its cells move into a new document, each
    // bound to its own record; otherwise it keeps every cell. Either way
    // the cells take the new sizes and the paper decides the mode.
    void BeginNew(TlxLblInfo layout);
    // The user gave the design up: nothing is left to save, and its file
    // name and merge rows are forgotten.
    void Abandon();
    // Releases the history, the document and the layout kept for it; the
    // layout and the merge table wait for the next design.
    void Close();

    // ---- The label cell being edited and its selection. Choosing and
    // selecting never change the design.
    std::int32_t CurrentFace() const { return currentFace_; }
    // Another cell to edit (a cell the document has); the multi-selection
    // ends. The history stays: its steps know their cells.
    void ChooseFace(std::int32_t face);
    // The selected object of the current cell: its index (-1 none) and the
    // object (null none).
    std::int32_t SelectedIndex() const;
    const TLxLableObjectBase* SelectedObject() const;
    void Select(std::int32_t index);
    // Several objects selected together: the objects carry their own member
    // marks, the session the mode.
    bool IsMultiSelecting() const { return multiSelecting_; }
    void BeginMultiSelection() { multiSelecting_ = true; }
    void EndMultiSelection() { multiSelecting_ = false; }
    // The indexes of the current cell's marked objects, front first.
    std::vector<std::int32_t> Members() const;
    void SetMember(std::int32_t index, bool member);
    void ClearMembers();
    // Ends the multi-selection, and nothing of the cell stays selected.
    void ClearMultiSelection();
    // The design guide over the label; a view setting, not a change.
    void SetShowGuide(bool show);

    // ---- Edits of the current cell. Each is one undo step on that cell
    // and leaves the design unsaved; without a selection (or a design) the
    // edits of the selected object do nothing.
    // A new object of the kind in front, selected; a merge kind reads the
    // design's merge table.
    void AddObject(std::uint8_t kind);
    void DeleteSelected();
    // One step to the front (back); false when it is there already.
    bool MoveSelectedFront();
    bool MoveSelectedBack();
    // Moves the objects by dx, dy millimetres, as one step.
    void MoveObjects(const std::vector<std::int32_t>& indexes, double dx, double dy);
    // The same, each new position kept to one decimal as the panel fields
    // show it.
    void NudgeObjects(const std::vector<std::int32_t>& indexes, double dx, double dy);
    void RenameSelected(std::string name);
    // Any other edit of the selected object (a property page, a resize):
    // its state before and after are the step. An edit inside another one
    // writes into the same step.
    void EditSelected(const ObjectEdit& edit);

    // ---- Copying a cell's design to other cells. The source is read when
    // pasting, so edits made to it after the copy are pasted too.
    // False, and nothing chosen, when the current cell is empty.
    bool CopyCurrentFace();
    std::int32_t CopySourceFace() const { return copySourceFace_; }
    // Pastes onto the current cell (onto every cell), one step.
    PasteResult PasteFace();
    PasteResult PasteFaceOnAll();

    // ---- Changes undo cannot take back: each drops the history.
    // Empties the current cell; DeleteDesign empties the merge table too.
    void DeleteFaceDesign();
    void DeleteDesign();
    // Single to multi: the current cell loses its merge and serial objects.
    // Multi to single: the current cell's design becomes cell 0's, the only
    // one, and cell 0 becomes current.
    void SwitchMode();

    // ---- The merge table.
    // Reads path into the design's table in place, so every object bound to
    // it sees the new rows; a change when read. False when the file cannot
    // be opened; a malformed file throws ReadError and leaves the table.
    // `choose` is asked about text that reads two ways (TLxCSV::LoadFromFile).
    bool LoadMergeTable(const std::string& path, const EncodingChooser& choose = {});
    // After the table was read anew: the selected merge object is recorded
    // as changed with the table, so that undo brings previous's rows back
    // into the design's table and redo today's.
    void RebindSelectedMergeObject(const std::shared_ptr<const TLxCSV>& previous);

    // ---- Undo and redo, a whole group at a time. The group's cell becomes
    // the current one unless the current one is among its cells. A group of
    // several objects leaves nothing selected. A record that cannot be
    // applied throws; what was applied before it stays.
    bool CanUndo() const { return undo_.CanUndo(); }
    bool CanRedo() const { return undo_.CanRedo(); }
    void Undo() { Replay(false); }
    void Redo() { Replay(true); }

    // ---- The current cell drawn for the screen. Drawing fits text objects'
    // boxes to their text, which is no change of the design.
    EnhMetafile RenderCurrentFace();

private:
    void MarkChanged() { saved_ = false; }
    void MarkSaved() { saved_ = true; }
    void StartEditing();
    void LayOntoLayout();
    TLxLableObjectBase* Selected();
    ObjectPlace At(std::int32_t index) const { return {currentFace_, index}; }
    std::unique_ptr<TLxLableObjectBase> CloneAt(ObjectPlace place) const;
    void RecordGroup(std::int32_t key, std::int32_t action, const std::vector<ObjectPlace>& places, bool before);
    void Record(std::int32_t action, ObjectPlace place, std::unique_ptr<TLxLableObjectBase> snapshot);
    void ChangeObjects(const std::vector<std::int32_t>& indexes, const ObjectEdit& edit);
    bool HasCopySource() const;
    void Paste(const std::vector<std::int32_t>& targets);
    void RecordIrreversibleChange();
    void Replay(bool redo);
    void Apply(UndoStep& step, bool redo);
    void BindMergeObjectsToTable(std::int32_t face, const TLxLableObjectBase& restored);
    void ShowFaceOf(const std::vector<std::int32_t>& faces);

    // Declared in the order of their lifetimes: the document refers to the
    // layouts and the merge table, the history's records to the table.
    std::shared_ptr<TLxCSV> mergeTable_;
    std::unique_ptr<TlxLblInfo> layout_;
    // The layout a document still reads after another paper was chosen.
    std::unique_ptr<TlxLblInfo> retainedLayout_;
    std::unique_ptr<TlxLabelManager> document_;
    TlxUndoManager undo_;
    // The object an edit is writing, while it runs.
    TLxLableObjectBase* editing_ = nullptr;
    std::string fileName_;
    std::int32_t currentFace_ = 0;
    std::int32_t copySourceFace_ = -1;
    bool saved_ = true;
    bool multiSelecting_ = false;
    bool newDesign_ = false;
};

} // namespace lx
