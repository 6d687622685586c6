#include "platform/clipboard/Clipboard.h"
#include "platform/text/Cp932.h"
#include "support/Oracles.h"
#include "support/TestPaths.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace lx;

namespace {

EnhMetafile SymbolEmf()
{
    EmfRecorder recorder(DisplayDevice(), FrameForPixels({30, 20}, DisplayDevice()), u"clipboard");
    recorder.SelectBrush({BrushStyle::Solid, 0x000000});
    for (int x = 0; x < 30; x += 6)
        recorder.Rectangle(x, 0, x + 3, 20);
    LogFont font;
    font.height = -10;
    font.faceName = Sjis("ＭＳ ゴシック");
    recorder.SelectFont(font);
    recorder.TextOut(1, 5, Sjis("記号"));
    return recorder.Close();
}

// Empties the clipboard and puts on what `put` sets.
template <typename Put>
void PutOnClipboard(Put put)
{
    Clipboard clipboard;
    ASSERT_TRUE(clipboard.Open());
    ASSERT_TRUE(clipboard.Empty());
    put(clipboard);
}

// Whether this process is the given side of the two-process test.
bool PeerRole(const char* role)
{
    const char* dir = std::getenv("LX_CLIPBOARD_PEER_DIR");
    const char* actual = std::getenv("LX_CLIPBOARD_ROLE");
    return dir && actual && std::string(actual) == role;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(Clipboard, EnhancedMetafileRoundTripsInProcess)
{
    const EnhMetafile emf = SymbolEmf();
    PutOnClipboard([&](Clipboard& clipboard) {
        EXPECT_FALSE(clipboard.SetEnhMetafile(EnhMetafile{})); // never a null metafile
        ASSERT_TRUE(clipboard.SetEnhMetafile(emf));
    });
    ASSERT_TRUE(Clipboard::HasFormat(ClipboardFormat::EnhMetafile));
    const auto back = Clipboard::GetEnhMetafile();
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->Bytes(), emf.Bytes());
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("image/x-emf").size(),
              static_cast<qsizetype>(emf.Bytes().size()));
}

TEST(Clipboard, EmptyingLeavesNoMetafileAndABusyClipboardCannotBeOpened)
{
    Clipboard first;
    ASSERT_TRUE(first.Open());
    first.SetEnhMetafile(SymbolEmf());
    Clipboard second;
    EXPECT_FALSE(second.Open());
    EXPECT_FALSE(second.Empty());
    ASSERT_TRUE(first.Empty());
    first.Close();
    EXPECT_FALSE(Clipboard::GetEnhMetafile().has_value());
    EXPECT_TRUE(second.Open());
}

TEST(Clipboard, APrivateScopeKeepsEveryOpeningInProcessAndTheDesktopClipboardAsItWas)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("利用者の文字"));
    const EnhMetafile emf = SymbolEmf();
    {
        const PrivateClipboard outer;
        PutOnClipboard([&](Clipboard& clipboard) { ASSERT_TRUE(clipboard.SetEnhMetafile(emf)); });
        {
            const PrivateClipboard inner; // the innermost scope is the one used
            EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::EnhMetafile));
            PutOnClipboard([&](Clipboard& clipboard) { ASSERT_TRUE(clipboard.SetBitmap(Bitmap(2, 2))); });
            EXPECT_TRUE(Clipboard::HasFormat(ClipboardFormat::Bitmap));
        }
        const auto back = Clipboard::GetEnhMetafile();
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->Bytes(), emf.Bytes());
        EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::Bitmap));
        PutOnClipboard([](Clipboard&) {});
        EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::EnhMetafile));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("利用者の文字"));
    }
    EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::EnhMetafile));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("利用者の文字"));
}

TEST(Clipboard, MetafilePictureKeepsItsMappingAndExtents)
{
    WmfRecorder recorder;
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(29, -29);
    recorder.Rectangle(0, 0, 10, -10);
    const WindowsMetafile wmf = recorder.Close();
    PutOnClipboard([&](Clipboard& clipboard) {
        ASSERT_TRUE(clipboard.SetMetafilePicture({8, 1228, 1228, wmf}));
        ASSERT_TRUE(clipboard.SetEnhMetafile(SymbolEmf())); // both formats at once
    });
    const auto picture = Clipboard::GetMetafilePicture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->mapMode, 8);
    EXPECT_EQ(picture->xExt, 1228);
    EXPECT_EQ(picture->yExt, 1228);
    EXPECT_EQ(picture->metafile.Bytes(), wmf.Bytes());
    EXPECT_TRUE(Clipboard::HasFormat(ClipboardFormat::EnhMetafile));

    // Extents no bitmap can have: the metafile goes alone, without a PNG.
    PutOnClipboard([&](Clipboard& clipboard) {
        ASSERT_TRUE(clipboard.SetMetafilePicture({8, 2147483647, 1228, wmf}));
    });
    EXPECT_TRUE(Clipboard::HasFormat(ClipboardFormat::MetafilePicture));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/png")));
}

TEST(Clipboard, BitmapsTravelAsBmpAndPngAndPngFromOthersIsRead)
{
    Bitmap bitmap(5, 3, 0xFF102030u);
    bitmap.SetPixel(4, 2, 0xFF000000u);
    PutOnClipboard([&](Clipboard& clipboard) { ASSERT_TRUE(clipboard.SetBitmap(bitmap)); });
    EXPECT_TRUE(Clipboard::HasFormat(ClipboardFormat::Dib));
    EXPECT_EQ(Clipboard::GetBitmap(), bitmap);
    const QByteArray bmp = QGuiApplication::clipboard()->mimeData()->data("image/bmp");
    EXPECT_EQ(QImage::fromData(bmp, "BMP").pixel(4, 2), 0xFF000000u); // a BMP file Qt reads too

    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(0xFF00FF00u);
    QGuiApplication::clipboard()->setImage(image); // another program's picture
    const auto read = Clipboard::GetBitmap();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Pixel(1, 1), 0xFF00FF00u);
}

// Two processes on one X display: one leaves the symbol on the clipboard,
// the other takes it. Each side is a test of its own that runs only when
// the driving test starts it.
TEST(ChildRoleClipboardPeer, Writer)
{
    if (!PeerRole("writer"))
        GTEST_SKIP() << "started only by the two-process clipboard test";
    const char* dir = std::getenv("LX_CLIPBOARD_PEER_DIR");
    PutOnClipboard([](Clipboard& clipboard) { ASSERT_TRUE(clipboard.SetEnhMetafile(SymbolEmf())); });
    std::ofstream(std::string(dir) + "/ready") << "ready";
    QElapsedTimer timer;
    timer.start();
    while (!std::filesystem::exists(std::string(dir) + "/done") && timer.elapsed() < 30000) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

TEST(ChildRoleClipboardPeer, Reader)
{
    if (!PeerRole("reader"))
        GTEST_SKIP() << "started only by the two-process clipboard test";
    const char* dir = std::getenv("LX_CLIPBOARD_PEER_DIR");
    std::string result = "nothing";
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        QCoreApplication::processEvents();
        if (std::filesystem::exists(std::string(dir) + "/ready")) {
            if (const auto emf = Clipboard::GetEnhMetafile()) {
                result = emf->Bytes() == SymbolEmf().Bytes() ? "ok" : "different";
                break;
            }
        }
        QThread::msleep(50);
    }
    std::ofstream(std::string(dir) + "/result") << result;
    std::ofstream(std::string(dir) + "/done") << "done";
}

TEST(Clipboard, EnhancedMetafileCrossesProcessesUnderXvfb)
{
    LX_NEED_TOOLS("xvfb-run", "xauth");
    lxtest::TempDir dir;
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string common = "LX_CLIPBOARD_PEER_DIR='" + dir.Path() + "' QT_QPA_PLATFORM=xcb ";
    const std::string script = common + "LX_CLIPBOARD_ROLE=writer '" + exe +
        "' --gtest_filter=ChildRoleClipboardPeer.Writer >/dev/null 2>&1 & " + common + "LX_CLIPBOARD_ROLE=reader '" +
        exe + "' --gtest_filter=ChildRoleClipboardPeer.Reader >/dev/null 2>&1; wait";
    const std::string command = "xvfb-run -a sh -c \"" + script + "\" >/dev/null 2>&1";
    std::system(command.c_str());
    EXPECT_EQ(ReadText(dir.File("result")), "ok");
}
