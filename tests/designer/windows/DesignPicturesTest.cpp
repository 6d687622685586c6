#include "DialogTestSupport.h"
#include "EditPanelsFixture.h"

#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelString.h"
#include "designer/windows/EditorShapes.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/UnitSelectPicture.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/io/Files.h"

#include "support/ImageOracles.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <jpeglib.h>
#include <optional>
#include <tuple>
#include <utility>

using namespace lx;

namespace {

constexpr std::uint32_t kRedArgb = 0xFFFF0000u;
constexpr std::uint32_t kBlueArgb = 0xFF0000FFu;

// Left half red, right half blue, as 8-bit RGB samples.
std::vector<std::uint8_t> HalvesRgb(int width, int height)
{
    std::vector<std::uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            samples.insert(samples.end(), {std::uint8_t(left ? 255 : 0), 0, std::uint8_t(left ? 0 : 255)});
        }
    return samples;
}

// The same halves as an RGB PNG written by libpng.
std::string HalvesPng(int width, int height)
{
    return lxtest::WritePngWithLibpng({width, height, 8, 2, false, {}, {}, HalvesRgb(width, height)});
}

Bitmap ToBitmap(const Picture& picture)
{
    const auto* raster = dynamic_cast<const RasterGraphic*>(picture.GetGraphic());
    return raster ? raster->GetBitmap() : Bitmap();
}

class DesignPicturesTest : public lxtest::EditPanelsTest {
protected:
    void SetUp() override
    {
        // The chooser opens in the user's documents: keep it in the test's home.
        UseOwnHome(temp.File("home/.config"));
        EditPanelsTest::SetUp();
    }

    const TLxLabelObjectImage& AddPicture()
    {
        NewDesign();
        const auto& object = Add<TLxLabelObjectImage>(2);
        FormDesign->CBFixRate->setChecked(false);
        MarkSaved();
        return object;
    }

    // Writes the file into a picture folder of its own, beside other pictures.
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string folder = temp.File("画像 フォルダ");
        std::filesystem::create_directories(std::filesystem::u8path(folder));
        std::ofstream(std::filesystem::u8path(folder + "/0 other.png"), std::ios::binary) << "not chosen";
        const std::string path = folder + "/" + name;
        std::ofstream(std::filesystem::u8path(path), std::ios::binary) << bytes;
        return path;
    }

    // The picture command, with the user picking the file in the chooser
    // (or cancelling it) once it is up.
    void Open(const std::optional<std::string>& path)
    {
        bool chooserShown = false;
        lxtest::WhenModalShows<TFormSelectPicture>([&](TFormSelectPicture* chooser) {
            chooserShown = true;
            if (!path) {
                chooser->BtnCancel->click();
                return;
            }
            chooser->SetDirectory(path->substr(0, path->rfind('/')));
            const auto& files = chooser->FilePaths;
            const auto found = std::find(files.begin(), files.end(), *path);
            if (found == files.end()) {
                ADD_FAILURE() << "not listed: " << *path;
                chooser->BtnCancel->click();
                return;
            }
            QListView* list = chooser->LVAttachFile;
            lxtest::ClickItem(list, list->model()->index(static_cast<int>(found - files.begin()), 0));
            chooser->BtnOK->click();
        });
        FormDesign->SBtnOpenImage->click();
        EXPECT_TRUE(chooserShown);
    }
};

} // namespace

// A PNG enters as a bitmap (the design file has no kind for it); a JPEG keeps
// its file, so that it is stored and decoded as the file it is.
TEST_F(DesignPicturesTest, PictureFilesEnterTheObjectFittedIntoTheFrame)
{
    constexpr int w = 400;
    constexpr int h = 100;
    const auto rgb = HalvesRgb(w, h);
    const std::tuple<std::string, std::string, std::string_view> files[] = {
        {"halves.png", HalvesPng(w, h), "TBitmap"},
        {"左右 半分.JPG", lxtest::WriteJpegWithLibjpeg(w, h, 3, JCS_RGB, rgb, false), "TJPEGImage"}};
    for (const auto& [name, bytes, className] : files) {
        SCOPED_TRACE(name);
        auto& object = AddPicture();
        Open(Write(name, bytes));
        const Picture& picture = object.GetPicture();
        ASSERT_EQ(picture.Width(), w);
        ASSERT_EQ(picture.Height(), h);
        EXPECT_EQ(picture.GetGraphic()->ClassName(), className);
        if (className == "TJPEGImage") {
            EXPECT_EQ(picture.GetGraphic()->SaveToBytes(), bytes);
        }
        const Bitmap pixels = ToBitmap(picture);
        // JPEG is lossy: compare the dominant channel.
        EXPECT_GT((pixels.Pixel(50, 50) >> 16) & 0xFF, 200u);
        EXPECT_GT(pixels.Pixel(350, 50) & 0xFF, 200u);
        EXPECT_FALSE(Session().IsSaved());
        EXPECT_TRUE(FormDesign->SBtnCopy->isEnabled());
        EXPECT_TRUE(FormDesign->SBtnClear->isEnabled());
        // 400 x 100 in a frame inside of 198 x 148: 198 x 49, 49 pixels down.
        EXPECT_EQ(FormDesign->ImageSheetPicture->geometry(), QRect(1, 1 + 49, 198, 49));
        // The surface shows both halves.
        const QImage surface = FormDesign->ImageDesign->picture();
        int red = 0;
        int blue = 0;
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x) {
                const QRgb p = surface.pixel(x, y);
                red += qRed(p) > 200 && qBlue(p) < 60;
                blue += qBlue(p) > 200 && qRed(p) < 60;
            }
        EXPECT_GT(red, 100);
        EXPECT_GT(blue, 100);
        MarkSaved();
        FormDesign->close();
    }
}

TEST_F(DesignPicturesTest, AnUnreadableOrCancelledChoiceLeavesThePictureAsItWas)
{
    auto& object = AddPicture();
    Open(Write("壊れた.png", "\x89PNG\r\n\x1a\nnot really"));
    EXPECT_TRUE(object.GetPicture().Empty());
    EXPECT_TRUE(Session().IsSaved());
    ASSERT_EQ(messages.Texts().size(), 1u);
    // Reported in Japanese: the text is not plain ASCII.
    const std::string text = messages.Texts()[0];
    EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        << text;

    // A JPEG cut short would be stored incomplete: refused, nothing changed.
    const std::string jpeg = lxtest::WriteJpegWithLibjpeg(400, 100, 3, JCS_RGB, HalvesRgb(400, 100), false);
    const std::size_t scan = jpeg.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    messages.Clear();
    Open(Write("途中まで.jpg", jpeg.substr(0, (scan + jpeg.size()) / 2)));
    EXPECT_TRUE(object.GetPicture().Empty());
    EXPECT_TRUE(Session().IsSaved());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"JPEG 画像が途中で切れているか、壊れています。"});

    Open(Write("square.png", HalvesPng(40, 40)));
    ASSERT_EQ(object.GetPicture().Width(), 40);
    MarkSaved();
    messages.Clear();
    Open(std::nullopt);
    EXPECT_EQ(object.GetPicture().Width(), 40);
    EXPECT_TRUE(Session().IsSaved());
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(DesignPicturesTest, ClickingThePicturePicksTheTransparentColour)
{
    auto& object = AddPicture();
    Open(Write("square.png", HalvesPng(40, 40)));
    FormDesign->CBTransparent->setChecked(true);
    EXPECT_EQ(object.GetTransparent(), 1);
    // Square: 148 x 148 in the middle of the frame.
    QWidget* image = FormDesign->ImageSheetPicture;
    ASSERT_EQ(image->geometry(), QRect(26, 1, 148, 148));
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(140, 74));
    EXPECT_EQ(object.GetTransparentColor(), 0xFF0000u);
    EXPECT_EQ(FormDesign->ShapeTransparent->color(), 0xFF0000u);
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(147, 147));
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(object.GetTransparentColor(), 0x0000FFu);
}

TEST_F(DesignPicturesTest, ClipboardCopyPasteAndClear)
{
    auto& object = AddPicture();
    // Copy without a picture disables the buttons and leaves the clipboard alone.
    {
        Clipboard clipboard;
        ASSERT_TRUE(clipboard.Open());
        ASSERT_TRUE(clipboard.Empty());
        ASSERT_TRUE(clipboard.SetBitmap(Bitmap(30, 20, kBlueArgb)));
    }
    lxtest::ClickButton(FormDesign, "SBtnCopy");
    EXPECT_FALSE(FormDesign->SBtnCopy->isEnabled());
    EXPECT_FALSE(FormDesign->SBtnClear->isEnabled());
    ASSERT_TRUE(Clipboard::GetBitmap().has_value());
    EXPECT_EQ(Clipboard::GetBitmap()->Width(), 30);

    FormDesign->SBtnPaste->click();
    ASSERT_EQ(object.GetPicture().Width(), 30);
    EXPECT_EQ(ToBitmap(object.GetPicture()).Pixel(3, 3), kBlueArgb);
    EXPECT_FALSE(Session().IsSaved());

    // A metafile on the clipboard comes in at its own size.
    {
        const DeviceInfo screen = DisplayDevice();
        EmfRecorder recorder(screen, FrameForPixels(Size{64, 32}, screen));
        recorder.FillRect(Rect{0, 0, 64, 32}, 0x0000FF);
        const EnhMetafile metafile = recorder.Close();
        Clipboard clipboard;
        ASSERT_TRUE(clipboard.Open());
        ASSERT_TRUE(clipboard.Empty());
        ASSERT_TRUE(clipboard.SetEnhMetafile(metafile));
    }
    FormDesign->SBtnPaste->click();
    EXPECT_EQ(object.GetPicture().Width(), 64);
    EXPECT_EQ(object.GetPicture().Height(), 32);
    EXPECT_EQ(ToBitmap(object.GetPicture()).Pixel(10, 10), kRedArgb);

    FormDesign->SBtnCopy->click();
    ASSERT_TRUE(Clipboard::GetBitmap().has_value());
    EXPECT_EQ(Clipboard::GetBitmap()->Width(), 64);

    FormDesign->SBtnClear->click();
    EXPECT_TRUE(object.GetPicture().Empty());
    EXPECT_FALSE(FormDesign->SBtnCopy->isEnabled());

    // Nothing usable on the clipboard.
    {
        Clipboard clipboard;
        ASSERT_TRUE(clipboard.Open());
        ASSERT_TRUE(clipboard.Empty());
    }
    messages.Clear();
    FormDesign->SBtnPaste->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"クリップボードからの読み込みに失敗しました。"});
    EXPECT_TRUE(object.GetPicture().Empty());
}

namespace {

// Files dragged from a file manager and dropped onto the widget.
void DropFiles(QWidget* target, const std::vector<std::string>& utf8Paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : utf8Paths)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    data.setUrls(urls);
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

} // namespace

TEST_F(DesignPicturesTest, OnePictureFileDroppedOnThePicturePageEntersThePicture)
{
    auto& object = AddPicture();
    QWidget* panel = FormDesign->findChild<QWidget*>(QStringLiteral("PanelPicture"));
    ASSERT_NE(panel, nullptr);
    const std::string picture = Write("落とした 画像.PNG", HalvesPng(40, 20));
    const std::string text = Write("メモ.txt", "not a picture");

    DropFiles(panel, {picture, picture});
    DropFiles(panel, {text});
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"扱える画像は１つのみです。", "扱える画像形式は、BMP、JPEG、PNG形式です。"}));
    EXPECT_TRUE(object.GetPicture().Empty());
    EXPECT_TRUE(Session().IsSaved());

    DropFiles(panel, {picture});
    ASSERT_EQ(object.GetPicture().Width(), 40);
    EXPECT_EQ(ToBitmap(object.GetPicture()).Pixel(35, 10) & 0xFFFFFF, 0x0000FFu);
    EXPECT_FALSE(Session().IsSaved()) << "a dropped picture is a change to save";

    // On any other page a drop does nothing.
    messages.Clear();
    Add<TLxLabelObjectString>(1);
    DropFiles(panel, {picture, picture});
    EXPECT_TRUE(messages.Texts().empty());
}
