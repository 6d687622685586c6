#include "platform/image/PngImage.h"

#include "platform/io/Errors.h"

#include <bit>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

namespace lx {

namespace {

constexpr char kCorrupt[] = "PNG 画像が壊れています。";
constexpr char kCannotWrite[] = "PNG 画像を作成できません。";

// Deflate expands a byte at most about 1032 times; a header asking for more
// raw image bytes than that allows cannot be backed by the file.
constexpr std::uint64_t kMaxInflation = 1100;
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// libpng reports a fatal error through the error function, which jumps back
// to the setjmp of the step that called into the library. Each step is one
// function whose frame holds no object with a destructor, so the jump skips
// only C frames and trivially destructible locals.
[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

struct Reader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string_view file;
    std::size_t position = 0;
    Bitmap* target = nullptr;

    explicit Reader(std::string_view bytes) : file(bytes)
    {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (png)
            info = png_create_info_struct(png);
        if (!png || !info)
            throw ReadError(kCorrupt);
    }
    ~Reader() { png_destroy_read_struct(&png, &info, nullptr); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
};

void OnRead(png_structp png, png_bytep data, std::size_t length)
{
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (length > reader->file.size() - reader->position)
        png_error(png, "truncated");
    std::memcpy(data, reader->file.data() + reader->position, length);
    reader->position += length;
}

bool ReadInfoStep(Reader& r)
{
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_set_read_fn(r.png, &r, OnRead);
    png_read_info(r.png, r.info);
    return true;
}

ImageSize CheckedSize(const Reader& r)
{
    const std::uint64_t width = png_get_image_width(r.png, r.info);
    const std::uint64_t height = png_get_image_height(r.png, r.info);
    CheckImageSize(static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));
    const std::uint64_t bitsPerPixel =
        std::uint64_t{png_get_channels(r.png, r.info)} * png_get_bit_depth(r.png, r.info);
    const std::uint64_t rawBytes = height * (1 + (width * bitsPerPixel + 7) / 8);
    if (width == 0 || height == 0 || rawBytes / kMaxInflation > r.file.size())
        throw ReadError(kCorrupt);
    return {static_cast<int>(width), static_cast<int>(height)};
}

bool DecodeStep(Reader& r)
{
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    // Whatever the stored form, rows arrive as 0xAARRGGBB words.
    png_set_expand(r.png);
    png_set_strip_16(r.png);
    png_set_gray_to_rgb(r.png);
    if (kLittleEndian) {
        png_set_bgr(r.png);
        png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(r.png);
        png_set_filler(r.png, 0xFF, PNG_FILLER_BEFORE);
    }
    const int passes = png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) != static_cast<std::size_t>(r.target->Width()) * 4)
        png_error(r.png, "unexpected row size");
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < r.target->Height(); ++y)
            png_read_row(r.png, reinterpret_cast<png_bytep>(r.target->Row(y)), nullptr);
    return true;
}

struct Writer {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string out;
    std::vector<unsigned char> row;

    Writer()
    {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (png)
            info = png_create_info_struct(png);
        if (!png || !info)
            throw Error(kCannotWrite);
    }
    ~Writer() { png_destroy_write_struct(&png, &info); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
};

bool Append(std::string& out, const png_bytep data, std::size_t length) noexcept
{
    try {
        out.append(reinterpret_cast<const char*>(data), length);
        return true;
    } catch (...) {
        return false;
    }
}

void OnWrite(png_structp png, png_bytep data, std::size_t length)
{
    if (!Append(static_cast<Writer*>(png_get_io_ptr(png))->out, data, length))
        png_error(png, "out of memory");
}

void OnFlush(png_structp) {}

void FillRow(const std::uint32_t* pixels, int width, PngColors colors, unsigned char* row)
{
    if (colors == PngColors::BlackWhite) {
        std::memset(row, 0, static_cast<std::size_t>(width + 7) / 8);
        for (int x = 0; x < width; ++x)
            if ((pixels[x] & 0xFFFFFFu) == 0xFFFFFFu)
                row[x / 8] |= static_cast<unsigned char>(0x80u >> (x % 8));
        return;
    }
    for (int x = 0; x < width; ++x) {
        row[3 * x] = static_cast<unsigned char>(pixels[x] >> 16);
        row[3 * x + 1] = static_cast<unsigned char>(pixels[x] >> 8);
        row[3 * x + 2] = static_cast<unsigned char>(pixels[x]);
    }
}

bool EncodeStep(Writer& w, const Bitmap& bitmap, PngColors colors, int level)
{
    if (setjmp(png_jmpbuf(w.png)))
        return false;
    png_set_write_fn(w.png, &w, OnWrite, OnFlush);
    png_set_compression_level(w.png, level);
    const auto width = static_cast<png_uint_32>(bitmap.Width());
    const auto height = static_cast<png_uint_32>(bitmap.Height());
    if (colors == PngColors::BlackWhite) {
        png_color palette[2] = {{0, 0, 0}, {255, 255, 255}};
        png_set_PLTE(w.png, w.info, palette, 2);
        png_set_IHDR(w.png, w.info, width, height, 1, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    } else {
        png_set_IHDR(w.png, w.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    }
    png_write_info(w.png, w.info);
    for (int y = 0; y < bitmap.Height(); ++y) {
        FillRow(bitmap.Row(y), bitmap.Width(), colors, w.row.data());
        png_write_row(w.png, w.row.data());
    }
    png_write_end(w.png, nullptr);
    return true;
}

} // namespace

ImageSize ReadPngSize(std::string_view file)
{
    Reader reader(file);
    if (!ReadInfoStep(reader))
        throw ReadError(kCorrupt);
    return CheckedSize(reader);
}

Bitmap DecodePng(std::string_view file)
{
    Reader reader(file);
    if (!ReadInfoStep(reader))
        throw ReadError(kCorrupt);
    const ImageSize size = CheckedSize(reader);
    Bitmap bitmap(size.width, size.height, 0);
    reader.target = &bitmap;
    if (!DecodeStep(reader))
        throw ReadError(kCorrupt);
    return bitmap;
}

std::string EncodePng(const Bitmap& bitmap, PngColors colors, int compressionLevel)
{
    if (bitmap.Empty())
        throw Error(kCannotWrite);
    Writer writer;
    writer.row.resize(static_cast<std::size_t>(bitmap.Width()) * 3);
    const int level = compressionLevel < 0 ? 0 : compressionLevel > 9 ? 9 : compressionLevel;
    if (!EncodeStep(writer, bitmap, colors, level))
        throw Error(kCannotWrite);
    return std::move(writer.out);
}

void PngImage::LoadFromBytes(std::string_view bytes)
{
    const ImageSize size = ReadPngSize(bytes);
    file_.assign(bytes);
    size_ = size;
    pixels_.Reset();
}

std::unique_ptr<Graphic> PngImage::Clone() const { return std::make_unique<PngImage>(*this); }

SharedPixels PngImage::PixelsFor(int, int) const
{
    return pixels_.Get({size_.width, size_.height}, [&] { return file_.empty() ? Bitmap() : DecodePng(file_); });
}

void PngImage::Compress(const Bitmap& bitmap)
{
    std::string file = EncodePng(bitmap);
    size_ = {bitmap.Width(), bitmap.Height()};
    file_ = std::move(file);
    pixels_.Reset();
}

} // namespace lx
