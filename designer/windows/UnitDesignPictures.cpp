// The picture page's commands: reading a picture file, acquiring from a
// scanner, the clipboard, clearing and the transparent colour.
#include "designer/windows/AcquireImage.h"
#include "designer/windows/UnitDesign.h"

#include "designer/model/LxLabelImage.h"
#include "designer/windows/EditorShapes.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitSelectPicture.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/metafile/MetafileImageDrawing.h"
#include "platform/shell/ImageExtract.h"
#include "platform/text/Numbers.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QMouseEvent>
#include <QToolButton>

namespace lx {

namespace {

// A picture drawn onto a white bitmap: partly transparent pixels take the
// white through.
Bitmap OverWhite(Bitmap bitmap)
{
    std::uint32_t* pixel = bitmap.Data();
    const std::size_t count = static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t alpha = pixel[i] >> 24;
        if (alpha == 0xFF)
            continue;
        std::uint32_t blended = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const std::uint32_t c = (pixel[i] >> shift) & 0xFF;
            blended |= ((c * alpha + 0xFF * (0xFF - alpha) + 127) / 0xFF) << shift;
        }
        pixel[i] = blended;
    }
    return bitmap;
}

// The picture as a bitmap; a raster picture shrunk to fit into the box when
// one is given (the page shows it in a small frame).
Bitmap PictureToBitmap(const Picture& picture, int boxWidth = 0, int boxHeight = 0)
{
    if (picture.Empty())
        return {};
    if (const auto* raster = dynamic_cast<const RasterGraphic*>(picture.GetGraphic())) {
        if (boxWidth <= 0 || boxHeight <= 0)
            return OverWhite(raster->GetBitmap());
        const SharedPixels pixels = raster->PixelsFor(boxWidth, boxHeight);
        return OverWhite(ScaleToFit(pixels->Pixels(), boxWidth, boxHeight));
    }
    Bitmap bitmap(picture.Width(), picture.Height());
    if (const auto* metafile = dynamic_cast<const MetafileImage*>(picture.GetGraphic())) {
        RasterDeviceContext dc(bitmap);
        DrawMetafileImage(dc, *metafile, Rect{0, 0, bitmap.Width(), bitmap.Height()});
    }
    return bitmap;
}

constexpr std::string_view kPasteFailed = "クリップボードからの読み込みに失敗しました。";
// Clipboard metafile pictures measure themselves in 0.01 mm.
constexpr double kScreenDpi = 96;

// The picture on the clipboard as a bitmap: the bitmap form first, else a
// metafile drawn at its own size.
std::optional<Bitmap> ClipboardBitmap()
{
    if (Clipboard::HasFormat(ClipboardFormat::Bitmap))
        return Clipboard::GetBitmap();
    if (auto metafile = Clipboard::GetEnhMetafile()) {
        const Size size = metafile->PixelSize();
        CheckImageSize(size.cx, size.cy);
        Bitmap bitmap(size.cx, size.cy);
        RasterDeviceContext dc(bitmap);
        PlayEnhMetafile(dc, *metafile, Rect{0, 0, size.cx, size.cy});
        return bitmap;
    }
    if (auto picture = Clipboard::GetMetafilePicture()) {
        const int width = RoundToInt(picture->xExt * kScreenDpi / 2540.0);
        const int height = RoundToInt(picture->yExt * kScreenDpi / 2540.0);
        if (width <= 0 || height <= 0)
            return std::nullopt;
        CheckImageSize(width, height);
        Bitmap bitmap(width, height);
        RasterDeviceContext dc(bitmap);
        PlayWindowsMetafile(dc, picture->metafile, Rect{0, 0, width, height});
        return bitmap;
    }
    return std::nullopt;
}

Picture PictureOf(Bitmap bitmap)
{
    Picture picture;
    picture.SetBitmap(std::move(bitmap));
    return picture;
}

} // namespace

void TFormDesign::BuildPictureComponents()
{
    const auto command = [](QToolButton* button, const char* name, const QString& caption, const QString& hint) {
        if (!button)
            button = new QToolButton;
        button->setObjectName(QString::fromLatin1(name));
        button->setText(caption);
        button->setToolTip(hint);
        return button;
    };
    SBtnOpenImage = command(nullptr, "SBtnOpenImage", QStringLiteral("画像ファイル読込"),
                            QStringLiteral("ファイルから画像を読み込みます。"));
    SBtnLoadTwain = command(nullptr, "SBtnLoadTwain", QStringLiteral("TWAIN取り込み"),
                            QStringLiteral("TWAIN機器から画像を取り込みます。"));
    command(SBtnCopy, "SBtnCopy", QStringLiteral("コピー"),
            QStringLiteral("読み込まれた画像をクリップボードに貼り付けます。"));
    SBtnPaste = command(nullptr, "SBtnPaste", QStringLiteral("貼り付け"),
                        QStringLiteral("クリップボードの内容を貼り付けます。"));
    command(SBtnClear, "SBtnClear", QStringLiteral("消去"), QStringLiteral("読み込んだ画像を消去します。"));
    ShapePictureBack->setToolTip(QStringLiteral("ここに画像をドラッグ＆ドロップすることもできます。"));
    ShapeTransparent->setToolTip(QStringLiteral("上の画像をクリックして色を指定します。"));
    if (auto* grid = qobject_cast<QGridLayout*>(PanelPicture->layout())) {
        grid->addWidget(SBtnOpenImage, 1, 0);
        grid->addWidget(SBtnLoadTwain, 1, 1);
        grid->addWidget(SBtnPaste, 1, 2);
    }
    ImageSheetPicture->installEventFilter(new EventHook(
        [this](QObject*, QEvent* event) {
            if (event->type() != QEvent::MouseButtonPress)
                return false;
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QPoint at = mouse->position().toPoint();
                guarded([this, at] { ImageSheetPictureMouseDown(at.x(), at.y()); });
            }
            return false;
        },
        ImageSheetPicture));
    NoteEventHandlers(ImageSheetPicture, {"ImageSheetPictureMouseDown"});
    using Handler = void (TFormDesign::*)();
    const std::tuple<QToolButton*, Handler, const char*> commands[] = {
        {SBtnOpenImage, LX_HANDLER(TFormDesign, SBtnOpenImageClick)},
        {SBtnLoadTwain, LX_HANDLER(TFormDesign, SBtnLoadTwainClick)},
        {SBtnCopy, LX_HANDLER(TFormDesign, SBtnCopyClick)},
        {SBtnPaste, LX_HANDLER(TFormDesign, SBtnPasteClick)},
        {SBtnClear, LX_HANDLER(TFormDesign, SBtnClearClick)}};
    for (const auto& [button, handler, name] : commands)
        WireClick(this, button, handler, name);
    Wire("CBTransparentClick", CBTransparent, &QCheckBox::toggled, this,
         [this] { guarded([this] { CBTransparentClick(); }); });
    Wire("CBFixRateClick", CBFixRate, &QCheckBox::toggled, this, [this] { guarded([this] { CBFixRateClick(); }); });
}

Picture TFormDesign::LoadPictureFile(const std::string& path)
{
    Picture picture;
    picture.LoadFromFile(path);
    // A JPEG is opaque and the design file stores it as it is: kept as its
    // file, it is decoded only as large as it is drawn. So it must be whole.
    if (const auto* jpeg = dynamic_cast<const JpegImage*>(picture.GetGraphic())) {
        CheckJpegComplete(jpeg->SaveToBytes());
        return picture;
    }
    Picture bitmap;
    bitmap.SetBitmap(PictureToBitmap(picture));
    return bitmap;
}

void TFormDesign::ApplyPictureToObject(Picture picture)
{
    ImageSheetPictureData = std::move(picture);
    FitSheetPicture();
    SBtnCopy->setEnabled(true);
    SBtnClear->setEnabled(true);
    WriteSelected(&TFormDesign::LabelEditImageObj);
    RefreshDesign();
}

void TFormDesign::FitSheetPicture()
{
    SetImageToForm(ImageSheetPicture, 1, 1, ShapePictureBack->width() - 2, ShapePictureBack->height() - 2);
}

void TFormDesign::SetImageToForm(PictureView* image, int left, int top, int width, int height)
{
    const Picture& picture = ImageSheetPictureData;
    if (picture.Empty() || width <= 0 || height <= 0) {
        image->clearPicture();
        return;
    }
    const std::int64_t w = picture.Width();
    const std::int64_t h = picture.Height();
    // h / height >= w / width, compared without rounding.
    QRect place;
    if (h * width >= w * height) {
        const int shown = static_cast<int>(height * w / h);
        place = QRect(left + Div(width - shown, 2), top, shown, height);
    } else {
        const int shown = static_cast<int>(width * h / w);
        place = QRect(left, top + Div(height - shown, 2), width, shown);
    }
    image->setGeometry(place);
    const Bitmap shown = PictureToBitmap(picture, place.width(), place.height());
    image->setPicture(ToQImage(shown).scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

std::optional<std::string> TFormDesign::SelectPictureFile()
{
    // Without the program's windows there is no chooser to ask: nothing is
    // chosen, as when the user cancels.
    if (!Windows.pictureChooser)
        return std::nullopt;
    // The chooser hands back the CP932 path the picture loader takes.
    std::string path;
    if (!Windows.pictureChooser->SelectPictureFile(path))
        return std::nullopt;
    return path;
}

void TFormDesign::SBtnOpenImageClick()
{
    const auto path = SelectPictureFile();
    if (!path)
        return;
    // A file that cannot be read raises here and leaves the design as it was.
    Picture picture = LoadPictureFile(*path);
    ApplyPictureToObject(std::move(picture));
}

std::optional<Bitmap> TFormDesign::AcquireTwainBitmap()
{
    // One scanner component for the program's life, as its session state
    // outlives a single acquisition.
    static TAcquireImage acquire;
    return AcquireTwainPicture(acquire);
}

void TFormDesign::SBtnLoadTwainClick()
{
    auto bitmap = AcquireTwainBitmap();
    if (!bitmap)
        return;
    ApplyPictureToObject(PictureOf(std::move(*bitmap)));
}

void TFormDesign::SBtnCopyClick()
{
    const auto* object = dynamic_cast<const TLxLabelObjectImage*>(SelectedObject());
    const auto disable = [this] {
        SBtnCopy->setEnabled(false);
        SBtnClear->setEnabled(false);
    };
    if (!object || object->GetPicture().Empty()) {
        disable();
        return;
    }
    Clipboard clipboard;
    if (!clipboard.Open() || !clipboard.Empty() || !clipboard.SetBitmap(PictureToBitmap(object->GetPicture())))
        disable();
}

void TFormDesign::SBtnPasteClick()
{
    std::optional<Bitmap> bitmap;
    try {
        bitmap = ClipboardBitmap();
    } catch (const std::exception&) {
        bitmap.reset();
    }
    if (!bitmap || bitmap->Empty()) {
        ShowInfo(kPasteFailed);
        return;
    }
    ApplyPictureToObject(PictureOf(std::move(*bitmap)));
}

void TFormDesign::SBtnClearClick()
{
    ImageSheetPictureData.Clear();
    FitSheetPicture();
    SBtnCopy->setEnabled(false);
    SBtnClear->setEnabled(false);
    WriteSelected(&TFormDesign::LabelEditImageObj);
    RefreshDesign();
}

void TFormDesign::ImageSheetPictureMouseDown(int x, int y)
{
    const auto* object = dynamic_cast<const TLxLabelObjectImage*>(SelectedObject());
    const int width = ImageSheetPicture->width();
    const int height = ImageSheetPicture->height();
    if (!object || object->GetPicture().Empty() || width <= 0 || height <= 0)
        return;
    const Bitmap pixels = PictureToBitmap(object->GetPicture());
    const int px = std::clamp(RoundToInt(static_cast<double>(pixels.Width()) / width * x), 0, pixels.Width() - 1);
    const int py = std::clamp(RoundToInt(static_cast<double>(pixels.Height()) / height * y), 0, pixels.Height() - 1);
    const std::uint32_t color = ColorRefFromArgb(pixels.Pixel(px, py));
    // The page writes the sample's colour into the object.
    ShapeTransparent->setColor(color);
    ImageSheetChange();
}

void TFormDesign::CBTransparentClick() { ImageSheetChange(); }
void TFormDesign::CBFixRateClick() { ImageSheetChange(); }

} // namespace lx
