#include "assets/forge/words.h"

#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace forge {

namespace {

thread_local std::string tLang;
thread_local const Catalogue* tWords = nullptr;

std::mutex reportMutex;
std::vector<std::string> report;

std::string unquote(const std::string& line) {
    const std::size_t a = line.find('"'), b = line.rfind('"');
    if (a == std::string::npos || b <= a) return {};
    std::string out;
    for (std::size_t i = a + 1; i < b; ++i) {
        if (line[i] == '\\' && i + 1 < b) {
            const char c = line[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += line[i];
        }
    }
    return out;
}

void note(const std::string& where, bool fits, double size, double full, double width, double limit,
          std::string_view s) {
    const bool shrunk = size < full;
    char buf[96];
    std::snprintf(buf, sizeof buf, " %.1f/%.1f at %.1f/%.1f px ", width, limit, size, full);
    std::lock_guard lock(reportMutex);
    report.push_back((tLang.empty() ? std::string("en") : tLang) + " " + where +
                     (!fits    ? " OVERFLOW"
                      : shrunk ? " shrunk"
                               : " fits") +
                     buf + std::string(s));
}

// Whether fontconfig's face of FAMILY has every letter of TEXT.
bool covers(const std::string& family, const std::string& text) {
    static std::mutex m;
    static std::map<std::pair<std::string, std::string>, bool> known;
    std::lock_guard lock(m);
    auto key = std::make_pair(family, text);
    if (auto it = known.find(key); it != known.end()) return it->second;
    bool ok = false;
    if (FcInit()) {
        FcPattern* pat = FcPatternCreate();
        FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pat, &result);
        FcCharSet* has = nullptr;
        FcChar8* name = nullptr;
        if (match && FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch &&
            FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch &&
            family == reinterpret_cast<const char*>(name)) {
            ok = true;
            const auto* p = reinterpret_cast<const FcChar8*>(text.data());
            int left = int(text.size());
            while (left > 0 && ok) {
                FcChar32 c = 0;
                const int n = FcUtf8ToUcs4(p, &c, left);
                if (n <= 0) break;
                if (c > 32 && !FcCharSetHasChar(has, c)) ok = false;
                p += n;
                left -= n;
            }
        }
        if (match) FcPatternDestroy(match);
        FcPatternDestroy(pat);
    }
    known[key] = ok;
    return ok;
}

}  // namespace

Catalogue readCatalogue(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    Catalogue cat;
    std::string line, id, str, *into = nullptr;
    bool fuzzy = false;
    auto flush = [&] {
        if (!id.empty() && !str.empty() && !fuzzy) cat[id] = str;
        id.clear();
        str.clear();
        into = nullptr;
        fuzzy = false;
    };
    while (std::getline(in, line)) {
        if (line.rfind("#,", 0) == 0 && line.find("fuzzy") != std::string::npos) {
            flush();
            fuzzy = true;
        } else if (line.rfind("msgid ", 0) == 0) {
            const bool keepFuzzy = fuzzy;
            flush();
            fuzzy = keepFuzzy;
            id = unquote(line);
            into = &id;
        } else if (line.rfind("msgstr ", 0) == 0) {
            str = unquote(line);
            into = &str;
        } else if (!line.empty() && line[0] == '"' && into) {
            *into += unquote(line);
        } else if (line.empty()) {
            flush();
        }
    }
    flush();
    return cat;
}

void useWords(const std::string& lang, const Catalogue* words) {
    tLang = lang;
    tWords = words;
}

const std::string& wordsLanguage() {
    return tLang;
}

std::string tr(const char* english) {
    if (tWords) {
        auto it = tWords->find(english);
        if (it != tWords->end()) return it->second;
    }
    return english;
}

std::string faceFor(const char* family) {
    if (!tWords || tLang.empty()) return family;
    // The language's letters: every word of its catalogue.
    static std::mutex m;
    static std::map<std::string, std::string> letters;
    std::string sample;
    {
        std::lock_guard lock(m);
        auto it = letters.find(tLang);
        if (it == letters.end()) {
            std::string all;
            for (const auto& [en, text] : *tWords) all += text;
            // Each letter once keeps the coverage test short.
            std::string once;
            const auto* p = reinterpret_cast<const FcChar8*>(all.data());
            int left = int(all.size());
            std::map<FcChar32, bool> seen;
            while (left > 0) {
                FcChar32 c = 0;
                const int n = FcUtf8ToUcs4(p, &c, left);
                if (n <= 0) break;
                if (!seen[c]) {
                    seen[c] = true;
                    once.append(reinterpret_cast<const char*>(p), n);
                }
                p += n;
                left -= n;
            }
            it = letters.emplace(tLang, once).first;
        }
        sample = it->second;
    }
    if (covers(family, sample)) return family;
    return "DejaVu Serif";
}

Font fitFont(cairo_t* cr, Font font, std::string_view s, double maxWidth, const char* where) {
    const double full = font.size;
    double width = textWidth(cr, font, s);
    while (width > maxWidth && font.size > full * 0.6) {
        font.size = std::max(full * 0.6, font.size - 0.5);
        width = textWidth(cr, font, s);
    }
    note(where, width <= maxWidth, font.size, full, width, maxWidth, s);
    return font;
}

int lineCount(cairo_t* cr, const Font& font, std::string_view s, double width) {
    int lines = 0;
    std::string line;
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t end = s.find(' ', pos);
        if (end == std::string_view::npos) end = s.size();
        const std::string word(s.substr(pos, end - pos));
        pos = end + 1;
        if (word.empty()) continue;
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && textWidth(cr, font, candidate) > width) {
            ++lines;
            line = word;
        } else {
            line = candidate;
        }
        // A single word wider than the line counts as an overflow line of its own.
        if (textWidth(cr, font, line) > width) lines += 1000;
    }
    if (!line.empty()) ++lines;
    return lines;
}

Font fitLines(cairo_t* cr, Font font, std::string_view s, double width, int maxLines,
              const char* where) {
    const double full = font.size;
    int lines = lineCount(cr, font, s, width);
    while (lines > maxLines && font.size > full * 0.6) {
        font.size = std::max(full * 0.6, font.size - 0.5);
        lines = lineCount(cr, font, s, width);
    }
    note(where, lines <= maxLines, font.size, full, lines, maxLines, s);
    return font;
}

double fittedParagraph(cairo_t* cr, Font font, std::string_view s, double x, double y, double width,
                       double lineHeight, Rgb color, int maxLines, const char* where) {
    const Font fitted = fitLines(cr, font, s, width, maxLines, where);
    return paragraph(cr, fitted, s, x, y, width, lineHeight * fitted.size / font.size, color);
}

std::vector<std::string> fitReport() {
    std::lock_guard lock(reportMutex);
    return report;
}

}  // namespace forge
