#pragma once
// The desktop clipboard in the roles the system uses it: an enhanced
// metafile, a metafile picture, a bitmap and a device-independent bitmap,
// carried as MIME data ("image/x-emf", "image/x-wmf", "image/bmp",
// "image/png") so that other programs can paste them.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/image/Bitmap.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"

namespace lx {

// A Windows metafile with the mapping mode and extents (0.01 mm) of the
// metafile-picture format.
struct MetafilePicture {
    int mapMode = 8; // anisotropic
    int xExt = 0;
    int yExt = 0;
    WindowsMetafile metafile;
};

enum class ClipboardFormat { EnhMetafile, MetafilePicture, Bitmap, Dib };

// One opening of the clipboard. Open fails (the clipboard is busy) while
// another Clipboard object holds it; Close, or the destructor, releases it.
// Data set while open is published at once.
class Clipboard {
public:
    Clipboard() = default;
    ~Clipboard();
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    bool Open();
    void Close();
    bool IsOpen() const { return open_; }

    // These need the clipboard open and return false otherwise. A null
    // metafile or an empty bitmap is never published. On the desktop
    // clipboard a metafile comes with a PNG of itself, drawn at its
    // reference device's resolution (a metafile picture at 600 dpi).
    bool Empty();
    bool SetEnhMetafile(const EnhMetafile& metafile);
    bool SetMetafilePicture(const MetafilePicture& picture);
    // Published as both the bitmap and the device-independent bitmap.
    bool SetBitmap(const Bitmap& bitmap);

    // Reading needs no opening. Malformed data reads as absent.
    static bool HasFormat(ClipboardFormat format);
    static std::optional<EnhMetafile> GetEnhMetafile();
    static std::optional<MetafilePicture> GetMetafilePicture();
    static std::optional<Bitmap> GetBitmap();

private:
    bool Publish(std::vector<std::pair<std::string, std::string>> formats);

    bool open_ = false;
    // What this opening has put on the clipboard, published as one set.
    std::vector<std::pair<std::string, std::string>> formats_;
};

// While one lives on this thread, every clipboard opening and reading there
// uses a store of its own instead of the desktop clipboard: a picture that a
// component puts on "the clipboard" reaches its host in process and what the
// user copied stays. Scopes nest; the innermost is used.
class PrivateClipboard {
public:
    PrivateClipboard();
    ~PrivateClipboard();
    PrivateClipboard(const PrivateClipboard&) = delete;
    PrivateClipboard& operator=(const PrivateClipboard&) = delete;

    // MIME type and bytes of each format published in the scope.
    std::vector<std::pair<std::string, std::string>> formats;

private:
    PrivateClipboard* outer_;
};

} // namespace lx
