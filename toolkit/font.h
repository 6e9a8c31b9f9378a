// Text in the game's fonts. "Georgia" is drawn with TeX Gyre Schola, found through fontconfig.
#pragma once

#include <string>

#include "image.h"

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

// Size of TEXT (UTF-8) in FONT; an empty text is 0 wide and one line high.
TextSize measureText(const std::string& text, const FontSpec& font);
// TEXT rendered in FONT's colour on transparent pixels, as wide and high as measureText says.
Image renderText(const std::string& text, const FontSpec& font);

}  // namespace tk
