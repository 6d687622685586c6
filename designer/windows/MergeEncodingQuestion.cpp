#include "designer/windows/MergeEncodingQuestion.h"

#include "platform/app/Messages.h"
#include "platform/text/Cp932.h"

#include <utility>

namespace lx {

EncodingChooser AskWhichReading(std::string path)
{
    return [path = std::move(path)](const TwoReadings& readings) {
        const std::string text = ReadableFileName(path) +
            "\nこのファイルは、シフトJISとしてもUTF-8としても読めます。\n\n" + std::to_string(readings.Line) +
            "行目\nシフトJIS: " + readings.AsCp932 + "\nUTF-8: " + readings.AsUtf8 +
            "\n\nUTF-8として読み込みますか？\n（「いいえ」でシフトJISとして読み込みます）";
        return AskYesNo(text) ? TextEncoding::Utf8 : TextEncoding::Cp932;
    };
}

} // namespace lx
