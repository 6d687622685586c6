#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/ByteCursor.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lx;

namespace {

EnhMetafile SmallEmf()
{
    EmfRecorder recorder(DisplayDevice(), FrameForPixels({40, 40}, DisplayDevice()));
    recorder.SelectBrush({BrushStyle::Solid, 0x0000FF});
    recorder.Rectangle(1, 1, 30, 30);
    LogFont font;
    font.height = -12;
    font.faceName = Sjis("ＭＳ ゴシック");
    recorder.SelectFont(font);
    recorder.TextOut(2, 2, Sjis("あA"));
    recorder.StretchDraw({0, 0, 8, 8}, Bitmap(2, 2, 0xFF000000u), 0xFFFFFF);
    return recorder.Close();
}

// The EMF with one more record before its end record.
std::string WithRecord(const std::string& emf, std::uint32_t type, const std::function<void(ByteWriter&)>& body)
{
    ByteWriter record;
    record.U32(type);
    record.U32(0);
    body(record);
    record.PadTo(4);
    record.PatchU32(4, static_cast<std::uint32_t>(record.Size()));
    std::string bytes = emf.substr(0, emf.size() - 20) + record.Data() + emf.substr(emf.size() - 20);
    ByteWriter patch;
    patch.Bytes(bytes);
    patch.PatchU32(48, static_cast<std::uint32_t>(bytes.size()));
    return std::move(patch.Data());
}

void Play(const std::string& bytes)
{
    Bitmap bmp(40, 40);
    RasterDeviceContext dc(bmp);
    PlayEnhMetafile(dc, EnhMetafile::FromBytes(bytes), {0, 0, 40, 40});
}

} // namespace

TEST(MetafileHostile, TruncatedEmfAndWmfAreRejected)
{
    const std::string emf = SmallEmf().Bytes();
    for (std::size_t n = 0; n < emf.size(); n += 3)
        EXPECT_THROW(EnhMetafile::FromBytes(emf.substr(0, n)), ReadError) << n;
    WmfRecorder recorder;
    recorder.Rectangle(0, 0, 10, 10);
    const std::string wmf = recorder.Close().PlaceableBytes({{0, 0, 10, 10}, 96});
    for (std::size_t n = 0; n < wmf.size(); n += 2)
        EXPECT_THROW(WindowsMetafile::FromBytes(wmf.substr(0, n)), ReadError) << n;
}

TEST(MetafileHostile, BrokenRecordSizesAreRejected)
{
    std::string emf = SmallEmf().Bytes();
    const std::size_t second = 108; // the first record after the header
    for (std::uint32_t size : {0u, 4u, 6u, 0x7FFFFFF0u, static_cast<std::uint32_t>(emf.size())}) {
        std::string broken = emf;
        ByteWriter w;
        w.Bytes(broken);
        w.PatchU32(second + 4, size);
        EXPECT_THROW(EnhMetafile::FromBytes(w.Data()), ReadError) << size;
    }
    ByteWriter header;
    header.Bytes(emf);
    header.PatchU32(48, 40); // fewer bytes than the header itself
    EXPECT_THROW(EnhMetafile::FromBytes(header.Data()), ReadError);
    WmfRecorder recorder;
    recorder.Rectangle(0, 0, 10, 10);
    std::string wmf = recorder.Close().Bytes();
    for (std::uint32_t words : {0u, 2u, 0x40000000u}) {
        ByteWriter w;
        w.Bytes(wmf);
        w.PatchU32(18, words);
        EXPECT_THROW(WindowsMetafile::FromBytes(w.Data()), ReadError) << words;
    }
}

TEST(MetafileHostile, AbsurdCountsAndOffsetsFailWithoutAllocating)
{
    const std::string emf = SmallEmf().Bytes();
    struct Case {
        const char* what;
        std::uint32_t type;
        std::function<void(ByteWriter&)> body;
    };
    const Case cases[] = {
        {"polygon count", 86,
         [](ByteWriter& w) {
             w.Zeros(16);
             w.U32(0x7FFFFFFF);
         }},
        {"polypolygon count", 91,
         [](ByteWriter& w) {
             w.Zeros(16);
             w.U32(0x40000000);
             w.U32(3);
         }},
        {"text offset", 84,
         [](ByteWriter& w) {
             w.Zeros(28);
             w.I32(0);
             w.I32(0);
             w.U32(1000);
             w.U32(0x7FFFFFF0);
             w.Zeros(24);
         }},
        {"bitmap size", 81,
         [](ByteWriter& w) {
             w.Zeros(16 + 8 + 16);
             w.U32(80);
             w.U32(40);
             w.U32(120);
             w.U32(4);
             w.U32(0);
             w.U32(0x00CC0020);
             w.I32(4);
             w.I32(4);
             w.U32(40);
             w.I32(0x40000);
             w.I32(0x40000);
             w.U16(1);
             w.U16(24);
             w.Zeros(24);
             w.U32(0);
         }},
        {"clip rectangles", 75,
         [](ByteWriter& w) {
             w.U32(48);
             w.U32(5);
             w.U32(32);
             w.U32(1);
             w.U32(0x10000000);
             w.U32(0);
             w.Zeros(16);
         }},
        {"huge clip", 75,
         [](ByteWriter& w) {
             w.U32(32 + 16 * 200);
             w.U32(5);
             w.U32(32);
             w.U32(1);
             w.U32(200);
             w.U32(3200);
             w.Zeros(16);
             for (int i = 0; i < 200; ++i) {
                 w.I32(0);
                 w.I32(-1000000000);
                 w.I32(10);
                 w.I32(1000000000);
             }
         }},
    };
    for (const Case& c : cases)
        EXPECT_THROW(Play(WithRecord(emf, c.type, c.body)), ReadError) << c.what;
}

TEST(MetafileHostile, OutOfRangeObjectsAndStatesAreIgnored)
{
    const std::string emf = SmallEmf().Bytes();
    const std::function<void(ByteWriter&)> bodies[] = {
        [](ByteWriter& w) { w.U32(1000000); }, // select an object that was never made
        [](ByteWriter& w) { w.U32(0x8000FFFF); }, // an unknown stock object
    };
    for (const auto& body : bodies)
        EXPECT_NO_THROW(Play(WithRecord(emf, 37, body)));
    EXPECT_NO_THROW(Play(WithRecord(emf, 34, [](ByteWriter& w) { w.I32(-100); }))); // restore unsaved state
    EXPECT_NO_THROW(Play(WithRecord(emf, 38, [](ByteWriter& w) {
        w.U32(60000);
        w.Zeros(16);
    }))); // pen beyond table
    EXPECT_NO_THROW(Play(WithRecord(emf, 999, [](ByteWriter& w) { w.Zeros(12); }))); // unknown record
    EXPECT_NO_THROW(Play(WithRecord(emf, 42, [](ByteWriter& w) { // an ellipse far beyond the device
        w.I32(-2000000000);
        w.I32(-2000000000);
        w.I32(2000000000);
        w.I32(2000000000);
    })));
}

TEST(MetafileHostile, HugePensCostNoMoreThanTheTargetHolds)
{
    // A pen far wider than the 48 x 32 target, around figures that hold it:
    // the pen covers the target, in time that does not grow with the pen.
    std::string emf = SmallEmf().Bytes();
    emf = WithRecord(emf, 38, [](ByteWriter& w) {
        w.U32(1);
        w.U32(0);
        w.I32(0x7FFFFFFF);
        w.I32(0);
        w.U32(0);
    });
    emf = WithRecord(emf, 37, [](ByteWriter& w) { w.U32(1); });
    const auto aroundTheTarget = [](ByteWriter& w) {
        w.I32(-10000);
        w.I32(-10000);
        w.I32(10048);
        w.I32(10032);
    };
    for (const std::uint32_t figure : {42u, 43u}) // ellipse, rectangle
        emf = WithRecord(emf, figure, aroundTheTarget);
    Bitmap bmp(48, 32, 0xFFFFFFFFu);
    {
        RasterDeviceContext dc(bmp);
        PlayEnhMetafile(dc, EnhMetafile::FromBytes(emf), {0, 0, 48, 32});
    }
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            ASSERT_EQ(bmp.Pixel(x, y), 0xFF000000u) << x << "," << y;
}
