// The control's copy on the desktop clipboard: beside the metafile a PNG of
// the symbol, which other programs paste. On an X display (Xvfb) xclip
// takes it from this process as any GTK or Qt program would.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <filesystem>

#include "ControlTesting.h"
#include "platform/clipboard/Clipboard.h"
#include "support/Oracles.h"
#include "support/SymbolImages.h"

using namespace lx;
using lxtest::TestControl;

namespace {

constexpr const char* kData = "https://example.jp/1";

struct CopyCase {
    int codeType;
    std::int16_t enhanced;
    const char* metafileMime;
};
// A QR code as an enhanced metafile, a DataMatrix as a metafile picture.
constexpr CopyCase kCases[] = {{kCodeQr, 1, "image/x-emf"}, {kCodeDataMatrix, 0, "image/x-wmf"}};

// Copies the symbol of the case; returns its extent in printer pixels.
Size Copy(TestControl& c, const CopyCase& k)
{
    c.Put(kDispCodeType, k.codeType);
    c.PutText(kData);
    EXPECT_GT(c.driver.Call(kDispQrImageCopy, {Variant(k.enhanced)}).AsInt16(), 0);
    return c.object->GetSymbolExtent();
}

// The PNG read by Qt's reader: whole-pixel modules at the printer's 600
// dpi, so its size is the symbol's extent, and zxing reads the data.
void ExpectSymbolPng(const QByteArray& png, Size extent, const CopyCase& k)
{
    const QImage image = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull()) << k.metafileMime;
    EXPECT_EQ(image.width(), extent.cx) << k.metafileMime;
    EXPECT_EQ(image.height(), extent.cy) << k.metafileMime;
    Bitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::copy_n(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), image.width(), bitmap.Row(y));
    const auto read = lxtest::DecodeSymbol(bitmap, ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::DataMatrix);
    EXPECT_TRUE(read.ok) << k.metafileMime << ": " << read.error;
    EXPECT_EQ(read.text, kData) << k.metafileMime;
}

bool OnX() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

// What xclip prints for one target of the clipboard. This process owns the
// selection, so it keeps its event loop running until xclip has its answer.
QByteArray XclipRead(const QString& target)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"), target,
                 QStringLiteral("-o")});
    QElapsedTimer clock;
    clock.start();
    while (!xclip.waitForFinished(10) && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(xclip.exitCode(), 0) << target.toStdString() << ": " << xclip.readAllStandardError().toStdString();
    return xclip.readAllStandardOutput();
}

} // namespace

TEST(ControlDesktopClipboard, CopyOffersAPngOfTheSymbolAndTheMetafileStillPastesAsAMetafile)
{
    for (const CopyCase& k : kCases) {
        TestControl c;
        const Size extent = Copy(c, k);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(data->hasFormat(QString::fromLatin1(k.metafileMime)));
        ExpectSymbolPng(data->data(QStringLiteral("image/png")), extent, k);
        // Hosts still take the metafile, not a bitmap.
        EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::Bitmap)) << k.metafileMime;
    }
}

TEST(ControlDesktopClipboard, TheInProcessRoadGetsTheMetafileAloneAndLeavesTheDesktopAsItWas)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("利用者の文字"));
    {
        const PrivateClipboard inProcess;
        TestControl c;
        Copy(c, kCases[0]);
        ASSERT_TRUE(Clipboard::GetEnhMetafile().has_value());
        ASSERT_EQ(inProcess.formats.size(), 1u);
        EXPECT_EQ(inProcess.formats[0].first, "image/x-emf");
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("利用者の文字"));
}

TEST(ChildRoleDesktopClipboardOnX, XclipReadsThePngTarget)
{
    if (!OnX())
        GTEST_SKIP() << "runs inside the Xvfb test";
    for (const CopyCase& k : kCases) {
        TestControl c;
        const Size extent = Copy(c, k);
        const QByteArray targets = XclipRead(QStringLiteral("TARGETS"));
        EXPECT_TRUE(targets.contains("image/png")) << targets.toStdString();
        EXPECT_TRUE(targets.contains(k.metafileMime)) << targets.toStdString();
        ExpectSymbolPng(XclipRead(QStringLiteral("image/png")), extent, k);
    }
}

TEST(ControlDesktopClipboard, AnotherXClientPastesThePngUnderXvfb)
{
    LX_NEED_TOOLS("xvfb-run", "xauth", "xclip");
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    run.setProcessEnvironment(environment);
    run.setProcessChannelMode(QProcess::MergedChannels);
    const QString self = QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe").string());
    run.start(QStringLiteral("xvfb-run"),
              {QStringLiteral("-a"), self, QStringLiteral("--gtest_filter=ChildRoleDesktopClipboardOnX.*")});
    ASSERT_TRUE(run.waitForFinished(120000));
    const std::string output = run.readAll().toStdString();
    EXPECT_EQ(run.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}
