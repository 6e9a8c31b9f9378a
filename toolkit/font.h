// Text in the game's fonts. "Georgia" is drawn with TeX Gyre Schola, found through fontconfig.
#pragma once

#include <string>

#include "toolkit/image.h"

namespace tk {

struct FontSpec {
    std::string family = "Georgia";
    int pixelSize = 13;  // height of the em in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Argb colour = rgb(255, 255, 0);
};

struct TextSize {
    int width = 0;
    int height = 0;  // the font's line height
};

// Chooses, once for the language in use, the face that draws "Georgia": TeX Gyre Schola when it
// has every letter of SAMPLE (UTF-8), else the first serif through fontconfig that has them all
// (DejaVu Serif for Cyrillic). Returns the family chosen.
std::string chooseFaceFor(const std::string& sample);
// The family that draws "Georgia" now.
std::string georgiaFace();

// Size of TEXT (UTF-8) in FONT; an empty text is 0 wide and one line high.
TextSize measureText(const std::string& text, const FontSpec& font);
// TEXT rendered in FONT's colour on transparent pixels, as wide and high as measureText says.
Image renderText(const std::string& text, const FontSpec& font);

}  // namespace tk
