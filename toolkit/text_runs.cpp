#include "toolkit/text_runs.h"

#include <hb.h>

#include <algorithm>

#ifdef LUMCREST_HAVE_FRIBIDI
#include <fribidi.h>
#endif

namespace tk {

namespace {

hb_unicode_funcs_t* unicode() {
    static hb_unicode_funcs_t* funcs = hb_unicode_funcs_get_default();
    return funcs;
}

bool isMark(char32_t c) {
    switch (hb_unicode_general_category(unicode(), c)) {
        case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK: return true;
        default: return false;
    }
}

constexpr char32_t kZeroWidthJoiner = 0x200D;
constexpr char32_t kEmojiSelector = 0xFE0F;

bool isSkinTone(char32_t c) {
    return c >= 0x1F3FB && c <= 0x1F3FF;
}

// A letter of a script with a direction of its own (digits and punctuation have none).
bool isStrongLeftToRight(char32_t c) {
    const hb_script_t script = hb_unicode_script(unicode(), c);
    return script != HB_SCRIPT_COMMON && script != HB_SCRIPT_INHERITED &&
           script != HB_SCRIPT_UNKNOWN &&
           hb_script_get_horizontal_direction(script) == HB_DIRECTION_LTR;
}

}  // namespace

std::u32string decodeUtf8(const std::string& text) {
    std::u32string out;
    out.reserve(text.size());
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = byte(i);
        const int extra = lead < 0x80         ? 0
                          : (lead >> 5) == 6  ? 1
                          : (lead >> 4) == 14 ? 2
                          : (lead >> 3) == 30 ? 3
                                              : -1;
        char32_t c = extra > 0 ? char32_t(lead & (0x3F >> extra)) : char32_t(lead);
        bool good = extra >= 0 && i + std::size_t(extra) < text.size();
        for (int k = 1; good && k <= extra; ++k) {
            good = (byte(i + k) & 0xC0) == 0x80;
            c = (c << 6) | (byte(i + k) & 0x3F);
        }
        if (good && (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) good = false;
        if (!good) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(c);
        i += std::size_t(extra) + 1;
    }
    return out;
}

bool isInvisibleControl(char32_t c) {
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x2069) || (c >= 0xFE00 && c <= 0xFE0F) ||
           (c >= 0xE0000 && c <= 0xE0FFF) || c == 0xFEFF || c == 0x00AD;
}

bool isRightToLeft(char32_t c) {
    return hb_script_get_horizontal_direction(hb_unicode_script(unicode(), c)) == HB_DIRECTION_RTL;
}

bool startsRightToLeft(const std::u32string& text) {
    for (char32_t c : text) {
        if (isRightToLeft(c)) return true;
        if (isStrongLeftToRight(c)) return false;
    }
    return false;
}

std::vector<std::size_t> clusterStarts(const std::u32string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        const bool joined = i > 0 && (text[i - 1] == kZeroWidthJoiner || isMark(c) ||
                                      isSkinTone(c) || isInvisibleControl(c));
        if (!joined) starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

bool wantsColour(const std::u32string& text, std::size_t begin, std::size_t end) {
    if (begin >= end) return false;
    const char32_t base = text[begin];
    if (base >= 0x1F000 && base <= 0x1FAFF) return true;
    return std::find(text.begin() + std::ptrdiff_t(begin), text.begin() + std::ptrdiff_t(end),
                     kEmojiSelector) != text.begin() + std::ptrdiff_t(end);
}

#ifdef LUMCREST_HAVE_FRIBIDI

std::vector<std::uint8_t> bidiLevels(const std::u32string& text) {
    const auto n = FriBidiStrIndex(text.size());
    std::vector<std::uint8_t> out(text.size(), 0);
    if (n == 0) return out;
    const auto* chars = reinterpret_cast<const FriBidiChar*>(text.data());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size());
    fribidi_get_bidi_types(chars, n, types.data());
    fribidi_get_bracket_types(chars, n, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction,
                                            levels.data()) == 0)
        return out;
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = std::uint8_t(levels[i]);
    return out;
}

#else

// Without FriBidi (the browser build): letters of right-to-left scripts are level 1 in a
// left-to-right paragraph, and others level 2 in a right-to-left one; digits, spaces and
// punctuation between two letters of one direction take it, elsewhere the paragraph's.
std::vector<std::uint8_t> bidiLevels(const std::u32string& text) {
    enum Dir : std::int8_t { kNone = -1, kLtr = 0, kRtl = 1 };
    std::vector<Dir> dir(text.size(), kNone);
    Dir paragraph = kNone;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isRightToLeft(text[i]))
            dir[i] = kRtl;
        else if (isStrongLeftToRight(text[i]))
            dir[i] = kLtr;
        if (paragraph == kNone) paragraph = dir[i];
    }
    if (paragraph == kNone) paragraph = kLtr;
    Dir before = paragraph;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (dir[i] != kNone) {
            before = dir[i];
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && dir[j] == kNone) ++j;
        const Dir after = j < text.size() ? dir[j] : paragraph;
        for (std::size_t k = i; k < j; ++k) dir[k] = before == after ? before : paragraph;
        i = j - 1;
    }
    std::vector<std::uint8_t> out(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = paragraph == kRtl ? std::uint8_t(dir[i] == kRtl ? 1 : 2)
                                   : std::uint8_t(dir[i] == kRtl ? 1 : 0);
    return out;
}

#endif

std::vector<TextRun> visualRuns(const std::vector<std::uint8_t>& levels,
                                const std::vector<int>& faces) {
    std::vector<TextRun> runs;
    for (std::size_t i = 0; i < levels.size() && i < faces.size(); ++i) {
        if (runs.empty() || runs.back().level != levels[i] || runs.back().face != faces[i])
            runs.push_back(TextRun{i, i, levels[i], faces[i]});
        runs.back().end = i + 1;
    }
    if (runs.empty()) return runs;
    // From the highest level down to the lowest odd one, every stretch of runs at that level
    // or higher is reversed.
    std::uint8_t highest = 0, lowestOdd = 255;
    for (const TextRun& r : runs) {
        highest = std::max(highest, r.level);
        if (r.level & 1) lowestOdd = std::min(lowestOdd, r.level);
    }
    for (int level = highest; level >= int(lowestOdd) && level > 0; --level) {
        for (std::size_t i = 0; i < runs.size();) {
            if (runs[i].level < level) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < runs.size() && runs[j].level >= level) ++j;
            std::reverse(runs.begin() + std::ptrdiff_t(i), runs.begin() + std::ptrdiff_t(j));
            i = j;
        }
    }
    return runs;
}

}  // namespace tk
