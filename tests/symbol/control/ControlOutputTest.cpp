// The control's output roads: the symbol's extent, the matrix dump, the
// clipboard copy the designer takes every symbol from, and the files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

#include "ControlTesting.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/com/Persistence.h"
#include "platform/io/Files.h"
#include "support/ChildProcess.h"
#include "support/TestPaths.h"

using namespace lx;
using lxtest::TestControl;

namespace {

float ImageWidth(TestControl& c) { return c.driver.Get(kDispImageWidth).AsFloat(); }
float ImageHeight(TestControl& c) { return c.driver.Get(kDispImageHeight).AsFloat(); }
std::string ImageData(TestControl& c) { return c.driver.Get(kDispImageData).AsString().ToCp932(); }

TEST(ControlExtent, QrAtTenthsOfAMillimetre)
{
    TestControl c;
    c.Put(kDispCellUnit, 254);
    c.Put(kDispCellPitch, 10);
    c.Put(kDispCellAdjust, 0);
    c.Put(kDispQuietZone, 4);
    ASSERT_EQ(c.GetShort(kDispNumCell), 21);
    EXPECT_EQ(c.object->GetSymbolExtent(), (Size{290, 290}));
    EXPECT_FLOAT_EQ(ImageWidth(c), 29.0f);
    EXPECT_FLOAT_EQ(ImageHeight(c), 29.0f);
    // Adjust widens the whole symbol once.
    c.Put(kDispCellAdjust, 3);
    EXPECT_EQ(c.object->GetSymbolExtent(), (Size{293, 293}));
}

TEST(ControlExtent, MaxiCodeRowsAreShorterThanColumns)
{
    TestControl c;
    c.Put(kDispCodeType, 15);
    c.Put(kDispCellPitch, 10);
    c.Put(kDispQuietZone, 0);
    EXPECT_EQ(c.object->GetSymbolExtent(), (Size{300, 297}));
    c.Put(kDispRotate, 1);
    EXPECT_EQ(c.object->GetSymbolExtent(), (Size{297, 300}));
}

TEST(ControlExtent, MatrixFamiliesAndTheEmptySymbol)
{
    TestControl c;
    c.Put(kDispCellPitch, 4);
    c.Put(kDispQuietZone, 1);
    c.Put(kDispCodeType, 17);
    const std::int32_t dm = c.object->Symbol().NumCell;
    ASSERT_GT(dm, 0);
    EXPECT_EQ(c.object->GetSymbolExtent(), (Size{4 * ((dm & 0xFFFF) + 2), 4 * ((dm >> 16) + 2)}));
    c.Put(kDispCodeType, 16);
    c.Put(kDispPDF417XYratio, 3);
    const std::int32_t pdf = c.object->Symbol().NumCell;
    EXPECT_EQ(c.object->GetSymbolExtent(), (Size{4 * ((pdf & 0xFFFF) + 2), 4 * (3 * (pdf >> 16) + 2)}));
    // Nothing encoded: 15.5 mm square at the unit.
    c.PutText("");
    EXPECT_EQ(c.object->GetSymbolExtent(), (Size{366, 366})); // 600 x 15.5 / 25.4 = 366.1
}

TEST(ControlExtent, LinearHeightAndTextBand)
{
    TestControl c;
    c.Put(kDispCodeType, 8);
    c.PutText("ABC");
    c.Put(kDispBarHeight, 10);
    c.Put(kDispChrDisplay, 1);
    const Size upright = c.object->GetSymbolExtent();
    const int bars = static_cast<int>(std::floor(10 / 25.4 * 600 + 0.5)); // 236
    EXPECT_EQ(upright.cy, bars + (bars + 3) / 4);
    EXPECT_EQ(upright.cx, c.object->LinearWidth());
    c.Put(kDispRotate, 1);
    EXPECT_FLOAT_EQ(ImageWidth(c), static_cast<float>(upright.cy * 25.4 / 600));
    c.Put(kDispRotate, 0);
    c.Put(kDispChrDisplay, 2);
    EXPECT_EQ(c.object->GetSymbolExtent().cy, bars + 71); // 3 mm at 600 dpi
}

TEST(ControlExtent, LinearWidthCountsEveryElement)
{
    // Code 39 of one character between start and stop: three characters of
    // nine elements (three wide) and two gaps; wide = pitch x 2.5.
    TestControl c;
    c.Put(kDispCodeType, 8);
    c.Put(kDispCellPitch, 4);
    c.Put(kDispQuietZone, 10);
    c.PutText("A");
    const int count = c.GetShort(kDispNumCell);
    ASSERT_EQ(count, 3 * 9 + 2);
    EXPECT_EQ(c.object->LinearWidth(), 2 * 4 * 10 + 3 * (6 * 4 + 3 * 10) + 2 * 4);
    // ITF bearer bars add ten pitches.
    c.Put(kDispCodeType, 6);
    c.PutText("1234");
    const int plain = c.object->GetSymbolExtent().cx;
    c.Put(kDispOptITF, 1);
    EXPECT_EQ(c.object->GetSymbolExtent().cx, plain + 40);
}

TEST(ControlExtent, HostileLoadedRatiosKeepTheExtentInRange)
{
    // A loaded ratio skips the setter's 2-3 check. Far beyond the integers
    // the wide bars stay as wide as an extent can be; NaN makes them empty.
    struct Case {
        float ratio;
        bool widest;
    };
    const float huge = 2.4e29f;
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case& k : {Case{huge, true}, Case{inf, true}, Case{-huge, false}, Case{-inf, false},
                          Case{std::numeric_limits<float>::quiet_NaN(), false}}) {
        TestControl source;
        source.Put(kDispCodeType, 8);
        source.PutText("ABC");
        MemoryPropertyBag bag;
        ASSERT_EQ(source.object->Save(static_cast<PropertyBag&>(bag), false), kOk);
        bag.Write("NwRatio", Variant(k.ratio));
        TestControl c;
        ASSERT_EQ(c.object->Load(static_cast<const PropertyBag&>(bag)), kOk);
        ASSERT_GT(c.GetShort(kDispNumCell), 0);
        const Size extent = c.object->GetSymbolExtent();
        EXPECT_GE(extent.cx, 1) << k.ratio;
        if (k.widest) {
            EXPECT_EQ(extent.cx, 2147483647) << k.ratio;
        }
        const EnhMetafile picture = c.object->MakeSymbolEnhMetafile(0x000000, 0xFFFFFF);
        (void)picture; // made or refused, without a fault
    }
}

TEST(ControlImageData, MatrixRowsAsHexadecimalText)
{
    TestControl c;
    const std::string hex = ImageData(c);
    ASSERT_EQ(hex.size(), 126u); // 21 rows of 3 bytes
    // The top-left finder: seven dark modules, then a light one.
    EXPECT_EQ(hex.substr(0, 2), "7F");
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    c.Put(kDispCodeType, 15);
    EXPECT_EQ(ImageData(c).size(), 33u * 4 * 2);
    c.Put(kDispCodeType, 8);
    c.PutText("1");
    EXPECT_EQ(ImageData(c).size(), 2u * c.GetShort(kDispNumCell));
    c.PutText("");
    EXPECT_EQ(ImageData(c), "");
}

TEST(ControlClipboard, NothingEncodedEmptiesTheClipboard)
{
    {
        Clipboard clipboard;
        ASSERT_TRUE(clipboard.Open());
        clipboard.Empty();
        clipboard.SetBitmap(Bitmap(4, 4));
    }
    TestControl c;
    c.PutText("");
    EXPECT_EQ(c.driver.Call(kDispQrImageCopy, {Variant(std::int16_t{1})}).AsInt16(), 0);
    EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::Bitmap));
    EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::EnhMetafile));
}

TEST(ControlClipboard, BusyClipboardIsSkippedButTheCountComesBack)
{
    Clipboard holder;
    ASSERT_TRUE(holder.Open());
    TestControl c;
    EXPECT_EQ(c.driver.Call(kDispQrImageCopy, {Variant(std::int16_t{1})}).AsInt16(), 21);
    EXPECT_FALSE(c.object->CopyEnhMetafileToClipboard());
}

TEST(ControlFile, FormatAboveFourIsRefused)
{
    TestControl c;
    for (std::int16_t format : {5, -1}) {
        const Variant args[] = {Variant(std::int32_t{0}), Variant::Text("/tmp/never"), Variant(format)};
        EXPECT_EQ(c.driver.Call(kDispCreateQrMetaFile, args).AsInt16(), 0) << format;
        EXPECT_EQ(c.GetShort(kDispMakeStatus), -7) << format;
    }
}

// The files of CreateQrMetaFile, called through the dispatch interface as a
// host calls it: a disk that fills up (here the file-size limit, which gives
// the same error) or a path that names no regular file leaves what was there
// as it was, with the status of a file that could not be written.
TEST(ControlFile, AFullDiskOrAPathThatIsNoFileLeavesWhatWasThere)
{
    TestControl c;
    c.PutText("https://example.jp/");
    lxtest::TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto create = [&](const std::string& path, std::int16_t format) {
        const Variant args[] = {Variant(std::int32_t{0}), Variant::Text(path), Variant(format)};
        return c.driver.Call(kDispCreateQrMetaFile, args).AsInt16();
    };
    const struct {
        std::int16_t format;
        const char* name;
        int status;
    } cases[] = {{0, "s.wmf", -5}, {1, "s.emf", -5}, {2, "s.bmp", 5}, {3, "s.png", 5}, {4, "s.tif", 5}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string path = dir.File(k.name);
        ASSERT_EQ(create(path, k.format), c.object->Symbol().NumCell);
        const std::string old = ReadFileBytes(path);
        {
            const lxtest::FileSizeLimit full(old.size() / 2);
            EXPECT_EQ(create(path, k.format), 0);
        }
        EXPECT_EQ(c.GetShort(kDispMakeStatus), k.status);
        EXPECT_EQ(ReadFileBytes(path), old);
        EXPECT_EQ(create(fifo, k.format), 0);
        EXPECT_EQ(c.GetShort(kDispMakeStatus), k.status);
        EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    }
    EXPECT_EQ(lxtest::FolderNames(dir.Path()).size(), 6u);
}

} // namespace
