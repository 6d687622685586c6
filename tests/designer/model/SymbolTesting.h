#pragma once
// Helpers of the symbol-object tests. The freshly built control library is
// registered into a registry store of the test run's own before any test of
// this binary starts, so every symbol object finds its control the way the
// designer does. A recorder can stand between the objects and their controls
// to log every call (and fail chosen ones), and symbol pictures can be read
// back with zxing-cpp.
#include <cstdint>
#include <string>
#include <vector>

#include <ZXing/BarcodeFormat.h>

#include "designer/model/LxLabelBase.h"
#include "platform/com/Dispatch.h"
#include "platform/image/Bitmap.h"
#include "platform/image/Picture.h"
#include "support/Decoders.h"
#include "support/SymbolImages.h"

namespace lxtest {

// One call a control received: "EccLevel=1", "InputData=HELLO" (CP932 as it
// came), "Refresh", "QrImageCopy(1)".
using ControlCalls = std::vector<std::string>;

// While it lives, every new control is a recorder in front of a real one;
// Calls() lists the calls of all of them in order. Calls of the member
// named by FailNext (for example "QrImageCopy") fail that many times.
class ControlRecorder {
public:
    ControlRecorder();
    ~ControlRecorder();
    ControlRecorder(const ControlRecorder&) = delete;
    ControlRecorder& operator=(const ControlRecorder&) = delete;

    const ControlCalls& Calls() const;
    void Clear();
    void FailNext(const std::string& member, int times);
    int ControlsMade() const;
};

// While it lives, no control can be created.
class NoControl {
public:
    NoControl();
    ~NoControl();
};

// A clone of a symbol object makes one control of its own and renders on it
// once.
void ExpectCloneRendersOnceOnItsOwnControl(const lx::TLxLableObjectBase& object);

} // namespace lxtest
