#pragma once
#include <string>
#include <utility>

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
    bool saved_ = true;
    bool multiSelecting_ = false;
    std::string fileName_;
};

} // namespace lx
