// Font files through fontconfig, as the desktop finds them.
#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "toolkit/font_lookup.h"

namespace tk {

namespace {

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
std::string familyWithLetters(const std::string& family, const std::vector<FcChar32>& letters) {
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

// The faces fontconfig ranks for one family and style (or for colour emoji), best first, each
// with the letters it has. Sorted once, on the first letter that needs a face of its own.
class FallbackList {
  public:
    FallbackList(const std::string& family, bool bold, bool italic, bool colour) {
        FcPattern* pat = FcPatternCreate();
        const std::string wanted = colour ? "emoji" : family;
        FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
        // The game's faces are serifs: another serif stands in before a sans.
        if (!colour) FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>("serif"));
        FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        if (colour) FcPatternAddBool(pat, FC_COLOR, FcTrue);
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult result;
        fonts_ = FcFontSort(nullptr, pat, FcTrue, nullptr, &result);
        FcPatternDestroy(pat);
        colour_ = colour;
    }
    ~FallbackList() {
        if (fonts_) FcFontSetDestroy(fonts_);
    }
    FallbackList(const FallbackList&) = delete;
    FallbackList& operator=(const FallbackList&) = delete;

    std::string fileWith(char32_t c) const {
        for (int i = 0; fonts_ && i < fonts_->nfont; ++i) {
            FcPattern* font = fonts_->fonts[i];
            FcCharSet* has = nullptr;
            FcChar8* file = nullptr;
            FcBool isColour = FcFalse;
            if (colour_ &&
                (FcPatternGetBool(font, FC_COLOR, 0, &isColour) != FcResultMatch || !isColour))
                continue;
            if (FcPatternGetCharSet(font, FC_CHARSET, 0, &has) == FcResultMatch &&
                FcCharSetHasChar(has, c) &&
                FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file)
                return reinterpret_cast<const char*>(file);
        }
        return {};
    }

  private:
    FcFontSet* fonts_ = nullptr;
    bool colour_ = false;
};

}  // namespace

std::string fallbackFile(const std::string& family, char32_t c, bool bold, bool italic,
                         bool colour) {
    static std::mutex mutex;
    static std::map<std::tuple<std::string, bool, bool, bool>, std::unique_ptr<FallbackList>> lists;
    static std::map<std::tuple<std::string, char32_t, bool, bool, bool>, std::string> found;
    std::lock_guard lock(mutex);
    const auto key = std::make_tuple(family, c, bold, italic, colour);
    auto hit = found.find(key);
    if (hit != found.end()) return hit->second;
    if (!FcInit()) return {};
    auto& list = lists[std::make_tuple(family, bold, italic, colour)];
    if (!list) list = std::make_unique<FallbackList>(family, bold, italic, colour);
    return found[key] = list->fileWith(FcChar32(c));
}

std::string familyWith(const std::string& family, const std::string& sample) {
    return familyWithLetters(family, codePoints(sample));
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

}  // namespace tk
