#pragma once
// Property pages and the property frame that shows them: a page edits
// properties of one or more objects through their dispatch interfaces; the
// frame stacks the pages of an object in one dialog with OK, Cancel and
// Apply.
//
// Pages are described as forms (PageForm: fields with labels, positions in
// dialog units and the range each field accepts); the layer builds the
// widgets, so a server library fills a form and never touches the toolkit.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/com/Dispatch.h"
#include "platform/gdi/GdiTypes.h"

namespace lx {

// The standard page for the colour properties of an object (members of the
// colour type), built into the frame.
inline constexpr Guid kStandardColorPageId{0xAC84840D,
                                           0x5A9A,
                                           0x467F,
                                           {0x90, 0x2B, 0x6B, 0x25, 0x67, 0xFD, 0xFC, 0xC6}};

class PropertyPage : public ComUnknown {
public:
    static constexpr Guid kIid{0x6C780006, 0x0000, 0x4000, {0x80, 0x00, 0x4C, 0x58, 0x43, 0x4F, 0x4D, 0x00}};

    // UTF-8 caption of the page's tab.
    virtual std::string Caption() = 0;
    // The objects the page edits; the first one's values fill the page.
    virtual HResult SetObjects(std::span<const ComPtr<Dispatch>> objects) = 0;
    // Builds the page's widgets inside the frame's page area and reads the
    // properties into them.
    virtual HResult Activate(void* pageArea) = 0;
    virtual HResult Deactivate() = 0;
    // Checks every field and writes the changed ones to all objects: kOk;
    // kFalse when a field was refused (its message shown, the focus on it,
    // nothing written); a dispatch failure of a setter as its status.
    virtual HResult Apply() = 0;

protected:
    ~PropertyPage() = default;
};

// One field of a form page, bound to the property of the same name.
struct PageField {
    enum class Kind { Integer, Float, Text };
    std::string property;
    std::string label; // empty: no label
    int controlId = 0;
    Rect labelBox; // dialog units (left, top, right, bottom)
    Rect fieldBox;
    Kind kind = Kind::Integer;
    bool checkRange = false;
    double minimum = 0; // Text: 0
    double maximum = 0; // Text: the longest text in characters
    bool multiLine = false;
    bool border = true;
};

struct PageForm {
    std::string caption; // UTF-8
    Size size; // dialog units
    std::vector<PageField> fields;
};

// A property page that shows `form`. `keepAlive` lives as long as the page
// (a server library passes its live-object token).
ComPtr<PropertyPage> CreateFormPropertyPage(PageForm form, std::shared_ptr<void> keepAlive = {});

} // namespace lx
