#pragma once
// The symbol-encoder control: one instance holds one symbol's settings and
// data, encodes it whenever an encode-relevant property changes, and hands
// the symbol out as a picture, a drawing on a host's device context, a
// clipboard metafile or an image file. Hosts reach it only through its
// interfaces (created by kMatrixelProClassId); the library's own code and
// tests may use the class directly.
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/com/Dispatch.h"
#include "platform/com/DispatchTable.h"
#include "platform/com/OleControl.h"
#include "platform/com/Persistence.h"
#include "platform/com/ServerModule.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/image/Picture.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"
#include "symbol/control/ControlProperties.h"
#include "symbol/control/MatrixelProIds.h"
#include "symbol/control/SymbolOutput.h"

namespace lx {

class CMatrixelProCtrl final : public ComImplementation<Dispatch, OleControl, PersistStreamInit, PersistPropertyBag> {
public:
    // printer: the default printer, or nothing when the system has none.
    explicit CMatrixelProCtrl(std::optional<DeviceInfo> printer);
    CMatrixelProCtrl(const CMatrixelProCtrl&) = delete;
    CMatrixelProCtrl& operator=(const CMatrixelProCtrl&) = delete;

    // Dispatch.
    HResult GetIdOfName(std::string_view name, DispId* id) override;
    HResult GetTypeInfo(std::vector<MemberInfo>* members) override;
    HResult Invoke(DispId id, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                   DispatchException* exception) override;

    // OleControl and the persistence interfaces.
    HResult GetClassId(Guid* clsid) override;
    void SetSite(ControlSite* site) override { site_ = site; }
    HResult Draw(DeviceContext& dc, const Rect& bounds) override;
    std::vector<Guid> PropertyPageIds() override;
    HResult ResetState() override;
    HResult ShowPropertyPages() override;
    HResult IsDirty() override { return modified_ ? kOk : kFalse; }
    HResult Load(Stream& stream) override;
    HResult Save(Stream& stream, bool clearDirty) override;
    HResult InitNew() override;
    HResult Load(const PropertyBag& bag) override;
    HResult Save(PropertyBag& bag, bool clearDirty) override;

    // The persisted values in their fixed order (load, save or reset); a
    // load or reset ends with an encode.
    void DoPropExchange(PropertyExchange& exchange);

    const ControlProperties& Properties() const { return p_; }
    const EncodedSymbol& Symbol() const { return Encoded(); }
    bool HasPrinter() const { return printer_.has_value(); }
    // The printer's resolution for unit defaults: the smaller of its two, or 2540.
    int PrinterResolution() const;
    const std::shared_ptr<const Picture>& PictureHolder();
    std::int32_t DeviceDpi() const { return deviceDpi_; }
    std::uint32_t BackColor() const { return backColor_; }
    const std::string& FontName() const { return fontName_; }

    // Output (drawing, clipboard, files).
    Size GetSymbolExtent() const;
    int LinearWidth() const;
    void DrawSymbol(DeviceContext& dc, ColorRef dark, ColorRef light) const;
    WindowsMetafile MakeSymbolMetafile(ColorRef dark, ColorRef light) const;
    EnhMetafile MakeSymbolEnhMetafile(ColorRef dark, ColorRef light) const;
    void BuildPictureMetafile();
    void Refresh();
    void OnDraw(DeviceContext& dc, const Rect& bounds);
    std::int16_t DrawQrImage(std::int32_t hdc, std::int32_t x, std::int32_t y);
    std::int16_t QrImageCopy(std::int16_t enhancedSw);
    std::int16_t CreateQrMetaFile(std::int32_t hdc, const std::string& fileName, std::int16_t format);
    std::string ImageData();
    bool CopyMetafileToClipboard();
    bool CopyEnhMetafileToClipboard();
    void EncodeSymbol() const;

private:
    friend struct ControlMembers;

    SymbolDrawing Drawing(ColorRef dark, ColorRef light) const;
    // The reference device of enhanced metafiles: the printer, or the
    // virtual one that stands in for a missing printer.
    DeviceInfo ReferencePrinter() const;
    // The extent in hundredths of a millimetre, rounded.
    Size ExtentInHundredthsMm() const;
    // Formats 0-4; returns 0 or the status for MakeStatus.
    int WriteSymbolFile(const std::string& fileName, int format);

    // Dispatch member bodies (one function serves a family of members).
    Variant GetShort(DispId id);
    void PutValidated(DispId id, const Variant& value);
    Variant GetReadOnly(DispId id);
    Variant GetNwRatio(DispId id);
    void PutNwRatio(DispId id, const Variant& value);
    void PutAutoRedraw(DispId id, const Variant& value);
    void PutThrowError(DispId id, const Variant& value);
    Variant GetInputData(DispId id);
    void PutInputData(DispId id, const Variant& value);
    void PutInputDataBytes(DispId id, const Variant& value);
    Variant GetPicture(DispId id);
    Variant GetColor(DispId id);
    void PutColor(DispId id, const Variant& value);
    void PutFlag(DispId id, const Variant& value);
    Variant GetImageSize(DispId id);
    Variant GetImageData(DispId id);
    Variant GetFont(DispId id);
    void PutFont(DispId id, const Variant& value);
    Variant CallCreateQrMetaFile(std::span<const Variant> args);
    Variant CallDrawQrImage(std::span<const Variant> args);
    Variant CallQrImageCopy(std::span<const Variant> args);
    Variant CallRefresh(std::span<const Variant> args);
    Variant CallAboutBox(std::span<const Variant> args);

    // Leaves what EncodeSymbol would: an encode when a property changed since
    // the last one, else that encode's results again (the same properties
    // give the same symbol; only MakeStatus, which a file write sets, can
    // differ).
    void RepeatEncode() const;
    // Before an encode-relevant change to these values, not yet stored.
    void BeforeEncodeChange(int codeType, bool noData);
    // Steps 4 to 7 of every setter: the caller has stored the value.
    void AfterChange(bool encode);
    void InvalidateControl();
    [[noreturn]] void RaiseError(int code, int stringId) const;
    // CellUnit for divisions: a loaded value of 0 or less counts as 2540.
    int Unit() const;
    std::uint32_t DefaultColor(int fillType) const;

    ServerModule::LiveObject live_;
    ControlProperties p_;
    // A property change only marks the symbol stale; the first read encodes
    // it, so a run of property sets costs one encode.
    EncodedSymbol& Encoded() const;
    mutable EncodedSymbol s_;
    mutable bool stale_ = false;
    // MakeStatus as the last encode left it; a file write may have replaced
    // the one in s_ since.
    mutable std::int16_t encodedStatus_ = 0;
    std::optional<DeviceInfo> printer_;
    std::int32_t deviceDpi_ = 96;
    std::shared_ptr<const Picture> pictureHolder_;
    std::optional<WindowsMetafile> pictureMetafile_;
    // Refresh keeps what the picture is made of; it is made when it is read.
    struct PictureSource {
        ControlProperties properties;
        EncodedSymbol symbol;
        std::string fontName;
    };
    std::optional<PictureSource> duePicture_;
    void BuildDuePicture();
    // Stock properties and framework state.
    std::uint32_t backColor_ = 0x80000005;
    std::string fontName_;
    std::int32_t extentX_ = 2540;
    std::int32_t extentY_ = 2540;
    ControlSite* site_ = nullptr;
    bool modified_ = false;
};

// The library's module object (its classes, type library and live count).
ServerModule& MatrixelProModule();

} // namespace lx
