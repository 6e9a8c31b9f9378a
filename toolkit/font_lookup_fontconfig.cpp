// Font files through fontconfig, as the desktop finds them.
#include <fontconfig/fontconfig.h>

#include <string>
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

}  // namespace

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
