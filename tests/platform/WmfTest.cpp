#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"
#include "support/Oracles.h"
#include "support/TestPaths.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace lx;

namespace {

constexpr int kModules = 8;
constexpr int kPitch = 10;
constexpr int kSide = kModules * kPitch;

bool Dark(int x, int y) { return (x * 3 + y * 5) % 7 < 3; }

// A symbol the way the control records one: y grows upward, one unit per
// module tenth, rectangles outlined in their own colour.
template <typename Recorder>
void DrawSymbol(Recorder& r, int viewport = 0)
{
    r.SetMapMode(MapMode::Anisotropic);
    r.SetWindowExt(kSide, -kSide);
    if (viewport)
        r.SetViewportExt(viewport, viewport);
    r.SetWindowOrg(0, 0);
    r.SelectPen({PenStyle::Solid, 1, 0x000000});
    r.SelectBrush({BrushStyle::Solid, 0x000000});
    for (int y = 0; y < kModules; ++y)
        for (int x = 0; x < kModules; ++x)
            if (Dark(x, y))
                r.Rectangle(x * kPitch, -y * kPitch, (x + 1) * kPitch, -(y + 1) * kPitch);
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Module centres of a rendering of `side` pixels, true where dark.
void ExpectModules(const QImage& image, const char* who)
{
    const int module = image.width() / kModules;
    for (int y = 0; y < kModules; ++y)
        for (int x = 0; x < kModules; ++x) {
            const QColor c = image.pixelColor(x * module + module / 2, y * module + module / 2);
            const bool dark = c.alpha() > 128 && c.lightness() < 128;
            EXPECT_EQ(dark, Dark(x, y)) << who << " module " << x << "," << y;
        }
}

} // namespace

TEST(Wmf, OurPlaceableFileOpensInLibwmfWithTheSameModules)
{
    LX_NEED_ORACLE(lxtest::LibwmfRenders(), "wmf2gd (libwmf-bin) with its fonts (fonts-urw-base35)");
    WmfRecorder recorder;
    DrawSymbol(recorder);
    const WindowsMetafile wmf = recorder.Close();
    lxtest::TempDir dir;
    WriteFile(dir.File("symbol.wmf"), wmf.PlaceableBytes({{0, 0, kSide, kSide}, 96}));
    const std::string command = "wmf2gd -t png --maxwidth=160 --maxheight=160 --maxsize -o '" + dir.File("symbol.png") +
        "' '" + dir.File("symbol.wmf") + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const QImage theirs(QString::fromStdString(dir.File("symbol.png")));
    ASSERT_EQ(theirs.size(), QSize(160, 160));
    ExpectModules(theirs, "libwmf");

    Bitmap ours(160, 160);
    {
        RasterDeviceContext dc(ours);
        PlayWindowsMetafile(dc, WindowsMetafile::FromBytes(wmf.PlaceableBytes({{0, 0, kSide, kSide}, 96})),
                            {0, 0, 160, 160});
    }
    ExpectModules(QImage(reinterpret_cast<const uchar*>(ours.Data()), 160, 160, QImage::Format_ARGB32), "ours");
}

TEST(Emf, OurFileOpensInAnIndependentReaderWithTheSameModules)
{
    // The control's way: one unit a printer pixel at 600 dpi.
    const DeviceInfo printer{600, 600, 6000, 9000, 254, 381, 0, 0};
    const int frame = (300 + kSide * 2540) / 600;
    EmfRecorder recorder(printer, Rect{0, 0, frame, frame});
    DrawSymbol(recorder, (frame * 600 + 1270) / 2540);
    const EnhMetafile emf = recorder.Close();
    ASSERT_EQ(emf.PixelSize(), (Size{kSide, kSide}));
    // Our own playback keeps every module an exact multiple at any scale.
    for (int scale : {1, 2, 3}) {
        Bitmap bmp(kSide * scale, kSide * scale);
        {
            RasterDeviceContext dc(bmp);
            PlayEnhMetafile(dc, emf, {0, 0, kSide * scale, kSide * scale});
        }
        const int module = kPitch * scale;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                ASSERT_EQ(bmp.Pixel(x, y) == 0xFF000000u, Dark(x / module, y / module))
                    << scale << ": " << x << "," << y;
    }
    LX_NEED_TOOLS("emf2svg-conv", "rsvg-convert");
    lxtest::TempDir dir;
    WriteFile(dir.File("symbol.emf"), emf.Bytes());
    const std::string command = "emf2svg-conv -i '" + dir.File("symbol.emf") + "' -o '" + dir.File("symbol.svg") +
        "' && rsvg-convert -w 160 -h 160 -o '" + dir.File("symbol.png") + "' '" + dir.File("symbol.svg") + "'";
    ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0);
    const QImage theirs(QString::fromStdString(dir.File("symbol.png")));
    ASSERT_EQ(theirs.size(), QSize(160, 160));
    ExpectModules(theirs, "emf2svg");
}
