#pragma once
// Text files the user chooses (merge tables) as the model's CP932. Linux
// tools write UTF-8, some UTF-16; files from the system's own world are CP932.
#include "platform/text/EncodingGuess.h"

#include <cstddef>
#include <functional>
#include <string>

namespace lx {

// The first line whose two readings differ, as UTF-8 text: the 1-based line
// number, and the line read as CP932 and as UTF-8, cut short where it is long.
struct TwoReadings {
    std::size_t Line = 0;
    std::string AsCp932;
    std::string AsUtf8;
};

// Asks which reading was meant, for a file whose characters do not tell.
using EncodingChooser = std::function<TextEncoding(const TwoReadings&)>;

// The file's text as CP932. A byte-order mark selects UTF-8 or UTF-16 (LE or
// BE). Without one, text that is only UTF-8 is UTF-8, text that is only CP932
// stays as it is, and text valid both ways is read as its characters show
// (EncodingTheCharactersShow); where they do not tell, as `choose` answers.
// Throws ReadError for a binary file, for a character CP932 cannot hold
// (naming its line), and for text valid both ways that its characters do not
// tell when there is no one to ask.
std::string TextFileToCp932(std::string bytes, const EncodingChooser& choose = {});

} // namespace lx
