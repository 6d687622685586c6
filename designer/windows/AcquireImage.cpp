#include "designer/windows/AcquireImage.h"

#include <dlfcn.h>

#include <QApplication>
#include <QEventLoop>
#include <QWidget>
#include <algorithm>
#include <deque>
#include <string_view>

#include "platform/app/Messages.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/io/Errors.h"
#include "platform/metafile/Dib.h"
#include "platform/twain/TwainMemory.h"

namespace lx {

using namespace twain;

namespace {

// Our exit code of the acquisition's event loop; any other means the
// application is closing all its loops.
constexpr int kLoopWoken = 0x7754;

// Lets every event of the thread pass the source first.
class EventPassage : public QObject {
public:
    using Handler = std::function<bool(QObject*, QEvent*)>;

    explicit EventPassage(Handler handler) : handler_(std::move(handler))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~EventPassage() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject* receiver, QEvent* event) override { return handler_(receiver, event); }

private:
    Handler handler_;
};

} // namespace

TAcquireImage::TAcquireImage()
{
    SetAppInfo("Twain Freeware Component");
    SetAppManufacturer("none");
    SetAppProductFamily("none");
    SetAppProductName("none");
}

TAcquireImage::~TAcquireImage()
{
    if (managerLibrary_ && !acquiring_)
        UnloadSourceManager();
}

TW_UINT16 TAcquireImage::Call(TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    return dsmEntry_ ? dsmEntry_(&appIdentity_, dest, dg, dat, msg, data) : TWRC_FAILURE;
}

std::int32_t TAcquireImage::Explained(TW_UINT16 result) { return result == TWRC_FAILURE ? GetConditionCode() : result; }

std::int32_t TAcquireImage::Report(std::int32_t state, std::int32_t result)
{
    if (result != 0 && OnTwainError)
        OnTwainError(*this, state, result);
    return result;
}

bool TAcquireImage::LoadSourceManager()
{
    // While this component's event loop runs, a second session would close
    // the running one under it.
    if (acquiring_)
        return false;
    if (managerLibrary_)
        return true;
    void* library = dlopen(ManagerLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return false;
    auto* entry = reinterpret_cast<DsmEntryProc>(dlsym(library, kEntryName));
    if (!entry) {
        // A library without the entry is of no use and is not kept loaded.
        dlclose(library);
        return false;
    }
    managerLibrary_ = library;
    dsmEntry_ = entry;
    return true;
}

bool TAcquireImage::UnloadSourceManager()
{
    if (!managerLibrary_ || acquiring_)
        return false;
    const bool freed = dlclose(managerLibrary_) == 0;
    managerLibrary_ = nullptr;
    dsmEntry_ = nullptr;
    return freed;
}

std::int32_t TAcquireImage::GetConditionCode()
{
    if (!Loaded())
        return 1;
    TW_STATUS status{};
    if (const TW_UINT16 result = Call(nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, &status); result != TWRC_SUCCESS)
        return result;
    return status.ConditionCode ? 0x8000 + status.ConditionCode : 1;
}

std::int32_t TAcquireImage::OpenSourceManager()
{
    if (!Loaded())
        return 1;
    appIdentity_.Id = 0;
    appIdentity_.ProtocolMajor = 1;
    appIdentity_.ProtocolMinor = 8;
    appIdentity_.SupportedGroups = DG_IMAGE;
    managerParent_ = QApplication::activeWindow();
    return Report(2, Explained(Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &managerParent_)));
}

std::string TAcquireImage::SelectSource(bool useDefault)
{
    if (!Loaded())
        return {};
    sourceIdentity_.Id = 0;
    SetStr32(sourceIdentity_.ProductName, "");
    const TW_UINT16 result =
        Call(nullptr, DG_CONTROL, DAT_IDENTITY, useDefault ? MSG_GETDEFAULT : MSG_USERSELECT, &sourceIdentity_);
    if (result == TWRC_SUCCESS)
        return Str32(sourceIdentity_.ProductName);
    Report(3, result);
    return {};
}

std::int32_t TAcquireImage::FindSource(std::string_view name)
{
    if (!Loaded())
        return 1;
    sourceIdentity_.Id = 0;
    SetStr32(sourceIdentity_.ProductName, "");
    if (name.empty())
        return Report(3, Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &sourceIdentity_));
    TW_UINT16 result = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &sourceIdentity_);
    while (result == TWRC_SUCCESS && Str32(sourceIdentity_.ProductName) != name)
        result = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &sourceIdentity_);
    return Report(3, result);
}

std::int32_t TAcquireImage::OpenSource()
{
    if (!Loaded())
        return 1;
    if (const std::int32_t opened = Explained(Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &sourceIdentity_));
        opened != 0)
        return Report(4, opened);
    // Any number of images: CAP_XFERCOUNT -1.
    TW_HANDLE container = AllocHandle(sizeof(TW_ONEVALUE));
    if (auto* value = static_cast<TW_ONEVALUE*>(LockHandle(container))) {
        value->ItemType = TWTY_INT16;
        value->Item = 0xFFFFFFFFu;
        UnlockHandle(container);
    }
    capability_ = {CAP_XFERCOUNT, TWON_ONEVALUE, container};
    std::int32_t result = Call(&sourceIdentity_, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability_);
    FreeHandle(container);
    capability_.hContainer = nullptr;
    if (result == TWRC_CHECKSTATUS) {
        capability_ = {CAP_XFERCOUNT, TWON_DONTCARE16, nullptr};
        result = Explained(Call(&sourceIdentity_, DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability_));
        FreeHandle(capability_.hContainer);
        capability_.hContainer = nullptr;
    }
    return Report(4, Explained(static_cast<TW_UINT16>(result)));
}

std::int32_t TAcquireImage::AcquireNative(TW_HANDLE& dib)
{
    if (!Loaded())
        return 1;
    dib = nullptr;
    const TW_BOOL show = showUI_ ? 0xFFFF : 0;
    userInterface_.ShowUI = show;
    userInterface_.ModalUI = show;
    lastParent_ = QApplication::activeWindow();
    userInterface_.hParent = lastParent_;
    if (const TW_UINT16 enabled = Call(&sourceIdentity_, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &userInterface_);
        enabled != TWRC_SUCCESS)
        return Report(5, GetConditionCode());

    // The source's messages wake the loop; every other event is dispatched
    // as usual, so that the program's windows keep working.
    std::deque<TW_UINT16> messages;
    bool eventFailed = false;
    QEventLoop loop;
    acquiring_ = true;
    EventPassage passage([&](QObject* receiver, QEvent* qtEvent) {
        TwThreadMessage message{receiver, qtEvent};
        event_.TWMessage = MSG_NULL;
        event_.pEvent = &message;
        const TW_UINT16 answer = Call(&sourceIdentity_, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event_);
        event_.pEvent = nullptr;
        if (answer == TWRC_DSEVENT)
            messages.push_back(event_.TWMessage);
        else if (answer == TWRC_FAILURE)
            eventFailed = true;
        if (answer == TWRC_DSEVENT || answer == TWRC_FAILURE)
            loop.exit(kLoopWoken);
        return answer == TWRC_DSEVENT;
    });

    std::int32_t stage = 5;
    std::int32_t result = 0;
    for (bool finished = false; !finished;) {
        if (eventFailed) {
            result = GetConditionCode();
            stage = 6;
            break;
        }
        if (messages.empty()) {
            if (loop.exec() != kLoopWoken) {
                // The application is closing: the acquisition ends as if the
                // source had asked to be closed.
                result = TWRC_CANCEL;
                break;
            }
            continue;
        }
        const TW_UINT16 message = messages.front();
        messages.pop_front();
        if (message == MSG_XFERREADY) {
            result = TransferNativeImage(dib, finished);
            stage = 7;
            if (result == TWRC_FAILURE) {
                result = GetConditionCode();
                stage = 6;
                finished = true;
            }
        } else if (message == MSG_CLOSEDSREQ) {
            result = TWRC_CANCEL;
            finished = true;
        }
    }
    acquiring_ = false;
    return Report(stage, result);
}

TW_UINT16 TAcquireImage::EndTransfer(TW_UINT16 msg)
{
    pending_ = {};
    Call(&sourceIdentity_, DG_CONTROL, DAT_PENDINGXFERS, msg, &pending_);
    return pending_.Count;
}

std::int32_t TAcquireImage::TransferNativeImage(TW_HANDLE& dib, bool& finished)
{
    if (!Loaded())
        return 1;
    finished = true;
    TW_HANDLE image = nullptr;
    const TW_UINT16 result = Call(&sourceIdentity_, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image);
    if (result == TWRC_XFERDONE) {
        // The image of an earlier transfer of the same loop is replaced.
        FreeHandle(dib);
        dib = image;
        if (EndTransfer(MSG_ENDXFER) != 0)
            finished = false;
        else
            EndTransfer(MSG_RESET);
        return 0;
    }
    FreeHandle(image);
    FreeHandle(dib);
    dib = nullptr;
    if (result == TWRC_CANCEL) {
        if (EndTransfer(MSG_ENDXFER) != 0)
            EndTransfer(MSG_RESET);
        return TWRC_CANCEL;
    }
    if (result == TWRC_FAILURE) {
        const std::int32_t condition = GetConditionCode();
        EndTransfer(MSG_RESET);
        return condition;
    }
    return result;
}

bool TAcquireImage::PutOnClipboard(TW_HANDLE dib)
{
    const auto* bytes = static_cast<const char*>(LockHandle(dib));
    if (!bytes)
        return false;
    bool placed = false;
    try {
        const Bitmap image = DecodePackedDib(std::string_view(bytes, HandleSize(dib)));
        Clipboard clipboard;
        placed = clipboard.Open() && clipboard.Empty() && clipboard.SetBitmap(image);
    } catch (const ReadError&) {
    }
    UnlockHandle(dib);
    return placed;
}

std::int32_t TAcquireImage::AcquireToClipboard()
{
    if (!Loaded())
        return 1;
    TW_HANDLE dib = nullptr;
    const bool acquired = AcquireNative(dib) == 0;
    // The clipboard keeps a copy of its own, so the image is freed whatever
    // became of it.
    const bool placed = acquired && PutOnClipboard(dib);
    FreeHandle(dib);
    return placed ? 0 : 1;
}

std::int32_t TAcquireImage::AcquireBitmap(Bitmap& bitmap)
{
    if (!Loaded())
        return 1;
    if (const std::int32_t result = AcquireToClipboard(); result != 0)
        return result;
    auto image = Clipboard::GetBitmap();
    Clipboard clipboard;
    if (clipboard.Open())
        clipboard.Empty();
    clipboard.Close();
    if (!image)
        return 1;
    bitmap = std::move(*image);
    return 0;
}

std::int32_t TAcquireImage::CloseSession()
{
    if (!Loaded())
        return 1;
    Call(&sourceIdentity_, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &userInterface_);
    Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &sourceIdentity_);
    return Explained(Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &managerParent_));
}

namespace {

bool BlankOnly(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// The steps after loading; the caller closes and unloads whatever happens.
std::optional<Bitmap> AcquireFromLoadedManager(TAcquireImage& acquire)
{
    if (acquire.OpenSourceManager() != 0) {
        ShowInfo("TWAIN機器からの取り込みができませんでした。");
        return std::nullopt;
    }
    const std::string name = acquire.SelectSource(false);
    if (BlankOnly(name)) {
        ShowInfo("TWAIN機器からの取り込みを中止します。");
        return std::nullopt;
    }
    acquire.FindSource(name);
    if (acquire.OpenSource() != 0) {
        ShowInfo("TWAIN機器が接続されていません。");
        return std::nullopt;
    }
    Bitmap bitmap;
    if (acquire.AcquireBitmap(bitmap) != 0) {
        ShowInfo("TWAIN機器からの取り込みに失敗しました。");
        return std::nullopt;
    }
    return bitmap;
}

} // namespace

std::optional<Bitmap> AcquireTwainPicture(TAcquireImage& acquire)
{
    if (!acquire.LoadSourceManager()) {
        ShowInfo("TWAIN_32.DLLの読込みに失敗しました。");
        return std::nullopt;
    }
    struct SessionEnd {
        TAcquireImage& acquire;
        ~SessionEnd()
        {
            acquire.CloseSession();
            acquire.UnloadSourceManager();
        }
    } end{acquire};
    return AcquireFromLoadedManager(acquire);
}

} // namespace lx
