#include "font.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstring>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "error.h"

namespace tk {

namespace {

std::string& chosenFace() {
    static std::string face = "TeX Gyre Schola";
    return face;
}

// Families the layouts name, and the free faces that stand in for them here.
std::string substituteFamily(const std::string& family) {
    if (family == "Georgia") return chosenFace();
    return family;
}

// The code points of UTF-8 TEXT (a broken sequence counts as one unknown letter).
std::vector<FcChar32> codePoints(const std::string& text) {
    std::vector<FcChar32> out;
    const auto* p = reinterpret_cast<const FcChar8*>(text.data());
    int left = int(text.size());
    while (left > 0) {
        FcChar32 c = 0;
        int n = FcUtf8ToUcs4(p, &c, left);
        if (n <= 0) {
            n = 1;
            c = 0xFFFD;
        }
        out.push_back(c);
        p += n;
        left -= n;
    }
    return out;
}

// The family fontconfig gives for FAMILY, when that face has every code point of LETTERS.
std::string familyWith(const std::string& family, const std::vector<FcChar32>& letters) {
    if (!FcInit()) return {};
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcCharSet* wanted = FcCharSetCreate();
    for (FcChar32 c : letters)
        if (c > 32) FcCharSetAddChar(wanted, c);
    FcPatternAddCharSet(pat, FC_CHARSET, wanted);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    std::string found;
    if (match) {
        FcChar8* name = nullptr;
        FcCharSet* has = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name &&
            FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch && has &&
            FcCharSetIsSubset(wanted, has))
            found = reinterpret_cast<const char*>(name);
        FcPatternDestroy(match);
    }
    FcCharSetDestroy(wanted);
    FcPatternDestroy(pat);
    return found;
}

std::string lookUpFile(const std::string& family, bool bold, bool italic) {
    static bool ready = FcInit();
    if (!ready) return {};
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    std::string file;
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char*>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    return file;
}

struct FontKey {
    std::string file;
    int size;
    int style;
    bool operator<(const FontKey& o) const {
        return std::tie(file, size, style) < std::tie(o.file, o.size, o.style);
    }
};

class FontCache {
public:
    ~FontCache() {
        for (auto& [key, font] : fonts_) TTF_CloseFont(font);
        if (ttfStarted_) TTF_Quit();
    }

    TTF_Font* get(const FontSpec& spec) {
        std::lock_guard lock(mutex_);
        if (!ttfStarted_) {
            if (TTF_Init() != 0) throw Error(tr("Font system failed: %s", TTF_GetError()));
            ttfStarted_ = true;
        }
        std::string file = fileFor(spec);
        int style = spec.underline ? TTF_STYLE_UNDERLINE : 0;
        // Faces without their own bold or italic file get the synthetic style.
        if (spec.bold && !hasOwnStyle(file, true, false)) style |= TTF_STYLE_BOLD;
        if (spec.italic && !hasOwnStyle(file, false, true)) style |= TTF_STYLE_ITALIC;
        int size = spec.pixelSize > 0 ? spec.pixelSize : 1;
        if (size > 400) size = 400;
        FontKey key{file, size, style};
        auto it = fonts_.find(key);
        if (it != fonts_.end()) return it->second;
        TTF_Font* font = TTF_OpenFont(file.c_str(), size);
        if (!font) throw Error(tr("Cannot open font %s", file + ": " + TTF_GetError()));
        TTF_SetFontStyle(font, style);
        fonts_[key] = font;
        return font;
    }

    std::string fileFor(const FontSpec& spec) {
        std::string family = substituteFamily(spec.family);
        auto key = std::make_tuple(family, spec.bold, spec.italic);
        auto it = files_.find(key);
        if (it != files_.end()) return it->second;
        std::string file = lookUpFile(family, spec.bold, spec.italic);
        if (file.empty()) file = lookUpFile("DejaVu Serif", spec.bold, spec.italic);
        if (file.empty()) throw Error(tr("No font found for %s", spec.family));
        files_[key] = file;
        return file;
    }

    bool hasOwnStyle(const std::string& file, bool bold, bool italic) {
        // A file whose name says bold or italic already carries that style.
        std::string lower;
        for (char c : file) lower += char(std::tolower(static_cast<unsigned char>(c)));
        if (bold && lower.find("bold") == std::string::npos) return false;
        if (italic && lower.find("italic") == std::string::npos &&
            lower.find("oblique") == std::string::npos)
            return false;
        return true;
    }

private:
    std::mutex mutex_;
    bool ttfStarted_ = false;
    std::map<FontKey, TTF_Font*> fonts_;
    std::map<std::tuple<std::string, bool, bool>, std::string> files_;
};

FontCache& cache() {
    static FontCache c;
    return c;
}

}  // namespace

std::string chooseFaceFor(const std::string& sample) {
    const std::vector<FcChar32> letters = codePoints(sample);
    std::string face = "TeX Gyre Schola";
    // FcFontMatch always answers: only a face of the family asked for, with every letter, counts.
    for (const char* family : {"TeX Gyre Schola", "DejaVu Serif"}) {
        if (familyWith(family, letters) == family) {
            face = family;
            break;
        }
        if (std::string(family) == "DejaVu Serif") {
            std::string any = familyWith("serif", letters);
            if (!any.empty()) face = any;
        }
    }
    chosenFace() = face;
    return face;
}

std::string georgiaFace() { return chosenFace(); }

TextSize measureText(const std::string& text, const FontSpec& font) {
    TTF_Font* f = cache().get(font);
    TextSize size;
    size.height = TTF_FontHeight(f);
    if (!text.empty()) {
        int w = 0, h = 0;
        if (TTF_SizeUTF8(f, text.c_str(), &w, &h) == 0) size.width = w;
    }
    return size;
}

Image renderText(const std::string& text, const FontSpec& font) {
    TTF_Font* f = cache().get(font);
    TextSize size = measureText(text, font);
    Image out(size.width, size.height);
    if (text.empty()) return out;
    SDL_Color c{Uint8(redOf(font.colour)), Uint8(greenOf(font.colour)),
                Uint8(blueOf(font.colour)), 255};
    SDL_Surface* s = TTF_RenderUTF8_Blended(f, text.c_str(), c);
    if (!s) return out;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(s);
    if (!argb) return out;
    int w = std::min(argb->w, out.width()), h = std::min(argb->h, out.height());
    for (int y = 0; y < h; ++y)
        std::memcpy(out.row(y), static_cast<const std::uint8_t*>(argb->pixels) + y * argb->pitch,
                    std::size_t(w) * 4);
    SDL_FreeSurface(argb);
    return out;
}

}  // namespace tk
