#include "platform/clipboard/Clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <atomic>
#include <cmath>
#include <functional>

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/ImageSize.h"
#include "platform/image/PngImage.h"
#include "platform/io/Errors.h"
#include "platform/metafile/ByteCursor.h"
#include "platform/metafile/Dib.h"

namespace lx {

namespace {

constexpr const char* kEmfMime = "image/x-emf";
constexpr const char* kWmfMime = "image/x-wmf";
constexpr const char* kPictureMime = "application/x-lx-metafilepict";
constexpr const char* kBmpMime = "image/bmp";
constexpr const char* kPngMime = "image/png";
// Metafile pictures measure themselves in 0.01 mm; their PNG form is drawn
// at a printer's resolution so that symbol modules stay whole pixels.
constexpr int kPictureDpi = 600;

std::atomic<bool> held{false};

thread_local PrivateClipboard* privateScope = nullptr;

QClipboard* System()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

QByteArray ToBytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

std::string FromBytes(const QByteArray& b) { return std::string(b.constData(), static_cast<std::size_t>(b.size())); }

// The PNG form of a metafile, for programs that paste no metafiles. Only
// the desktop clipboard gets one: in process the metafile is all a host
// reads. A picture too large or unplayable goes without.
std::vector<std::pair<std::string, std::string>> PngOf(Size pixels,
                                                       const std::function<void(DeviceContext&, const Rect&)>& play)
{
    if (privateScope || pixels.cx <= 0 || pixels.cy <= 0)
        return {};
    try {
        CheckImageSize(pixels.cx, pixels.cy);
        Bitmap bitmap(pixels.cx, pixels.cy);
        RasterDeviceContext dc(bitmap);
        play(dc, Rect{0, 0, pixels.cx, pixels.cy});
        return {{kPngMime, EncodePng(bitmap)}};
    } catch (const Error&) {
        return {};
    }
}

std::optional<QImage> ReadImage()
{
    if (privateScope)
        return std::nullopt;
    QClipboard* clipboard = System();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    // A metafile's own PNG form does not make it a bitmap: hosts draw the
    // metafile.
    if (!data || !data->hasImage() || data->hasFormat(kEmfMime) || data->hasFormat(kWmfMime))
        return std::nullopt;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    return image.isNull() ? std::nullopt : std::optional<QImage>(image);
}

std::optional<QByteArray> Read(const char* mime)
{
    if (privateScope) {
        for (const auto& [name, bytes] : privateScope->formats)
            if (name == mime)
                return ToBytes(bytes);
        return std::nullopt;
    }
    QClipboard* clipboard = System();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(mime))
        return std::nullopt;
    return data->data(mime);
}

} // namespace

PrivateClipboard::PrivateClipboard() : outer_(privateScope) { privateScope = this; }

PrivateClipboard::~PrivateClipboard() { privateScope = outer_; }

Clipboard::~Clipboard() { Close(); }

bool Clipboard::Open()
{
    if (open_)
        return true;
    bool expected = false;
    open_ = held.compare_exchange_strong(expected, true);
    return open_;
}

void Clipboard::Close()
{
    if (open_)
        held = false;
    open_ = false;
}

bool Clipboard::Empty()
{
    if (open_ && privateScope) {
        formats_.clear();
        privateScope->formats.clear();
        return true;
    }
    QClipboard* clipboard = System();
    if (!open_ || !clipboard)
        return false;
    formats_.clear();
    clipboard->clear();
    return true;
}

bool Clipboard::Publish(std::vector<std::pair<std::string, std::string>> formats)
{
    QClipboard* clipboard = System();
    if (!clipboard && !privateScope)
        return false;
    for (auto& format : formats) {
        std::erase_if(formats_, [&](const auto& f) { return f.first == format.first; });
        formats_.push_back(std::move(format));
    }
    if (privateScope) {
        privateScope->formats = formats_;
        return true;
    }
    auto* data = new QMimeData;
    for (const auto& [mime, bytes] : formats_)
        data->setData(QString::fromStdString(mime), ToBytes(bytes));
    clipboard->setMimeData(data);
    return true;
}

bool Clipboard::SetEnhMetafile(const EnhMetafile& metafile)
{
    if (!open_ || metafile.Empty())
        return false;
    auto formats =
        PngOf(metafile.PixelSize(), [&](DeviceContext& dc, const Rect& dest) { PlayEnhMetafile(dc, metafile, dest); });
    formats.emplace_back(kEmfMime, metafile.Bytes());
    return Publish(std::move(formats));
}

bool Clipboard::SetMetafilePicture(const MetafilePicture& picture)
{
    if (!open_ || picture.metafile.Empty())
        return false;
    ByteWriter header;
    header.I32(picture.mapMode);
    header.I32(picture.xExt);
    header.I32(picture.yExt);
    // The placeable form tells other programs the size: extents are in
    // 0.01 mm, 2540 to the inch.
    const std::string file = picture.metafile.PlaceableBytes(
        {{0, 0, std::clamp(picture.xExt, 0, 32767), std::clamp(picture.yExt, 0, 32767)}, 2540});
    const Size pixels{static_cast<int>(std::lround(picture.xExt * (kPictureDpi / 2540.0))),
                      static_cast<int>(std::lround(picture.yExt * (kPictureDpi / 2540.0)))};
    auto formats =
        PngOf(pixels, [&](DeviceContext& dc, const Rect& dest) { PlayWindowsMetafile(dc, picture.metafile, dest); });
    formats.emplace_back(kWmfMime, file);
    formats.emplace_back(kPictureMime, header.Data());
    return Publish(std::move(formats));
}

bool Clipboard::SetBitmap(const Bitmap& bitmap)
{
    if (!open_ || bitmap.Empty())
        return false;
    const QImage image(reinterpret_cast<const uchar*>(bitmap.Data()), bitmap.Width(), bitmap.Height(),
                       QImage::Format_ARGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return Publish({{kBmpMime, BmpFile(bitmap)}, {"image/png", FromBytes(png)}});
}

bool Clipboard::HasFormat(ClipboardFormat format)
{
    switch (format) {
    case ClipboardFormat::EnhMetafile: return Read(kEmfMime).has_value();
    case ClipboardFormat::MetafilePicture: return Read(kWmfMime).has_value();
    case ClipboardFormat::Bitmap:
    case ClipboardFormat::Dib: return Read(kBmpMime).has_value() || ReadImage().has_value();
    }
    return false;
}

std::optional<EnhMetafile> Clipboard::GetEnhMetafile()
{
    const auto bytes = Read(kEmfMime);
    if (!bytes)
        return std::nullopt;
    try {
        return EnhMetafile::FromBytes(FromBytes(*bytes));
    } catch (const ReadError&) {
        return std::nullopt;
    }
}

std::optional<MetafilePicture> Clipboard::GetMetafilePicture()
{
    const auto file = Read(kWmfMime);
    if (!file)
        return std::nullopt;
    MetafilePicture picture;
    try {
        picture.metafile = WindowsMetafile::FromBytes(FromBytes(*file));
        if (const auto header = Read(kPictureMime)) {
            ByteReader r(std::string_view(header->constData(), static_cast<std::size_t>(header->size())));
            picture.mapMode = r.I32();
            picture.xExt = r.I32();
            picture.yExt = r.I32();
        } else if (const auto& placeable = picture.metafile.Placeable()) {
            picture.xExt = placeable->box.Width();
            picture.yExt = placeable->box.Height();
        }
    } catch (const ReadError&) {
        return std::nullopt;
    }
    return picture;
}

std::optional<Bitmap> Clipboard::GetBitmap()
{
    if (const auto bmp = Read(kBmpMime); bmp && bmp->size() > 14) {
        try {
            return DecodePackedDib(std::string_view(bmp->constData() + 14, static_cast<std::size_t>(bmp->size() - 14)));
        } catch (const ReadError&) {
        }
    }
    // Pictures other programs put there, in whatever image form they chose.
    const auto found = ReadImage();
    if (!found)
        return std::nullopt;
    const QImage image = found->convertToFormat(QImage::Format_ARGB32);
    Bitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::copy_n(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), image.width(), bitmap.Row(y));
    return bitmap;
}

} // namespace lx
