#pragma once
#include <array>
#include <optional>
#include <vector>

namespace lx {

// The pen, brush and font handles a metafile recorder had selected at each
// SaveDC, so that a RestoreDC record can be followed by the same selections.
template <class Handle>
class SavedSelections {
public:
    void Push(Handle pen, Handle brush, Handle font) { saved_.push_back({pen, brush, font}); }

    // Takes back the selections of a RestoreDC level (negative: relative,
    // positive: absolute) and returns the relative level to record, or
    // nothing when no such saved state exists.
    std::optional<int> Pop(int level, Handle& pen, Handle& brush, Handle& font)
    {
        const int depth = static_cast<int>(saved_.size());
        const int relative = level < 0 ? level : level - 1 - depth;
        if (level == 0 || -relative > depth)
            return std::nullopt;
        const auto kept = static_cast<std::size_t>(depth + relative);
        pen = saved_[kept][0];
        brush = saved_[kept][1];
        font = saved_[kept][2];
        saved_.resize(kept);
        return relative;
    }

private:
    std::vector<std::array<Handle, 3>> saved_;
};

} // namespace lx
