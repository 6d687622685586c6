#pragma once
// A device-independent 32-bit pixel buffer, the raster every drawing,
// decoding and encoding step of the system works on. Pixels are 0xAARRGGBB
// (the layout of QImage::Format_ARGB32 and of a 32-bit DIB in memory), rows
// top first, no padding.
#include <cstdint>
#include <vector>

namespace lx {

class Bitmap {
public:
    Bitmap() = default;
    // A white bitmap; sizes must be at least 0 (checked by the callers that
    // take them from outside).
    Bitmap(int width, int height, std::uint32_t fill = 0xFFFFFFFFu)
        : width_(width < 0 ? 0 : width), height_(height < 0 ? 0 : height),
          pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill)
    {
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    std::uint32_t Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
    void SetPixel(int x, int y, std::uint32_t argb) { pixels_[Index(x, y)] = argb; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    std::uint32_t* Data() { return pixels_.data(); }
    const std::uint32_t* Data() const { return pixels_.data(); }

    void Fill(std::uint32_t argb) { pixels_.assign(pixels_.size(), argb); }

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Colour helpers: the system's colour values are 0x00BBGGRR.
constexpr std::uint32_t ArgbFromColorRef(std::uint32_t bgr)
{
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}
constexpr std::uint32_t ColorRefFromArgb(std::uint32_t argb)
{
    return ((argb & 0xFFu) << 16) | (argb & 0xFF00u) | ((argb >> 16) & 0xFFu);
}

} // namespace lx
