#pragma once
// A style and a full problem record that captions are tried with: the
// tests of the captions and their benchmark draw the same diagram.

#include "diagram/render/captions.h"

namespace testsupport {

/// A font style with squares of 40 pixels and letters for the captions.
inline settings::Style CaptionStyle() {
    settings::Style s;
    s.PIECESFONT = "FreeSerif";
    s.SQRWIDTH = s.SQRHEIGHT = 40 * 15;
    s.FONTNAME = "DejaVu Sans";
    return s;
}

/// A record with every field a caption shows, two authors (one in
/// Cyrillic) among them.
inline position::ProblemRecord CaptionRecord() {
    position::ProblemRecord r;
    r.authors = {"Sam Loyd", "Вася Пупкин"};
    r.source = "The Problemist";
    r.date = "1923";
    r.award = "1st Prize";
    r.stipulation = "#2";
    r.conditions = "Circe";
    r.twins = "b) wKe1->e2";
    r.legend = {{"G", "Grasshopper"}};
    return r;
}

}  // namespace testsupport
