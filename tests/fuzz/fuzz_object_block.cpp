// Hostile object blocks of a label cell: loading keeps only whole objects,
// what was loaded saves and loads again to the same bytes, and the loaded
// objects survive the record queries, a copy for another record and a draw.
// The control is registered, so symbol objects are built and drawn too.
#include "designer/model/LxLabelObjectManager.h"

#include "FuzzSupport.h"

#include "designer/model/UnitCommon.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Numbers.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::vector<std::string>& Faces()
{
    static const std::vector<std::string> faces = {"Arial:0", "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e:128",
                                                   "@\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e:128"};
    return faces;
}

const std::shared_ptr<lx::TLxCSV>& MergeTable()
{
    static const auto csv = [] {
        lx::MemoryStream block;
        block.WriteUInt8(1);
        block.WriteInt32(2);
        block.WriteInt32(0);
        lx::WriteStreamString("a,b\r\nc,d\r\n", block);
        block.Seek(0);
        auto table = std::make_shared<lx::TLxCSV>();
        table->LoadFromStream(block);
        return table;
    }();
    return csv;
}

std::string Saved(const lx::TlxLabelObjectManager& list)
{
    lx::MemoryStream stream;
    list.SaveObjects(stream);
    return stream.TakeBytes();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    lxfuzz::RegisterSymbolControl();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static lxfuzz::ReachCounter symbols("symbol objects inside object blocks");
    lx::TlxLabelObjectManager list(Faces(), 30, 20, 0);
    lx::MemoryStream input(lxfuzz::Bytes(data, size));
    const std::int32_t claimed = size >= 4
        ? static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t(data[3]) << 24)
        : 0;
    try {
        list.LoadObjects(input, MergeTable());
    } catch (const lx::Error&) {
    }
    symbols.Count(lxfuzz::HoldsSymbolObject(list));
    if (list.GetObjectCount() > (claimed > 0 ? claimed : 0))
        __builtin_trap();

    const std::string first = Saved(list);
    lx::TlxLabelObjectManager again(Faces(), 30, 20, 0);
    lx::MemoryStream reread(first);
    again.LoadObjects(reread, MergeTable()); // what we wrote must read back
    if (reread.Remaining() != 0 || Saved(again) != first)
        __builtin_trap();

    try {
        list.GetSerialRecordCount();
    } catch (const lx::ConvertError&) {
    }
    list.SetRecordIndex(size > 4 ? data[4] : 0);
    auto copy = list.CloneLabelForRecord(MergeTable().get(), 1);
    if (copy->GetObjectCount() != list.GetObjectCount())
        __builtin_trap();

    // A coarse resolution keeps the draw cheap; every value still goes
    // through the conversions a real render makes.
    list.SetDpiX(30);
    list.SetDpiY(30);
    lx::Bitmap cell(list.MmToPixels(lx::kAxisHorizontal, 30), list.MmToPixels(lx::kAxisVertical, 20));
    lx::RasterDeviceContext dc(cell);
    try {
        list.DrawObjects(dc, size > 5 && (data[5] & 1));
    } catch (const lx::ConvertError&) {
    }
    return 0;
}
