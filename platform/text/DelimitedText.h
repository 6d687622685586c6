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

// Lines of a text: CR LF, LF or CR end a line; a final line break gives no
// empty last line.
std::vector<std::string> SplitLines(std::string_view text);
// Pieces of a text cut at every CR LF, as label text is drawn: an empty text
// is one empty line and a final CR LF adds an empty line.
std::vector<std::string_view> SplitAtCrLf(std::string_view text);
// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

} // namespace lx
