#pragma once
// A picture: a container of at most one graphic (bitmap, metafile, JPEG or
// PNG). Copies share the graphic, with its decoded pixels, until one of them
// asks for write access: a picture behaves as if it owned its graphic.
#include <memory>
#include <string_view>

#include "platform/image/Bitmap.h"
#include "platform/image/Graphic.h"
#include "platform/image/SpanRaster.h"

namespace lx {

class Picture {
public:
    // The graphic, or nullptr when the picture holds none.
    const Graphic* GetGraphic() const { return graphic_.get(); }
    // Write access: a graphic shared with other pictures is copied first.
    Graphic* GetGraphic();
    void SetGraphic(std::unique_ptr<Graphic> graphic) { graphic_ = std::move(graphic); }
    // Takes a copy of the graphic.
    void Assign(const Graphic& graphic) { graphic_ = graphic.Clone(); }
    // Holds a bitmap graphic with these pixels from now on.
    void SetBitmap(Bitmap bitmap);
    // Holds a bitmap graphic made of these spans from now on.
    void SetSpans(SpanRaster spans);
    void Clear() { graphic_.reset(); }

    // No graphic, or an empty one.
    bool Empty() const { return !graphic_ || graphic_->Empty(); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    // The spans the graphic is made of (Graphic::Spans), or null.
    const SpanRaster* Spans() const { return graphic_ ? graphic_->Spans() : nullptr; }

    // Loads a file, the graphic chosen by its extension (any case): ".bmp",
    // ".jpg", ".jpeg", ".png", ".emf", ".wmf". Throws FileError when the file
    // cannot be read, ReadError for an unknown extension or a damaged file.
    void LoadFromFile(std::string_view path);

private:
    std::shared_ptr<Graphic> graphic_;
};

// A new empty graphic of the class the file extension names (as
// Picture::LoadFromFile), or nullptr for any other extension.
std::unique_ptr<Graphic> GraphicForExtension(std::string_view path);

} // namespace lx
