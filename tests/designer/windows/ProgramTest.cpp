#include "DesignerFixture.h"
#include "support/Oracles.h"

#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "designer/windows/UnitSelectCsvType.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitSelectPicture.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/app/SingleInstance.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>

using namespace lx;
using lxtest::DesignerTest;

TEST_F(DesignerTest, StartsWithTheNineWindowsAndOnlyTheStartMenuShown)
{
    ASSERT_TRUE(StartProgram());
    for (QWidget* window : Windows())
        ASSERT_NE(window, nullptr);
    EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormTopMenu});
    EXPECT_EQ(FormTopMenu->GetDataDir(), DataFolder());
    // The start menu came first: the paper chooser, made second, found the
    // makers of the data folder through it.
    EXPECT_EQ(FormSelectPaper->CBMaker->count(), 15);
    EXPECT_EQ(FormSelectPaper->CBMaker->itemText(0), QStringLiteral("ヒサゴ"));
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(DesignerTest, EmptyFirstArgumentCountsAsNone)
{
    ASSERT_TRUE(StartProgram({std::string(), "ignored"}));
    EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormTopMenu});
    EXPECT_TRUE(messages.Shown().empty());
}

// Big and hostile files named on the command line end in the editor or the
// start menu, with Japanese messages only: a design whose merge table has a
// million and one columns opens; a missing file (named in the message) and
// one of 4 KiB of zeros are refused.
TEST_F(DesignerTest, AMillionColumnDesignOpensAndAMissingOrZeroFileIsRefused)
{
    const std::string zero = temp.File("zero.bv2");
    WriteFileReplacing(zero, std::string(4096, '\0'));
    for (const std::string& path : {temp.File("missing.bv2"), zero}) {
        SCOPED_TRACE(path);
        program.reset();
        messages.Clear();
        ASSERT_TRUE(StartProgram({path}));
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormTopMenu});
        ASSERT_EQ(messages.Shown().size(), 1u);
        const std::string& text = messages.Shown()[0].text;
        if (path != zero) {
            EXPECT_NE(text.find(path), std::string::npos);
        }
        EXPECT_EQ(text.find("std::"), std::string::npos);
        EXPECT_GT(QString::fromStdString(text).count(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{30FF}]"))), 0);
    }

    // The empty merge table block (flag, counts, empty text) is the first 13 bytes.
    const std::string plain = ReadFileBytes(WriteDesign("plain.bv2", 0, "ELM002", [](TlxLabelManager&) {}));
    const std::string text = std::string(1000000, ',') + "\r\n";
    std::string wide = "\1";
    for (const std::int32_t value : {1, 1000001, static_cast<std::int32_t>(text.size())})
        for (int i = 0; i < 4; ++i)
            wide += static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
    const std::string path = temp.File("wide.bv2");
    WriteFileReplacing(path, wide + text + plain.substr(13));
    program.reset();
    messages.Clear();
    ASSERT_TRUE(StartProgram({path}));
    EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormDesign});
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{});
    EXPECT_EQ(Session().MergeTable()->GetColCount(), 1000001);
    EXPECT_EQ(FormDesign->CBContents->count(), 1000002);
}

// A file name that is not UTF-8 (CP932 bytes, as unzip leaves names from
// Windows archives) reaches the editor as the system's bytes.
TEST_F(DesignerTest, ACp932FileNameFromTheCommandLineOpens)
{
    const std::string utf8Path =
        WriteDesign("plain.bv2", 0, "ELM002", [](TlxLabelManager& document) { document.AddObject(KindFigure, 0); });
    const std::string cp932Path = temp.File(Sjis("宛名ラベル.bv2"));
    ASSERT_FALSE(IsUtf8(cp932Path));
    ASSERT_EQ(std::rename(utf8Path.c_str(), cp932Path.c_str()), 0);
    std::string program0 = "tlxlabel";
    std::string argument = cp932Path;
    char* argv[] = {program0.data(), argument.data(), nullptr};
    const std::vector<std::string> arguments = ProgramArguments(2, argv);
    ASSERT_EQ(arguments, std::vector<std::string>{cp932Path});
    ASSERT_TRUE(StartProgram(arguments));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{});
    EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormDesign});
    EXPECT_EQ(Session().Document()->GetObjectCount(0), 1);
    EXPECT_EQ(FormDesign->windowTitle(), QStringLiteral("デザイン画面 -宛名ラベル.bv2-"));
}

// A FIFO or a device named as the design is refused at once with a message
// (opening a FIFO would wait for a writer), and the start menu comes.
TEST_F(DesignerTest, AFifoOrDeviceAsTheDesignIsRefusedAtOnce)
{
    const std::string fifo = temp.File("pipe.bv2");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        program.reset();
        messages.Clear();
        ASSERT_TRUE(StartProgram({path}));
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"通常のファイルではないため開けません: " + path});
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormTopMenu});
    }
}

TEST_F(DesignerTest, ClosingTheStartMenuEndsTheLoopWhateverElseIsOpen)
{
    ASSERT_TRUE(StartProgram());
    FormTopMenu->PngBtnSelectPaper->click();
    FormSelectPaper->BtnNext->click();
    ASSERT_TRUE(FormDesign->isVisible());
    QTimer::singleShot(0, [this] { FormTopMenu->close(); });
    // Should the loop not end, the test fails instead of hanging.
    bool timedOut = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        timedOut = true;
        QApplication::quit();
    });
    guard.start(5000);
    QApplication::exec();
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(FormTopMenu->isVisible());
}

// The real program: while it runs a second copy is refused and makes no
// window; a run that is killed leaves nothing that blocks the next.
TEST_F(DesignerTest, SecondCopyIsRefusedAndStartAfterAKilledRunStartsNormally)
{
    const std::string exe = lxtest::BuildPath("designer/windows/tlxlabel");
    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LX_LOCK_DIR"), QString::fromStdString(LockFolder()));
    first.setProcessEnvironment(environment);
    first.start(QString::fromStdString(exe), {});
    ASSERT_TRUE(first.waitForStarted(5000));
    bool held = false;
    for (int i = 0; i < 400 && !held; ++i) {
        held = SingleInstanceGuard(kSingleInstanceName, LockFolder()).AnotherRunning();
        if (!held)
            QThread::msleep(10);
    }
    ASSERT_TRUE(held) << "the program never took its lock";
    EXPECT_FALSE(StartProgram());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"既に起動しています。"});
    EXPECT_EQ(FormTopMenu, nullptr);
    EXPECT_EQ(FormDesign, nullptr);
    program.reset();

    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    ASSERT_TRUE(first.waitForFinished(5000));
    messages.Clear();
    ASSERT_TRUE(StartProgram());
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_TRUE(FormTopMenu->isVisible());
}

TEST_F(DesignerTest, QtsOwnDialogsSpeakJapanese)
{
    LX_NEED_ORACLE(
        QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm")),
        "Qt's Japanese translations");
    const auto cancelText = [] {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text();
    };
    ASSERT_FALSE(cancelText().contains(QStringLiteral("キャンセル"))) << "translated before the program started";
    ASSERT_TRUE(StartProgram());
    EXPECT_TRUE(cancelText().contains(QStringLiteral("キャンセル"))) << cancelText().toStdString();
    EXPECT_NE(QCoreApplication::translate("QColorDialog", "Select Color"), QStringLiteral("Select Color"));
    program.reset();
    EXPECT_FALSE(cancelText().contains(QStringLiteral("キャンセル"))) << "removed with the program";
}

// The window icon comes from the PNGs the build draws beside the program
// (an installed program finds them under ../share/icons).
TEST(ProgramIcon, HicolorPicturesOfTheBuildTreeInEverySize)
{
    const QIcon icon = ProgramIcon(lxtest::BuildPath("designer/windows"));
    QList<int> sizes;
    for (const QSize& size : icon.availableSizes())
        sizes << size.width();
    EXPECT_EQ(sizes, (QList<int>{16, 24, 32, 48, 64, 128, 256}));
    const QImage large = icon.pixmap(256).toImage();
    EXPECT_TRUE(large.hasAlphaChannel());
    EXPECT_EQ(qAlpha(large.pixel(0, 0)), 0) << "a transparent corner";
    EXPECT_EQ(qAlpha(large.pixel(128, 128)), 255);
    lxtest::TempDir nowhere;
    EXPECT_TRUE(ProgramIcon(nowhere.Path()).isNull());
}
