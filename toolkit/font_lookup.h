// Where the files of the game's fonts are found: through fontconfig on the desktop, in the data
// the page downloaded in the browser (which has no fontconfig and no system fonts to give).
#pragma once

#include <string>

namespace tk {

// The family found for FAMILY when that face has every letter of SAMPLE (UTF-8), else "".
std::string familyWith(const std::string& family, const std::string& sample);
// The file of FAMILY in the style asked for; "" when there is none.
std::string lookUpFile(const std::string& family, bool bold, bool italic);

}  // namespace tk
