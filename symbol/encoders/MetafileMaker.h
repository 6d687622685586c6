#pragma once
// The metafile makers: one Windows metafile (WMF) and one enhanced metafile
// (EMF) maker per symbol family. Each records a mapping in which one logical
// unit is one CellUnit unit with y growing upward (window extent (W, -H)),
// runs the family's painter into it and returns the picture.
//
// W x H is the symbol's extent after the turn (odd rotations swap them):
//   QR, Micro QR  adjust + pitch x (n + 2q), the same
//   DataMatrix    adjust + pitch x (columns + 2q), adjust + pitch x (rows + 2q)
//   MaxiCode      MaxiCodeWidth, MaxiCodeHeight
//   PDF417        adjust + pitch x (modules per row + 2q),
//                 pitch x (factor x rows + 2q)
//   linear        the drawn extent the caller gives, already turned
// The WMF records no viewport: its player chooses one. The EMF has the frame
// ((u / 2 + W x 2540) / u, likewise H) in 0.01 mm, u = CellUnit, and the
// viewport of that frame in pixels of the reference device.
//
// A picture that cannot be made comes back empty (the null handle): an
// extent beyond the 16-bit coordinates of a WMF, a CellUnit below 1, or an
// extent beyond the coordinate range. An empty symbol (size or pitch 0)
// still gives a valid picture holding only the mapping.
//
// reference: the device the EMF is made for (the control's default
// printer); null makes it against the display.
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"
#include "symbol/encoders/SymbolPainter.h"

namespace lx {

// The MaxiCode extent for a rotation (odd rotations exchange the formulas).
int MaxiCodeWidth(int pitch, int adjust, int quietZone, int rotate);
int MaxiCodeHeight(int pitch, int adjust, int quietZone, int rotate);

// `cellUnit` shapes the EMF only. The QR makers draw without the gap allowance.
WindowsMetafile MakeQrWmf(const MatrixDrawing& m);
EnhMetafile MakeQrEmf(const DeviceInfo* reference, const MatrixDrawing& m, int cellUnit);
WindowsMetafile MakeDataMatrixWmf(const MatrixDrawing& m);
EnhMetafile MakeDataMatrixEmf(const DeviceInfo* reference, const MatrixDrawing& m, int cellUnit);
WindowsMetafile MakeMaxiCodeWmf(const MatrixDrawing& m);
EnhMetafile MakeMaxiCodeEmf(const DeviceInfo* reference, const MatrixDrawing& m, int cellUnit);
WindowsMetafile MakePdf417Wmf(const MatrixDrawing& m);
EnhMetafile MakePdf417Emf(const DeviceInfo* reference, const MatrixDrawing& m, int cellUnit);
WindowsMetafile MakeLinearWmf(const LinearDrawing& s);
EnhMetafile MakeLinearEmf(const DeviceInfo* reference, const LinearDrawing& s, int cellUnit);

} // namespace lx
