#pragma once
// The TWAIN acquisition component: brings one image from a scanner or camera
// into the program. It loads the data source manager at run time, reaches it
// only through its entry point, lets the user choose a source, runs its own
// event loop while the source is enabled, and hands the image over as a
// bitmap by way of the clipboard. It shows no messages: operations return
// result codes and failures are told through OnTwainError.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/image/Bitmap.h"
#include "platform/twain/TwainTypes.h"

class QWidget;

namespace lx {

class TAcquireImage {
public:
    // The component, the stage of the acquisition (2 to 7) and the result.
    using TTwainErrorEvent = std::function<void(TAcquireImage& sender, std::int32_t state, std::int32_t error)>;

    TAcquireImage();
    // Frees the manager library if it is still loaded.
    ~TAcquireImage();
    TAcquireImage(const TAcquireImage&) = delete;
    TAcquireImage& operator=(const TAcquireImage&) = delete;

    TTwainErrorEvent OnTwainError;

    // Enable the source with its own user interface (true by default).
    bool SHOWhideUI() const { return showUI_; }
    void SetSHOWhideUI(bool show) { showUI_ = show; }
    // This application's identity. Texts are code page 932, at most 33 bytes.
    std::uint16_t AppVersionMajorNum() const { return appIdentity_.Version.MajorNum; }
    void SetAppVersionMajorNum(std::uint16_t value) { appIdentity_.Version.MajorNum = value; }
    std::uint16_t AppVersionMinorNum() const { return appIdentity_.Version.MinorNum; }
    void SetAppVersionMinorNum(std::uint16_t value) { appIdentity_.Version.MinorNum = value; }
    std::uint16_t Language() const { return appIdentity_.Version.Language; }
    void SetLanguage(std::uint16_t value) { appIdentity_.Version.Language = value; }
    std::uint16_t Country() const { return appIdentity_.Version.Country; }
    void SetCountry(std::uint16_t value) { appIdentity_.Version.Country = value; }
    std::string AppInfo() const { return twain::Str32(appIdentity_.Version.Info); }
    void SetAppInfo(std::string_view text) { twain::SetStr32(appIdentity_.Version.Info, text); }
    std::string AppManufacturer() const { return twain::Str32(appIdentity_.Manufacturer); }
    void SetAppManufacturer(std::string_view text) { twain::SetStr32(appIdentity_.Manufacturer, text); }
    std::string AppProductFamily() const { return twain::Str32(appIdentity_.ProductFamily); }
    void SetAppProductFamily(std::string_view text) { twain::SetStr32(appIdentity_.ProductFamily, text); }
    std::string AppProductName() const { return twain::Str32(appIdentity_.ProductName); }
    void SetAppProductName(std::string_view text) { twain::SetStr32(appIdentity_.ProductName, text); }

    // Every operation but LoadSourceManager returns at once while the library
    // is not loaded: 1, or an empty name from SelectSource. Codes are 0 for
    // success, a TWAIN return code, or 0x8000 + a condition code.
    bool LoadSourceManager();
    std::int32_t OpenSourceManager();
    // The chosen source's product name; empty when cancelled or failed.
    std::string SelectSource(bool useDefault);
    std::int32_t FindSource(std::string_view name);
    std::int32_t OpenSource();
    // Enables the source and runs the event loop until a transfer ends or
    // fails; dib receives the image (a packed device-independent bitmap),
    // which the caller frees with twain::FreeHandle.
    std::int32_t AcquireNative(twain::TW_HANDLE& dib);
    std::int32_t TransferNativeImage(twain::TW_HANDLE& dib, bool& finished);
    // 0 when the image reached the clipboard, else 1.
    std::int32_t AcquireToClipboard();
    // On 0, bitmap holds the image; the clipboard is left empty.
    std::int32_t AcquireBitmap(Bitmap& bitmap);
    std::int32_t CloseSession();
    bool UnloadSourceManager();
    std::int32_t GetConditionCode();

private:
    bool Loaded() const { return dsmEntry_ != nullptr; }
    twain::TW_UINT16 Call(twain::TW_IDENTITY* dest, twain::TW_UINT32 dg, twain::TW_UINT16 dat, twain::TW_UINT16 msg,
                          twain::TW_MEMREF data);
    // A TWRC_FAILURE told by the manager's condition code.
    std::int32_t Explained(twain::TW_UINT16 result);
    std::int32_t Report(std::int32_t state, std::int32_t result);
    twain::TW_UINT16 EndTransfer(twain::TW_UINT16 msg);
    bool PutOnClipboard(twain::TW_HANDLE dib);

    bool showUI_ = true;
    void* managerLibrary_ = nullptr;
    twain::DsmEntryProc dsmEntry_ = nullptr;
    twain::TW_IDENTITY appIdentity_{};
    twain::TW_IDENTITY sourceIdentity_{};
    twain::TW_CAPABILITY capability_{};
    QWidget* managerParent_ = nullptr;
    QWidget* lastParent_ = nullptr;
    twain::TW_USERINTERFACE userInterface_{};
    twain::TW_EVENT event_{};
    twain::TW_PENDINGXFERS pending_{};
    // The event loop of AcquireNative is running.
    bool acquiring_ = false;
};

// The editor's TWAIN picture command: loads the manager, lets the user choose
// a source, acquires one image and always closes the session and unloads the
// manager again. Each failure is told in a "確認" box and gives nothing.
std::optional<Bitmap> AcquireTwainPicture(TAcquireImage& acquire);

} // namespace lx
