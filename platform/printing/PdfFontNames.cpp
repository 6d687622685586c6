#include "platform/printing/PdfFontNames.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/io/Files.h"

namespace lx {

namespace {

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

// The file Qt wrote, read at offsets.
class PdfFile {
public:
    explicit PdfFile(int fd) : fd_(fd)
    {
        struct stat info {};
        size_ = ::fstat(fd, &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
    }
    std::size_t Size() const { return size_; }
    // Up to `length` bytes from `offset`; nullopt when the file cannot be read.
    std::optional<std::string> Range(std::size_t offset, std::size_t length) const
    {
        std::string bytes(offset < size_ ? std::min(length, size_ - offset) : 0, '\0');
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return std::nullopt;
            done += static_cast<std::size_t>(n);
        }
        return bytes;
    }

private:
    int fd_;
    std::size_t size_ = 0;
};

// The single table at the end of a file Qt wrote: "startxref N", "xref",
// "0 count", then 20-byte entries and the trailer.
std::optional<CrossReference> ReadCrossReference(const PdfFile& in)
{
    const std::size_t size = in.Size();
    const std::size_t tailStart = size > 64 ? size - 64 : 0;
    const auto tail = in.Range(tailStart, size - tailStart);
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
    const auto table = in.Range(x.tableOffset, size - x.tableOffset);
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
std::string Dictionary(const PdfFile& in, std::size_t offset)
{
    std::string text = in.Range(offset, kDictionaryReach).value_or("");
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

// The tags the base names of font dictionaries take from their descriptors;
// nullopt when an object is not where the table says (the file was cut).
std::optional<Insertions> FindInsertions(const PdfFile& in, const CrossReference& x)
{
    std::vector<std::string> dictionaries(x.offsets.size());
    for (std::size_t n = 0; n < x.offsets.size(); ++n)
        if (x.offsets[n] != 0) {
            std::string text = Dictionary(in, x.offsets[n]);
            if (!text.starts_with(std::to_string(n) + " 0 obj"))
                return std::nullopt;
            // Only dictionaries that name a font are kept.
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

// Bytes on their way to a file, written in large blocks.
class BlockWriter {
public:
    explicit BlockWriter(FileReplacement& file) : file_(file) {}
    void Put(std::string_view bytes)
    {
        buffer_ += bytes;
        if (buffer_.size() >= kBlock)
            Flush();
    }
    void Flush()
    {
        file_.Write(buffer_);
        buffer_.clear();
    }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    FileReplacement& file_;
    std::string buffer_;
};

// Copies the file up to its table with the tags put in, then writes the
// table again with every offset moved by the tags before it.
void WriteTagged(const PdfFile& in, const CrossReference& x, const Insertions& insertions, FileReplacement& out)
{
    BlockWriter file(out);
    std::size_t position = 0;
    const auto copyTo = [&](std::size_t end) {
        while (position < end) {
            const auto bytes = in.Range(position, std::min<std::size_t>(1 << 20, end - position));
            if (!bytes || bytes->empty())
                throw out.IncompleteError();
            file.Put(*bytes);
            position += bytes->size();
        }
    };
    for (const auto& [at, tag] : insertions) {
        copyTo(at);
        file.Put(tag);
    }
    copyTo(x.tableOffset);
    const auto moved = [&](std::size_t offset) {
        return offset +
            kTagLength * static_cast<std::size_t>(std::distance(insertions.begin(), insertions.lower_bound(offset)));
    };
    file.Put("xref\n0 " + std::to_string(x.offsets.size()) + "\n");
    for (std::size_t n = 0; n < x.offsets.size(); ++n) {
        std::string entry = x.entries[n];
        if (x.offsets[n] != 0) {
            char offset[16];
            std::snprintf(offset, sizeof offset, "%010zu", moved(x.offsets[n]));
            entry.replace(0, 10, offset);
        }
        file.Put(entry);
    }
    file.Put(x.trailer + "startxref\n" + std::to_string(moved(x.tableOffset)) + "\n%%EOF\n");
    file.Flush();
}

} // namespace

void CommitTaggedPdf(FileReplacement& written)
{
    const PdfFile in(written.Descriptor());
    const std::optional<CrossReference> x = ReadCrossReference(in);
    const std::optional<Insertions> insertions = x ? FindInsertions(in, *x) : std::nullopt;
    if (!insertions)
        throw written.IncompleteError();
    if (insertions->empty())
        return written.Commit();
    FileReplacement tagged(written.Path());
    WriteTagged(in, *x, *insertions, tagged);
    tagged.Commit();
}

} // namespace lx
