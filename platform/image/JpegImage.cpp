#include "platform/image/JpegImage.h"

#include "platform/io/Errors.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace lx {

namespace {

constexpr char kCorrupt[] = "JPEG 画像が壊れています。";
constexpr char kIncomplete[] = "JPEG 画像が途中で切れているか、壊れています。";
constexpr char kCannotWrite[] = "JPEG 画像を作成できません。";

// A progressive file may repeat scans over the whole image; a few hundred
// is far beyond any real encoder and bounds the decoding time.
constexpr int kMaxScans = 500;
// A complete Huffman-coded file spends at least one bit on every 8 x 8
// block, so a header asking for far more pixels than that is not a picture.
constexpr std::uint64_t kMaxPixelsPerByte = 1024;

// Pixel layout of Bitmap (0xAARRGGBB words) as libjpeg names it.
constexpr J_COLOR_SPACE kArgbWords = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
constexpr J_COLOR_SPACE kXrgbWords = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// libjpeg reports a fatal error by calling error_exit, which must not return.
// It jumps back to the setjmp of the step that called into the library. Each
// step below is one function whose frame holds no object with a destructor,
// so the jump skips only C frames and trivially destructible locals.
struct JpegErrors {
    jpeg_error_mgr manager; // first member: libjpeg sees only this part
    std::jmp_buf jump;
};

[[noreturn]] void OnFatalError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

// Warnings (a damaged or truncated scan is filled in) and traces are silent;
// warnings are counted, for the callers that refuse damaged files.
void OnMessage(j_common_ptr info, int level)
{
    if (level < 0)
        ++info->err->num_warnings;
}

void InstallErrors(JpegErrors& errors)
{
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnFatalError;
    errors.manager.emit_message = OnMessage;
}

void OnProgress(j_common_ptr info)
{
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        info->err->msg_code = JERR_NOT_COMPILED; // any code: the message is ours
        info->err->error_exit(info);
    }
}

struct Decoder {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    jpeg_progress_mgr progress{};
    Bitmap* target = nullptr;

    Decoder()
    {
        InstallErrors(errors);
        info.err = &errors.manager;
        progress.progress_monitor = OnProgress;
    }
    ~Decoder() { jpeg_destroy_decompress(&info); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

bool ReadHeaderStep(Decoder& d, std::string_view file)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_create_decompress(&d.info);
    d.info.progress = &d.progress;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(file.data()), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d.info, TRUE);
    return true;
}

// Converts inverted CMYK (as Adobe writes it) in place into ARGB words.
void CmykToArgb(std::uint32_t* row, int width)
{
    auto* bytes = reinterpret_cast<unsigned char*>(row);
    for (int x = 0; x < width; ++x) {
        const unsigned char* p = bytes + 4 * x;
        const unsigned k = p[3];
        row[x] = 0xFF000000u | ((p[0] * k / 255) << 16) | ((p[1] * k / 255) << 8) | (p[2] * k / 255);
    }
}

bool DecodeStep(Decoder& d, int scaleDenominator)
{
    if (setjmp(d.errors.jump))
        return false;
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : kArgbWords;
    d.info.dct_method = JDCT_ISLOW;
    d.info.scale_num = 1;
    d.info.scale_denom = static_cast<unsigned>(scaleDenominator);
    jpeg_start_decompress(&d.info);
    if (d.info.output_width != static_cast<JDIMENSION>(d.target->Width()) ||
        d.info.output_height != static_cast<JDIMENSION>(d.target->Height()) || d.info.output_components != 4)
        d.info.err->error_exit(reinterpret_cast<j_common_ptr>(&d.info));
    while (d.info.output_scanline < d.info.output_height) {
        std::uint32_t* row = d.target->Row(static_cast<int>(d.info.output_scanline));
        JSAMPROW samples = reinterpret_cast<JSAMPROW>(row);
        jpeg_read_scanlines(&d.info, &samples, 1);
        if (cmyk)
            CmykToArgb(row, d.target->Width());
    }
    // The end of the file is not read: trailing damage does not spoil an
    // image that is already complete.
    return true;
}

// Reads on to the end-of-image marker.
bool FinishStep(Decoder& d)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_finish_decompress(&d.info);
    return true;
}

ImageSize CheckedSize(const Decoder& d, std::string_view file)
{
    const std::int64_t width = d.info.image_width;
    const std::int64_t height = d.info.image_height;
    CheckImageSize(width, height);
    if (width == 0 || height == 0)
        throw ReadError(kCorrupt);
    // Arithmetic coding can squeeze a plain image below a bit per block.
    if (!d.info.arith_code && static_cast<std::uint64_t>(width * height) / kMaxPixelsPerByte > file.size())
        throw ReadError(kCorrupt);
    return {static_cast<int>(width), static_cast<int>(height)};
}

// A side of the picture decoded at 1/denominator, as libjpeg rounds it.
int ScaledSide(int side, int denominator) { return (side + denominator - 1) / denominator; }

// The smallest of the scales libjpeg decodes at (1/8, 1/4, 1/2, 1) that
// still covers the drawn size.
int ScaleDenominatorFor(ImageSize image, ImageSize drawn)
{
    for (const int denominator : {8, 4, 2})
        if (ScaledSide(image.width, denominator) >= drawn.width &&
            ScaledSide(image.height, denominator) >= drawn.height)
            return denominator;
    return 1;
}

// Output into a growing byte vector.
struct Encoder {
    jpeg_compress_struct info{};
    JpegErrors errors{};
    jpeg_destination_mgr destination{};
    std::vector<unsigned char> out;

    Encoder()
    {
        InstallErrors(errors);
        info.err = &errors.manager;
        info.client_data = this;
    }
    ~Encoder() { jpeg_destroy_compress(&info); }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

Encoder& EncoderOf(j_compress_ptr info) { return *static_cast<Encoder*>(info->client_data); }

bool GrowTo(std::vector<unsigned char>& out, std::size_t size) noexcept
{
    try {
        out.resize(size);
        return true;
    } catch (...) {
        return false;
    }
}

void ResetDestination(Encoder& e, std::size_t used)
{
    e.destination.next_output_byte = e.out.data() + used;
    e.destination.free_in_buffer = e.out.size() - used;
}

void OnInitDestination(j_compress_ptr info)
{
    Encoder& e = EncoderOf(info);
    if (!GrowTo(e.out, 65536)) {
        info->err->msg_code = JERR_OUT_OF_MEMORY;
        info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
    }
    ResetDestination(e, 0);
}

boolean OnBufferFull(j_compress_ptr info)
{
    // libjpeg calls this with the whole buffer filled.
    Encoder& e = EncoderOf(info);
    const std::size_t used = e.out.size();
    if (!GrowTo(e.out, used * 2)) {
        info->err->msg_code = JERR_OUT_OF_MEMORY;
        info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
    }
    ResetDestination(e, used);
    return TRUE;
}

void OnTermDestination(j_compress_ptr info)
{
    Encoder& e = EncoderOf(info);
    e.out.resize(e.out.size() - e.destination.free_in_buffer);
}

bool EncodeStep(Encoder& e, const Bitmap& bitmap, int quality)
{
    if (setjmp(e.errors.jump))
        return false;
    jpeg_create_compress(&e.info);
    e.destination.init_destination = OnInitDestination;
    e.destination.empty_output_buffer = OnBufferFull;
    e.destination.term_destination = OnTermDestination;
    e.info.dest = &e.destination;
    e.info.image_width = static_cast<JDIMENSION>(bitmap.Width());
    e.info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    e.info.input_components = 4;
    e.info.in_color_space = kXrgbWords;
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, quality, TRUE);
    e.info.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&e.info, TRUE);
    while (e.info.next_scanline < e.info.image_height) {
        // libjpeg only reads the input rows.
        JSAMPROW row =
            reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(bitmap.Row(static_cast<int>(e.info.next_scanline))));
        jpeg_write_scanlines(&e.info, &row, 1);
    }
    jpeg_finish_compress(&e.info);
    return true;
}

} // namespace

ImageSize ReadJpegSize(std::string_view file)
{
    Decoder decoder;
    if (file.empty() || !ReadHeaderStep(decoder, file))
        throw ReadError(kCorrupt);
    return CheckedSize(decoder, file);
}

Bitmap DecodeJpeg(std::string_view file, int scaleDenominator)
{
    if (scaleDenominator != 1 && scaleDenominator != 2 && scaleDenominator != 4 && scaleDenominator != 8)
        scaleDenominator = 1;
    Decoder decoder;
    if (file.empty() || !ReadHeaderStep(decoder, file))
        throw ReadError(kCorrupt);
    const ImageSize size = CheckedSize(decoder, file);
    Bitmap bitmap(ScaledSide(size.width, scaleDenominator), ScaledSide(size.height, scaleDenominator), 0xFF000000u);
    decoder.target = &bitmap;
    if (!DecodeStep(decoder, scaleDenominator))
        throw ReadError(kCorrupt);
    return bitmap;
}

void CheckJpegComplete(std::string_view file)
{
    Decoder decoder;
    if (file.empty() || !ReadHeaderStep(decoder, file))
        throw ReadError(kCorrupt);
    const ImageSize size = CheckedSize(decoder, file);
    // The smallest scale still reads every entropy-coded bit.
    Bitmap bitmap(ScaledSide(size.width, 8), ScaledSide(size.height, 8), 0xFF000000u);
    decoder.target = &bitmap;
    if (!DecodeStep(decoder, 8) || !FinishStep(decoder) || decoder.errors.manager.num_warnings != 0)
        throw ReadError(kIncomplete);
}

std::string EncodeJpeg(const Bitmap& bitmap, int quality)
{
    if (bitmap.Empty() || bitmap.Width() > JPEG_MAX_DIMENSION || bitmap.Height() > JPEG_MAX_DIMENSION)
        throw Error(kCannotWrite);
    Encoder encoder;
    if (!EncodeStep(encoder, bitmap, quality < 1 ? 1 : quality > 100 ? 100 : quality))
        throw Error(kCannotWrite);
    return std::string(encoder.out.begin(), encoder.out.end());
}

void JpegImage::LoadFromBytes(std::string_view bytes)
{
    const ImageSize size = ReadJpegSize(bytes);
    file_.assign(bytes);
    size_ = size;
    pixels_.Reset();
}

std::unique_ptr<Graphic> JpegImage::Clone() const { return std::make_unique<JpegImage>(*this); }

SharedPixels JpegImage::PixelsFor(int boxWidth, int boxHeight) const
{
    const ImageSize drawn = DrawnSize(size_.width, size_.height, boxWidth, boxHeight);
    return pixels_.Get(drawn,
                       [&] { return file_.empty() ? Bitmap() : DecodeJpeg(file_, ScaleDenominatorFor(size_, drawn)); });
}

void JpegImage::Compress(const Bitmap& bitmap, int quality)
{
    std::string file = EncodeJpeg(bitmap, quality);
    size_ = {bitmap.Width(), bitmap.Height()};
    file_ = std::move(file);
    pixels_.Reset();
}

} // namespace lx
