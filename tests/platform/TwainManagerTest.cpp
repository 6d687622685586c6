// The data source manager driven triplet by triplet through its exported
// entry, with SANE's test backend as the scanner and scanimage as the oracle
// of what the device scans.
#include <dlfcn.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string_view>

#include "platform/app/Messages.h"
#include "platform/metafile/Dib.h"
#include "platform/twain/TwainMemory.h"
#include "platform/twain/TwainTypes.h"
#include "support/SaneTestBackend.h"
#include "support/TestPaths.h"

using namespace lx::twain;

namespace {

// The application's part of the protocol: every event passes the source
// first, and the source's own messages are collected.
class EventPump : public QObject {
public:
    explicit EventPump(std::function<TW_UINT16(TW_EVENT&)> process) : process_(std::move(process)) {}

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        TwThreadMessage message{receiver, event};
        TW_EVENT twEvent{&message, MSG_NULL};
        if (process_(twEvent) != TWRC_DSEVENT)
            return false;
        messages_.push_back(twEvent.TWMessage);
        return true;
    }

    // The source's next message, or MSG_NULL when none came within seconds.
    TW_UINT16 Next()
    {
        QCoreApplication::instance()->installEventFilter(this);
        QElapsedTimer clock;
        clock.start();
        while (messages_.empty() && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::instance()->removeEventFilter(this);
        if (messages_.empty())
            return MSG_NULL;
        const TW_UINT16 message = messages_.front();
        messages_.pop_front();
        return message;
    }

private:
    std::function<TW_UINT16(TW_EVENT&)> process_;
    std::deque<TW_UINT16> messages_;
};

QDialog* SourceWindow() { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); }

template <typename Widget>
Widget* Child(const char* name)
{
    QDialog* window = SourceWindow();
    return window ? window->findChild<Widget*>(QString::fromLatin1(name)) : nullptr;
}

class TwainManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library_ = dlopen(lxtest::BuildPath("platform/liblxtwain.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library_, nullptr) << dlerror();
        entry_ = reinterpret_cast<DsmEntryProc>(dlsym(library_, kEntryName));
        ASSERT_NE(entry_, nullptr);
    }
    void TearDown() override
    {
        if (library_)
            dlclose(library_);
    }

    TW_UINT16 Call(TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data)
    {
        return entry_(&app_, dest, dg, dat, msg, data);
    }
    TW_UINT16 ToSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data)
    {
        return Call(&source_, dg, dat, msg, data);
    }
    // The manager's condition code, which reading clears.
    TW_UINT16 Condition()
    {
        TW_STATUS status{};
        EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
        return status.ConditionCode;
    }
    void OpenManager() { ASSERT_EQ(Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent_), TWRC_SUCCESS); }
    void OpenSource(std::string_view name)
    {
        source_ = {};
        SetStr32(source_.ProductName, name);
        ASSERT_EQ(Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source_), TWRC_SUCCESS) << Condition();
    }
    void Enable(bool showUI)
    {
        TW_USERINTERFACE ui{static_cast<TW_BOOL>(showUI), static_cast<TW_BOOL>(showUI), nullptr};
        ASSERT_EQ(ToSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    }
    void CloseAll()
    {
        TW_USERINTERFACE ui{};
        EXPECT_EQ(ToSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
        EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_), TWRC_SUCCESS);
        EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent_), TWRC_SUCCESS);
    }
    TW_UINT16 NextMessage()
    {
        EventPump pump([this](TW_EVENT& event) { return ToSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event); });
        return pump.Next();
    }
    // One native transfer; the image, or an empty bitmap.
    lx::Bitmap Transfer(TW_UINT16 expected = TWRC_XFERDONE)
    {
        TW_HANDLE dib = nullptr;
        EXPECT_EQ(ToSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), expected);
        if (!dib)
            return {};
        const lx::Bitmap image =
            lx::DecodePackedDib(std::string_view(static_cast<const char*>(LockHandle(dib)), HandleSize(dib)));
        FreeHandle(dib);
        return image;
    }
    TW_UINT16 Pending(TW_UINT16 msg)
    {
        TW_PENDINGXFERS pending{};
        EXPECT_EQ(ToSource(DG_CONTROL, DAT_PENDINGXFERS, msg, &pending), TWRC_SUCCESS);
        return pending.Count;
    }

    void* library_ = nullptr;
    DsmEntryProc entry_ = nullptr;
    TW_IDENTITY app_{};
    TW_IDENTITY source_{};
    void* parent_ = nullptr;
};

void ExpectSameImage(const lx::Bitmap& image, const lxtest::PngFacts& oracle)
{
    ASSERT_TRUE(oracle.ok) << oracle.error;
    ASSERT_EQ(image.Width(), oracle.width);
    ASSERT_EQ(image.Height(), oracle.height);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            ASSERT_EQ(image.Pixel(x, y), oracle.argb[static_cast<std::size_t>(y) * oracle.width + x])
                << "at " << x << "," << y;
}

TEST_F(TwainManagerTest, RefusesTripletsOutOfOrder)
{
    lxtest::SaneTestBackend backend;
    TW_USERINTERFACE ui{};
    TW_EVENT event{};
    TW_HANDLE dib = nullptr;
    TW_PENDINGXFERS pending{};
    TW_IMAGEINFO info{};
    TW_CAPABILITY xferCount{CAP_XFERCOUNT, TWON_ONEVALUE, nullptr};
    TW_IDENTITY query{};
    struct Step {
        const char* what;
        std::function<TW_UINT16()> call;
        TW_UINT16 condition;
    };
    auto refused = [this](const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            EXPECT_EQ(step.call(), TWRC_FAILURE) << step.what;
            EXPECT_EQ(Condition(), step.condition) << step.what;
        }
    };
    auto toSource = [&](TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return [=, this] { return ToSource(dg, dat, msg, data); };
    };
    auto toManager = [&](TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return [=, this] { return Call(nullptr, DG_CONTROL, dat, msg, data); };
    };

    refused({{"list before opening", toManager(DAT_IDENTITY, MSG_GETFIRST, &query), TWCC_SEQERROR},
             {"open a source before opening", toManager(DAT_IDENTITY, MSG_OPENDS, &query), TWCC_SEQERROR},
             {"close before opening", toManager(DAT_PARENT, MSG_CLOSEDSM, &parent_), TWCC_SEQERROR},
             {"no data", toManager(DAT_PARENT, MSG_OPENDSM, nullptr), TWCC_BADVALUE}});
    OpenManager();
    TW_IDENTITY other{};
    refused(
        {{"open twice", toManager(DAT_PARENT, MSG_OPENDSM, &parent_), TWCC_SEQERROR},
         {"a second application",
          [&] { return entry_(&other, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent_); }, TWCC_MAXCONNECTIONS},
         {"next before first", toManager(DAT_IDENTITY, MSG_GETNEXT, &query), TWCC_SEQERROR},
         {"enable a source not open", toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWCC_BADDEST},
         {"close a source not open", toManager(DAT_IDENTITY, MSG_CLOSEDS, &source_), TWCC_SEQERROR}});
    OpenSource("frontend-tester");
    refused(
        {{"event before enabling", toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWCC_SEQERROR},
         {"transfer before enabling", toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWCC_SEQERROR},
         {"image info before enabling", toSource(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWCC_SEQERROR},
         {"end a transfer never begun", toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWCC_SEQERROR},
         {"reset before enabling", toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWCC_SEQERROR},
         {"disable before enabling", toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWCC_SEQERROR},
         {"open the same source again", toManager(DAT_IDENTITY, MSG_OPENDS, &source_), TWCC_SEQERROR},
         {"close the manager under an open source", toManager(DAT_PARENT, MSG_CLOSEDSM, &parent_), TWCC_SEQERROR},
         {"transfer count of none", toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &xferCount), TWCC_BADVALUE}});
    Enable(true);
    refused(
        {{"enable twice", toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWCC_SEQERROR},
         {"negotiate while enabled", toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &xferCount), TWCC_SEQERROR},
         {"transfer before the source is ready", toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWCC_SEQERROR},
         {"close an enabled source", toManager(DAT_IDENTITY, MSG_CLOSEDS, &source_), TWCC_SEQERROR}});
    // The source keeps its own status of the last failure as well.
    EXPECT_EQ(ToSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWRC_FAILURE);
    TW_STATUS status{};
    EXPECT_EQ(ToSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_SEQERROR);
    CloseAll();
    EXPECT_EQ(dib, nullptr);
}

TEST_F(TwainManagerTest, ListsEachDeviceUnderANameOfItsOwn)
{
    lxtest::SaneTestBackend backend;
    OpenManager();
    std::vector<std::string> names;
    TW_IDENTITY found{};
    for (TW_UINT16 r = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &found); r == TWRC_SUCCESS;
         r = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &found)) {
        names.push_back(Str32(found.ProductName));
        EXPECT_EQ(Str32(found.Manufacturer), "Noname");
        EXPECT_EQ(found.Id, names.size());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"frontend-tester", "frontend-tester #2"}));

    lx::ScriptedMessages messages;
    messages.ChooseScannerNext(1);
    messages.ChooseScannerNext(std::nullopt);
    TW_IDENTITY chosen{};
    EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &chosen), TWRC_SUCCESS);
    EXPECT_EQ(Str32(chosen.ProductName), "frontend-tester #2");
    EXPECT_EQ(messages.ScannerLists(), (std::vector<std::vector<std::string>>{names}));
    TW_IDENTITY standard{};
    EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &standard), TWRC_SUCCESS);
    EXPECT_EQ(standard.Id, chosen.Id) << "the chosen source becomes the default";
    EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &chosen), TWRC_CANCEL);
    EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent_), TWRC_SUCCESS);
}

TEST_F(TwainManagerTest, WithoutDevicesThereIsNoSource)
{
    lxtest::SaneTestBackend backend(lxtest::SaneTestBackend::NoScanner{});
    lx::ScriptedMessages messages;
    OpenManager();
    TW_IDENTITY identity{};
    EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity), TWRC_ENDOFLIST);
    for (const TW_UINT16 msg : {MSG_GETDEFAULT, MSG_USERSELECT, MSG_OPENDS}) {
        EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_IDENTITY, msg, &identity), TWRC_FAILURE) << msg;
        EXPECT_EQ(Condition(), TWCC_NODS) << msg;
    }
    EXPECT_TRUE(messages.ScannerLists().empty()) << "no chooser without sources";
    EXPECT_EQ(Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent_), TWRC_SUCCESS);
}

// Each row scans with other device settings; the image must be the one
// scanimage gets from the same device.
TEST_F(TwainManagerTest, TransfersTheImageTheDeviceScans)
{
    const std::vector<std::vector<std::string>> rows = {
        {},
        {"depth 16"},
        {"mode Gray"},
        {"mode Gray", "depth 16"},
        {"mode Gray", "depth 1"},
        {"three-pass true"},
        {"test-picture Grid", "resolution 254"},
        {"hand-scanner true", "resolution 50"},
    };
    for (const auto& settings : rows) {
        const std::string row = settings.empty() ? "colour" : settings.front() + (settings.size() > 1 ? " ..." : "");
        SCOPED_TRACE(row);
        lxtest::SaneTestBackend backend(settings);
        const lxtest::PngFacts oracle = backend.Scan("test:0");
        OpenManager();
        OpenSource("frontend-tester");
        Enable(false);
        ASSERT_EQ(NextMessage(), MSG_XFERREADY);
        TW_IMAGEINFO info{};
        ASSERT_EQ(ToSource(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
        EXPECT_EQ(info.ImageWidth, oracle.width);
        EXPECT_EQ(info.BitsPerPixel, 24);
        ExpectSameImage(Transfer(), oracle);
        EXPECT_EQ(Pending(MSG_ENDXFER), 0);
        CloseAll();
    }
}

TEST_F(TwainManagerTest, FeederHandsOverEveryPageUntilTheUserStops)
{
    lxtest::SaneTestBackend backend;
    OpenManager();
    OpenSource("frontend-tester");
    Enable(true);
    ASSERT_NE(Child<QComboBox>("source"), nullptr);
    Child<QComboBox>("source")->setCurrentText(QStringLiteral("Automatic Document Feeder"));
    Child<QPushButton>("scan")->click();
    // The test backend's feeder holds ten pages.
    int pages = 0;
    for (TW_UINT16 pending = 0xFFFF; pending != 0; ++pages) {
        ASSERT_EQ(NextMessage(), MSG_XFERREADY) << pages;
        EXPECT_EQ(Transfer().Width(), 100);
        pending = Pending(MSG_ENDXFER);
    }
    EXPECT_EQ(pages, 10);

    // Closing while pages wait gives them up and asks to be closed.
    Child<QComboBox>("source")->setCurrentText(QStringLiteral("Automatic Document Feeder"));
    TW_USERINTERFACE ui{};
    ASSERT_EQ(ToSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    ASSERT_EQ(Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_), TWRC_SUCCESS);
    OpenSource("frontend-tester");
    Enable(true);
    Child<QComboBox>("source")->setCurrentText(QStringLiteral("Automatic Document Feeder"));
    Child<QPushButton>("scan")->click();
    ASSERT_EQ(NextMessage(), MSG_XFERREADY);
    Transfer();
    EXPECT_EQ(Pending(MSG_ENDXFER), 0xFFFF);
    Child<QPushButton>("cancel")->click();
    EXPECT_EQ(NextMessage(), MSG_CLOSEDSREQ) << "the page already announced is withdrawn";
    CloseAll();
}

TEST_F(TwainManagerTest, TellsWhyATransferFailed)
{
    const struct {
        const char* status;
        TW_UINT16 result;
        TW_UINT16 condition;
    } rows[] = {
        {"SANE_STATUS_IO_ERROR", TWRC_FAILURE, TWCC_OPERATIONERROR},
        {"SANE_STATUS_JAMMED", TWRC_FAILURE, TWCC_PAPERJAM},
        {"SANE_STATUS_NO_MEM", TWRC_FAILURE, TWCC_LOWMEMORY},
        {"SANE_STATUS_CANCELLED", TWRC_CANCEL, TWCC_SUCCESS},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.status);
        lxtest::SaneTestBackend backend({std::string("read-status-code \"") + row.status + "\""});
        OpenManager();
        OpenSource("frontend-tester");
        Enable(false);
        ASSERT_EQ(NextMessage(), MSG_XFERREADY);
        EXPECT_TRUE(Transfer(row.result).Empty());
        EXPECT_EQ(Condition(), row.condition);
        // A failed transfer leaves the source ready; a cancelled one ends.
        EXPECT_EQ(Pending(row.result == TWRC_CANCEL ? MSG_ENDXFER : MSG_RESET), 0);
        CloseAll();
    }
}

TEST(TwainMemoryTest, HandlesKnowTheirSizeAndIgnoreWhatIsNotTheirs)
{
    TW_HANDLE handle = AllocHandle(6);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(HandleSize(handle), 6u);
    const auto* bytes = static_cast<const unsigned char*>(LockHandle(handle));
    EXPECT_EQ(std::count(bytes, bytes + 6, 0), 6);
    FreeHandle(handle);
    int notAHandle[8] = {};
    EXPECT_EQ(HandleSize(notAHandle), 0u);
    EXPECT_EQ(LockHandle(notAHandle), nullptr);
    FreeHandle(notAHandle);
    FreeHandle(nullptr);
    EXPECT_EQ(HandleSize(nullptr), 0u);
}

} // namespace
