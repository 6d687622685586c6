#pragma once

namespace lx {

// The open design's state beyond its content. The editor changes the design
// only through it, so a change can never leave the design counted as saved
// and the user is asked before the work is thrown away.
class EditorSession {
public:
    // A change the design file does not hold yet.
    void MarkChanged() { saved_ = false; }
    // The design matches what is on disk: just saved, opened, or begun anew.
    void MarkSaved() { saved_ = true; }
    bool IsSaved() const { return saved_; }

    // Several objects of the current cell selected together; the objects
    // carry their own marks, this is the editor's mode.
    void BeginMultiSelection() { multiSelecting_ = true; }
    void EndMultiSelection() { multiSelecting_ = false; }
    bool IsMultiSelecting() const { return multiSelecting_; }

private:
    bool saved_ = true;
    bool multiSelecting_ = false;
};

} // namespace lx
