#pragma once
// The design editor's undo and redo history: one list of records with a
// cursor. Records pushed for one user action share a group key, and undo and
// redo always move by a whole group. An edit is recorded as two groups, the
// objects' states before it and after it; when the next edit begins on the
// same objects, the previous after-state group gives way to the new
// before-state group (they hold the same states), so the history does not
// keep a state twice. At most ten groups are kept.
#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "designer/model/LxLabelBase.h"

namespace lx {

// What a record reverses, as the editor records it.
enum UndoAction : std::int32_t {
    UndoAdded = 0, // no snapshot
    UndoDeleted = 1, // the deleted object
    UndoMovedFront = 2, // no snapshot
    UndoMovedBack = 3, // no snapshot
    UndoChanged = 4, // the object's state before or after the change
    UndoChangedWithTable = 5, // as 4, changed together with the merge table
};

// Where a record's object lies: its label cell and its index in the cell's
// object list. A record names its cell, so it is never replayed onto
// another cell's objects.
struct ObjectPlace {
    std::int32_t Face = 0;
    std::int32_t Index = 0;
    auto operator<=>(const ObjectPlace&) const = default;
};

// One step on one object of a label cell.
class TlxUndoObject {
public:
    // The record owns the snapshot (may be null).
    TlxUndoObject(std::int32_t key, std::int32_t action, ObjectPlace place,
                  std::unique_ptr<TLxLableObjectBase> snapshot);

    std::int32_t GetAction() const { return action_; }
    std::int32_t GetKey() const { return key_; }
    std::int32_t GetFace() const { return place_.Face; }
    std::int32_t GetIndex() const { return place_.Index; }
    ObjectPlace GetPlace() const { return place_; }
    const TLxLableObjectBase* GetSnapshot() const { return snapshot_.get(); }

private:
    std::unique_ptr<TLxLableObjectBase> snapshot_;
    std::int32_t action_;
    std::int32_t key_;
    ObjectPlace place_;
};

// What a pop hands back: a clone of the record's snapshot (or null), owned
// by the caller, with the record's action, cell and index.
struct UndoStep {
    std::unique_ptr<TLxLableObjectBase> Snapshot;
    std::int32_t Action = 0;
    std::int32_t Face = 0;
    std::int32_t Index = 0;
};

class TlxUndoManager {
public:
    static constexpr int kMaxGroups = 10;

    TlxUndoManager() = default;
    TlxUndoManager(const TlxUndoManager&) = delete;
    TlxUndoManager& operator=(const TlxUndoManager&) = delete;

    // Records one step. merge is the editor's before-state flag: set for the
    // states before an edit (actions 4 and 5), clear for everything else. A
    // push drops the redo tail, except the after-state of an edit that is
    // still applied.
    void PushUndo(std::int32_t key, std::int32_t action, ObjectPlace place,
                  std::unique_ptr<TLxLableObjectBase> snapshot, bool merge);
    // One record of the group that the next undo (redo) restores; call them
    // GetUndoGroupSize (GetRedoGroupSize) times in a row. Without CanUndo
    // (CanRedo) they throw ListIndexError.
    UndoStep PopUndo();
    UndoStep PopRedo();
    // The size of the group the next undo (redo) restores; 0 when none.
    std::int32_t GetUndoGroupSize() const;
    std::int32_t GetRedoGroupSize() const;
    bool CanUndo() const;
    bool CanRedo() const;
    // True when the cursor stands on the newest record.
    bool IsAtEnd() const;
    void Clear();
    // A key never made before by this history (strictly increasing), so two
    // user actions never share a group by chance.
    std::int32_t NewUndoGroupKey();
    // Drops the oldest groups while there are more than kMaxGroups.
    void TrimUndoGroups();

private:
    enum class LastPop { None, Undo, Redo };

    struct Entry {
        TlxUndoObject record;
        bool beforeState; // restored by undo
        bool afterState; // restored by redo
    };

    bool IsChange(std::int32_t i) const;
    std::int32_t KeyAt(std::int32_t i) const;
    std::int32_t GroupStart(std::int32_t last) const;
    std::int32_t GroupEnd(std::int32_t first) const;
    bool HoldsCurrentStateForUndo(std::int32_t i) const;
    bool HoldsCurrentStateForRedo(std::int32_t i) const;
    std::int32_t UndoTarget() const;
    std::int32_t RedoTarget() const;
    UndoStep Take(std::int32_t i, std::int32_t cursor, LastPop pop);
    void DropRedoTail();
    void SetGroupRoles(std::int32_t first, std::int32_t last, bool before, bool after);
    void NoteMergeCandidate(std::int32_t action, bool merge);
    void MergeIntoNewGroup();

    std::vector<Entry> entries_;
    std::int32_t cursor_ = -1;
    LastPop lastPop_ = LastPop::None;
    // The after-state group that the before-state group being pushed
    // replaces once it holds all of that group's objects.
    struct MergeCandidate {
        std::int32_t key;
        std::vector<ObjectPlace> missingPlaces; // sorted
    };
    std::optional<MergeCandidate> mergeCandidate_;
    std::int32_t lastKey_ = 0;
};

} // namespace lx
