#include "platform/com/PropertyPage.h"

namespace lx {

ComPtr<PropertyPage> CreateFormPropertyPage(PageForm, std::shared_ptr<void>) { return {}; }

} // namespace lx
