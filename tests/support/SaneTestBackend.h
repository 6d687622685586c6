#pragma once
// SANE's "test" backend as the scanner of the TWAIN tests: a configuration
// folder of our own (SANE_CONFIG_DIR) that enables only that backend, with the
// settings a test asks for, and scanimage as the oracle of what it scans.
#include <optional>
#include <string>
#include <vector>

#include "ImageOracles.h"
#include "TestPaths.h"

namespace lxtest {

class SaneTestBackend {
public:
    // Two devices ("test:0", "test:1") scanning a colour pattern of 100 x 50
    // pixels (20 x 10 mm at 127 dpi), changed by the given lines of the
    // backend's configuration ("mode Gray", "number_of_devices 0"...).
    explicit SaneTestBackend(const std::vector<std::string>& settings = {});
    // A machine without any scanner: SANE with no backend at all. (The test
    // backend itself crashes when told to have no devices.)
    struct NoScanner {};
    explicit SaneTestBackend(NoScanner);
    ~SaneTestBackend();
    SaneTestBackend(const SaneTestBackend&) = delete;
    SaneTestBackend& operator=(const SaneTestBackend&) = delete;

    // What scanimage gets from the device; ok false when it failed.
    PngFacts Scan(const std::string& device) const;

private:
    void Install();

    // SANE reads its configuration path once per load of the library, so
    // every instance of a process writes into the same folder.
    static const TempDir& Dir();
    std::optional<std::string> previous_;
};

} // namespace lxtest
