#include "platform/text/DelimitedText.h"

#include "platform/text/Cp932.h"

#include <utility>

namespace lx {

namespace {

constexpr char kQuote = '"';

} // namespace

DelimitedFields::DelimitedFields(std::string_view text, char delimiter, bool blanksInFields, std::size_t start)
    : text_(text.substr(0, text.find('\0'))), delimiter_(delimiter), blanksInFields_(blanksInFields), pos_(start)
{
    SkipSeparators();
}

bool DelimitedFields::IsSeparator(char c) const
{
    const auto code = static_cast<unsigned char>(c);
    return blanksInFields_ ? code < ' ' : code <= ' ';
}

void DelimitedFields::SkipSeparators()
{
    while (!AtEnd() && IsSeparator(text_[pos_]))
        ++pos_;
}

// To the next undoubled quote, or to the end without one.
void DelimitedFields::SkipQuoted()
{
    ++pos_;
    while (!AtEnd()) {
        if (text_[pos_] == kQuote) {
            const bool doubled = pos_ + 1 < text_.size() && text_[pos_ + 1] == kQuote;
            pos_ += doubled ? 2 : 1;
            if (!doubled)
                return;
            continue;
        }
        pos_ += CharLength(text_, pos_);
    }
}

void DelimitedFields::SkipPlain()
{
    while (!AtEnd() && !IsSeparator(text_[pos_]) && text_[pos_] != delimiter_)
        pos_ += CharLength(text_, pos_);
}

bool DelimitedFields::Next(std::string_view& raw)
{
    if (AtEnd()) {
        raw = {};
        return std::exchange(trailingEmpty_, false);
    }
    const std::size_t start = pos_;
    if (text_[pos_] == kQuote)
        SkipQuoted();
    else
        SkipPlain();
    raw = text_.substr(start, pos_ - start);
    SkipSeparators();
    if (!AtEnd() && text_[pos_] == delimiter_) {
        // Only a delimiter that ends the text gives a last empty field.
        trailingEmpty_ = pos_ + 1 == text_.size();
        pos_ += CharLength(text_, pos_);
        SkipSeparators();
    }
    return true;
}

std::string FieldText(std::string_view raw)
{
    if (raw.empty() || raw.front() != kQuote)
        return std::string(raw);
    std::string field;
    for (std::size_t pos = 1; pos < raw.size();) {
        if (raw[pos] == kQuote) {
            if (pos + 1 < raw.size() && raw[pos + 1] == kQuote) {
                field += kQuote;
                pos += 2;
                continue;
            }
            break;
        }
        const std::size_t n = CharLength(raw, pos);
        field.append(raw.substr(pos, n));
        pos += n;
    }
    return field;
}

std::vector<std::string> SplitDelimited(std::string_view text, char delimiter)
{
    std::vector<std::string> fields;
    DelimitedFields walk(text, delimiter);
    for (std::string_view raw; walk.Next(raw);)
        fields.push_back(FieldText(raw));
    return fields;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::vector<std::string_view> SplitAtCrLf(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = text.find("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return lines;
        text.remove_prefix(end + 2);
    }
}

} // namespace lx
