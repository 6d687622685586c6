#include "designer/model/LxLabelBarcode.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/postal/CustomerBarcode.h"
#include "platform/postal/PostalBarFont.h"
#include "platform/text/Numbers.h"

namespace lx {

namespace {

// CodeType of every kind the control encodes (kinds 0 to 13).
constexpr std::int32_t kCodeTypes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 15, 16, 17};

// The point size of the postal bar font on its metafile canvas.
constexpr int kPostalFontPoints = 20;

// The code set of CODE128 and EAN-128. The editor stores the letter chosen
// in its code-set box as StartChar, while CodeSet itself is set by nothing;
// the letter wins so the user's choice reaches the control.
std::int32_t Code128Set(const SymbolSettings& settings)
{
    if (settings.StartChar.size() == 1 && settings.StartChar[0] >= 'A' && settings.StartChar[0] <= 'C')
        return settings.StartChar[0] - 'A';
    return settings.CodeSet;
}

LogFont PostalBarFont(const DeviceInfo& screen)
{
    LogFont font;
    font.faceName = std::string(kPostalBarFontFace);
    font.charSet = kSymbolCharset;
    // A point size on a canvas of the screen, as the screen's resolution gives it.
    font.height = -static_cast<int>(RoundHalfAway(kPostalFontPoints * screen.dpiY / 72.0));
    return font;
}

} // namespace

void WriteSymbolOwnPart(const SymbolSettings& s, const Picture& picture, Stream& stream)
{
    stream.WriteInt32(s.SymbolKind);
    WriteStreamString(s.Data, stream);
    stream.WriteInt32(s.Model);
    stream.WriteInt32(s.EccLevel);
    WriteStreamString(s.StartChar, stream);
    WriteStreamString(s.StopChar, stream);
    stream.WriteInt32(s.BearerBar);
    stream.WriteInt32(s.CodeSet);
    stream.WriteInt32(s.MaxiCodeMode);
    WriteStreamString(s.ZipCode, stream);
    WriteStreamString(s.Address, stream);
    stream.WriteInt32(s.CheckDigit);
    stream.WriteInt32(s.SymbolKind);
    stream.WriteInt32(s.SymbolKind);
    WriteStreamPicture(picture, stream);
}

void ReadSymbolOwnPart(Stream& stream, SymbolSettings& s, Picture& picture)
{
    s.SymbolKind = stream.ReadInt32();
    ReadStreamString(stream, s.Data);
    s.Model = stream.ReadInt32();
    s.EccLevel = stream.ReadInt32();
    ReadStreamString(stream, s.StartChar);
    ReadStreamString(stream, s.StopChar);
    s.BearerBar = stream.ReadInt32();
    s.CodeSet = stream.ReadInt32();
    s.MaxiCodeMode = stream.ReadInt32();
    ReadStreamString(stream, s.ZipCode);
    ReadStreamString(stream, s.Address);
    s.CheckDigit = stream.ReadInt32();
    s.SymbolKind = stream.ReadInt32();
    s.SymbolKind = stream.ReadInt32();
    ReadStreamPicture(picture, stream);
}

std::string ApplySymbolOptions(TMatrixelPro& control, const SymbolSettings& s, std::string data)
{
    const std::int32_t kind = s.SymbolKind;
    if (kind < SymbolQr || kind > SymbolDataMatrix)
        return data;
    switch (kind) {
    case SymbolQr:
        control.SetEccLevel(s.EccLevel);
        control.SetModelNo(s.Model);
        break;
    case SymbolItf: control.SetOptITF(s.BearerBar); break;
    case SymbolCode128:
    case SymbolEan128: control.SetOptCODE128(Code128Set(s)); break;
    case SymbolMaxiCode: control.SetMaxiCodeMode(s.MaxiCodeMode); break;
    case SymbolPdf417: control.SetPDF417Model(s.Model); break;
    case SymbolDataMatrix: control.SetDmxModel(s.Model); break;
    default: break;
    }
    control.SetCodeType(kCodeTypes[kind]);
    return kind == SymbolCodabar ? s.StartChar + data + s.StopChar : data;
}

Bitmap DrawPostalBarcode(std::string_view zipCode, std::string_view address)
{
    const std::string zip(zipCode);
    const std::string place(address);
    const std::string charset(kCustomerBarcodeCharset);
    char result[kCustomerBarStringLength + 1] = {};
    if (GetCBarString(charset.c_str(), zip.c_str(), place.c_str(), result) != 0)
        return Bitmap();
    const std::string_view bars(result, kCustomerBarStringLength);

    const DeviceInfo screen = DisplayDevice();
    const LogFont font = PostalBarFont(screen);
    Size extent;
    {
        EmfRecorder measure(screen);
        measure.SelectFont(font);
        extent = measure.GetTextExtent(bars);
    }
    EmfRecorder canvas(screen, FrameForPixels(extent, screen));
    canvas.SelectFont(font);
    canvas.TextOut(0, 0, bars);
    const EnhMetafile metafile = canvas.Close();

    Bitmap bitmap(extent.cx, extent.cy);
    if (!bitmap.Empty()) {
        RasterDeviceContext target(bitmap);
        PlayEnhMetafile(target, metafile, Rect{0, 0, extent.cx, extent.cy});
    }
    return bitmap;
}

// ---- the object

TLxLabelObjectBarcode::TLxLabelObjectBarcode() : TLxLabelObjectBarcode(KindBarcode) {}

TLxLabelObjectBarcode::TLxLabelObjectBarcode(std::uint8_t kind)
    : TLxLableObjectBase(kind), control_(std::make_unique<TMatrixelPro>())
{
    ClearPicture();
    UpdateSymbol();
}

TLxLabelObjectBarcode::~TLxLabelObjectBarcode() = default;

void TLxLabelObjectBarcode::ClearPicture() { picture_.SetBitmap(Bitmap()); }

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectBarcode::Clone() const
{
    auto copy = std::make_unique<TLxLabelObjectBarcode>();
    copy->SetSettings(settings_);
    copy->SetPicture(picture_);
    copy->AssignCommonPart(*this);
    return copy;
}

void TLxLabelObjectBarcode::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
}

void TLxLabelObjectBarcode::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
}

void TLxLabelObjectBarcode::SaveOwnPart(Stream& stream) const { WriteSymbolOwnPart(settings_, picture_, stream); }

void TLxLabelObjectBarcode::LoadOwnPart(Stream& stream) { ReadSymbolOwnPart(stream, settings_, picture_); }

void TLxLabelObjectBarcode::UpdateSymbol()
{
    std::string data = settings_.Data.empty() ? std::string(" ") : settings_.Data;
    RenderSymbol(ApplySymbolSettings(std::move(data)));
}

std::string TLxLabelObjectBarcode::ApplySymbolSettings(std::string data)
{
    return ApplySymbolOptions(*control_, settings_, std::move(data));
}

void TLxLabelObjectBarcode::RenderSymbol(const std::string& data) { picture_ = EncodedPicture(settings_, data); }

Picture TLxLabelObjectBarcode::SymbolPicture(const SymbolSettings& settings, std::string data) const
{
    return EncodedPicture(settings, ApplySymbolOptions(*control_, settings, std::move(data)));
}

Picture TLxLabelObjectBarcode::EncodedPicture(const SymbolSettings& settings, const std::string& data) const
{
    Picture picture;
    try {
        if (settings.SymbolKind == SymbolPostal) {
            picture.SetBitmap(DrawPostalBarcode(settings.ZipCode, settings.Address));
        } else {
            control_->SetInputData(data);
            control_->SetChkDigit(settings.CheckDigit);
            control_->Refresh();
            Bitmap work;
            CopySymbolThroughClipboard(*control_, picture, work);
        }
    } catch (const std::exception&) {
        picture.SetBitmap(Bitmap());
    }
    return picture;
}

} // namespace lx
