// A line of text cut into the pieces it is drawn in: the characters that stay together
// (a letter with its accents, an emoji with its joiners and modifiers), their writing direction
// (right to left for Hebrew and Arabic), and the runs of one face and one direction in the order
// they are drawn from left to right.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tk {

// The code points of UTF-8 TEXT (a broken sequence counts as one U+FFFD).
std::u32string decodeUtf8(const std::string& text);

// Characters that draw nothing of their own (joiners, variation selectors, direction marks):
// no face needs to have them.
bool isInvisibleControl(char32_t c);
// Whether C is written right to left (Hebrew, Arabic, ...).
bool isRightToLeft(char32_t c);

// The first code point of each cluster of TEXT: a base with the marks, variation selectors,
// skin-tone modifiers and zero-width-joined characters that follow it. Ends with TEXT's size.
std::vector<std::size_t> clusterStarts(const std::u32string& text);
// Whether the cluster of TEXT from BEGIN to END asks for a colour emoji: a pictograph of the
// emoji planes, or any character followed by the emoji variation selector.
bool wantsColour(const std::u32string& text, std::size_t begin, std::size_t end);

// Whether TEXT reads right to left as a whole: its first strong letter is Hebrew, Arabic, ...
bool startsRightToLeft(const std::u32string& text);

// The embedding level of each code point (even: left to right, odd: right to left), the
// paragraph's direction taken from its first strong letter.
std::vector<std::uint8_t> bidiLevels(const std::u32string& text);

struct TextRun {
    std::size_t begin = 0, end = 0;  // code points of the text
    std::uint8_t level = 0;
    int face = 0;
    bool rightToLeft() const { return level & 1; }
};
// The runs of equal level and face, in the order they are drawn from left to right.
std::vector<TextRun> visualRuns(const std::vector<std::uint8_t>& levels,
                                const std::vector<int>& faces);

}  // namespace tk
