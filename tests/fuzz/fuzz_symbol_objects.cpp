// Hostile bytes into the own record parts of the symbol, mobile QR and merge
// symbol objects, and into the postal customer barcode. Reading may only fail
// with lx::Error; what was read writes again and reads back to the same
// bytes; a bar string always has its 23 characters.
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"
#include "platform/io/Errors.h"
#include "platform/postal/CustomerBarcode.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

template <class Read, class Write>
void CheckPart(const std::string& bytes, Read read, Write write)
{
    lx::MemoryStream input(bytes);
    try {
        read(input);
    } catch (const lx::Error&) {
        return;
    }
    lx::MemoryStream once;
    write(once);
    lx::MemoryStream again(once.Bytes());
    read(again); // what we wrote must read back
    lx::MemoryStream twice;
    write(twice);
    if (again.Remaining() != 0 || twice.Bytes() != once.Bytes())
        __builtin_trap();
}

void CheckPostal(const std::string& bytes)
{
    const std::size_t split = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % bytes.size();
    const std::string zip = bytes.substr(0, split);
    const std::string address = bytes.substr(split);
    const std::string number = lx::ExtractAddressNumber(address);
    for (char c : number)
        if (!((c >= '0' && c <= '9') || c == '-' || (c >= 'A' && c <= 'Z')))
            __builtin_trap();
    char out[lx::kCustomerBarStringLength + 1];
    std::memset(out, 0, sizeof out);
    const std::string zipText(zip.c_str()); // the function reads zero-terminated texts
    const std::string addressText(address.c_str());
    if (lx::GetCBarString("()ABCDEFGH", zipText.c_str(), addressText.c_str(), out) == lx::kCBarOk &&
        (std::strlen(out) != lx::kCustomerBarStringLength || out[0] != '(' || out[22] != ')'))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        lx::SymbolSettings settings;
        lx::Picture picture;
        CheckPart(
            bytes, [&](lx::Stream& s) { lx::ReadSymbolOwnPart(s, settings, picture); },
            [&](lx::Stream& s) { lx::WriteSymbolOwnPart(settings, picture, s); });
    }
    {
        lx::QRCarryFields fields;
        lx::Picture picture;
        CheckPart(
            bytes, [&](lx::Stream& s) { lx::ReadQRCarryOwnPart(s, fields, picture); },
            [&](lx::Stream& s) { lx::WriteQRCarryOwnPart(fields, picture, s); });
        lx::BuildCarrierPayload(fields);
    }
    {
        lx::CsvBarcodeBinding binding;
        CheckPart(
            bytes, [&](lx::Stream& s) { lx::ReadCsvBarcodeOwnPart(s, binding); },
            [&](lx::Stream& s) { lx::WriteCsvBarcodeOwnPart(binding, s); });
    }
    {
        lx::CsvQRCarryBinding binding;
        CheckPart(
            bytes, [&](lx::Stream& s) { lx::ReadCsvQRCarryOwnPart(s, binding); },
            [&](lx::Stream& s) { lx::WriteCsvQRCarryOwnPart(binding, s); });
    }
    CheckPostal(bytes);
    return 0;
}
