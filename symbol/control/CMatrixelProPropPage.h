#pragma once
// The control's own property page, "General": every numeric property and
// InputData as an edit field, each checked against the page's own range
// before anything reaches the control.
#include "platform/com/PropertyPage.h"

namespace lx {

// The page's form (caption, size and fields in exchange order).
PageForm MatrixelProPageForm();
// A new page object (the class kMatrixelProPageClassId).
ComPtr<PropertyPage> CreateMatrixelProPropPage();

} // namespace lx
