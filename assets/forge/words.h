#pragma once
// The words painted into the pictures, in the language the picture is drawn for, and the
// measuring that keeps every word inside its button, plinth or page.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "assets/forge/canvas.h"

// Marks English text for translation where it is defined; tr() translates it where it is drawn.
#define N_(text) text

namespace forge {

// English text -> its translation, read from one po/LANG.po file.
using Catalogue = std::map<std::string, std::string>;
// Reads the translated entries of a PO file (fuzzy and empty ones are left out). Throws
// std::runtime_error when the file cannot be read.
Catalogue readCatalogue(const std::string& path);

// The pictures this thread draws now are for LANG ("" English) with the words of WORDS.
void useWords(const std::string& lang, const Catalogue* words);
const std::string& wordsLanguage();
// ENGLISH in the language of the pictures being drawn (English when there is no translation).
std::string tr(const char* english);
// The family that draws FAMILY's text in the language of the pictures: FAMILY when it has every
// letter of the language, else DejaVu Serif, which has them (Cyrillic among them).
std::string faceFor(const char* family);

// FONT, shrunk when needed (down to 60 % of its size) so that S is at most MAXWIDTH wide.
// Text that does not fit even then is recorded as an overflow of WHERE.
Font fitFont(cairo_t* cr, Font font, std::string_view s, double maxWidth, const char* where);
// FONT, shrunk when needed (down to 60 %) so that S wraps to WIDTH in at most MAXLINES lines;
// text that needs more lines even then is recorded as an overflow of WHERE.
Font fitLines(cairo_t* cr, Font font, std::string_view s, double width, int maxLines,
              const char* where);
// A paragraph wrapped to WIDTH in at most MAXLINES lines, shrinking the font as needed;
// text that needs more lines even at 60 % is recorded as an overflow. Returns the next baseline.
double fittedParagraph(cairo_t* cr, Font font, std::string_view s, double x, double y, double width,
                       double lineHeight, Rgb color, int maxLines, const char* where);
// How many lines S takes when wrapped to WIDTH.
int lineCount(cairo_t* cr, const Font& font, std::string_view s, double width);

// Every measured text so far: "LANG WHERE fits|shrunk|OVERFLOW width/limit TEXT", one per line
// (a paragraph gives its lines and the most it may take).
std::vector<std::string> fitReport();

}  // namespace forge
