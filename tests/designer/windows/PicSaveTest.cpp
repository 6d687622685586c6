#include "DesignerFixture.h"
#include "PreviewTesting.h"

#include "designer/windows/PictureView.h"
#include "designer/windows/UnitPicSave.h"
#include "platform/io/Files.h"
#include "support/ChildProcess.h"
#include "support/ImageOracles.h"

#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <filesystem>
#include <sys/stat.h>

using namespace lx;
using namespace lxtest;

namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;

// A turn of the mouse wheel over the scroll box: negative turns downwards.
void Wheel(QScrollArea* box, int delta)
{
    QWheelEvent event(QPointF(50, 50), QPointF(55, 55), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(box->viewport(), &event);
}

class PicSaveTest : public ::testing::Test {
protected:
    // Shows a label of width x height mm, its left half red and its right
    // half blue, rendered as the editor hands it over; runs `act` while the
    // window is up and closes it if `act` did not.
    void Show(int width, int height, const std::function<void(TFormPicSave&)>& act)
    {
        const TlxLblInfo sheet = MakeSheet(210, 297, {TLblPosition(lxLineNomal, 0, 0, width, height)});
        TlxLabelManager document(1, sheet);
        FillFace(document, 0, kBlue);
        FillFace(document, 0, kRed).SetWidth(width / 2.0);
        const EnhMetafile picture = document.RenderFace(0, 0);
        WhenModalShows<TFormPicSave>([&](TFormPicSave* shown) {
            act(*shown);
            shown->close();
        });
        form.ShowPicSave(width, height, picture);
    }

    ScriptedMessages messages;
    TempDir temp;
    TFormPicSave form;
};

} // namespace

TEST_F(PicSaveTest, EverySizeSavesJpegAndBmpFilesOfThePreviewsSize)
{
    struct Case {
        int width;
        int height;
        const char* button;
        int pixelsWide;
        int pixelsHigh;
    } const cases[] = {
        {90, 50, "RBLarge", 595, 330},
        {90, 50, "RBExtra", 900, 500},
        {90, 50, "RBMidium", 450, 250},
        {50, 50, "RBSmall", 280, 280},
        {50, 90, "RBLarge", 330, 595},
        {400, 1, "RBSmall", 280, 1}, // the shorter side rounds down, but never to nothing
    };
    for (const Case& c : cases) {
        for (const int filter : {0, 1}) {
            SCOPED_TRACE(std::string(c.button) + (filter == 0 ? " JPEG " : " BMP ") + std::to_string(c.height));
            const std::string path = temp.File(std::string(c.button) + std::to_string(c.height) + ".pic");
            Show(c.width, c.height, [&](TFormPicSave& shown) {
                shown.findChild<QRadioButton*>(QString::fromLatin1(c.button))->setChecked(true);
                EXPECT_EQ(shown.ImagePreview->picture().size(), QSize(c.pixelsWide, c.pixelsHigh));
                messages.ChooseFileNext(FileDialogResult{path, filter});
                shown.BtnSave->click();
                EXPECT_FALSE(shown.isVisible());
            });
            if (filter == 0) {
                const JpegFacts jpeg = ReadJpegWithLibjpeg(ReadFileBytes(path));
                ASSERT_TRUE(jpeg.ok);
                EXPECT_EQ(QSize(jpeg.width, jpeg.height), QSize(c.pixelsWide, c.pixelsHigh));
                EXPECT_EQ(jpeg.components, 3);
                EXPECT_FALSE(jpeg.progressive);
                EXPECT_EQ(jpeg.lumaQuant0, 3); // quality 90
                const QColor left = QColor::fromRgb(jpeg.argb[static_cast<std::size_t>(jpeg.width / 4)]);
                EXPECT_GT(left.red(), 200);
                EXPECT_LT(left.blue(), 60);
            } else {
                const QImage bmp(QString::fromStdString(path), "BMP");
                ASSERT_EQ(bmp.size(), QSize(c.pixelsWide, c.pixelsHigh));
                // The label stretched over the whole picture.
                EXPECT_EQ(ColorAt(bmp, 0, 0), kRed);
                EXPECT_EQ(ColorAt(bmp, bmp.width() - 1, bmp.height() - 1), kBlue);
            }
        }
    }
}

TEST_F(PicSaveTest, TheLargestSizeScrollsWithTheWheel)
{
    Show(90, 50, [&](TFormPicSave& shown) {
        EXPECT_TRUE(shown.RBLarge->isChecked());
        shown.RBExtra->setChecked(true);
        QScrollBar* across = shown.ScrollBox1->horizontalScrollBar();
        EXPECT_EQ(shown.ScrollBox1->verticalScrollBar()->maximum(), 0);
        // Without a vertical range the wheel moves the picture sideways.
        Wheel(shown.ScrollBox1, -120);
        EXPECT_EQ(across->value(), across->singleStep());
        Wheel(shown.ScrollBox1, 120);
        EXPECT_EQ(across->value(), 0);
        shown.RBSmall->setChecked(true);
        EXPECT_EQ(across->maximum(), 0);
    });
    Show(50, 90, [&](TFormPicSave& shown) {
        shown.RBExtra->setChecked(true);
        Wheel(shown.ScrollBox1, -120);
        EXPECT_EQ(shown.ScrollBox1->verticalScrollBar()->value(), shown.ScrollBox1->verticalScrollBar()->singleStep());
        EXPECT_EQ(shown.ScrollBox1->horizontalScrollBar()->value(), 0);
    });
}

TEST_F(PicSaveTest, CancellingWritesNothingAndAFailedWriteIsReported)
{
    Show(90, 50, [&](TFormPicSave& shown) {
        shown.BtnSave->click(); // the file dialog is cancelled
        EXPECT_FALSE(shown.isVisible());
    });
    EXPECT_TRUE(form.PreviewBitmap().Empty());
    EXPECT_TRUE(messages.Texts().empty());
    Show(90, 50, [&](TFormPicSave& shown) {
        messages.ChooseFileNext(FileDialogResult{temp.File("missing/label.JPG"), 0});
        shown.BtnSave->click();
        EXPECT_FALSE(shown.isVisible());
    });
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));
}

// A disk that fills up while the picture is written (here the file-size
// limit, which gives the same error) leaves the old picture byte for byte;
// a path that names no regular file is refused and stays as it was. Both
// are told, and the window closes all the same.
TEST_F(PicSaveTest, AFullDiskOrAPathThatIsNoFileLeavesWhatWasThere)
{
    const auto save = [&](const std::string& path, int filter) {
        Show(90, 50, [&](TFormPicSave& shown) {
            messages.ChooseFileNext(FileDialogResult{path, filter});
            shown.BtnSave->click();
            EXPECT_FALSE(shown.isVisible());
        });
    };
    for (const int filter : {0, 1}) {
        const std::string path = temp.File(filter == 0 ? "label.JPG" : "label.BMP");
        save(path, filter);
        const std::string old = ReadFileBytes(path);
        messages.Clear();
        {
            const FileSizeLimit full(old.size() / 2);
            save(path, filter);
        }
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"ファイルが大きすぎるため書き込めません: " + path});
        EXPECT_EQ(ReadFileBytes(path), old);
    }
    const std::string fifo = temp.File("pipe.JPG");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    messages.Clear();
    save(fifo, 0);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"通常のファイルではないため書き込めません: " + fifo});
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(FolderNames(temp.Path()), (std::vector<std::string>{"label.BMP", "label.JPG", "pipe.JPG"}));
}
