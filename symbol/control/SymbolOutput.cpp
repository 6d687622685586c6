#include "symbol/control/SymbolOutput.h"

// Placeholder until the painters, metafile makers and image writers are in:
// the coordinate system is set up, nothing is drawn, no file is written.

namespace lx {

void PaintSymbol(DeviceContext&, const SymbolDrawing&) {}

WindowsMetafile MakeSymbolWmf(const SymbolDrawing& d)
{
    WmfRecorder recorder;
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(d.extent.cx, -d.extent.cy);
    recorder.SetWindowOrg(0, 0);
    PaintSymbol(recorder, d);
    return recorder.Close();
}

EnhMetafile MakeSymbolEmf(const SymbolDrawing& d, const DeviceInfo& reference)
{
    const int wf = (d.unit / 2 + d.extent.cx * 2540) / d.unit;
    const int hf = (d.unit / 2 + d.extent.cy * 2540) / d.unit;
    EmfRecorder recorder(reference, Rect{0, 0, wf, hf});
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(d.extent.cx, -d.extent.cy);
    recorder.SetViewportExt((wf * reference.dpiX + 1270) / 2540, (hf * reference.dpiY + 1270) / 2540);
    recorder.SetWindowOrg(0, 0);
    PaintSymbol(recorder, d);
    return recorder.Close();
}

int WriteSymbolPlaceableWmf(const WindowsMetafile&, const std::string&, int, int) { return 0; }

int WriteSymbolBitmapFile(int, const std::string&, const MonochromeBitmap&, int) { return kStatusWriteFailed; }

} // namespace lx
