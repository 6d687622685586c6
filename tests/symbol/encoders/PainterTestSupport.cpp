#include "symbol/encoders/PainterTestSupport.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "symbol/encoders/DataMatrixEncoder.h"
#include "symbol/encoders/MaxiCodeEncoder.h"
#include "symbol/encoders/Pdf417TestSupport.h"
#include "symbol/encoders/QrTestSupport.h"

#include <algorithm>

namespace lxtest {

Encoded2D EncodeQrText(const std::string& request, int model)
{
    const QrSymbol s = EncodeQrRequest(request, model);
    return {s.matrix, s.size};
}

Encoded2D EncodeDataMatrixText(const std::string& data, int model)
{
    Encoded2D s;
    s.matrix.assign(lx::kDataMatrixMatrixBytes, 0);
    if (lx::EncodeDataMatrix(static_cast<int>(data.size()), reinterpret_cast<const std::uint8_t*>(data.data()), &s.size,
                             s.matrix.data(), model, 0) != 0)
        s.size = 0;
    return s;
}

Encoded2D EncodeMaxiCodeText(const std::string& message)
{
    const std::string request = "," + message;
    Encoded2D s;
    s.matrix.assign(lx::kMaxiCodeMapBytes, 0);
    if (lx::EncodeMaxiCode(static_cast<int>(request.size()), reinterpret_cast<const std::uint8_t*>(request.data()),
                           s.matrix.data(), 3) == 0)
        s.size = 30 | 33 << 16;
    return s;
}

Encoded2D EncodePdf417Text(const std::string& request, int model)
{
    const Pdf417Symbol s = EncodePdf417Request(request, model);
    return {s.matrix, s.width | s.rows << 16};
}

lx::Bitmap PaintYUp(int width, int height, const std::function<void(lx::DeviceContext&)>& paint, std::uint32_t fill,
                    int scale)
{
    lx::Bitmap bitmap(width * scale, height * scale, fill);
    lx::RasterDeviceContext dc(bitmap);
    dc.SetMapMode(lx::MapMode::Anisotropic);
    dc.SetWindowExt(width, -height);
    dc.SetViewportExt(width * scale, height * scale);
    paint(dc);
    return bitmap;
}

int FigureLog::Count(char kind) const
{
    return static_cast<int>(
        std::count_if(figures.begin(), figures.end(), [&](const Figure& f) { return f.kind == kind; }));
}

} // namespace lxtest
