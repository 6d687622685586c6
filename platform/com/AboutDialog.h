#pragma once
// A control's About dialog: a fixed form of text lines and an OK button,
// shown modally.
#include <string>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace lx {

struct AboutForm {
    struct Line {
        std::string text; // UTF-8; "&&" shows as one "&"
        Rect box; // dialog units (left, top, right, bottom)
    };
    std::string title; // UTF-8
    Size size; // dialog units
    Rect iconBox; // dialog units; empty: no icon
    Rect okBox; // dialog units
    std::vector<Line> lines;
};

void ShowAboutDialog(const AboutForm& form);

} // namespace lx
