#include "symbol/control/SymbolOutput.h"

#include <span>

#include "symbol/control/MatrixelProIds.h"
#include "symbol/encoders/ImageWriter.h"
#include "symbol/encoders/MetafileMaker.h"
#include "symbol/encoders/SymbolPainter.h"

namespace lx {

namespace {

std::span<const std::uint8_t> Matrix(const SymbolDrawing& d) { return d.symbol->ModuleBuffer; }

} // namespace

void PaintSymbol(DeviceContext& dc, const SymbolDrawing& d)
{
    const ControlProperties& p = *d.properties;
    const EncodedSymbol& s = *d.symbol;
    switch (p.CodeType) {
    case kCodeQr:
        DrawQr(dc, Matrix(d), s.NumCell, p.QuietZone, p.CellPitch, p.CellAdjust, d.FillType(), p.Rotate, d.qrOption,
               d.roundCells ? 1 : 0, d.dark, d.light);
        break;
    case kCodeMaxiCode:
        DrawMaxiCode(dc, Matrix(d), p.QuietZone, p.CellPitch, p.CellAdjust, d.FillType(), p.Rotate, p.Mirror, d.dark,
                     d.light);
        break;
    case kCodePdf417:
        DrawPdf417(dc, Matrix(d), s.NumCell, p.QuietZone, p.CellPitch, p.CellAdjust, p.PDF417XYratio, d.FillType(),
                   p.Rotate, p.Mirror, d.dark, d.light);
        break;
    case kCodeDataMatrix:
        DrawDataMatrix(dc, Matrix(d), s.NumCell, p.QuietZone, p.CellPitch, p.CellAdjust, d.FillType(), p.Rotate,
                       p.Mirror, d.dark, d.light);
        break;
    default:
        DrawLinear(dc, d.linearKey, Matrix(d), s.NumCell, p.QuietZone * p.CellPitch, p.CellPitch, d.wideWidth,
                   p.CellAdjust, d.extent.cy, d.extent.cx, p.ChrDisplay, d.textHeight, s.LinearText, d.linearFill,
                   p.Rotate, d.dark, d.light);
        break;
    }
}

WindowsMetafile MakeSymbolWmf(const SymbolDrawing& d)
{
    const ControlProperties& p = *d.properties;
    const EncodedSymbol& s = *d.symbol;
    switch (p.CodeType) {
    case kCodeQr:
        return MakeQrWmf(Matrix(d), s.NumCell, p.CellPitch, p.CellAdjust, d.unit, p.QuietZone, p.Rotate, d.FillType(),
                         d.qrOption & 1, d.roundCells ? 1 : 0, d.dark, d.light);
    case kCodeMaxiCode:
        return MakeMaxiCodeWmf(Matrix(d), p.CellPitch, p.CellAdjust, d.unit, p.QuietZone, p.Rotate, d.FillType(),
                               p.Mirror, d.dark, d.light);
    case kCodePdf417:
        return MakePdf417Wmf(Matrix(d), s.NumCell, p.CellPitch, p.CellAdjust, p.PDF417XYratio, d.unit, p.QuietZone,
                             p.Rotate, d.FillType(), p.Mirror, d.dark, d.light);
    case kCodeDataMatrix:
        return MakeDataMatrixWmf(Matrix(d), s.NumCell, p.CellPitch, p.CellAdjust, d.unit, p.QuietZone, p.Rotate,
                                 d.FillType(), p.Mirror, d.dark, d.light);
    default:
        return MakeLinearWmf(d.linearKey, Matrix(d), s.NumCell, p.QuietZone * p.CellPitch, p.CellPitch, d.wideWidth,
                             p.CellAdjust, d.extent.cy, d.extent.cx, p.ChrDisplay, d.textHeight, s.LinearText,
                             d.linearFill, p.Rotate, d.dark, d.light);
    }
}

EnhMetafile MakeSymbolEmf(const SymbolDrawing& d, const DeviceInfo& reference)
{
    const ControlProperties& p = *d.properties;
    const EncodedSymbol& s = *d.symbol;
    switch (p.CodeType) {
    case kCodeQr:
        return MakeQrEmf(&reference, Matrix(d), s.NumCell, p.CellPitch, p.CellAdjust, d.unit, p.QuietZone, p.Rotate,
                         d.FillType(), d.qrOption & 1, d.roundCells ? 1 : 0, d.dark, d.light);
    case kCodeMaxiCode:
        return MakeMaxiCodeEmf(&reference, Matrix(d), p.CellPitch, p.CellAdjust, d.unit, p.QuietZone, p.Rotate,
                               d.FillType(), p.Mirror, d.dark, d.light);
    case kCodePdf417:
        return MakePdf417Emf(&reference, Matrix(d), s.NumCell, p.CellPitch, p.CellAdjust, p.PDF417XYratio, d.unit,
                             p.QuietZone, p.Rotate, d.FillType(), p.Mirror, d.dark, d.light);
    case kCodeDataMatrix:
        return MakeDataMatrixEmf(&reference, Matrix(d), s.NumCell, p.CellPitch, p.CellAdjust, d.unit, p.QuietZone,
                                 p.Rotate, d.FillType(), p.Mirror, d.dark, d.light);
    default:
        return MakeLinearEmf(&reference, d.linearKey, Matrix(d), s.NumCell, p.QuietZone * p.CellPitch, p.CellPitch,
                             d.wideWidth, p.CellAdjust, d.extent.cy, d.extent.cx, p.ChrDisplay, d.textHeight,
                             s.LinearText, d.linearFill, p.Rotate, d.dark, d.light, d.unit);
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
