// Font files without fontconfig: the game's two families come as files in one folder (the page
// downloads them with the game's data), and a face has a letter when FreeType finds its glyph;
// the faces that stand in for other letters are listed with their letters in the folder's
// fallback.txt.
#include <emscripten.h>
#include <ft2build.h>
#include <unistd.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

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

// One file of fallback.txt: where it comes from, its face and style, and its letters.
struct StandIn {
    std::string pack, face, file;
    bool bold = false, italic = false, colour = false;
    std::vector<std::pair<char32_t, char32_t>> letters;  // first and last of each range
    bool has(char32_t c) const {
        auto after = std::upper_bound(
            letters.begin(), letters.end(), c,
            [](char32_t x, const std::pair<char32_t, char32_t>& r) { return x < r.first; });
        return after != letters.begin() && c <= std::prev(after)->second;
    }
};

// fallback.txt read once; a damaged line is left out.
const std::vector<StandIn>& standIns() {
    static const std::vector<StandIn> list = [] {
        std::vector<StandIn> out;
        std::ifstream in(std::string(LUMCREST_FONT_DIR) + "/fallback.txt");
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            StandIn s;
            std::string style, kind, range;
            if (!(words >> s.pack >> s.face >> style >> kind >> s.file)) continue;
            s.bold = style.find('b') != std::string::npos;
            s.italic = style.find('i') != std::string::npos;
            s.colour = kind == "colour";
            while (words >> range) {
                const auto dash = range.find('-');
                if (dash == std::string::npos) continue;
                const unsigned long first = std::strtoul(range.c_str(), nullptr, 16);
                const unsigned long last = std::strtoul(range.c_str() + dash + 1, nullptr, 16);
                if (first <= last) s.letters.emplace_back(char32_t(first), char32_t(last));
            }
            std::sort(s.letters.begin(), s.letters.end());
            out.push_back(std::move(s));
        }
        return out;
    }();
    return list;
}

// The first face that has C, in the style asked for when it has that, else upright and regular.
const StandIn* pickStandIn(const std::vector<StandIn>& list, char32_t c, bool bold, bool italic,
                           bool colour) {
    const StandIn* pick = nullptr;
    for (const StandIn& s : list) {
        if (s.colour != colour || !s.has(c)) continue;
        if (pick && s.face != pick->face) break;
        if (s.bold == bold && s.italic == italic) return &s;
        if (!pick || (!s.bold && !s.italic)) pick = &s;
    }
    return pick;
}

// Asks the page for the download PACK (the driver for Node has no page, and every file).
EM_JS(void, jsWantFonts, (const char* pack), {
    if (Module.lumcrest && Module.lumcrest.data) Module.lumcrest.data.fonts(UTF8ToString(pack));
});

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

// The faces that stand in, in the order they are tried, as fallback-fonts.py listed them in
// fallback.txt: Hebrew, Arabic, CJK and emoji come in parts the page downloads when a text first
// needs one of their letters (the driver for Node has them all on disk).
std::string fallbackFile(const std::string&, char32_t c, bool bold, bool italic, bool colour) {
    static std::mutex mutex;
    static std::map<std::tuple<char32_t, bool, bool, bool>, std::string> found;
    std::lock_guard lock(mutex);
    const auto key = std::make_tuple(c, bold, italic, colour);
    auto hit = found.find(key);
    if (hit != found.end()) return hit->second;
    const StandIn* pick = pickStandIn(standIns(), c, bold, italic, colour);
    if (!pick) return found[key] = std::string();
    const std::string path = std::string(LUMCREST_FONT_DIR) + "/" + pick->file;
    if (access(path.c_str(), R_OK) == 0) return found[key] = path;
    // Not here yet: left out until its part has come, when everything is drawn again.
    jsWantFonts(pick->pack.c_str());
    return {};
}

}  // namespace tk
