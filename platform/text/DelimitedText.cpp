#include "platform/text/DelimitedText.h"

#include "platform/text/Cp932.h"

namespace lx {

namespace {

constexpr char kQuote = '"';

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return text_[pos_]; }
    bool IsLast() const { return pos_ + 1 == text_.size(); }
    void Step() { pos_ += CharLength(text_, pos_); }

    void SkipBlanks()
    {
        while (!AtEnd() && static_cast<unsigned char>(Peek()) <= ' ')
            ++pos_;
    }

    // A quoted field: the text up to the next undoubled quote, doubled quotes
    // standing for one. Without a closing quote it runs to the end.
    std::string TakeQuoted()
    {
        std::string field;
        ++pos_;
        while (!AtEnd()) {
            if (Peek() == kQuote) {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == kQuote) {
                    field += kQuote;
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            const std::size_t n = CharLength(text_, pos_);
            field.append(text_.substr(pos_, n));
            pos_ += n;
        }
        return field;
    }

    std::string TakePlain(char delimiter)
    {
        const std::size_t start = pos_;
        while (!AtEnd() && static_cast<unsigned char>(Peek()) > ' ' && Peek() != delimiter)
            Step();
        return std::string(text_.substr(start, pos_ - start));
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::vector<std::string> SplitDelimited(std::string_view text, char delimiter)
{
    std::vector<std::string> fields;
    Cursor cursor(text);
    cursor.SkipBlanks();
    while (!cursor.AtEnd()) {
        fields.push_back(cursor.Peek() == kQuote ? cursor.TakeQuoted() : cursor.TakePlain(delimiter));
        cursor.SkipBlanks();
        if (!cursor.AtEnd() && cursor.Peek() == delimiter) {
            if (cursor.IsLast())
                fields.emplace_back();
            cursor.Step();
            cursor.SkipBlanks();
        }
    }
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
