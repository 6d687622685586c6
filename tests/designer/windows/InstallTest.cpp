// The install a distribution makes: staged with DESTDIR, moved elsewhere,
// then used as it is: desktop entry and MIME package checked by the
// freedesktop tools, the control loaded by a foreign host, the program
// started on a real X display opening a design that holds a QR symbol.
#include "platform/io/Files.h"
#include "support/Oracles.h"
#include "support/TestPaths.h"

#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) { return lx::ReadFileBytes(path.string()); }

// Runs a program to its end; its exit code, with what it printed.
int RunTool(const QString& program, const QStringList& arguments, QString* output = nullptr,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Installs the build into <temp>/stage with DESTDIR and prefix /usr, then
// moves the tree to <temp>/移動先 so that nothing can lean on the stage.
class InstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        stage_ = temp_.File("stage");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), QString::fromStdString(stage_));
        QString output;
        ASSERT_EQ(RunTool(QStringLiteral(LX_CMAKE_COMMAND),
                          {QStringLiteral("--install"), QString::fromStdString(lxtest::BuildPath("")),
                           QStringLiteral("--prefix"), QStringLiteral("/usr")},
                          &output, environment),
                  0)
            << output.toStdString();
        moved_ = fs::u8path(temp_.File("移動先"));
        fs::create_directories(moved_);
        fs::rename(fs::u8path(stage_) / "usr", moved_ / "usr");
        usr_ = moved_ / "usr";
    }

    lxtest::TempDir temp_;
    std::string stage_;
    fs::path moved_;
    fs::path usr_;
};

} // namespace

TEST_F(InstallTest, TreeHasTheProgramLibrariesDataAndDesktopFilesAndNamesNoStage)
{
    for (const char* file :
         {"bin/tlxlabel", "lib/libMatrixelPro.so", "lib/tlxlabel/liblx_platform.so.1", "lib/tlxlabel/liblxtwain.so",
          "share/tlxlabel/data/paper.cfg", "share/applications/tlxlabel.desktop", "share/mime/packages/tlxlabel.xml",
          "share/icons/hicolor/48x48/apps/tlxlabel.png", "share/icons/hicolor/256x256/apps/tlxlabel.png"})
        EXPECT_TRUE(fs::is_regular_file(usr_ / file)) << file;
    EXPECT_TRUE(fs::is_regular_file(usr_ / fs::u8path("share/tlxlabel/テンプレート/差込QR会員証.bv2t")));
    // The paper catalogue's source gives its licence with it.
    EXPECT_TRUE(fs::is_regular_file(usr_ / "share/tlxlabel/data/COPYING-templates.txt"));
    EXPECT_TRUE(fs::is_directory(usr_ / fs::u8path("share/tlxlabel/素材")));
    EXPECT_FALSE(fs::exists(usr_ / "bin/lx-registry.txt"));
    // The shipped data is for reading: nobody but its owner may write it.
    const auto perms = fs::status(usr_ / "share/tlxlabel/data/paper.cfg").permissions();
    EXPECT_EQ(perms & (fs::perms::group_write | fs::perms::others_write), fs::perms::none);

    // The freedesktop tools accept what the desktop reads.
    QString output;
    EXPECT_EQ(RunTool(QStringLiteral("desktop-file-validate"),
                      {QString::fromStdString((usr_ / "share/applications/tlxlabel.desktop").string())}, &output),
              0)
        << output.toStdString();
    EXPECT_TRUE(output.trimmed().isEmpty()) << output.toStdString();
    const std::string desktop = ReadAll(usr_ / "share/applications/tlxlabel.desktop");
    for (const char* line : {"\nName[ja]=", "\nIcon=tlxlabel\n", "\nMimeType=application/x-brevant2-design;"})
        EXPECT_NE(desktop.find(line), std::string::npos) << line;
    const fs::path mime = moved_ / "mime";
    fs::create_directories(mime / "packages");
    fs::copy_file(usr_ / "share/mime/packages/tlxlabel.xml", mime / "packages/tlxlabel.xml");
    EXPECT_EQ(RunTool(QStringLiteral("update-mime-database"), {QString::fromStdString(mime.string())}, &output), 0)
        << output.toStdString();
    const std::string globs = ReadAll(mime / "globs2");
    EXPECT_NE(globs.find(":application/x-brevant2-design:*.bv2\n"), std::string::npos) << globs;
    EXPECT_NE(globs.find(":application/x-brevant2-template:*.bv2t\n"), std::string::npos) << globs;
    fs::remove_all(mime);

    // Not one byte of any installed file names the stage.
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(usr_)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        EXPECT_EQ(ReadAll(entry.path()).find(stage_), std::string::npos) << entry.path();
    }
    EXPECT_GT(files, 20);
}

// Only the control is public, under its versioned name; the program's own
// libraries are found from the private folder through RUNPATH.
TEST_F(InstallTest, OnlyTheControlIsInThePublicLibraryFolderAndEveryLibraryHasAVersionedName)
{
    LX_NEED_TOOLS("readelf", "ldd");
    EXPECT_FALSE(fs::exists(usr_ / "lib/liblx_platform.so"));
    EXPECT_FALSE(fs::exists(usr_ / "lib/liblxtwain.so"));
    const auto run = [&](const char* tool, const QStringList& arguments, const char* file) {
        QString output;
        EXPECT_EQ(RunTool(QLatin1String(tool), arguments + QStringList{QString::fromStdString((usr_ / file).string())},
                          &output),
                  0)
            << tool << " " << file;
        return output;
    };
    for (const auto& [file, soname, runpath] :
         {std::tuple{"lib/libMatrixelPro.so", "libMatrixelPro.so.1", "$ORIGIN/tlxlabel"},
          {"lib/tlxlabel/liblx_platform.so", "liblx_platform.so.1", ""},
          {"lib/tlxlabel/liblxtwain.so", "liblxtwain.so.1", "$ORIGIN"},
          {"bin/tlxlabel", "", "$ORIGIN/../lib/tlxlabel"}}) {
        const QString output = run("readelf", {QStringLiteral("-d")}, file);
        const QString resolved = run("ldd", {}, file);
        EXPECT_FALSE(resolved.contains(QStringLiteral("not found"))) << file << "\n" << resolved.toStdString();
        if (*soname) {
            EXPECT_TRUE(output.contains(QStringLiteral("Library soname: [%1]").arg(QLatin1String(soname))))
                << output.toStdString();
        }
        if (*runpath) {
            EXPECT_TRUE(output.contains(QStringLiteral("Library runpath: [%1]").arg(QLatin1String(runpath))))
                << output.toStdString();
        }
    }
}

TEST_F(InstallTest, AnyHostLoadsTheInstalledControlAndGetsItsClassFactory)
{
    QString output;
    EXPECT_EQ(RunTool(QString::fromStdString(lxtest::BuildPath("tests/lx_control_host")),
                      {QString::fromStdString((usr_ / "lib/libMatrixelPro.so").string())}, &output),
              0)
        << output.toStdString();
    EXPECT_EQ(output.trimmed(), QStringLiteral("factory"));
}

namespace {

// An X server of its own for the started program, on a free display.
class XServer {
public:
    XServer()
    {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                       QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                       QStringLiteral("1280x1024x24")});
        while (display_.isEmpty() && server_.waitForReadyRead(10000))
            display_ = QString::fromLatin1(server_.readAllStandardOutput()).trimmed();
    }
    ~XServer()
    {
        server_.terminate();
        server_.waitForFinished(5000);
    }
    // ":N", or empty when the server did not start.
    QString Display() const { return display_.isEmpty() ? QString() : QStringLiteral(":") + display_; }

private:
    QProcess server_;
    QString display_;
};

// Every top-level window of the display with its title and whether it has
// an icon, one line each: "<title>\t<icon>".
QStringList Windows(const QString& display)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    QString tree;
    RunTool(QStringLiteral("xwininfo"),
            {QStringLiteral("-display"), display, QStringLiteral("-root"), QStringLiteral("-children")}, &tree,
            environment);
    QStringList windows;
    const QRegularExpression id(QStringLiteral("^\\s+(0x[0-9a-f]+) "));
    for (const QString& line : tree.split(QLatin1Char('\n'))) {
        const auto match = id.match(line);
        if (!match.hasMatch())
            continue;
        QString properties;
        RunTool(QStringLiteral("xprop"),
                {QStringLiteral("-display"), display, QStringLiteral("-id"), match.captured(1),
                 QStringLiteral("_NET_WM_NAME"), QStringLiteral("_NET_WM_ICON")},
                &properties, environment);
        const auto name =
            QRegularExpression(QStringLiteral("_NET_WM_NAME\\(UTF8_STRING\\) = \"(.*)\"")).match(properties);
        if (name.hasMatch())
            windows << name.captured(1) + QStringLiteral("\t") +
                    (properties.contains(QStringLiteral("_NET_WM_ICON(CARDINAL) =")) ? QStringLiteral("icon")
                                                                                     : QStringLiteral("none"));
    }
    return windows;
}

} // namespace

TEST_F(InstallTest, MovedTreeStartsAsAUserAndOpensADesignHoldingAQrSymbol)
{
    XServer x;
    ASSERT_FALSE(x.Display().isEmpty()) << "Xvfb did not start";
    for (const char* folder : {"home", "config", "data", "lock"})
        fs::create_directories(temp_.File(folder));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LX_REGISTRY_FILE"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), x.Display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const auto& [name, folder] :
         {std::pair{"HOME", "home"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"LX_LOCK_DIR", "lock"}})
        environment.insert(QString::fromLatin1(name), QString::fromStdString(temp_.File(folder)));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    const fs::path design = usr_ / fs::u8path("share/tlxlabel/テンプレート/差込QR会員証.bv2t");
    program.start(QString::fromStdString((usr_ / "bin/tlxlabel").string()), {QString::fromStdString(design.string())});
    ASSERT_TRUE(program.waitForStarted(10000));
    QStringList windows;
    const auto editorUp = [&] {
        return windows.filter(QStringLiteral("デザイン画面 -差込QR会員証.bv2t-")).size() == 1;
    };
    for (int i = 0; i < 120 && !editorUp() && program.state() == QProcess::Running; ++i) {
        QThread::msleep(250);
        windows = Windows(x.Display());
    }
    program.terminate();
    program.waitForFinished(5000);
    EXPECT_TRUE(editorUp()) << windows.join(QLatin1Char('\n')).toStdString() << "\n" << program.readAll().toStdString();
    // No message box ("確認") came up beside it, and the window has the icon.
    EXPECT_TRUE(windows.filter(QStringLiteral("確認")).isEmpty()) << windows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(windows.filter(QStringLiteral("デザイン画面")).value(0).section(QLatin1Char('\t'), 1),
              QStringLiteral("icon"));

    // The control was registered in the user's store at the first start,
    // from where the program now lies.
    const std::string store = ReadAll(fs::u8path(temp_.File("config/tlxlabel/lx-registry.txt")));
    EXPECT_NE(store.find((usr_ / "lib/libMatrixelPro.so").string()), std::string::npos) << store;
}
