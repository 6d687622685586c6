#include "platform/registry/Registry.h"

#include "platform/app/Program.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace lx {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kRoots{{
    {"HKLM", "HKEY_LOCAL_MACHINE"},
    {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKCU", "HKEY_CURRENT_USER"},
    {"HKU", "HKEY_USERS"},
    {"HKCC", "HKEY_CURRENT_CONFIG"},
}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool StartsWithName(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

[[noreturn]] void ThrowDamaged(std::size_t lineNumber, std::string_view why)
{
    throw RegistryError("レジストリファイルの " + std::to_string(lineNumber) + " 行目が読めません（" +
                        std::string(why) + "）");
}

std::string Quote(std::string_view text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + '"';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads a quoted text starting at pos (on the opening quote); pos ends behind
// the closing quote.
std::string Unquote(std::string_view line, std::size_t& pos, std::size_t lineNumber)
{
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            break;
        switch (line[pos]) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
            const int high = pos + 1 < line.size() ? HexDigit(line[pos + 1]) : -1;
            const int low = pos + 2 < line.size() ? HexDigit(line[pos + 2]) : -1;
            if (high < 0 || low < 0)
                ThrowDamaged(lineNumber, "不正なエスケープ");
            out += static_cast<char>(high * 16 + low);
            pos += 2;
            break;
        }
        default: ThrowDamaged(lineNumber, "不正なエスケープ");
        }
    }
    ThrowDamaged(lineNumber, "閉じる引用符がありません");
}

RegistryValue ParseValue(std::string_view text, std::size_t lineNumber)
{
    if (!text.empty() && text.front() == '"') {
        std::size_t pos = 0;
        std::string value = Unquote(text, pos, lineNumber);
        if (pos != text.size())
            ThrowDamaged(lineNumber, "値の後に余分な文字があります");
        return value;
    }
    constexpr std::string_view dword = "dword:";
    if (StartsWithName(text, dword) && text.size() == dword.size() + 8) {
        std::uint32_t number = 0;
        for (char c : text.substr(dword.size())) {
            const int digit = HexDigit(c);
            if (digit < 0)
                ThrowDamaged(lineNumber, "不正な数値");
            number = number * 16 + static_cast<std::uint32_t>(digit);
        }
        return number;
    }
    ThrowDamaged(lineNumber, "不正な値");
}

std::string FormatValue(const RegistryValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return Quote(*text);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(std::get<std::uint32_t>(value)));
    return buffer;
}

std::string ParseKeyLine(std::string_view line, std::size_t lineNumber)
{
    if (line.back() != ']' || line.size() < 3)
        ThrowDamaged(lineNumber, "キーの行が閉じていません");
    try {
        return RegistryStore::CanonicalKey(line.substr(1, line.size() - 2));
    } catch (const RegistryError& error) {
        ThrowDamaged(lineNumber, error.what());
    }
}

std::pair<std::string, RegistryValue> ParseValueLine(std::string_view line, std::size_t lineNumber)
{
    std::string name;
    std::size_t pos = 0;
    if (line.front() == '@') {
        pos = 1;
    } else if (line.front() == '"') {
        name = Unquote(line, pos, lineNumber);
    } else {
        ThrowDamaged(lineNumber, "値の名前がありません");
    }
    if (pos >= line.size() || line[pos] != '=')
        ThrowDamaged(lineNumber, "= がありません");
    return {std::move(name), ParseValue(line.substr(pos + 1), lineNumber)};
}

// Holds an exclusive lock on "<store>.lock" while the store is rewritten.
class FileLock {
public:
    explicit FileLock(const std::string& path)
        : fd_(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        if (fd_ >= 0)
            ::flock(fd_, LOCK_EX);
    }
    ~FileLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

std::string ReadStoreText(const std::string& path)
{
    if (!FileExists(path))
        return {};
    return ReadFileBytes(path, 16u << 20);
}

// The first of "<store>.damaged", "<store>.damaged-2", ... that is free.
std::string FreeCopyPath(const std::string& path)
{
    std::string copy = path + ".damaged";
    for (int n = 2; FileExists(copy) && n < 1000; ++n)
        copy = path + ".damaged-" + std::to_string(n);
    return copy;
}

void MakeFolderOf(const std::string& path)
{
    std::error_code error;
    const auto folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
}

} // namespace

bool RegistryNameLess::operator()(std::string_view a, std::string_view b) const
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = Lower(a[i]);
        const char y = Lower(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

std::string RegistryStore::DefaultPath()
{
    if (const char* path = std::getenv("LX_REGISTRY_FILE"); path && *path)
        return path;
    // The build tree keeps its own store beside the program; an installed
    // program has none there.
    const std::string beside = ProgramFolder() + "/" + kFileName;
    if (FileExists(beside))
        return beside;
    return UserConfigFolder() + "/" + kFileName;
}

RegistryStore::RegistryStore(std::string path) : path_(std::move(path))
{
    std::vector<std::string> damaged;
    keys_ = Parse(ReadStoreText(path_), damaged);
    NoteDamage(std::move(damaged));
}

RegistryStore::RegistryStore(std::string path, std::string_view text) : path_(std::move(path))
{
    std::vector<std::string> damaged;
    keys_ = Parse(text, damaged);
    NoteDamage(std::move(damaged));
}

void RegistryStore::NoteDamage(std::vector<std::string> damaged)
{
    damaged_ = std::move(damaged);
    if (!damaged_.empty())
        damagedCopy_ = FreeCopyPath(path_);
}

std::string RegistryStore::DamageMessage() const
{
    if (damaged_.empty())
        return {};
    std::string text = "レジストリファイル「" + ReadableFileName(path_) + "」が壊れています。\n" + damaged_.front();
    if (damaged_.size() > 1)
        text += "（ほか " + std::to_string(damaged_.size() - 1) + " 行）";
    return text + "\n読めない行を除いて使います。元の内容は、次に書き換える前に「" + damagedCopy_ + "」へ保存します。";
}

std::string RegistryStore::CanonicalKey(std::string_view key)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string_view::npos)
            end = key.size();
        if (end > start)
            parts.push_back(key.substr(start, end - start));
        start = end + 1;
    }
    if (parts.empty())
        throw RegistryError("レジストリキーが空です");
    // A key is written as it is, one line: no control characters in it.
    for (char c : key)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            throw RegistryError("レジストリキーに制御文字があります");
    std::string result;
    for (const auto& [shortName, longName] : kRoots)
        if (SameName(parts[0], shortName) || SameName(parts[0], longName))
            result = longName;
    if (result.empty())
        throw RegistryError("不明なレジストリのルートキーです: " + std::string(parts[0]));
    for (std::size_t i = 1; i < parts.size(); ++i) {
        result += '\\';
        result += parts[i];
    }
    return result;
}

RegistryStore::Keys RegistryStore::Parse(std::string_view text, std::vector<std::string>& damaged)
{
    Keys keys;
    Values* current = nullptr;
    // Values under a key line that cannot be read belong to no known key.
    bool lostKey = false;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        try {
            if (line.front() == '[') {
                // Until the key line reads, the values after it have no key.
                current = nullptr;
                lostKey = true;
                current = &keys[ParseKeyLine(line, lineNumber)];
                lostKey = false;
                continue;
            }
            if (!current)
                ThrowDamaged(lineNumber, lostKey ? "読めないキーの値です" : "キーの前に値があります");
            auto [name, value] = ParseValueLine(line, lineNumber);
            (*current)[name] = std::move(value);
        } catch (const RegistryError& error) {
            damaged.emplace_back(error.what());
        }
    }
    return keys;
}

std::string RegistryStore::ToText() const
{
    std::string text = "# Registry store of Pomerel Brevant2\n";
    for (const auto& [key, values] : keys_) {
        text += "\n[" + key + "]\n";
        for (const auto& [name, value] : values)
            text += (name.empty() ? std::string("@") : Quote(name)) + "=" + FormatValue(value) + "\n";
    }
    return text;
}

bool RegistryStore::KeyExists(std::string_view key) const
{
    const std::string canonical = CanonicalKey(key);
    if (keys_.count(canonical))
        return true;
    const std::string prefix = canonical + '\\';
    const auto next = keys_.lower_bound(prefix);
    return next != keys_.end() && StartsWithName(next->first, prefix);
}

std::optional<RegistryValue> RegistryStore::ReadValue(std::string_view key, std::string_view name) const
{
    const auto found = keys_.find(CanonicalKey(key));
    if (found == keys_.end())
        return std::nullopt;
    const auto value = found->second.find(name);
    if (value == found->second.end())
        return std::nullopt;
    return value->second;
}

std::optional<std::string> RegistryStore::ReadString(std::string_view key, std::string_view name) const
{
    const auto value = ReadValue(key, name);
    if (!value || !std::holds_alternative<std::string>(*value))
        return std::nullopt;
    return std::get<std::string>(*value);
}

std::vector<std::string> RegistryStore::SubKeys(std::string_view key) const
{
    const std::string prefix = CanonicalKey(key) + '\\';
    std::vector<std::string> names;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end() && StartsWithName(it->first, prefix); ++it) {
        const std::string_view rest = std::string_view(it->first).substr(prefix.size());
        const std::string_view child = rest.substr(0, rest.find('\\'));
        if (names.empty() || !SameName(names.back(), child))
            names.emplace_back(child);
    }
    return names;
}

std::vector<std::string> RegistryStore::ValueNames(std::string_view key) const
{
    std::vector<std::string> names;
    if (const auto found = keys_.find(CanonicalKey(key)); found != keys_.end())
        for (const auto& entry : found->second)
            names.push_back(entry.first);
    return names;
}

template <typename Change>
bool RegistryStore::Update(Change&& change)
{
    MakeFolderOf(path_);
    FileLock lock(path_);
    const std::string text = ReadStoreText(path_);
    std::vector<std::string> damaged;
    Keys latest = Parse(text, damaged);
    const bool changed = change(latest);
    if (changed) {
        // Rewriting drops the lines that could not be read: keep them first.
        if (!damaged.empty())
            WriteFileReplacing(FreeCopyPath(path_), text);
        keys_.swap(latest);
        try {
            WriteFileReplacing(path_, ToText());
        } catch (...) {
            keys_.swap(latest);
            throw;
        }
    } else {
        keys_.swap(latest);
    }
    return changed;
}

void RegistryStore::CreateKey(std::string_view key)
{
    const std::string canonical = CanonicalKey(key);
    Update([&](Keys& keys) { return keys.try_emplace(canonical).second; });
}

void RegistryStore::WriteValue(std::string_view key, std::string_view name, const RegistryValue& value)
{
    const std::string canonical = CanonicalKey(key);
    Update([&](Keys& keys) {
        Values& values = keys[canonical];
        values.insert_or_assign(std::string(name), value);
        return true;
    });
}

void RegistryStore::WriteString(std::string_view key, std::string_view name, std::string_view text)
{
    WriteValue(key, name, RegistryValue(std::string(text)));
}

bool RegistryStore::DeleteValue(std::string_view key, std::string_view name)
{
    const std::string canonical = CanonicalKey(key);
    return Update([&](Keys& keys) {
        const auto found = keys.find(canonical);
        if (found == keys.end())
            return false;
        const auto value = found->second.find(name);
        if (value == found->second.end())
            return false;
        found->second.erase(value);
        return true;
    });
}

bool RegistryStore::DeleteKey(std::string_view key)
{
    const std::string canonical = CanonicalKey(key);
    return Update([&](Keys& keys) {
        bool removed = keys.erase(canonical) > 0;
        const std::string prefix = canonical + '\\';
        for (auto it = keys.lower_bound(prefix); it != keys.end() && StartsWithName(it->first, prefix);) {
            it = keys.erase(it);
            removed = true;
        }
        return removed;
    });
}

} // namespace lx
