#pragma once
// TMatrixelPro: the designer's host of the symbol-encoder control. Each
// symbol object creates its own instance, with no owner and no window, by
// the control's class identifier through the component layer; the setters
// put the control's enumerated-integer properties and its data by dispatch
// identifier, and nothing is ever read back. Also the host's half of the
// symbol road: the control copies its symbol to a clipboard private to this
// process, the objects take it back from there.
#include <cstdint>
#include <string_view>

#include "platform/com/ComObject.h"
#include "platform/com/Dispatch.h"
#include "platform/image/Bitmap.h"
#include "platform/image/Picture.h"

namespace lx {

class TMatrixelPro {
public:
    // A new control of the registered class. Throws Error when the class is
    // not registered or its library cannot be loaded.
    TMatrixelPro();
    // A host of a given dispatch interface (tests put a recorder in front).
    explicit TMatrixelPro(ComPtr<Dispatch> control);
    ~TMatrixelPro();
    TMatrixelPro(const TMatrixelPro&) = delete;
    TMatrixelPro& operator=(const TMatrixelPro&) = delete;

    // Property puts; integer values beyond the 16-bit range of the control's
    // properties are held at its ends, so the control sees them as invalid.
    void SetAutoRedraw(std::int32_t value);
    void SetInputData(std::string_view cp932Data);
    void SetModelNo(std::int32_t value);
    void SetEccLevel(std::int32_t value);
    void SetChkDigit(std::int32_t value);
    void SetCodeType(std::int32_t value);
    void SetOptITF(std::int32_t value);
    void SetOptCODE128(std::int32_t value);
    void SetMaxiCodeMode(std::int32_t value);
    void SetPDF417Model(std::int32_t value);
    void SetDmxModel(std::int32_t value);
    void Refresh();
    // The symbol onto the clipboard (kind 1: an enhanced metafile); the
    // control's count of what it put there.
    std::int16_t QrImageCopy(std::int16_t kind);

private:
    void PutShort(DispId id, std::int32_t value);

    DispatchDriver driver_;
};

// Where new controls come from: by default the registered class. Tests may
// put a maker of their own in; returns the one it replaces.
using SymbolControlMaker = ComPtr<Dispatch> (*)();
SymbolControlMaker SetSymbolControlMaker(SymbolControlMaker maker);
// The registered control itself, as the default maker gives it.
ComPtr<Dispatch> CreateSymbolControl();

// The end of every render through the control: inside a PrivateClipboard
// scope (the desktop clipboard is never touched), empties the clipboard, has
// the control copy its symbol there as an enhanced metafile, plays that
// metafile at its own size into a bitmap one pixel narrower and lower than
// the metafile's frame in pixels of its reference device, and puts that into
// `picture`. A symbol of two colours is kept as its spans (workBitmap is then
// left empty), any other drawing as the pixels of `workBitmap`. Throws Error
// when no metafile came back or one too large to be a symbol.
void CopySymbolThroughClipboard(TMatrixelPro& control, Picture& picture, Bitmap& workBitmap);

} // namespace lx
