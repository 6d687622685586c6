#pragma once
// Setup the fuzz targets share: the input as bytes, the freshly built control
// registered into a registry store of the run's own, and a count of inputs
// that reached a road, printed when the run ends so the log shows it.
#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {
class TlxLabelObjectManager;
}

namespace lxfuzz {

std::string Bytes(const std::uint8_t* data, std::size_t size);

// Registers libMatrixelPro.so of this build into a temporary registry store
// (removed at exit), so that symbol objects can make their controls. Once
// per process; aborts when the library cannot be registered.
void RegisterSymbolControl();

// A temporary folder of the run, removed at exit.
const std::string& RunFolder();

// Counts the inputs of a run and those that reached something; at exit it
// prints "reached: <what> in <n> of <m> inputs".
class ReachCounter {
public:
    explicit ReachCounter(const char* what) : what_(what) {}
    ~ReachCounter();
    ReachCounter(const ReachCounter&) = delete;
    ReachCounter& operator=(const ReachCounter&) = delete;
    void Count(bool reached);

private:
    const char* what_;
    long long inputs_ = 0;
    long long reached_ = 0;
};

// The list holds a symbol, mobile QR or merge symbol object.
bool HoldsSymbolObject(const lx::TlxLabelObjectManager& list);

} // namespace lxfuzz
