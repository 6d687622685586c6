#include "symbol/control/CMatrixelProCtrl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/clipboard/Clipboard.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/MetafileImage.h"
#include "platform/io/Files.h"
#include "platform/printing/Printer.h"
#include "platform/text/Numbers.h"
#include "symbol/control/EncodeSymbol.h"
#include "symbol/control/SymbolOutput.h"
#include "symbol/encoders/SymbolPainter.h"

namespace lx {

namespace {

// The extents are integers of the device; values from a hostile stream
// must not overflow on the way.
int ClampInt(long long v) { return static_cast<int>(std::clamp<long long>(v, -2147483647LL, 2147483647LL)); }

int AtLeastOne(long long v) { return v == 0 ? 1 : ClampInt(v); }

} // namespace

int CMatrixelProCtrl::LinearWidth() const
{
    const long long pitch = p_.CellPitch;
    const long long adjust = p_.CellAdjust;
    const int type = p_.CodeType;
    const bool moduleWidths = (type >= kCodeEan13 && type <= kCodeUpcE) || (type >= kCodeCode93 && type <= kCodeEan128);
    const long long wide = moduleWidths ? 2 * pitch : RoundHalfUpClamped(pitch * static_cast<double>(p_.NwRatio));
    const long long half = adjust > 0 ? (adjust + 1) / 2 : (adjust - 1) / 2;
    long long width = 2 * pitch * p_.QuietZone;
    const int count = std::clamp(Encoded().NumCell, 0, kModuleBufferBytes);
    for (int i = 0; i < count; ++i) {
        const std::uint8_t e = Encoded().ModuleBuffer[static_cast<std::size_t>(i)];
        const long long w = (e & 0x7F) == 1 ? pitch : (e & 0x7F) == 2 ? wide : pitch * (e & 0x3F);
        width += (e & 0x80) ? w + half : w - adjust + half;
    }
    return ClampInt(width);
}

Size CMatrixelProCtrl::GetSymbolExtent() const
{
    const long long pitch = p_.CellPitch;
    const long long quiet = p_.QuietZone;
    const long long adjust = p_.CellAdjust;
    const double unit = Unit();
    const int columns = Encoded().NumCell & 0xFFFF;
    const int rows = (Encoded().NumCell >> 16) & 0xFFFF;
    const int empty2d = RoundHalfUpClamped(unit * 15.5 / 25.4);
    int width = 0;
    int height = 0;
    switch (p_.CodeType) {
    case kCodeQr:
        width = height = Encoded().NumCell > 0 ? AtLeastOne(pitch * (Encoded().NumCell + 2 * quiet) + adjust) : empty2d;
        break;
    case kCodeMaxiCode:
        width = AtLeastOne(pitch * (2 * quiet + 30) + adjust);
        height = AtLeastOne((pitch * 76 + 44) / 88 * 33 + 2 * pitch * quiet + adjust);
        break;
    case kCodePdf417:
    case kCodeDataMatrix:
        if (Encoded().NumCell > 0) {
            const long long factor = p_.CodeType == kCodePdf417 ? p_.PDF417XYratio : 1;
            width = AtLeastOne(pitch * (columns + 2 * quiet) + adjust);
            height = ClampInt(pitch * (factor * rows + 2 * quiet) + adjust);
        } else {
            width = height = empty2d;
        }
        break;
    default: {
        if (Encoded().NumCell != 0) {
            width = LinearWidth();
            height = RoundHalfUpClamped(p_.BarHeight / 25.4 * unit);
        } else {
            width = RoundHalfUpClamped(unit * 30 / 25.4);
            height = RoundHalfUpClamped(unit * 15 / 25.4);
        }
        width = std::max(width, 1);
        height = std::max(height, 1);
        if (p_.ChrDisplay == 1)
            height += (height + 3) / 4;
        else if (p_.ChrDisplay == 2)
            height += RoundHalfUpClamped(unit * 3 / 25.4);
        if (p_.CodeType == kCodeItf && p_.OptITF == 1)
            width = ClampInt(width + 10 * pitch);
        break;
    }
    }
    if (p_.Rotate == 1 || p_.Rotate == 3)
        std::swap(width, height);
    return {width, height};
}

SymbolDrawing CMatrixelProCtrl::Drawing(ColorRef dark, ColorRef light) const
{
    SymbolDrawing d;
    d.properties = &p_;
    d.symbol = &Encoded();
    d.unit = Unit();
    d.extent = GetSymbolExtent();
    d.linearKey = LinearKindCode(p_);
    d.wideWidth = 0;
    const int type = p_.CodeType;
    const bool moduleWidths = (type >= kCodeEan13 && type <= kCodeUpcE) || (type >= kCodeCode93 && type <= kCodeEan128);
    d.wideWidth = moduleWidths ? 2 * p_.CellPitch : RoundHalfUpClamped(p_.CellPitch * static_cast<double>(p_.NwRatio));
    const Size unrotated = p_.Rotate == 1 || p_.Rotate == 3 ? Size{d.extent.cy, d.extent.cx} : d.extent;
    d.textHeight = p_.ChrDisplay == 2 ? RoundHalfUpClamped(d.unit * 3 / 25.4) : unrotated.cy / 5;
    d.dark = dark;
    d.light = light;
    return d;
}

void CMatrixelProCtrl::DrawSymbol(DeviceContext& dc, ColorRef dark, ColorRef light) const
{
    SymbolDrawing d = Drawing(dark, light);
    // On a device the QR cells may grow by the gap the device's resolution
    // leaves; round cells are for the clipboard and file pictures only.
    int option = p_.Mirror & 1;
    if (p_.GapAdjust == 1 && deviceDpi_ > 0) {
        int g = Unit() / deviceDpi_;
        if (g > 1)
            --g;
        option += g * 65536;
    }
    d.qrOption = option;
    d.roundCells = false;
    d.linearFill = 0;
    PaintSymbol(dc, d);
}

WindowsMetafile CMatrixelProCtrl::MakeSymbolMetafile(ColorRef dark, ColorRef light) const
{
    SymbolDrawing d = Drawing(dark, light);
    d.qrOption = p_.Mirror & 1;
    d.roundCells = p_.CellForm;
    d.linearFill = p_.Color ? 1 : 0;
    return MakeSymbolWmf(d);
}

EnhMetafile CMatrixelProCtrl::MakeSymbolEnhMetafile(ColorRef dark, ColorRef light) const
{
    SymbolDrawing d = Drawing(dark, light);
    d.qrOption = p_.Mirror & 1;
    d.roundCells = p_.CellForm;
    d.linearFill = p_.Color ? 1 : 0;
    return MakeSymbolEmf(d, ReferencePrinter());
}

DeviceInfo CMatrixelProCtrl::ReferencePrinter() const { return printer_ ? *printer_ : VirtualPrinterDevice(); }

void CMatrixelProCtrl::BuildPictureMetafile()
{
    const Size extent = GetSymbolExtent();
    const int unit = Unit();
    WmfRecorder recorder;
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(extent.cx, -extent.cy);
    recorder.SetWindowOrg(0, 0);
    if (Encoded().NumCell == 0)
        RepeatEncode();
    if (Encoded().NumCell > 0)
        DrawSymbol(recorder, p_.ForeBColor, p_.ForeWColor);
    WindowsMetafile metafile = recorder.Close();
    PlaceableHeader header;
    header.box = {0, 0, ClampInt(static_cast<long long>(extent.cx) * 1440 / unit),
                  ClampInt(static_cast<long long>(extent.cy) * 1440 / unit)};
    header.inch = 1440;
    auto image = std::make_unique<MetafileImage>();
    try {
        image->LoadFromBytes(metafile.PlaceableBytes(header));
    } catch (const ReadError&) {
        // A box beyond the placeable header's 16-bit fields: no picture.
        image.reset();
    }
    auto picture = std::make_shared<Picture>();
    if (image)
        picture->SetGraphic(std::move(image));
    pictureMetafile_ = std::move(metafile);
    pictureHolder_ = std::move(picture);
    duePicture_.reset();
}

void CMatrixelProCtrl::BuildDuePicture()
{
    if (!duePicture_)
        return;
    PictureSource then = std::move(*duePicture_);
    const auto swapState = [&] {
        std::swap(p_, then.properties);
        std::swap(s_, then.symbol);
        std::swap(fontName_, then.fontName);
    };
    const bool stale = stale_;
    swapState();
    stale_ = false;
    try {
        BuildPictureMetafile();
    } catch (...) {
        swapState();
        stale_ = stale;
        throw;
    }
    swapState();
    stale_ = stale;
}

const std::shared_ptr<const Picture>& CMatrixelProCtrl::PictureHolder()
{
    BuildDuePicture();
    return pictureHolder_;
}

void CMatrixelProCtrl::Refresh()
{
    // What making the picture now would encode; the drawing itself waits.
    if (Encoded().NumCell == 0)
        RepeatEncode();
    duePicture_ = PictureSource{p_, Encoded(), fontName_};
    InvalidateControl();
}

void CMatrixelProCtrl::OnDraw(DeviceContext& dc, const Rect& bounds)
{
    LogFont font = StockFont();
    font.faceName = fontName_.substr(0, 31);
    const LogFont previous = dc.SelectFont(font);
    if (!fontName_.empty())
        SetDefaultFontName(fontName_);
    p_.Stretch = false;
    dc.FillRect(bounds, ColorToRgb(backColor_));
    BuildPictureMetafile();

    const Size extent = GetSymbolExtent();
    const int unit = Unit();
    const long long wmm = static_cast<long long>(extent.cx) * 2540 / unit;
    const long long hmm = static_cast<long long>(extent.cy) * 2540 / unit;
    const int saved = dc.SaveDC();
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(extent.cx, -extent.cy);
    deviceDpi_ = dc.GetDeviceCaps(DeviceCap::LogPixelsX);
    dc.SetViewportExt(ClampInt(wmm * dc.GetDeviceCaps(DeviceCap::LogPixelsX) / 2540),
                      ClampInt(hmm * dc.GetDeviceCaps(DeviceCap::LogPixelsY) / 2540));
    dc.SetViewportOrg(bounds.left, bounds.top);
    if (Encoded().NumCell > 0 && pictureMetafile_)
        PlayWindowsMetafile(dc, *pictureMetafile_);
    dc.RestoreDC(saved);
    dc.SelectFont(previous);
}

HResult CMatrixelProCtrl::Draw(DeviceContext& dc, const Rect& bounds)
{
    try {
        OnDraw(dc, bounds);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (const std::exception&) {
        return kFail;
    }
    return kOk;
}

std::int16_t CMatrixelProCtrl::DrawQrImage(std::int32_t hdc, std::int32_t x, std::int32_t y)
{
    DeviceContext* dc = DeviceContextFromHandle(hdc);
    if (!dc)
        return static_cast<std::int16_t>(Encoded().NumCell & 0xFFFF);
    const Size extent = GetSymbolExtent();
    const long long unit = Unit();
    const int saved = dc->SaveDC();
    dc->SetMapMode(MapMode::Anisotropic);
    dc->SetWindowExt(extent.cx, -extent.cy);
    dc->SetViewportExt(
        ClampInt((extent.cx * static_cast<long long>(dc->GetDeviceCaps(DeviceCap::LogPixelsX)) + unit / 2) / unit),
        ClampInt((extent.cy * static_cast<long long>(dc->GetDeviceCaps(DeviceCap::LogPixelsY)) + unit / 2) / unit));
    dc->SetWindowOrg(ClampInt(-static_cast<long long>(x)), y);
    if (Encoded().NumCell == 0)
        RepeatEncode();
    if (Encoded().NumCell > 0)
        DrawSymbol(*dc, p_.ForeBColor, p_.ForeWColor);
    dc->RestoreDC(saved);
    return static_cast<std::int16_t>(Encoded().NumCell & 0xFFFF);
}

Size CMatrixelProCtrl::ExtentInHundredthsMm() const
{
    const Size extent = GetSymbolExtent();
    const long long unit = Unit();
    return {ClampInt((extent.cx * 2540LL + unit / 2) / unit), ClampInt((extent.cy * 2540LL + unit / 2) / unit)};
}

bool CMatrixelProCtrl::CopyMetafileToClipboard()
{
    Clipboard clipboard;
    if (!clipboard.Open())
        return false;
    clipboard.Empty();
    const Size size = ExtentInHundredthsMm();
    MetafilePicture picture;
    picture.mapMode = 8;
    picture.xExt = size.cx;
    picture.yExt = size.cy;
    picture.metafile = MakeSymbolMetafile(p_.ForeBColor, p_.ForeWColor);
    clipboard.SetMetafilePicture(picture);
    clipboard.Close();
    return true;
}

bool CMatrixelProCtrl::CopyEnhMetafileToClipboard()
{
    Clipboard clipboard;
    if (!clipboard.Open())
        return false;
    clipboard.Empty();
    clipboard.SetEnhMetafile(MakeSymbolEnhMetafile(p_.ForeBColor, p_.ForeWColor));
    clipboard.Close();
    return true;
}

std::int16_t CMatrixelProCtrl::QrImageCopy(std::int16_t enhancedSw)
{
    RepeatEncode();
    if (Encoded().NumCell > 0) {
        if (enhancedSw != 0)
            CopyEnhMetafileToClipboard();
        else
            CopyMetafileToClipboard();
    } else {
        Clipboard clipboard;
        if (clipboard.Open()) {
            clipboard.Empty();
            clipboard.Close();
        }
    }
    return static_cast<std::int16_t>(Encoded().NumCell & 0xFFFF);
}

int CMatrixelProCtrl::WriteSymbolFile(const std::string& fileName, int format)
{
    const Size extent = GetSymbolExtent();
    const Size size = ExtentInHundredthsMm();
    switch (format) {
    case 0: {
        WmfRecorder recorder;
        recorder.SetMapMode(MapMode::Anisotropic);
        recorder.SetWindowExt(extent.cx, -extent.cy);
        recorder.SetWindowOrg(0, 0);
        if (Encoded().NumCell > 0)
            DrawSymbol(recorder, p_.ForeBColor, p_.ForeWColor);
        return WriteSymbolPlaceableWmf(recorder.Close(), fileName, size.cx, size.cy) == 1 ? 0 : kStatusNoFile;
    }
    case 1: {
        const DeviceInfo reference = ReferencePrinter();
        EmfRecorder recorder(reference, std::nullopt, u"MatrixelPro.ocx");
        recorder.SetMapMode(MapMode::Anisotropic);
        recorder.SetWindowOrg(0, 0);
        recorder.SetWindowExt(extent.cx, -extent.cy);
        recorder.SetViewportExt(ClampInt((size.cx * static_cast<long long>(reference.dpiX) + 1270) / 2540),
                                ClampInt((size.cy * static_cast<long long>(reference.dpiY) + 1270) / 2540));
        if (Encoded().NumCell > 0)
            DrawSymbol(recorder, p_.ForeBColor, p_.ForeWColor);
        try {
            WriteFileReplacing(fileName, recorder.Close().Bytes());
        } catch (const std::exception&) {
            return kStatusNoFile;
        }
        return 0;
    }
    default: {
        if (static_cast<long long>(extent.cx) * extent.cy > kMaxImagePixels || extent.cx <= 0 || extent.cy <= 0)
            return kStatusOutOfMemory;
        const WindowsMetafile metafile = MakeSymbolMetafile(0x000000, 0xFFFFFF);
        const MonochromeBitmap bitmap = RenderMetafileToBitmap(metafile, extent.cx, extent.cy);
        return WriteSymbolBitmapFile(format, fileName, bitmap, Unit());
    }
    }
}

std::int16_t CMatrixelProCtrl::CreateQrMetaFile(std::int32_t, const std::string& fileName, std::int16_t format)
{
    if (static_cast<std::uint16_t>(format) > 4) {
        Encoded().MakeStatus = kStatusBadFormat;
        return 0;
    }
    // Like the other drawing roads, a control that holds no symbol encodes first.
    if (Encoded().NumCell == 0)
        RepeatEncode();
    int status = 0;
    try {
        status = WriteSymbolFile(fileName, format);
    } catch (const std::bad_alloc&) {
        status = kStatusOutOfMemory;
    }
    if (status != 0) {
        Encoded().MakeStatus = static_cast<std::int16_t>(status);
        return 0;
    }
    return static_cast<std::int16_t>(Encoded().NumCell & 0xFFFF);
}

MonochromeBitmap RenderMetafileToBitmap(const WindowsMetafile& metafile, int width, int height)
{
    Bitmap pixels(width, height);
    {
        RasterDeviceContext dc(pixels);
        const int saved = dc.SaveDC();
        dc.SetMapMode(MapMode::Anisotropic);
        dc.SetViewportExt(width, height);
        PlayWindowsMetafile(dc, metafile);
        dc.RestoreDC(saved);
    }
    return ToMonochrome(pixels);
}

std::string CMatrixelProCtrl::ImageData()
{
    RepeatEncode();
    const int low = Encoded().NumCell & 0xFFFF;
    const bool matrix = IsMatrixFamily(p_.CodeType);
    const std::size_t rowBytes = static_cast<std::size_t>(matrix ? (low + 7) / 8 : low);
    const Variant rows = GetReadOnly(kDispNumRow);
    const std::size_t total = std::min<std::size_t>(
        rowBytes * static_cast<std::size_t>(std::max<int>(rows.AsInt16(), 0)), Encoded().ModuleBuffer.size());
    std::string text;
    text.reserve(total * 2);
    char hex[3];
    for (std::size_t i = 0; i < total; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", Encoded().ModuleBuffer[i]);
        text += hex;
    }
    return text;
}

} // namespace lx
