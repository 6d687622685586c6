#pragma once
// The data source manager: one application connection (states 2 and 3), the
// list of sources (one per SANE device), the chooser, and the routing of
// every other triplet to the open source it names.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/twain/TwainTypes.h"
#include "platform/twain/manager/SaneSource.h"

namespace lx::twain {

class TwainManager {
public:
    TwainManager() = default;
    // Whatever the application left open is closed when the library goes.
    ~TwainManager();
    TwainManager(const TwainManager&) = delete;
    TwainManager& operator=(const TwainManager&) = delete;

    TW_UINT16 Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

private:
    // A SANE device as a source: its device name and identity.
    struct Device {
        std::string saneName;
        TW_IDENTITY identity;
    };

    TW_UINT16 Fail(TW_UINT16 condition);
    TW_UINT16 ManagerTriplet(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 SourceTriplet(TW_IDENTITY& dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 OpenManager(TW_IDENTITY& origin);
    TW_UINT16 CloseManager();
    TW_UINT16 Identity(TW_UINT16 msg, TW_IDENTITY& identity);
    TW_UINT16 NextSource(TW_IDENTITY& identity);
    TW_UINT16 UserSelect(TW_IDENTITY& identity);
    TW_UINT16 OpenSource(TW_IDENTITY& identity);
    TW_UINT16 CloseSource(const TW_IDENTITY& identity);
    TW_UINT16 Status(TW_STATUS& status);

    void ListDevices();
    const Device* Find(const TW_IDENTITY& identity) const;
    const Device* DefaultDevice() const;
    void CloseAll();

    bool open_ = false;
    TW_UINT32 applicationId_ = 0;
    TW_UINT32 lastApplicationId_ = 0;
    TW_UINT16 condition_ = TWCC_SUCCESS;
    std::vector<Device> devices_;
    // Identities stay the same for a device while the manager is open.
    std::map<std::string, TW_UINT32> sourceIds_;
    std::size_t nextDevice_ = 0;
    bool listing_ = false;
    std::string defaultDevice_;
    std::map<TW_UINT32, std::unique_ptr<SaneSource>> sources_;
};

} // namespace lx::twain
