#include "platform/twain/manager/TwainManager.h"

#include <sane/sane.h>

#include <algorithm>

#include "platform/app/Messages.h"
#include "platform/text/Cp932.h"
#include "platform/twain/manager/SaneDevice.h"

namespace lx::twain {

namespace {

std::string Cp932(const char* utf8) { return utf8 ? Utf8ToCp932(utf8) : std::string(); }

// The longest start of a text of at most `bytes` bytes that ends between
// characters.
std::string Cut(const std::string& text, std::size_t bytes)
{
    std::size_t length = 0;
    while (length < text.size() && length + CharLength(text, length) <= bytes)
        length += CharLength(text, length);
    return text.substr(0, length);
}

// A product name that no other device of the list has: the model, with
// " #2", " #3"... for the second and later devices of the same model.
std::string UniqueName(const std::string& model, const std::vector<std::string>& taken)
{
    constexpr std::size_t kMaxName = sizeof(TW_STR32) - 1;
    for (int n = 1;; ++n) {
        const std::string suffix = n == 1 ? std::string() : " #" + std::to_string(n);
        const std::string name = Cut(model, kMaxName - suffix.size()) + suffix;
        if (std::find(taken.begin(), taken.end(), name) == taken.end())
            return name;
    }
}

} // namespace

TwainManager::~TwainManager() { CloseAll(); }

void TwainManager::CloseAll()
{
    sources_.clear();
    if (open_)
        sane_exit();
    open_ = false;
    applicationId_ = 0;
    devices_.clear();
    sourceIds_.clear();
    listing_ = false;
}

TW_UINT16 TwainManager::Fail(TW_UINT16 condition)
{
    condition_ = condition;
    return TWRC_FAILURE;
}

TW_UINT16 TwainManager::Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                              TW_MEMREF data)
{
    if (!origin || !data)
        return Fail(TWCC_BADVALUE);
    // The manager's own status answers whoever asks, connected or not.
    if (!dest && dg == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET)
        return Status(*static_cast<TW_STATUS*>(data));
    if (!dest && dg == DG_CONTROL && dat == DAT_PARENT && msg == MSG_OPENDSM)
        return OpenManager(*origin);
    // Everything else needs the manager opened by this application.
    if (!open_ || origin->Id != applicationId_)
        return Fail(TWCC_SEQERROR);
    if (dest)
        return SourceTriplet(*dest, dg, dat, msg, data);
    if (dg != DG_CONTROL)
        return Fail(TWCC_BADPROTOCOL);
    return ManagerTriplet(dat, msg, data);
}

TW_UINT16 TwainManager::ManagerTriplet(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    if (dat == DAT_PARENT && msg == MSG_CLOSEDSM)
        return CloseManager();
    if (dat == DAT_IDENTITY)
        return Identity(msg, *static_cast<TW_IDENTITY*>(data));
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 TwainManager::SourceTriplet(TW_IDENTITY& dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    const auto found = sources_.find(dest.Id);
    if (found == sources_.end())
        return Fail(TWCC_BADDEST);
    const TW_UINT16 result = found->second->Entry(dg, dat, msg, data);
    // The sources live inside the manager, so its own status also tells why
    // a source failed.
    if (result == TWRC_FAILURE)
        condition_ = found->second->Condition();
    return result;
}

TW_UINT16 TwainManager::OpenManager(TW_IDENTITY& origin)
{
    if (open_)
        return Fail(origin.Id == applicationId_ ? TWCC_SEQERROR : TWCC_MAXCONNECTIONS);
    SANE_Int version = 0;
    if (sane_init(&version, nullptr) != SANE_STATUS_GOOD)
        return Fail(TWCC_BUMMER);
    open_ = true;
    applicationId_ = ++lastApplicationId_;
    origin.Id = applicationId_;
    return TWRC_SUCCESS;
}

TW_UINT16 TwainManager::CloseManager()
{
    if (!sources_.empty())
        return Fail(TWCC_SEQERROR);
    CloseAll();
    return TWRC_SUCCESS;
}

TW_UINT16 TwainManager::Status(TW_STATUS& status)
{
    status.ConditionCode = condition_;
    status.Reserved = 0;
    condition_ = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

void TwainManager::ListDevices()
{
    const SANE_Device** list = nullptr;
    devices_.clear();
    if (sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list)
        return;
    std::vector<std::string> names;
    for (const SANE_Device** device = list; *device; ++device) {
        if (!(*device)->name)
            continue;
        Device entry{(*device)->name, {}};
        TW_IDENTITY& id = entry.identity;
        auto [known, added] = sourceIds_.try_emplace(entry.saneName, static_cast<TW_UINT32>(sourceIds_.size() + 1));
        id.Id = known->second;
        id.Version.MajorNum = 1;
        SetStr32(id.Version.Info, Cp932((*device)->name));
        id.ProtocolMajor = 1;
        id.ProtocolMinor = 9;
        id.SupportedGroups = kSupportedGroups;
        SetStr32(id.Manufacturer, Cp932((*device)->vendor));
        SetStr32(id.ProductFamily, Cp932((*device)->type));
        names.push_back(UniqueName(Cp932((*device)->model), names));
        SetStr32(id.ProductName, names.back());
        devices_.push_back(entry);
    }
}

const TwainManager::Device* TwainManager::Find(const TW_IDENTITY& identity) const
{
    for (const Device& device : devices_)
        if (identity.Id ? device.identity.Id == identity.Id
                        : Str32(device.identity.ProductName) == Str32(identity.ProductName))
            return &device;
    return nullptr;
}

const TwainManager::Device* TwainManager::DefaultDevice() const
{
    for (const Device& device : devices_)
        if (device.saneName == defaultDevice_)
            return &device;
    return devices_.empty() ? nullptr : &devices_.front();
}

TW_UINT16 TwainManager::Identity(TW_UINT16 msg, TW_IDENTITY& identity)
{
    switch (msg) {
    case MSG_GETFIRST:
        ListDevices();
        nextDevice_ = 0;
        listing_ = true;
        return NextSource(identity);
    case MSG_GETNEXT: return listing_ ? NextSource(identity) : Fail(TWCC_SEQERROR);
    case MSG_GETDEFAULT: {
        ListDevices();
        const Device* device = DefaultDevice();
        if (!device)
            return Fail(TWCC_NODS);
        identity = device->identity;
        return TWRC_SUCCESS;
    }
    case MSG_USERSELECT: return UserSelect(identity);
    case MSG_OPENDS: return OpenSource(identity);
    case MSG_CLOSEDS: return CloseSource(identity);
    default: return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 TwainManager::NextSource(TW_IDENTITY& identity)
{
    if (nextDevice_ >= devices_.size()) {
        listing_ = false;
        return TWRC_ENDOFLIST;
    }
    identity = devices_[nextDevice_++].identity;
    return TWRC_SUCCESS;
}

TW_UINT16 TwainManager::UserSelect(TW_IDENTITY& identity)
{
    ListDevices();
    if (devices_.empty())
        return Fail(TWCC_NODS);
    std::vector<std::string> names;
    std::size_t current = 0;
    for (const Device& device : devices_) {
        if (&device == DefaultDevice())
            current = names.size();
        names.push_back(Cp932ToUtf8(Str32(device.identity.ProductName)));
    }
    const auto chosen = Messages().ChooseScanner(names, current);
    if (!chosen || *chosen >= devices_.size())
        return TWRC_CANCEL;
    defaultDevice_ = devices_[*chosen].saneName;
    identity = devices_[*chosen].identity;
    return TWRC_SUCCESS;
}

TW_UINT16 TwainManager::OpenSource(TW_IDENTITY& identity)
{
    if (devices_.empty())
        ListDevices();
    const bool unnamed = !identity.Id && Str32(identity.ProductName).empty();
    const Device* device = unnamed ? DefaultDevice() : Find(identity);
    if (!device)
        return Fail(TWCC_NODS);
    if (sources_.count(device->identity.Id))
        return Fail(TWCC_SEQERROR);
    SANE_Handle handle = nullptr;
    if (const SANE_Status status = sane_open(device->saneName.c_str(), &handle); status != SANE_STATUS_GOOD)
        return Fail(ConditionOf(status));
    sources_.emplace(device->identity.Id, std::make_unique<SaneSource>(handle, device->identity));
    identity = device->identity;
    return TWRC_SUCCESS;
}

TW_UINT16 TwainManager::CloseSource(const TW_IDENTITY& identity)
{
    const auto found = sources_.find(identity.Id);
    if (found == sources_.end() || found->second->State() != 4)
        return Fail(TWCC_SEQERROR);
    sources_.erase(found);
    return TWRC_SUCCESS;
}

} // namespace lx::twain

// The manager's one entry point, looked up by name when the library is loaded.
extern "C" __attribute__((visibility("default"))) lx::twain::TW_UINT16
DSM_Entry(lx::twain::TW_IDENTITY* origin, lx::twain::TW_IDENTITY* dest, lx::twain::TW_UINT32 dg,
          lx::twain::TW_UINT16 dat, lx::twain::TW_UINT16 msg, lx::twain::TW_MEMREF data)
{
    static lx::twain::TwainManager manager;
    try {
        return manager.Entry(origin, dest, dg, dat, msg, data);
    } catch (...) {
        // Nothing may unwind into the application through a C entry point.
        return lx::twain::TWRC_FAILURE;
    }
}
