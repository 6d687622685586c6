#include "platform/printing/PdfFontNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <vector>

namespace lx {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTagLength = 7; // "ABCDEF+"
// A font dictionary is short: a key further than this from its object's
// start lies inside a stream.
constexpr std::size_t kDictionaryReach = 4096;

struct CrossReference {
    std::size_t tableOffset = 0; // of "xref"
    std::vector<std::size_t> offsets; // by object number; 0 for a free entry
    std::vector<std::string> entries; // as written, 20 bytes each
    std::string trailer; // "trailer ... >>\n" without startxref
};

bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; }

std::size_t SkipSpace(const std::string& text, std::size_t at)
{
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    return at;
}

// The unsigned number at `at` (after spaces), and where it ends.
std::optional<std::pair<std::size_t, std::size_t>> NumberAt(const std::string& text, std::size_t at)
{
    at = SkipSpace(text, at);
    const std::size_t start = at;
    while (at < text.size() && at - start < 18 && text[at] >= '0' && text[at] <= '9')
        ++at;
    if (at == start)
        return std::nullopt;
    return std::make_pair(static_cast<std::size_t>(std::stoull(text.substr(start, at - start))), at);
}

// The name after `key` ("/Key /Name"): where it starts and the name.
std::optional<std::pair<std::size_t, std::string>> NameAfter(const std::string& text, std::string_view key)
{
    const std::size_t found = text.find(key);
    if (found == std::string::npos)
        return std::nullopt;
    std::size_t at = SkipSpace(text, found + key.size());
    if (at >= text.size() || text[at] != '/')
        return std::nullopt;
    const std::size_t start = ++at;
    while (at < text.size() && !IsSpace(text[at]) &&
           std::string_view("/[]<>()").find(text[at]) == std::string_view::npos)
        ++at;
    return std::make_pair(start, text.substr(start, at - start));
}

// The object number of "key N 0 R" ("key [N 0 R" for an array).
std::optional<std::size_t> Reference(const std::string& text, std::string_view key)
{
    const std::size_t found = text.find(key);
    if (found == std::string::npos)
        return std::nullopt;
    std::size_t at = SkipSpace(text, found + key.size());
    if (at < text.size() && text[at] == '[')
        ++at;
    const auto number = NumberAt(text, at);
    return number ? std::optional<std::size_t>(number->first) : std::nullopt;
}

std::optional<std::string> ReadRange(std::ifstream& in, std::size_t offset, std::size_t length)
{
    std::string bytes(length, '\0');
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(bytes.data(), static_cast<std::streamsize>(length));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return in.bad() ? std::nullopt : std::optional<std::string>(std::move(bytes));
}

// The single table at the end of a file Qt wrote: "startxref N", "xref",
// "0 count", then 20-byte entries and the trailer.
std::optional<CrossReference> ReadCrossReference(std::ifstream& in, std::size_t size)
{
    const std::size_t tailStart = size > 64 ? size - 64 : 0;
    const auto tail = ReadRange(in, tailStart, size - tailStart);
    if (!tail)
        return std::nullopt;
    const std::size_t start = tail->rfind("startxref");
    const auto tableAt = start == std::string::npos ? std::nullopt : NumberAt(*tail, start + 9);
    if (!tableAt || tail->find("%%EOF", tableAt->second) == std::string::npos)
        return std::nullopt;
    CrossReference x;
    x.tableOffset = tableAt->first;
    if (x.tableOffset >= size)
        return std::nullopt;
    const auto table = ReadRange(in, x.tableOffset, size - x.tableOffset);
    if (!table || table->compare(0, 4, "xref") != 0)
        return std::nullopt;
    const auto first = NumberAt(*table, 4);
    const auto counted = first && first->first == 0 ? NumberAt(*table, first->second) : std::nullopt;
    if (!counted)
        return std::nullopt;
    const std::size_t count = counted->first;
    const std::size_t entries = table->find('\n', counted->second) + 1;
    if (entries == 0 || count > table->size() / 20 || entries + count * 20 > table->size())
        return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string entry = table->substr(entries + i * 20, 20);
        if (entry.size() < 18 || !std::all_of(entry.begin(), entry.begin() + 10, ::isdigit))
            return std::nullopt;
        x.offsets.push_back(entry[17] == 'n' ? std::stoull(entry.substr(0, 10)) : 0);
        x.entries.push_back(entry);
    }
    const std::size_t trailer = entries + count * 20;
    const std::size_t end = table->find("startxref", trailer);
    if (table->compare(trailer, 7, "trailer") != 0 || end == std::string::npos)
        return std::nullopt;
    x.trailer = table->substr(trailer, end - trailer);
    return x;
}

// The dictionary of an object (its text up to "stream" or "endobj").
std::string Dictionary(std::ifstream& in, std::size_t offset)
{
    std::string text = ReadRange(in, offset, kDictionaryReach).value_or("");
    const std::size_t end = std::min(text.find("stream"), text.find("endobj"));
    return end == std::string::npos ? text : text.substr(0, end);
}

bool IsTag(const std::string& name)
{
    return name.size() > kTagLength && name[6] == '+' &&
        std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Where in the file an untagged base name starts, and the tag it gets.
using Insertions = std::map<std::size_t, std::string>;

// The tags the base names of font dictionaries take from their descriptors.
Insertions FindInsertions(std::ifstream& in, const CrossReference& x)
{
    std::vector<std::string> dictionaries(x.offsets.size());
    for (std::size_t n = 0; n < x.offsets.size(); ++n)
        if (x.offsets[n] != 0) {
            // Only dictionaries that name a font are kept.
            std::string text = Dictionary(in, x.offsets[n]);
            if (text.find("/Font") != std::string::npos)
                dictionaries[n] = std::move(text);
        }
    const auto tagOf = [&](std::size_t font) -> std::string {
        const auto descriptor = Reference(dictionaries[font], "/FontDescriptor");
        if (!descriptor || *descriptor >= dictionaries.size())
            return {};
        const auto name = NameAfter(dictionaries[*descriptor], "/FontName");
        return name && IsTag(name->second) ? name->second.substr(0, kTagLength) : std::string();
    };
    Insertions insertions;
    for (std::size_t n = 0; n < dictionaries.size(); ++n) {
        const auto base = dictionaries[n].empty() ? std::nullopt : NameAfter(dictionaries[n], "/BaseFont");
        if (!base || IsTag(base->second))
            continue;
        std::string tag = tagOf(n);
        if (const auto descendant = Reference(dictionaries[n], "/DescendantFonts");
            tag.empty() && descendant && *descendant < dictionaries.size())
            tag = tagOf(*descendant);
        if (!tag.empty())
            insertions[x.offsets[n] + base->first] = tag;
    }
    return insertions;
}

// Copies the file up to its table with the tags put in, then writes the
// table again with every offset moved by the tags before it.
bool WriteTagged(std::ifstream& in, const CrossReference& x, const Insertions& insertions, const fs::path& out)
{
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    std::size_t position = 0;
    const auto copyTo = [&](std::size_t end) {
        in.clear();
        in.seekg(static_cast<std::streamoff>(position));
        std::vector<char> buffer(1 << 16);
        while (position < end && in) {
            const std::size_t n = std::min(buffer.size(), end - position);
            in.read(buffer.data(), static_cast<std::streamsize>(n));
            file.write(buffer.data(), in.gcount());
            position += static_cast<std::size_t>(in.gcount());
        }
        return position == end;
    };
    for (const auto& [at, tag] : insertions) {
        if (!copyTo(at))
            return false;
        file << tag;
    }
    if (!copyTo(x.tableOffset))
        return false;
    const auto moved = [&](std::size_t offset) {
        return offset +
            kTagLength * static_cast<std::size_t>(std::distance(insertions.begin(), insertions.lower_bound(offset)));
    };
    file << "xref\n0 " << x.offsets.size() << "\n";
    for (std::size_t n = 0; n < x.offsets.size(); ++n) {
        std::string entry = x.entries[n];
        if (x.offsets[n] != 0) {
            char offset[16];
            std::snprintf(offset, sizeof offset, "%010zu", moved(x.offsets[n]));
            entry.replace(0, 10, offset);
        }
        file << entry;
    }
    file << x.trailer << "startxref\n" << moved(x.tableOffset) << "\n%%EOF\n";
    file.close();
    return static_cast<bool>(file);
}

bool TagFile(const fs::path& path)
{
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in)
        return false;
    const std::optional<CrossReference> x = ReadCrossReference(in, static_cast<std::size_t>(size));
    if (!x)
        return true; // not the form Qt writes: nothing is changed
    const Insertions insertions = FindInsertions(in, *x);
    if (insertions.empty())
        return true;
    fs::path tagged = path;
    tagged += ".tagging";
    if (!WriteTagged(in, *x, insertions, tagged)) {
        fs::remove(tagged, error);
        return false;
    }
    in.close();
    fs::rename(tagged, path, error);
    if (error)
        fs::remove(tagged, error);
    return !error;
}

} // namespace

bool TagSubsetFontNames(const std::string& utf8Path)
{
    try {
        return TagFile(fs::path(utf8Path));
    } catch (const std::exception&) {
        return false; // a number out of range, a file gone meanwhile: it stays as it was
    }
}

} // namespace lx
