#include "designer/model/LxUndoManager.h"

#include <algorithm>
#include <limits>

#include "designer/model/LxLabelObjectManager.h"

namespace lx {

namespace {

bool IsChangeAction(std::int32_t action) { return action == UndoChanged || action == UndoChangedWithTable; }

} // namespace

TlxUndoObject::TlxUndoObject(std::int32_t key, std::int32_t action, ObjectPlace place,
                             std::unique_ptr<TLxLableObjectBase> snapshot)
    : snapshot_(std::move(snapshot)), action_(action), key_(key), place_(place)
{
}

// ---- groups and roles
//
// A change record (action 4 or 5) holds a before-state (undo restores it), an
// after-state (redo restores it), or both when a before-state group has taken
// the place of the previous edit's after-state group. The cursor stands on
// the newest record that is applied; a group at the cursor that holds the
// objects' current state is stepped over, so that every undo and redo shows
// a change.

bool TlxUndoManager::IsChange(std::int32_t i) const
{
    return IsChangeAction(entries_[static_cast<std::size_t>(i)].record.GetAction());
}

std::int32_t TlxUndoManager::KeyAt(std::int32_t i) const
{
    return entries_[static_cast<std::size_t>(i)].record.GetKey();
}

std::int32_t TlxUndoManager::GroupStart(std::int32_t last) const
{
    std::int32_t first = last;
    while (first > 0 && KeyAt(first - 1) == KeyAt(last))
        --first;
    return first;
}

std::int32_t TlxUndoManager::GroupEnd(std::int32_t first) const
{
    const auto count = static_cast<std::int32_t>(entries_.size());
    std::int32_t last = first;
    while (last + 1 < count && KeyAt(last + 1) == KeyAt(first))
        ++last;
    return last;
}

// Right after an undo, a group that is both a before- and an after-state is
// the state the undo left behind only in its before role: it is still to be
// restored.
bool TlxUndoManager::HoldsCurrentStateForUndo(std::int32_t i) const
{
    const Entry& entry = entries_[static_cast<std::size_t>(i)];
    return IsChange(i) && entry.afterState && !(lastPop_ == LastPop::Undo && entry.beforeState);
}

bool TlxUndoManager::HoldsCurrentStateForRedo(std::int32_t i) const
{
    const Entry& entry = entries_[static_cast<std::size_t>(i)];
    return IsChange(i) && entry.beforeState && !(lastPop_ == LastPop::Redo && entry.afterState);
}

// The newest record of the group the next undo restores; -1 for none.
std::int32_t TlxUndoManager::UndoTarget() const
{
    if (cursor_ < 0)
        return -1;
    return HoldsCurrentStateForUndo(cursor_) ? GroupStart(cursor_) - 1 : cursor_;
}

// The oldest record of the group the next redo restores; the record count
// for none.
std::int32_t TlxUndoManager::RedoTarget() const
{
    const auto count = static_cast<std::int32_t>(entries_.size());
    std::int32_t next = cursor_ + 1;
    if (next < count && HoldsCurrentStateForRedo(next))
        next = GroupEnd(next) + 1;
    return std::min(next, count);
}

std::int32_t TlxUndoManager::GetUndoGroupSize() const
{
    const std::int32_t target = UndoTarget();
    return target < 0 ? 0 : target - GroupStart(target) + 1;
}

std::int32_t TlxUndoManager::GetRedoGroupSize() const
{
    const std::int32_t target = RedoTarget();
    return target >= static_cast<std::int32_t>(entries_.size()) ? 0 : GroupEnd(target) - target + 1;
}

bool TlxUndoManager::CanUndo() const { return UndoTarget() >= 0; }
bool TlxUndoManager::CanRedo() const { return RedoTarget() < static_cast<std::int32_t>(entries_.size()); }
bool TlxUndoManager::IsAtEnd() const
{
    return !entries_.empty() && cursor_ == static_cast<std::int32_t>(entries_.size()) - 1;
}

// ---- pops

UndoStep TlxUndoManager::Take(std::int32_t i, std::int32_t cursor, LastPop pop)
{
    const TlxUndoObject& record = entries_[static_cast<std::size_t>(i)].record;
    UndoStep step{record.GetSnapshot() ? record.GetSnapshot()->Clone() : nullptr, record.GetAction(), record.GetFace(),
                  record.GetIndex()};
    cursor_ = cursor;
    lastPop_ = pop;
    mergeCandidate_.reset();
    return step;
}

UndoStep TlxUndoManager::PopUndo()
{
    const std::int32_t target = UndoTarget();
    if (target < 0)
        throw ListIndexError(target);
    return Take(target, target - 1, LastPop::Undo);
}

UndoStep TlxUndoManager::PopRedo()
{
    const std::int32_t target = RedoTarget();
    if (target >= static_cast<std::int32_t>(entries_.size()))
        throw ListIndexError(target);
    return Take(target, target, LastPop::Redo);
}

// ---- pushes

void TlxUndoManager::SetGroupRoles(std::int32_t first, std::int32_t last, bool before, bool after)
{
    for (std::int32_t i = first; i <= last; ++i) {
        entries_[static_cast<std::size_t>(i)].beforeState = before;
        entries_[static_cast<std::size_t>(i)].afterState = after;
    }
}

void TlxUndoManager::DropRedoTail()
{
    if (cursor_ + 1 < static_cast<std::int32_t>(entries_.size())) {
        // An undo that restored a before-state which is also the after-state
        // of the edit before it leaves that edit applied: its after-state
        // stays, or that edit could never be redone.
        const std::int32_t next = cursor_ + 1;
        if (lastPop_ == LastPop::Undo && IsChange(next) && entries_[static_cast<std::size_t>(next)].afterState)
            cursor_ = GroupEnd(next);
        entries_.erase(entries_.begin() + (cursor_ + 1), entries_.end());
        // The edit that the group at the cursor was the before-state of is gone.
        if (cursor_ >= 0 && IsChange(cursor_) && entries_[static_cast<std::size_t>(cursor_)].afterState)
            SetGroupRoles(GroupStart(cursor_), cursor_, false, true);
    }
    lastPop_ = LastPop::None;
}

// The after-state group of the previous edit gives way to the new
// before-state group once the new group holds every object of it: their
// states are the same. A new group about other objects leaves it in place,
// so both edits stay undoable and redoable.
void TlxUndoManager::NoteMergeCandidate(std::int32_t action, bool merge)
{
    mergeCandidate_.reset();
    if (!IsChangeAction(action) || !merge || cursor_ < 0)
        return;
    MergeCandidate candidate{KeyAt(cursor_), {}};
    for (std::int32_t i = GroupStart(cursor_); i <= cursor_; ++i) {
        const Entry& entry = entries_[static_cast<std::size_t>(i)];
        if (entry.record.GetAction() != UndoChanged || !entry.afterState)
            return;
        candidate.missingPlaces.push_back(entry.record.GetPlace());
    }
    std::sort(candidate.missingPlaces.begin(), candidate.missingPlaces.end());
    mergeCandidate_ = std::move(candidate);
}

void TlxUndoManager::MergeIntoNewGroup()
{
    std::vector<ObjectPlace>& missing = mergeCandidate_->missingPlaces;
    const ObjectPlace place = entries_[static_cast<std::size_t>(cursor_)].record.GetPlace();
    const auto [from, to] = std::equal_range(missing.begin(), missing.end(), place);
    missing.erase(from, to);
    if (!missing.empty())
        return;
    const std::int32_t newFirst = GroupStart(cursor_);
    const std::int32_t oldLast = newFirst - 1;
    if (oldLast >= 0 && KeyAt(oldLast) == mergeCandidate_->key) {
        const std::int32_t oldFirst = GroupStart(oldLast);
        entries_.erase(entries_.begin() + oldFirst, entries_.begin() + oldLast + 1);
        cursor_ -= oldLast - oldFirst + 1;
        SetGroupRoles(GroupStart(cursor_), cursor_, true, true);
    }
    mergeCandidate_.reset();
}

void TlxUndoManager::PushUndo(std::int32_t key, std::int32_t action, ObjectPlace place,
                              std::unique_ptr<TLxLableObjectBase> snapshot, bool merge)
{
    DropRedoTail();
    const bool change = IsChangeAction(action);
    const bool continuesGroup = cursor_ >= 0 && KeyAt(cursor_) == key;
    if (!continuesGroup)
        NoteMergeCandidate(action, merge);
    else if (!change || !merge)
        mergeCandidate_.reset(); // a group of mixed records replaces nothing
    const bool groupHoldsAfterState = continuesGroup && entries_[static_cast<std::size_t>(cursor_)].afterState;
    entries_.push_back(Entry{TlxUndoObject(key, action, place, std::move(snapshot)), change && merge,
                             change && (!merge || groupHoldsAfterState)});
    cursor_ = static_cast<std::int32_t>(entries_.size()) - 1;
    if (mergeCandidate_)
        MergeIntoNewGroup();
    TrimUndoGroups();
}

void TlxUndoManager::TrimUndoGroups()
{
    const auto groupCount = [this] {
        int groups = 0;
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (i == 0 || entries_[i].record.GetKey() != entries_[i - 1].record.GetKey())
                ++groups;
        return groups;
    };
    while (groupCount() > kMaxGroups) {
        const std::int32_t removed = GroupEnd(0) + 1;
        entries_.erase(entries_.begin(), entries_.begin() + removed);
        cursor_ = std::max(cursor_ - removed, -1);
    }
}

void TlxUndoManager::Clear()
{
    entries_.clear();
    cursor_ = -1;
    lastPop_ = LastPop::None;
    mergeCandidate_.reset();
}

std::int32_t TlxUndoManager::NewUndoGroupKey()
{
    // 0 is never a key; after two thousand million keys the count starts over.
    lastKey_ = lastKey_ < std::numeric_limits<std::int32_t>::max() ? lastKey_ + 1 : 1;
    return lastKey_;
}

} // namespace lx
