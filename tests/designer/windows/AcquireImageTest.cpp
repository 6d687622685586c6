// The acquisition component and the editor's TWAIN command, with SANE's test
// backend as the scanner and scanimage as the oracle of what it scans.
#include "designer/windows/AcquireImage.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

#include "platform/app/Messages.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/text/Cp932.h"
#include "support/SaneTestBackend.h"
#include "support/TestPaths.h"

namespace {

using Errors = std::vector<std::pair<int, int>>;

const std::string kCancelled = "TWAIN機器からの取り込みを中止します。";
const std::string kFailed = "TWAIN機器からの取り込みに失敗しました。";

// A component that records what it reports.
struct Component {
    explicit Component(bool showUI = false)
    {
        acquire.SetSHOWhideUI(showUI);
        acquire.OnTwainError = [this](lx::TAcquireImage&, std::int32_t state, std::int32_t error) {
            errors.emplace_back(state, error);
        };
    }
    lx::TAcquireImage acquire;
    Errors errors;
};

QDialog* SourceWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("TwainSourceDialog") && widget->isVisible())
            return qobject_cast<QDialog*>(widget);
    return nullptr;
}

// Works the source's window once it shows, from inside the acquisition's
// own event loop; after some seconds without it the window is closed, so
// that a failing test ends.
class SourceUser : public QObject {
public:
    explicit SourceUser(std::function<void(QDialog&)> action) : action_(std::move(action))
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
        timer_.start();
    }
    bool Acted() const { return acted_; }

private:
    void Look()
    {
        QDialog* window = SourceWindow();
        if (!window && ++ticks_ < 500)
            return;
        timer_.stop();
        if (!window)
            return;
        acted_ = true;
        action_(*window);
    }

    std::function<void(QDialog&)> action_;
    QTimer timer_;
    int ticks_ = 0;
    bool acted_ = false;
};

void Click(QDialog& window, const char* button) { window.findChild<QPushButton*>(QLatin1String(button))->click(); }

void ExpectImage(const lx::Bitmap& image, const lxtest::PngFacts& oracle)
{
    ASSERT_TRUE(oracle.ok);
    ASSERT_EQ(image.Width(), oracle.width);
    ASSERT_EQ(image.Height(), oracle.height);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            ASSERT_EQ(image.Pixel(x, y), oracle.argb[static_cast<std::size_t>(y) * oracle.width + x]);
}

// The session was closed and the manager unloaded: a new one opens.
void ExpectSessionEnded()
{
    lx::TAcquireImage probe;
    ASSERT_TRUE(probe.LoadSourceManager());
    EXPECT_EQ(probe.OpenSourceManager(), 0);
    EXPECT_EQ(probe.CloseSession(), 0);
    EXPECT_TRUE(probe.UnloadSourceManager());
}

TEST(AcquireImageTest, ChosenSourceDeliversItsScanAsBitmapAndEmptiesTheClipboard)
{
    lxtest::SaneTestBackend backend({"test-picture \"Color pattern\"", "mode Color"});
    const lxtest::PngFacts oracle = backend.Scan("test:1");
    lx::ScriptedMessages messages;
    messages.ChooseScannerNext(1);
    Component component;

    const std::optional<lx::Bitmap> picture = lx::AcquireTwainPicture(component.acquire);

    ASSERT_TRUE(picture.has_value()) << (messages.Texts().empty() ? "" : messages.Texts().front());
    ExpectImage(*picture, oracle);
    EXPECT_EQ(messages.ScannerLists(),
              (std::vector<std::vector<std::string>>{{"frontend-tester", "frontend-tester #2"}}));
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_TRUE(component.errors.empty());
    EXPECT_FALSE(lx::Clipboard::HasFormat(lx::ClipboardFormat::Bitmap));
    EXPECT_EQ(SourceWindow(), nullptr) << "no window of the source without its user interface";
    ExpectSessionEnded();
}

// Each row fails at another step; the message, the reports, and a session
// closed and unloaded whatever happened.
TEST(AcquireImageTest, EachFailureIsToldAndEndsTheSession)
{
    const struct Row {
        const char* what;
        std::optional<std::vector<std::string>> settings; // nothing: no scanner at all
        std::optional<std::size_t> chosen;
        const char* sourceButton; // the source's window, shown when set
        std::string message;
        Errors errors;
    } rows[] = {
        {"no scanner", std::nullopt, std::nullopt, nullptr, kCancelled, {{3, 1}}},
        {"chooser cancelled", std::vector<std::string>{}, std::nullopt, nullptr, kCancelled, {{3, 3}}},
        {"source window closed", std::vector<std::string>{}, 0, "cancel", kFailed, {{5, 3}}},
        {"paper jam",
         std::vector<std::string>{"read-status-code \"SANE_STATUS_JAMMED\""},
         0,
         nullptr,
         kFailed,
         {{7, 0x8000 + 20}}},
        {"cancelled on the device",
         std::vector<std::string>{"read-status-code \"SANE_STATUS_CANCELLED\""},
         0,
         nullptr,
         kFailed,
         {{7, 3}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto backend = row.settings
            ? std::make_unique<lxtest::SaneTestBackend>(*row.settings)
            : std::make_unique<lxtest::SaneTestBackend>(lxtest::SaneTestBackend::NoScanner{});
        lx::ScriptedMessages messages;
        messages.ChooseScannerNext(row.chosen);
        Component component(row.sourceButton != nullptr);
        std::optional<SourceUser> user;
        if (row.sourceButton)
            user.emplace([&row](QDialog& window) { Click(window, row.sourceButton); });

        EXPECT_FALSE(lx::AcquireTwainPicture(component.acquire).has_value());

        EXPECT_EQ(messages.Texts(), std::vector<std::string>{row.message});
        EXPECT_EQ(component.errors, row.errors);
        EXPECT_EQ(user.has_value() && user->Acted(), user.has_value());
        ExpectSessionEnded();
    }
}

TEST(AcquireImageTest, WithoutTheManagerLibraryNothingIsCalled)
{
    lxtest::TempDir dir;
    for (const std::string& library : {dir.File("missing.so"), lxtest::BuildPath("platform/liblx_platform.so")}) {
        SCOPED_TRACE(library);
        ::setenv("LX_TWAIN_DSM", library.c_str(), 1);
        lx::ScriptedMessages messages;
        Component component;
        EXPECT_FALSE(lx::AcquireTwainPicture(component.acquire).has_value());
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"TWAIN_32.DLLの読込みに失敗しました。"});
        lx::Bitmap bitmap;
        EXPECT_EQ(component.acquire.OpenSourceManager(), 1);
        EXPECT_EQ(component.acquire.SelectSource(true), "");
        EXPECT_EQ(component.acquire.AcquireBitmap(bitmap), 1);
        EXPECT_EQ(component.acquire.CloseSession(), 1);
        EXPECT_TRUE(component.errors.empty());
    }
    ::unsetenv("LX_TWAIN_DSM");
}

TEST(AcquireImageTest, IdentityTextsAndManagerCodes)
{
    lx::TAcquireImage acquire;
    acquire.SetAppProductName(std::string(40, 'x'));
    EXPECT_EQ(acquire.AppProductName(), std::string(33, 'x'));
    // A double-byte character that would straddle the 33rd byte is left out.
    acquire.SetAppManufacturer(std::string(32, 'x') + lx::Sjis("文"));
    EXPECT_EQ(acquire.AppManufacturer(), std::string(32, 'x'));

    lxtest::SaneTestBackend backend;
    Component first, second;
    ASSERT_TRUE(first.acquire.LoadSourceManager());
    ASSERT_TRUE(second.acquire.LoadSourceManager());
    ASSERT_EQ(first.acquire.OpenSourceManager(), 0);
    EXPECT_EQ(second.acquire.OpenSourceManager(), 0x8000 + 4) << "one application at a time";
    EXPECT_EQ(first.acquire.SelectSource(true), "frontend-tester");
    EXPECT_EQ(first.acquire.FindSource("no such scanner"), 7);
    EXPECT_EQ(first.acquire.FindSource("frontend-tester #2"), 0);
    EXPECT_EQ(first.acquire.OpenSource(), 0);
    EXPECT_EQ(first.acquire.CloseSession(), 0);
    EXPECT_EQ(first.errors, (Errors{{3, 7}}));
    EXPECT_EQ(second.errors, (Errors{{2, 0x8000 + 4}}));
    second.acquire.CloseSession();
    EXPECT_TRUE(second.acquire.UnloadSourceManager());
    EXPECT_TRUE(first.acquire.UnloadSourceManager());
}

// Pages from the feeder keep the loop running; the last one is delivered.
TEST(AcquireImageTest, FeederPagesReplaceOneAnother)
{
    lxtest::SaneTestBackend backend({"test-picture \"Color pattern\""});
    const lxtest::PngFacts oracle = backend.Scan("test:0");
    Component component(true);
    ASSERT_TRUE(component.acquire.LoadSourceManager());
    ASSERT_EQ(component.acquire.OpenSourceManager(), 0);
    ASSERT_EQ(component.acquire.FindSource("frontend-tester"), 0);
    ASSERT_EQ(component.acquire.OpenSource(), 0);
    SourceUser user([](QDialog& window) {
        window.findChild<QComboBox*>(QStringLiteral("source"))
            ->setCurrentText(QStringLiteral("Automatic Document Feeder"));
        Click(window, "scan");
    });
    lx::Bitmap bitmap;
    EXPECT_EQ(component.acquire.AcquireBitmap(bitmap), 0);
    ExpectImage(bitmap, oracle);
    EXPECT_EQ(component.acquire.CloseSession(), 0);
    EXPECT_TRUE(component.acquire.UnloadSourceManager());
    EXPECT_TRUE(component.errors.empty());
}

} // namespace
