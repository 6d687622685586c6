#pragma once
// An embeddable control as its host sees it besides the dispatch interface:
// the site that it asks for repaints, its own paint, its property pages and
// the reset of every property to its default.
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/gdi/DeviceContext.h"

namespace lx {

// Implemented by the host that shows a control.
class ControlSite {
public:
    virtual ~ControlSite() = default;
    // The control's area needs painting again (with the background erased).
    virtual void InvalidateControl() = 0;
};

class OleControl : public ComUnknown {
public:
    static constexpr Guid kIid{0x6C780005, 0x0000, 0x4000, {0x80, 0x00, 0x4C, 0x58, 0x43, 0x4F, 0x4D, 0x00}};

    virtual HResult GetClassId(Guid* clsid) = 0;
    // The site stays the host's; null removes it.
    virtual void SetSite(ControlSite* site) = 0;
    // Paints the control into bounds (logical units of dc as the host set it).
    virtual HResult Draw(DeviceContext& dc, const Rect& bounds) = 0;
    // The classes of the property pages, in the order the frame shows them.
    virtual std::vector<Guid> PropertyPageIds() = 0;
    // The reset-state notification: every property back to its default.
    virtual HResult ResetState() = 0;
    // The Properties verb: the control's property pages in a modal frame.
    virtual HResult ShowPropertyPages() { return kNotImplemented; }

protected:
    ~OleControl() = default;
};

} // namespace lx
