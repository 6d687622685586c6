// Pictures of the designer's windows on a real X display (Xvfb), compared
// with reviewed pictures kept beside this test. Set LX_UPDATE_SCREENSHOTS=1
// to write new pictures for review instead.
#include "DesignerFixture.h"
#include "support/Oracles.h"

#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelString.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/app/Program.h"
#include "platform/text/Cp932.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <cstdlib>
#include <filesystem>

using namespace lx;

namespace {

bool OnRealDisplay() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

QImage Capture(QWidget* window)
{
    window->raise();
    window->activateWindow();
    QElapsedTimer clock;
    clock.start();
    while (!(window->windowHandle() && window->windowHandle()->isExposed()) && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    // Let the first frames reach the server.
    for (clock.restart(); clock.elapsed() < 300;)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// Share of pixels that differ clearly (font rasterisation may move a few).
double DifferentShare(const QImage& a, const QImage& b)
{
    int different = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > 48 || std::abs(p.green() - q.green()) > 48 ||
                std::abs(p.blue() - q.blue()) > 48)
                ++different;
        }
    return static_cast<double>(different) / (a.width() * a.height());
}

void CompareWithReviewed(const QImage& actual, const std::string& name)
{
    const QString reviewed =
        QString::fromStdString(lxtest::SourcePath("tests/designer/windows/screenshots/" + name + ".png"));
    const QString out = QString::fromStdString(lxtest::BuildPath("screenshots/" + name + ".png"));
    std::filesystem::create_directories(lxtest::BuildPath("screenshots"));
    actual.save(out);
    if (std::getenv("LX_UPDATE_SCREENSHOTS")) {
        actual.save(reviewed);
        return;
    }
    const QImage expected = QImage(reviewed).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull()) << "no reviewed picture " << reviewed.toStdString();
    ASSERT_EQ(actual.size(), expected.size()) << name;
    EXPECT_LT(DifferentShare(actual, expected), 0.01) << name << ": compare " << out.toStdString();
}

// A shop label: a coloured band, a name, an address and a frame.
void DrawSampleDesign(TlxLabelManager& document)
{
    const auto add = [&](std::uint8_t kind) -> TLxLableObjectBase& {
        document.AddObject(kind, 0);
        return *document.GetObject(0, 0);
    };
    auto& band = dynamic_cast<TLxLabelObjectFigure&>(add(1));
    band.SetFigureType(FigureFilledEllipse);
    band.SetLineColor(0xF2D9BF);
    band.SetLeft(6);
    band.SetTop(4);
    band.SetWidth(68);
    band.SetHeight(42);
    auto& name = dynamic_cast<TLxLabelObjectString&>(add(0));
    name.SetText(Sjis("ポメレル文具店"));
    name.SetFontSize(20);
    name.SetFontColor(0x683A1F);
    name.SetFontStyle(kFontBold);
    name.SetLeft(13);
    name.SetTop(14);
    auto& address = dynamic_cast<TLxLabelObjectString&>(add(0));
    address.SetText(Sjis("〒100-0001 東京都千代田区\r\nTEL 03-0000-0000"));
    address.SetFontSize(8);
    address.SetLeft(18);
    address.SetTop(27);
    auto& frame = dynamic_cast<TLxLabelObjectFigure&>(add(1));
    frame.SetFigureType(FigureEllipse);
    frame.SetLineColor(0xB46E3C);
    frame.SetLineWidth(5);
    frame.SetLeft(3);
    frame.SetTop(2);
    frame.SetWidth(74);
    frame.SetHeight(46);
}

class ChildRoleXvfbScreens : public lxtest::DesignerTest {};

} // namespace

TEST_F(ChildRoleXvfbScreens, StartMenuPaperChooserAndEditor)
{
    if (!OnRealDisplay())
        GTEST_SKIP() << "runs inside the Xvfb test";
    ASSERT_TRUE(StartProgram());
    CompareWithReviewed(Capture(FormTopMenu), "start_menu");

    FormTopMenu->PngBtnSelectPaper->click();
    FormSelectPaper->CBMaker->setCurrentIndex(0);
    // Round labels: more to see than the full-sheet labels the list begins with.
    FormSelectPaper->LBPaperList->setCurrentItem(
        FormSelectPaper->LBPaperList->findItems(QStringLiteral("CJH3020S"), Qt::MatchStartsWith)[0]);
    CompareWithReviewed(Capture(FormSelectPaper), "paper_chooser");

    // An elliptical label with a design on it.
    FormSelectPaper->CBMaker->setCurrentText(QStringLiteral("Online Labels"));
    FormSelectPaper->LBPaperList->setCurrentItem(
        FormSelectPaper->LBPaperList->findItems(QStringLiteral("OL894"), Qt::MatchStartsWith)[0]);
    FormSelectPaper->BtnNext->click();
    FormDesign->resize(950, 650);
    FillDesign(DrawSampleDesign);
    CompareWithReviewed(Capture(FormDesign), "editor");
}

TEST(Screenshots, WindowsOnXvfbMatchTheReviewedPictures)
{
    if (OnRealDisplay())
        GTEST_SKIP();
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    LX_NEED_ORACLE(!xvfb.isEmpty(), "xvfb-run");
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    run.setProcessEnvironment(environment);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(xvfb,
              {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
               QString::fromStdString(ProgramPath()), QStringLiteral("--gtest_filter=ChildRoleXvfbScreens.*")});
    ASSERT_TRUE(run.waitForFinished(120000));
    const QString output = QString::fromUtf8(run.readAll());
    EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}
