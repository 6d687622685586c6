#include "symbol/control/SymbolOutput.h"

#include "symbol/control/MatrixelProIds.h"
#include "symbol/encoders/ImageWriter.h"
#include "symbol/encoders/MetafileMaker.h"
#include "symbol/encoders/SymbolPainter.h"

namespace lx {

namespace {

MatrixDrawing MatrixOf(const SymbolDrawing& d)
{
    const ControlProperties& p = *d.properties;
    MatrixDrawing m;
    m.matrix = d.symbol->ModuleBuffer;
    m.size = d.symbol->NumCell;
    m.quietZone = p.QuietZone;
    m.pitch = p.CellPitch;
    m.adjust = p.CellAdjust;
    m.factor = p.PDF417XYratio;
    m.fillType = d.FillType();
    m.rotate = p.Rotate;
    m.mirror = p.CodeType == kCodeQr ? d.qrOption & 1 : p.Mirror;
    m.qrGap = static_cast<std::uint16_t>(static_cast<std::uint32_t>(d.qrOption) >> 16);
    m.roundCells = d.roundCells;
    m.dark = d.dark;
    m.light = d.light;
    return m;
}

LinearDrawing LinearOf(const SymbolDrawing& d)
{
    const ControlProperties& p = *d.properties;
    LinearDrawing s;
    s.key = d.linearKey;
    s.elements = d.symbol->ModuleBuffer;
    s.elementCount = d.symbol->NumCell;
    s.startOffset = p.QuietZone * p.CellPitch;
    s.narrow = p.CellPitch;
    s.wide = d.wideWidth;
    s.adjust = p.CellAdjust;
    s.drawnHeight = d.extent.cy;
    s.drawnWidth = d.extent.cx;
    s.chrDisplay = p.ChrDisplay;
    s.textHeight = d.textHeight;
    s.text = d.symbol->LinearText;
    s.fillType = d.linearFill;
    s.rotate = p.Rotate;
    s.dark = d.dark;
    s.light = d.light;
    return s;
}

} // namespace

void PaintSymbol(DeviceContext& dc, const SymbolDrawing& d)
{
    switch (d.properties->CodeType) {
    case kCodeQr: DrawQr(dc, MatrixOf(d)); break;
    case kCodeMaxiCode: DrawMaxiCode(dc, MatrixOf(d)); break;
    case kCodePdf417: DrawPdf417(dc, MatrixOf(d)); break;
    case kCodeDataMatrix: DrawDataMatrix(dc, MatrixOf(d)); break;
    default: DrawLinear(dc, LinearOf(d)); break;
    }
}

WindowsMetafile MakeSymbolWmf(const SymbolDrawing& d)
{
    switch (d.properties->CodeType) {
    case kCodeQr: return MakeQrWmf(MatrixOf(d));
    case kCodeMaxiCode: return MakeMaxiCodeWmf(MatrixOf(d));
    case kCodePdf417: return MakePdf417Wmf(MatrixOf(d));
    case kCodeDataMatrix: return MakeDataMatrixWmf(MatrixOf(d));
    default: return MakeLinearWmf(LinearOf(d));
    }
}

EnhMetafile MakeSymbolEmf(const SymbolDrawing& d, const DeviceInfo& reference)
{
    switch (d.properties->CodeType) {
    case kCodeQr: return MakeQrEmf(&reference, MatrixOf(d), d.unit);
    case kCodeMaxiCode: return MakeMaxiCodeEmf(&reference, MatrixOf(d), d.unit);
    case kCodePdf417: return MakePdf417Emf(&reference, MatrixOf(d), d.unit);
    case kCodeDataMatrix: return MakeDataMatrixEmf(&reference, MatrixOf(d), d.unit);
    default: return MakeLinearEmf(&reference, LinearOf(d), d.unit);
    }
}

int WriteSymbolPlaceableWmf(const WindowsMetafile& metafile, const std::string& path, int width, int height)
{
    return WritePlaceableWmf(metafile, path, width, height);
}

int WriteSymbolBitmapFile(int format, const std::string& path, const MonochromeBitmap& bitmap, int resolution)
{
    switch (format) {
    case 2: return WriteBmpFile(path, bitmap);
    case 3: return WritePngImage(path, bitmap);
    case 4: return WriteTiffFile(resolution, bitmap, path);
    default: return kStatusWriteFailed;
    }
}

} // namespace lx
