// Where the files of the game's fonts are found: through fontconfig on the desktop, in the data
// the page downloaded in the browser (which has no fontconfig and no system fonts to give).
#pragma once

#include <string>

namespace tk {

// The family found for FAMILY when that face has every letter of SAMPLE (UTF-8), else "".
std::string familyWith(const std::string& family, const std::string& sample);
// The file of FAMILY in the style asked for; "" when there is none.
std::string lookUpFile(const std::string& family, bool bold, bool italic);
// The file of a face that has the letter C, for text in FAMILY's style (COLOUR: a face with
// colour glyphs); "" when no face has it. Asked only for letters the game's own face lacks, and
// cached, so a text drawn again costs no search.
std::string fallbackFile(const std::string& family, char32_t c, bool bold, bool italic,
                         bool colour);

}  // namespace tk
