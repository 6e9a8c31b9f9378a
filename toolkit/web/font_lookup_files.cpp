// Font files without fontconfig: the game's two families come as files in one folder (the page
// downloads them with the game's data), and a face has a letter when FreeType finds its glyph.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "toolkit/font_lookup.h"
#include "toolkit/text_runs.h"

#ifndef LUMCREST_FONT_DIR
#define LUMCREST_FONT_DIR "/fonts"
#endif

namespace tk {

namespace {

// The file names, as Debian's font packages install them.
std::string fileName(const std::string& family, bool bold, bool italic) {
    if (family == "TeX Gyre Schola") {
        const char* style =
            bold ? (italic ? "bolditalic" : "bold") : (italic ? "italic" : "regular");
        return std::string("texgyreschola-") + style + ".otf";
    }
    if (family == "DejaVu Serif" || family == "serif") {
        const char* style = bold ? (italic ? "-BoldItalic" : "-Bold") : (italic ? "-Italic" : "");
        return std::string("DejaVuSerif") + style + ".ttf";
    }
    return {};
}

}  // namespace

std::string familyWith(const std::string& family, const std::string& sample) {
    const std::string file = lookUpFile(family, false, false);
    if (file.empty()) return {};
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return {};
    FT_Face face = nullptr;
    bool all = FT_New_Face(library, file.c_str(), 0, &face) == 0;
    if (all)
        for (char32_t c : decodeUtf8(sample))
            if (c > 32 && FT_Get_Char_Index(face, FT_ULong(c)) == 0) all = false;
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (!all) return {};
    return family == "serif" ? "DejaVu Serif" : family;
}

std::string lookUpFile(const std::string& family, bool bold, bool italic) {
    const std::string name = fileName(family, bold, italic);
    return name.empty() ? std::string() : std::string(LUMCREST_FONT_DIR) + "/" + name;
}

// Only the faces that came with the data stand in: a letter neither of them has (Hebrew, Arabic,
// CJK, emoji) is left out, and there are no colour glyphs.
std::string fallbackFile(const std::string&, char32_t c, bool bold, bool italic, bool colour) {
    static std::mutex mutex;
    static std::map<std::tuple<char32_t, bool, bool>, std::string> found;
    if (colour) return {};
    std::lock_guard lock(mutex);
    const auto key = std::make_tuple(c, bold, italic);
    auto hit = found.find(key);
    if (hit != found.end()) return hit->second;
    std::string& file = found[key];
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return {};
    for (const char* family : {"TeX Gyre Schola", "DejaVu Serif"}) {
        const std::string path = lookUpFile(family, bold, italic);
        FT_Face face = nullptr;
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) continue;
        const bool has = FT_Get_Char_Index(face, FT_ULong(c)) != 0;
        FT_Done_Face(face);
        if (has) {
            file = path;
            break;
        }
    }
    FT_Done_FreeType(library);
    return file;
}

}  // namespace tk
