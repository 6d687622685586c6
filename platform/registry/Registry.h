#pragma once
// The registry store: the keys and values the system keeps in the Windows
// registry (the designer's data folder, the control's class registration),
// held in one plain-text file.
//
// File form (UTF-8, one item a line):
//   # comment
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Quillon\Brevant2_trial]
//   "DataDir"="/opt/brevant/data/"
//   @="the key's default value"
//   "Flags"=dword:00000010
// In quoted texts a backslash escapes '\\', '"', 'n', 'r', 't' and 'xHH'.
//
// Key paths are written with "\" between their parts; the first part is a
// root ("HKEY_LOCAL_MACHINE" or its short form "HKLM", likewise HKCR, HKCU,
// HKU, HKCC). Key and value names compare without regard to ASCII case, as
// in the registry; empty parts (a leading or trailing "\") are ignored. The
// empty value name is the key's default value. Texts are UTF-8.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/io/Errors.h"

namespace lx {

// A line of the store file that is none of the forms above, or a key path
// with no known root.
class RegistryError : public Error {
public:
    using Error::Error;
};

// A value: a text or a 32-bit number.
using RegistryValue = std::variant<std::string, std::uint32_t>;

// Case-insensitive (ASCII) ordering of key and value names.
struct RegistryNameLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};

class RegistryStore {
public:
    // The store's file name beside a program.
    static constexpr const char* kFileName = "lx-registry.txt";
    // The file named by the environment variable LX_REGISTRY_FILE, else
    // kFileName in the folder of the running program when the build put one
    // there, else kFileName in the user's configuration folder.
    static std::string DefaultPath();

    // Reads the file at the UTF-8 path; a missing file is an empty store.
    // Lines that cannot be read are left out (see DamagedLines); the others
    // are kept. Throws FileError when the file exists but cannot be read.
    explicit RegistryStore(std::string path = DefaultPath());
    // A store holding what the file text says, as if read from path.
    RegistryStore(std::string path, std::string_view text);

    const std::string& Path() const { return path_; }

    // Why each left-out line could not be read, naming its line number;
    // empty for a sound file.
    const std::vector<std::string>& DamagedLines() const { return damaged_; }
    // Before a damaged file is first replaced by a change, its text is kept
    // in this file (a name that did not exist when the store was read).
    const std::string& DamagedCopyPath() const { return damagedCopy_; }
    // The Japanese message telling the user which file is damaged; empty
    // for a sound file.
    std::string DamageMessage() const;

    bool KeyExists(std::string_view key) const;
    std::optional<RegistryValue> ReadValue(std::string_view key, std::string_view name) const;
    // The text of a string value; nothing when the key or value is missing
    // or the value is a number.
    std::optional<std::string> ReadString(std::string_view key, std::string_view name) const;
    // Names of the direct sub-keys and of the values of a key, in order.
    std::vector<std::string> SubKeys(std::string_view key) const;
    std::vector<std::string> ValueNames(std::string_view key) const;

    // Every change is written to the file at once: under a lock the file is
    // read again (keeping what other processes wrote meanwhile), changed and
    // replaced whole. Throws FileError when it cannot be written.
    void CreateKey(std::string_view key);
    void WriteValue(std::string_view key, std::string_view name, const RegistryValue& value);
    void WriteString(std::string_view key, std::string_view name, std::string_view text);
    // Returns false when there was no such value.
    bool DeleteValue(std::string_view key, std::string_view name);
    // Removes the key with all its sub-keys; false when it did not exist.
    bool DeleteKey(std::string_view key);

    // The file text of the store as it is in memory.
    std::string ToText() const;

    // Full form of a key path: "HKLM\a\\b\" gives "HKEY_LOCAL_MACHINE\a\b".
    // Throws RegistryError for an unknown root.
    static std::string CanonicalKey(std::string_view key);

private:
    using Values = std::map<std::string, RegistryValue, RegistryNameLess>;
    using Keys = std::map<std::string, Values, RegistryNameLess>;

    static Keys Parse(std::string_view text, std::vector<std::string>& damaged);
    void NoteDamage(std::vector<std::string> damaged);
    template <typename Change>
    bool Update(Change&& change);

    std::string path_;
    Keys keys_;
    std::vector<std::string> damaged_;
    std::string damagedCopy_;
};

} // namespace lx
