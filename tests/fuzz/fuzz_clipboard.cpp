// Hostile pictures on the clipboard, read the way a paste reads them: byte 0
// picks the format (a bitmap file, a PNG picture that another program put
// there, an enhanced metafile, a metafile picture with its header), the rest
// is the data. Malformed data must read as absent, never crash.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "platform/clipboard/Clipboard.h"

namespace {

// Offers a PNG as the desktop's clipboard does: the image is decoded when a
// reader asks for it.
class PngOnClipboard : public QMimeData {
public:
    explicit PngOnClipboard(QByteArray png) : png_(std::move(png)) {}
    QStringList formats() const override { return {"image/png", "application/x-qt-image"}; }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override
    {
        if (mime == "application/x-qt-image")
            return QImage::fromData(png_, "PNG");
        return mime == "image/png" ? QVariant(png_) : QMimeData::retrieveData(mime, type);
    }

private:
    QByteArray png_;
};

QMimeData* OnClipboard(std::uint8_t format, const QByteArray& bytes)
{
    if (format % 4 == 1)
        return new PngOnClipboard(bytes);
    auto* data = new QMimeData;
    switch (format % 4) {
    case 0: data->setData("image/bmp", bytes); break;
    case 2: data->setData("image/x-emf", bytes); break;
    default:
        // The first 12 bytes are the metafile picture's header.
        data->setData("application/x-lx-metafilepict", bytes.left(12));
        data->setData("image/x-wmf", bytes.mid(12));
        break;
    }
    return data;
}

// The reader of that format found a picture.
bool Read(std::uint8_t format)
{
    switch (format % 4) {
    case 0:
    case 1: return lx::Clipboard::GetBitmap().has_value();
    case 2: return lx::Clipboard::GetEnhMetafile().has_value();
    default: return lx::Clipboard::GetMetafilePicture().has_value();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Qt's own arguments, not the fuzzer's, which Qt would edit.
    static int argc = 1;
    static char name[] = "fuzz_clipboard";
    static char* argv[] = {name, nullptr};
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static lxfuzz::ReachCounter pictures("pictures read");
    if (size < 1)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    QGuiApplication::clipboard()->setMimeData(OnClipboard(data[0], bytes));
    pictures.Count(Read(data[0]));
    return 0;
}
