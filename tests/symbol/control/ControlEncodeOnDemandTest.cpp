// The control encodes when a result is read, once for a run of changes, and
// copies or dumps without encoding again when nothing changed. What it
// reports must still be what a control gives that encodes at every call
// asking for an encode (every encode-relevant setter, QrImageCopy, ImageData,
// and the drawing roads when nothing is encoded).
//
// That eager control is a second instance driven through public roads only:
// MakeStatus is read after each of its calls, so a setter's encode happens
// at once, and before a call that encodes, EccLevel is set to its own value
// (a setter that always encodes), so that the call's encode is a real one.
// Nothing in the control exists for the test.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "ControlTesting.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "support/TestPaths.h"
#include "symbol/control/EncodeSymbol.h"

using namespace lx;
using lxtest::TestControl;

namespace {

struct Call {
    DispId id = 0;
    std::uint16_t flags = kInvokePropertyGet;
    std::vector<Variant> args;
    bool saveAndLoad = false; // the host stores the control and loads it back
};

struct Outcome {
    HResult status = kOk;
    HResult raised = kOk;
    Variant result;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

void PrintTo(const Outcome& o, std::ostream* out)
{
    *out << "status " << o.status << ", raised " << o.raised << ", result type " << static_cast<int>(o.result.Type());
    if (o.result.Type() == VarType::Int16)
        *out << " value " << o.result.AsInt16();
}

std::int32_t DrawingHandle()
{
    static Bitmap pixels(64, 64);
    static RasterDeviceContext dc(pixels);
    static const std::int32_t handle = RegisterDeviceContext(&dc);
    return handle;
}

class CallMaker {
public:
    CallMaker(unsigned seed, const lxtest::TempDir& dir) : random_(seed), dir_(dir) {}

    Call Next()
    {
        const int kind = Pick(100);
        if (kind < 34)
            return Put(Choose(kEncodeSetters), Value());
        if (kind < 46)
            return Put(kDispCodeType, Choose(kCodeTypes));
        if (kind < 64)
            return Data();
        if (kind < 69)
            return Put(Choose(kOtherSetters), Pick(8) - 1); // small symbols draw fast
        if (kind < 72)
            return Put(kDispThrowError, Pick(2));
        if (kind < 78)
            return Method(kDispQrImageCopy, {Variant(static_cast<std::int16_t>(Pick(2)))});
        if (kind < 86)
            return {kDispImageData, kInvokePropertyGet, {}};
        if (kind < 92)
            return File();
        if (kind < 95)
            return Method(kDispIdRefresh, {});
        if (kind < 97)
            return Method(kDispDrawQrImage,
                          {Variant(DrawingHandle()), Variant(std::int32_t{3}), Variant(std::int32_t{60})});
        if (kind < 99)
            return {kDispPicture, kInvokePropertyGet, {}};
        Call store;
        store.saveAndLoad = true;
        return store;
    }

private:
    static constexpr DispId kEncodeSetters[] = {
        kDispModelNo,      kDispDivide1,       kDispDivide2,       kDispEccLevel,   kDispChkDigit,
        kDispOptEANUPC,    kDispOptITF,        kDispOptCODE128,    kDispOptPLESSEY, kDispQRversion,
        kDispMaxiCodeMode, kDispPDF417Model,   kDispPDF417Ecc,     kDispDmxModel,   kDispPDF417Colum,
        kDispPDF417Row,    kDispPDF417XYratio, kDispPDF417HWratio, kDispBarChrGap,
    };
    static constexpr DispId kOtherSetters[] = {kDispCellPitch, kDispCellAdjust, kDispQuietZone, kDispRotate,
                                               kDispBarHeight, kDispChrDisplay, kDispMirror,    kDispGapAdjust};
    // Linear types above all, where an encode without data keeps the status.
    static constexpr int kCodeTypes[] = {0, 1, 3, 5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, -1};

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    template <typename T, std::size_t N>
    T Choose(const T (&items)[N])
    {
        return items[Pick(static_cast<int>(N))];
    }
    // Valid and invalid values of every setter's range.
    int Value()
    {
        static constexpr int kOdd[] = {-32768, -100, 40, 41, 90, 91, 1000, 32767};
        return Pick(8) == 0 ? Choose(kOdd) : Pick(23) - 2;
    }
    static Call Put(DispId id, int value)
    {
        return {id, kInvokePropertyPut, {Variant(static_cast<std::int16_t>(value))}};
    }
    static Call Method(DispId id, std::vector<Variant> args) { return {id, kInvokeMethod, std::move(args)}; }

    Call Data()
    {
        static const std::string kData[] = {
            "",
            "",
            "",
            "ABC",
            "12345",
            "490123456789",
            "1234567",
            "abc",
            "12345,840,001,MAXI TEXT",
            "\x89\xEF\x88\xF5\x94\xD4\x8D\x86",
            std::string(8000, '7'),
            std::string("\x00\xFF\x81", 3),
        };
        static constexpr DispId kRoads[] = {kDispInputData, kDispInputData, kDispInputDataA, kDispInputDataB};
        const std::string& data = Choose(kData);
        const DispId road = Choose(kRoads);
        const Variant value = road == kDispInputData ? Variant::Text(data) : Variant(BStr::FromBytes(data));
        return {road, kInvokePropertyPut, {value}};
    }

    // Formats out of range, and files written or not (a missing folder).
    Call File()
    {
        static constexpr std::int16_t kFormats[] = {5, -1, 0, 1, 2, 3};
        const std::int16_t format = Choose(kFormats);
        // A file written waits for the disk: fewer of those.
        const std::string path = Pick(4) == 0 ? dir_.File("s") : dir_.File("missing/s");
        return Method(kDispCreateQrMetaFile, {Variant(std::int32_t{0}), Variant::Text(path), Variant(format)});
    }

    std::mt19937 random_;
    const lxtest::TempDir& dir_;
};

Outcome Perform(TestControl& c, const Call& call)
{
    Outcome out;
    if (call.saveAndLoad) {
        MemoryStream stream;
        out.status = c.object->Save(stream, true);
        stream.Seek(0);
        if (out.status == kOk)
            out.status = c.object->Load(stream);
        return out;
    }
    DispatchException exception;
    out.status = c.object->Invoke(call.id, call.flags, call.args, &out.result, &exception);
    out.raised = exception.status;
    if (call.id == kDispPicture)
        out.result = Variant(); // a picture object of each control's own
    return out;
}

bool EncodesAlways(const Call& call) { return call.id == kDispQrImageCopy || call.id == kDispImageData; }

bool EncodesWhenEmpty(const Call& call)
{
    return call.id == kDispIdRefresh || call.id == kDispDrawQrImage ||
        (call.id == kDispCreateQrMetaFile && call.args[2].AsInt16() >= 0 && call.args[2].AsInt16() <= 4);
}

Outcome RunEagerly(TestControl& eager, const Call& call)
{
    if (EncodesAlways(call) || (EncodesWhenEmpty(call) && eager.GetShort(kDispNumCell) == 0))
        eager.Put(kDispEccLevel, eager.GetShort(kDispEccLevel));
    Outcome out = Perform(eager, call);
    eager.GetShort(kDispMakeStatus);
    return out;
}

// Everything an encode leaves that a host or a drawing can see.
void ExpectSameSymbol(TestControl& c, TestControl& eager, int step)
{
    const EncodedSymbol& mine = c.object->Symbol();
    const EncodedSymbol& theirs = eager.object->Symbol();
    EXPECT_EQ(mine.MakeStatus, theirs.MakeStatus) << "step " << step;
    EXPECT_EQ(mine.NumCell, theirs.NumCell) << "step " << step;
    EXPECT_EQ(mine.Bstart, theirs.Bstart) << "step " << step;
    EXPECT_EQ(mine.Bend, theirs.Bend) << "step " << step;
    if (mine.NumCell > 0 && !IsMatrixFamily(c.object->Properties().CodeType)) {
        EXPECT_EQ(mine.LinearText, theirs.LinearText) << "step " << step;
    }
}

TEST(ControlEncodeOnDemand, ReportsWhatAnEagerControlReportsAfterEveryCall)
{
    constexpr int kSteps = 10500;
    lxtest::TempDir dir;
    CallMaker maker(20261210, dir);
    std::mt19937 readings(7);
    TestControl eager;
    TestControl everyCall; // MakeStatus read after each call
    TestControl runs; // read now and then, so that changes run together
    int differences = 0;
    std::set<int> statuses;
    for (int step = 0; step < kSteps && differences < 20; ++step) {
        const Call call = maker.Next();
        const Outcome expected = RunEagerly(eager, call);
        const Outcome got = Perform(everyCall, call);
        const Outcome gotInRun = Perform(runs, call);
        const int status = eager.GetShort(kDispMakeStatus);
        statuses.insert(status);
        differences += !(got == expected) + !(gotInRun == expected);
        EXPECT_EQ(got, expected) << "step " << step << " member " << call.id;
        EXPECT_EQ(gotInRun, expected) << "step " << step << " member " << call.id;
        const int everyCallStatus = everyCall.GetShort(kDispMakeStatus);
        differences += everyCallStatus != status;
        EXPECT_EQ(everyCallStatus, status) << "step " << step << " member " << call.id;
        if (std::uniform_int_distribution<int>(0, 7)(readings) == 0) {
            const int runStatus = runs.GetShort(kDispMakeStatus);
            differences += runStatus != status;
            EXPECT_EQ(runStatus, status) << "step " << step << " member " << call.id;
            ExpectSameSymbol(runs, eager, step);
            ExpectSameSymbol(everyCall, eager, step);
        }
    }
    // The calls met linear element counts, engine refusals, too much data,
    // an empty part, and the file failures.
    for (int status : {0, -1, -3, -5, -7, 5})
        EXPECT_TRUE(statuses.count(status)) << status;
    EXPECT_GT(*statuses.rbegin(), 11);
    EXPECT_GT(statuses.size(), 12u);
}

// The two cases a host met: a failed file write, then a copy that succeeds;
// and a switch of the symbol type followed by empty data.
TEST(ControlEncodeOnDemand, StatusOfTheLastEncodeAfterAFailedWriteAndAfterEmptyLinearData)
{
    TestControl c;
    const Variant badFormat[] = {Variant(std::int32_t{0}), Variant::Text("/tmp/never"), Variant(std::int16_t{5})};
    c.driver.Call(kDispCreateQrMetaFile, badFormat);
    ASSERT_EQ(c.GetShort(kDispMakeStatus), -7);
    EXPECT_EQ(c.driver.Call(kDispQrImageCopy, {Variant(std::int16_t{1})}).AsInt16(), 21);
    EXPECT_EQ(c.GetShort(kDispMakeStatus), 0);

    TestControl linear;
    linear.Put(kDispCodeType, kCodeCode39);
    linear.PutText("ABC");
    const int elements = linear.GetShort(kDispMakeStatus);
    ASSERT_GT(elements, 0);
    linear.Put(kDispCodeType, kCodeCode128);
    linear.PutText("");
    TestControl code128;
    code128.Put(kDispCodeType, kCodeCode128);
    code128.PutText("ABC");
    EXPECT_EQ(linear.GetShort(kDispMakeStatus), code128.GetShort(kDispMakeStatus));
    EXPECT_NE(code128.GetShort(kDispMakeStatus), elements);
}

} // namespace
