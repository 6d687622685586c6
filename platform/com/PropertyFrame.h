#pragma once
// The property frame: one dialog that stacks the property pages of some
// objects (created by class identifier; the standard colour page is built
// in) under tabs, with OK, Cancel and Apply.
#include <memory>
#include <string>
#include <vector>

#include "platform/com/PropertyPage.h"

namespace lx {

class PropertyFrame {
public:
    // Pages whose class cannot be created are left out.
    PropertyFrame(std::string captionUtf8, std::vector<ComPtr<Dispatch>> objects, std::vector<Guid> pageIds);
    ~PropertyFrame();
    PropertyFrame(const PropertyFrame&) = delete;
    PropertyFrame& operator=(const PropertyFrame&) = delete;

    int PageCount() const;
    std::string PageCaption(int index) const;
    // Applies every page in order; false as soon as one refuses.
    bool Apply();
    // Shows the frame without waiting (it stays until the frame goes).
    void Show();
    // Shows it modally; true when it was closed with OK.
    bool Exec();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A new standard colour page: every colour property of the objects, each
// chosen through the colour dialog of the message service.
ComPtr<PropertyPage> CreateStandardColorPage();

// Dialog units (the layout unit of the system's dialog forms) in pixels of
// the application's dialog font.
Rect DialogUnitsToPixels(const Rect& dialogUnits);

} // namespace lx
