#pragma once
// The question the editor asks when a merge file reads two ways: which of
// its readings the user meant.
#include <string>

#include "platform/text/TextFile.h"

namespace lx {

// Asks in a "確認" box showing the file and its first differing line both
// ways: "はい" reads it as UTF-8, "いいえ" as CP932.
EncodingChooser AskWhichReading(std::string path);

} // namespace lx
