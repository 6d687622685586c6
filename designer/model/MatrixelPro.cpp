#include "designer/model/MatrixelPro.h"

#include <algorithm>

#include "platform/clipboard/Clipboard.h"
#include "platform/com/ComClient.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/gdi/SpanRasterDeviceContext.h"
#include "platform/image/Graphic.h"
#include "platform/io/Errors.h"
#include "platform/metafile/EnhMetafile.h"
#include "symbol/control/MatrixelProIds.h"

namespace lx {

namespace {

SymbolControlMaker& Maker()
{
    static SymbolControlMaker maker = &CreateSymbolControl;
    return maker;
}

void EmptyClipboard()
{
    Clipboard clipboard;
    if (clipboard.Open())
        clipboard.Empty();
}

} // namespace

ComPtr<Dispatch> CreateSymbolControl() { return CreateObject<Dispatch>(kMatrixelProClassId); }

SymbolControlMaker SetSymbolControlMaker(SymbolControlMaker maker)
{
    return std::exchange(Maker(), maker ? maker : &CreateSymbolControl);
}

TMatrixelPro::TMatrixelPro() : TMatrixelPro(Maker()()) {}

TMatrixelPro::TMatrixelPro(ComPtr<Dispatch> control) : driver_(std::move(control))
{
    if (!driver_.Bound())
        throw Error("シンボルコントロールを作成できません。");
}

TMatrixelPro::~TMatrixelPro() = default;

void TMatrixelPro::PutShort(DispId id, std::int32_t value)
{
    const auto clamped = static_cast<std::int16_t>(std::clamp<std::int32_t>(value, INT16_MIN, INT16_MAX));
    driver_.Put(id, Variant(clamped));
}

void TMatrixelPro::SetAutoRedraw(std::int32_t value) { PutShort(kDispAutoRedraw, value); }
void TMatrixelPro::SetInputData(std::string_view cp932Data) { driver_.Put(kDispInputData, Variant::Text(cp932Data)); }
void TMatrixelPro::SetModelNo(std::int32_t value) { PutShort(kDispModelNo, value); }
void TMatrixelPro::SetEccLevel(std::int32_t value) { PutShort(kDispEccLevel, value); }
void TMatrixelPro::SetChkDigit(std::int32_t value) { PutShort(kDispChkDigit, value); }
void TMatrixelPro::SetCodeType(std::int32_t value) { PutShort(kDispCodeType, value); }
void TMatrixelPro::SetOptITF(std::int32_t value) { PutShort(kDispOptITF, value); }
void TMatrixelPro::SetOptCODE128(std::int32_t value) { PutShort(kDispOptCODE128, value); }
void TMatrixelPro::SetMaxiCodeMode(std::int32_t value) { PutShort(kDispMaxiCodeMode, value); }
void TMatrixelPro::SetPDF417Model(std::int32_t value) { PutShort(kDispPDF417Model, value); }
void TMatrixelPro::SetDmxModel(std::int32_t value) { PutShort(kDispDmxModel, value); }
void TMatrixelPro::Refresh() { driver_.Call(kDispIdRefresh); }

std::int16_t TMatrixelPro::QrImageCopy(std::int16_t kind)
{
    const Variant result = driver_.Call(kDispQrImageCopy, {Variant(kind)});
    return result.Type() == VarType::Int16 ? result.AsInt16() : std::int16_t{0};
}

void CopySymbolThroughClipboard(TMatrixelPro& control, Picture& picture, Bitmap& workBitmap)
{
    // The control's copy road lands in process; the user's clipboard stays.
    const PrivateClipboard inProcess;
    EmptyClipboard();
    control.QrImageCopy(1);
    const std::optional<EnhMetafile> metafile = Clipboard::GetEnhMetafile();
    if (!metafile)
        throw Error("クリップボードにシンボルのメタファイルがありません。");
    const Size size = metafile->PixelSize();
    // The control is a separate component: the size it gives is not trusted.
    CheckImageSize(std::max(size.cx, 0), std::max(size.cy, 0));
    const Rect whole{0, 0, size.cx, size.cy};
    // A symbol of two colours is kept as its spans: printing takes them as
    // they are, and only the screen and the file make pixels of them.
    SpanRasterDeviceContext spans(size.cx - 1, size.cy - 1);
    PlayEnhMetafile(spans, *metafile, whole);
    if (std::optional<SpanRaster> raster = spans.Result(); raster && !raster->Empty()) {
        workBitmap = Bitmap();
        picture.SetSpans(std::move(*raster));
        return;
    }
    workBitmap = Bitmap(size.cx - 1, size.cy - 1);
    if (!workBitmap.Empty()) {
        RasterDeviceContext canvas(workBitmap);
        PlayEnhMetafile(canvas, *metafile, whole);
    }
    picture.SetBitmap(workBitmap);
}

} // namespace lx
