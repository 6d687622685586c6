#pragma once
// The system's splitting of delimited text (TAB for the paper catalogue and
// sheet layouts, comma for CSV; the quote is always '"') and its text lists.
#include <string>
#include <string_view>
#include <vector>

namespace lx {

// Splits one line into fields. Blanks and control characters between fields
// are skipped; a field starting with '"' runs to the next undoubled '"'; with
// the comma two delimiters in a row and a trailing delimiter give empty
// fields; double-byte characters are stepped over whole. A NUL byte ends the
// text.
std::vector<std::string> SplitDelimited(std::string_view text, char delimiter);

// Walks the fields of one line as SplitDelimited splits it, without copying
// them: each comes as its raw text, quotes included (FieldText unquotes it).
// With blanksInFields a blank is field text, not a separator (the CSV rule).
class DelimitedFields {
public:
    // Starts at `start`, a Position() taken on an earlier walk of the text.
    DelimitedFields(std::string_view text, char delimiter, bool blanksInFields = false, std::size_t start = 0);

    // The next field's raw text; false after the last one.
    bool Next(std::string_view& raw);
    // Where the next field starts.
    std::size_t Position() const { return pos_; }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    bool IsSeparator(char c) const;
    void SkipSeparators();
    void SkipQuoted();
    void SkipPlain();

    std::string_view text_;
    char delimiter_;
    bool blanksInFields_;
    std::size_t pos_;
    bool trailingEmpty_ = false;
};

// A raw field's text: a quoted field without its quotes, doubled quotes
// standing for one.
std::string FieldText(std::string_view raw);

// Lines of a text: CR LF, LF or CR end a line; a final line break gives no
// empty last line.
std::vector<std::string> SplitLines(std::string_view text);
// Pieces of a text cut at every CR LF, as label text is drawn: an empty text
// is one empty line and a final CR LF adds an empty line.
std::vector<std::string_view> SplitAtCrLf(std::string_view text);
// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

} // namespace lx
