#include "ini_text.h"

#include <cctype>
#include <cstdint>
#include <vector>

namespace lumcrest {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trim(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && isBlank(s[a])) ++a;
    while (b > a && isBlank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

struct Line {
    std::string text;
    enum class Kind { Other, Section, Pair } kind = Kind::Other;
    std::string name;   // section name or key
    std::string value;  // raw value, blanks trimmed
};

// Splits TEXT at CR LF, LF or CR.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

Line classify(const std::string& text) {
    Line l;
    l.text = text;
    std::string t = trim(text);
    if (t.empty() || t[0] == ';') return l;
    if (t[0] == '[') {
        std::size_t close = t.find(']');
        if (close != std::string::npos) {
            l.kind = Line::Kind::Section;
            l.name = trim(t.substr(1, close - 1));
        }
        return l;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string::npos) return l;
    std::string key = trim(t.substr(0, eq));
    if (key.empty()) return l;
    l.kind = Line::Kind::Pair;
    l.name = key;
    l.value = trim(t.substr(eq + 1));
    return l;
}

std::string unquote(const std::string& v) {
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        return v.substr(1, v.size() - 2);
    return v;
}

std::string quoteIfNeeded(std::string v) {
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    bool edgeBlank = !v.empty() && (isBlank(v.front()) || isBlank(v.back()));
    bool quoted = v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0];
    return (edgeBlank || quoted) ? "\"" + v + "\"" : v;
}

}  // namespace

std::optional<std::string> iniLookUp(const std::string& text, const std::string& section,
                                     const std::string& key) {
    bool inSection = false, seenSection = false;
    for (const std::string& raw : splitLines(text)) {
        Line l = classify(raw);
        if (l.kind == Line::Kind::Section) {
            // Only the first section of that name counts.
            if (inSection) return std::nullopt;
            inSection = !seenSection && sameName(l.name, section);
            seenSection = seenSection || inSection;
        } else if (inSection && l.kind == Line::Kind::Pair && sameName(l.name, key)) {
            return unquote(l.value);
        }
    }
    return std::nullopt;
}

std::string iniStore(const std::string& text, const std::string& section, const std::string& key,
                     const std::string& value) {
    std::vector<std::string> lines = splitLines(text);
    std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::string pair = key + "=" + quoteIfNeeded(value);
    int sectionAt = -1, lastInSection = -1;
    for (int i = 0; i < int(lines.size()); ++i) {
        Line l = classify(lines[i]);
        if (l.kind == Line::Kind::Section) {
            if (sectionAt >= 0) break;
            if (sameName(l.name, section)) sectionAt = lastInSection = i;
        } else if (sectionAt >= 0) {
            if (l.kind == Line::Kind::Pair && sameName(l.name, key)) {
                lines[i] = pair;
                sectionAt = -2;  // replaced
                break;
            }
            if (!trim(lines[i]).empty()) lastInSection = i;
        }
    }
    if (sectionAt >= 0) {
        lines.insert(lines.begin() + lastInSection + 1, pair);
    } else if (sectionAt == -1) {
        lines.push_back("[" + section + "]");
        lines.push_back(pair);
    }
    std::string out;
    for (const std::string& l : lines) out += l + eol;
    return out;
}

std::optional<int> parseIniInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    std::string s = text.substr(i);
    if (s.empty()) return std::nullopt;
    std::size_t digits = 0;
    int base = 10;
    bool negative = false;
    if (s[0] == '$' || s[0] == 'x' || s[0] == 'X') {
        base = 16;
        digits = 1;
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        digits = 2;
    } else if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        digits = 1;
    }
    if (digits >= s.size()) return std::nullopt;
    std::int64_t v = 0;
    for (std::size_t k = digits; k < s.size(); ++k) {
        int d;
        char c = s[k];
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        v = v * base + d;
        if (v > 0x80000000LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return int(v);
}

}  // namespace lumcrest
