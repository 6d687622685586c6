#include "ImageOracles.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace lxtest {

namespace {

// --- libpng -----------------------------------------------------------------

struct PngRead {
    const std::string* file = nullptr;
    std::size_t position = 0;
};

void ReadFromString(png_structp png, png_bytep data, std::size_t length)
{
    auto* source = static_cast<PngRead*>(png_get_io_ptr(png));
    if (length > source->file->size() - source->position)
        png_error(png, "truncated");
    std::memcpy(data, source->file->data() + source->position, length);
    source->position += length;
}

void WriteToString(png_structp png, png_bytep data, std::size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void NoFlush(png_structp) {}
void Quiet(png_structp, png_const_charp) {}

int ZlibLevelFlag(const std::string& file)
{
    // Chunks after the 8-byte signature: length, type, data, CRC.
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const auto* p = reinterpret_cast<const unsigned char*>(file.data() + at);
        const std::size_t length = (std::size_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        if (std::memcmp(p + 4, "IDAT", 4) == 0 && length >= 2)
            return p[9] >> 6;
        at += 12 + length;
    }
    return -1;
}

// All libpng calls of one read; a libpng error jumps back here.
bool ReadPngSteps(png_structp png, png_infop info, PngRead& source, PngFacts& facts, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &source, ReadFromString);
    png_read_info(png, info);
    facts.width = static_cast<int>(png_get_image_width(png, info));
    facts.height = static_cast<int>(png_get_image_height(png, info));
    facts.bitDepth = png_get_bit_depth(png, info);
    facts.colorType = png_get_color_type(png, info);
    facts.interlace = png_get_interlace_type(png, info);
    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(png, info, &palette, &entries))
        for (int i = 0; i < entries; ++i)
            facts.palette.insert(facts.palette.end(), {palette[i].red, palette[i].green, palette[i].blue});
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    facts.argb.assign(static_cast<std::size_t>(facts.width) * facts.height, 0);
    rows.resize(static_cast<std::size_t>(facts.height));
    for (int y = 0; y < facts.height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(facts.argb.data() + static_cast<std::size_t>(y) * facts.width);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

bool WritePngSteps(png_structp png, png_infop info, const PngSource& s, std::string& out, std::vector<png_bytep>& rows,
                   std::vector<png_color>& palette)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &out, WriteToString, NoFlush);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!s.paletteAlpha.empty())
        png_set_tRNS(png, info, s.paletteAlpha.data(), static_cast<int>(s.paletteAlpha.size()), nullptr);
    png_write_info(png, info);
    if (s.interlaced)
        png_set_interlace_handling(png);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

// --- libjpeg ----------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }
void Silent(j_common_ptr, int) {}

bool ReadJpegSteps(jpeg_decompress_struct& info, JpegErrors& errors, const std::string& file, JpegFacts& facts)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    facts.width = static_cast<int>(info.image_width);
    facts.height = static_cast<int>(info.image_height);
    facts.components = info.num_components;
    facts.colorSpace = info.jpeg_color_space;
    facts.progressive = info.progressive_mode;
    facts.arithmetic = info.arith_code;
    facts.lumaQuant0 = info.quant_tbl_ptrs[0] ? info.quant_tbl_ptrs[0]->quantval[0] : 0;
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    facts.argb.assign(static_cast<std::size_t>(facts.width) * facts.height, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(facts.argb.data() +
                                                  static_cast<std::size_t>(info.output_scanline) * facts.width);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

bool WriteJpegSteps(jpeg_compress_struct& info, JpegErrors& errors, int width, int height, int components,
                    int colorSpace, const std::vector<std::uint8_t>& samples, bool progressive, int quality,
                    unsigned char** buffer, unsigned long* size)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = static_cast<J_COLOR_SPACE>(colorSpace);
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const bool oneRow = samples.size() == static_cast<std::size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        const std::size_t y = oneRow ? 0 : info.next_scanline;
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + y * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

PngFacts ReadPngWithLibpng(const std::string& file)
{
    PngFacts facts;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
    png_infop info = png_create_info_struct(png);
    PngRead source{&file, 0};
    std::vector<png_bytep> rows;
    facts.ok = ReadPngSteps(png, info, source, facts, rows);
    facts.zlibLevelFlag = ZlibLevelFlag(file);
    png_destroy_read_struct(&png, &info, nullptr);
    return facts;
}

std::string WritePngWithLibpng(const PngSource& s)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
    png_infop info = png_create_info_struct(png);
    std::string out;
    const std::size_t stride = s.samples.size() / static_cast<std::size_t>(s.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < s.height; ++y)
        rows.push_back(const_cast<png_bytep>(s.samples.data() + y * stride));
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < s.palette.size(); i += 3)
        palette.push_back({s.palette[i], s.palette[i + 1], s.palette[i + 2]});
    const bool ok = WritePngSteps(png, info, s, out, rows, palette);
    png_destroy_write_struct(&png, &info);
    return ok ? out : std::string();
}

JpegFacts ReadJpegWithLibjpeg(const std::string& file)
{
    JpegFacts facts;
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOnError;
    errors.manager.emit_message = Silent;
    facts.ok = ReadJpegSteps(info, errors, file, facts);
    jpeg_destroy_decompress(&info);
    return facts;
}

std::string WriteJpegWithLibjpeg(int width, int height, int components, int colorSpace,
                                 const std::vector<std::uint8_t>& samples, bool progressive, int quality)
{
    jpeg_compress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOnError;
    errors.manager.emit_message = Silent;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = WriteJpegSteps(info, errors, width, height, components, colorSpace, samples, progressive, quality,
                                   &buffer, &size);
    jpeg_destroy_compress(&info);
    std::string out = ok ? std::string(reinterpret_cast<char*>(buffer), size) : std::string();
    std::free(buffer);
    return out;
}

} // namespace lxtest
