#include "platform/twain/manager/SaneDevice.h"

#include <sane/saneopts.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace lx::twain {

namespace {

constexpr std::size_t kMaxLineBytes = 16u * 1024 * 1024;
// A blocking device that keeps answering "nothing yet" is given up on.
constexpr int kMaxEmptyReads = 100000;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int ChannelsOf(const SANE_Parameters& p) { return p.format == SANE_FRAME_RGB ? 3 : 1; }

// The parameters are within what a frame can be.
bool Plausible(const SANE_Parameters& p)
{
    if (p.depth != 1 && p.depth != 8 && p.depth != 16)
        return false;
    if (p.format > SANE_FRAME_BLUE || p.pixels_per_line <= 0 || p.lines < -1 || p.bytes_per_line <= 0)
        return false;
    const long long needed = (static_cast<long long>(p.pixels_per_line) * ChannelsOf(p) * p.depth + 7) / 8;
    return p.bytes_per_line >= needed && static_cast<std::size_t>(p.bytes_per_line) <= kMaxLineBytes;
}

// Sample i of a line scaled to 8 bits; 16-bit samples are in host order.
unsigned Sample(const unsigned char* line, long i, int depth)
{
    switch (depth) {
    case 1: return (line[i / 8] >> (7 - i % 8)) & 1 ? 255u : 0u;
    case 8: return line[i];
    default: {
        std::uint16_t value;
        std::memcpy(&value, line + 2 * i, 2);
        return value >> 8;
    }
    }
}

// Writes one line of a frame into a row of pixels.
void ConvertLine(const SANE_Parameters& p, const unsigned char* line, std::uint32_t* row)
{
    const int width = p.pixels_per_line;
    if (p.format == SANE_FRAME_GRAY) {
        for (int x = 0; x < width; ++x) {
            unsigned v = Sample(line, x, p.depth);
            if (p.depth == 1)
                v = 255 - v; // a set bit of line art is black
            row[x] = 0xFF000000u | v << 16 | v << 8 | v;
        }
    } else if (p.format == SANE_FRAME_RGB) {
        for (int x = 0; x < width; ++x)
            row[x] = 0xFF000000u | Sample(line, 3l * x, p.depth) << 16 | Sample(line, 3l * x + 1, p.depth) << 8 |
                Sample(line, 3l * x + 2, p.depth);
    } else {
        // One colour of a three-pass scan.
        const int shift = 16 - 8 * (p.format - SANE_FRAME_RED);
        for (int x = 0; x < width; ++x)
            row[x] = (row[x] & ~(0xFFu << shift)) | Sample(line, x, p.depth) << shift;
    }
}

// The frames of one image, gathered row by row.
class ImageBuilder {
public:
    SANE_Status Begin(const SANE_Parameters& p)
    {
        if (!Plausible(p) || (width_ && p.pixels_per_line != width_))
            return SANE_STATUS_INVAL;
        width_ = p.pixels_per_line;
        params_ = p;
        row_ = 0;
        return SANE_STATUS_GOOD;
    }

    SANE_Status Line(const unsigned char* line)
    {
        if (row_ == rows_) {
            if (static_cast<long long>(rows_ + 1) * width_ > kMaxScanPixels)
                return SANE_STATUS_NO_MEM;
            pixels_.resize(pixels_.size() + static_cast<std::size_t>(width_), 0xFF000000u);
            ++rows_;
        }
        ConvertLine(params_, line, pixels_.data() + static_cast<std::size_t>(row_) * width_);
        ++row_;
        return SANE_STATUS_GOOD;
    }

    Bitmap Take() const
    {
        Bitmap image(width_, rows_);
        std::copy(pixels_.begin(), pixels_.end(), image.Data());
        return image;
    }
    int Rows() const { return rows_; }

private:
    SANE_Parameters params_{};
    int width_ = 0;
    int rows_ = 0;
    int row_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Reads one frame to its end; a partial last line is dropped.
SANE_Status ReadFrame(SANE_Handle device, const SANE_Parameters& p, ImageBuilder& builder)
{
    const auto lineBytes = static_cast<std::size_t>(p.bytes_per_line);
    std::vector<unsigned char> line(lineBytes);
    std::vector<unsigned char> chunk(64 * 1024);
    std::size_t filled = 0;
    int empty = 0;
    for (;;) {
        SANE_Int length = 0;
        const SANE_Status status = sane_read(device, chunk.data(), static_cast<SANE_Int>(chunk.size()), &length);
        if (status == SANE_STATUS_EOF)
            return SANE_STATUS_GOOD;
        if (status != SANE_STATUS_GOOD)
            return status;
        if (length <= 0 || static_cast<std::size_t>(length) > chunk.size()) {
            if (++empty > kMaxEmptyReads || length < 0)
                return SANE_STATUS_IO_ERROR;
            continue;
        }
        empty = 0;
        for (std::size_t at = 0; at < static_cast<std::size_t>(length);) {
            const std::size_t take = std::min(lineBytes - filled, static_cast<std::size_t>(length) - at);
            std::copy_n(chunk.data() + at, take, line.data() + filled);
            filled += take;
            at += take;
            if (filled == lineBytes) {
                if (const SANE_Status added = builder.Line(line.data()); added != SANE_STATUS_GOOD)
                    return added;
                filled = 0;
            }
        }
    }
}

} // namespace

std::optional<SaneOption> FindOption(SANE_Handle device, const char* name)
{
    SANE_Int count = 0;
    if (sane_control_option(device, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(device, i);
        if (d && d->name && std::strcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap))
            return SaneOption{i, d};
    }
    return std::nullopt;
}

std::optional<std::string> StringOption(SANE_Handle device, const char* name)
{
    const auto option = FindOption(device, name);
    if (!option || option->descriptor->type != SANE_TYPE_STRING || option->descriptor->size <= 0)
        return std::nullopt;
    std::vector<char> value(static_cast<std::size_t>(option->descriptor->size) + 1, '\0');
    if (sane_control_option(device, option->index, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    return std::string(value.data(), strnlen(value.data(), value.size()));
}

std::optional<double> NumberOption(SANE_Handle device, const char* name)
{
    const auto option = FindOption(device, name);
    if (!option || option->descriptor->size < static_cast<SANE_Int>(sizeof(SANE_Word)))
        return std::nullopt;
    const SANE_Value_Type type = option->descriptor->type;
    if (type != SANE_TYPE_INT && type != SANE_TYPE_FIXED)
        return std::nullopt;
    // Array options hand back every element: room for all of them.
    std::vector<SANE_Word> value(static_cast<std::size_t>(option->descriptor->size) / sizeof(SANE_Word) + 1);
    if (sane_control_option(device, option->index, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    return type == SANE_TYPE_FIXED ? SANE_UNFIX(value[0]) : static_cast<double>(value[0]);
}

bool FeederSelected(SANE_Handle device)
{
    const auto source = StringOption(device, SANE_NAME_SCAN_SOURCE);
    if (!source)
        return false;
    const std::string name = Lower(*source);
    return name.find("adf") != std::string::npos || name.find("feeder") != std::string::npos;
}

TW_UINT16 ConditionOf(SANE_Status status)
{
    switch (status) {
    case SANE_STATUS_GOOD: return TWCC_SUCCESS;
    case SANE_STATUS_NO_MEM: return TWCC_LOWMEMORY;
    case SANE_STATUS_DEVICE_BUSY: return TWCC_MAXCONNECTIONS;
    case SANE_STATUS_INVAL: return TWCC_BADVALUE;
    case SANE_STATUS_JAMMED: return TWCC_PAPERJAM;
    case SANE_STATUS_ACCESS_DENIED: return TWCC_DENIED;
    default: return TWCC_OPERATIONERROR;
    }
}

ScanResult ReadScan(SANE_Handle device)
{
    ImageBuilder builder;
    for (;;) {
        SANE_Parameters p{};
        if (const SANE_Status status = sane_get_parameters(device, &p); status != SANE_STATUS_GOOD)
            return {status, {}};
        if (const SANE_Status status = builder.Begin(p); status != SANE_STATUS_GOOD)
            return {status, {}};
        if (const SANE_Status status = ReadFrame(device, p, builder); status != SANE_STATUS_GOOD)
            return {status, {}};
        if (p.last_frame)
            break;
        if (const SANE_Status status = sane_start(device); status != SANE_STATUS_GOOD)
            return {status, {}};
    }
    if (builder.Rows() == 0)
        return {SANE_STATUS_IO_ERROR, {}};
    return {SANE_STATUS_GOOD, builder.Take()};
}

} // namespace lx::twain
