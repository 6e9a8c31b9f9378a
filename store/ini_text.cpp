#include "store/ini_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumcrest {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Blanks trimmed off both ends of [b, e).
void trimRange(const char*& b, const char*& e) {
    while (b < e && isBlank(*b)) ++b;
    while (e > b && isBlank(e[-1])) --e;
}

std::string lower(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// What one line holds: a section header with its name, a pair with its key and raw value, or
// anything else (blank, comment, text without "=").
struct Parsed {
    enum class Kind { Other, Section, Pair } kind = Kind::Other;
    std::string name;
    const char* valueBegin = nullptr;
    const char* valueEnd = nullptr;
};

Parsed classify(const char* b, const char* e, bool wantName = true) {
    Parsed p;
    trimRange(b, e);
    if (b == e || *b == ';') return p;
    if (*b == '[') {
        const char* close = std::find(b, e, ']');
        if (close != e) {
            p.kind = Parsed::Kind::Section;
            const char* nb = b + 1;
            const char* ne = close;
            trimRange(nb, ne);
            if (wantName) p.name.assign(nb, ne);
        }
        return p;
    }
    const char* eq = std::find(b, e, '=');
    if (eq == e) return p;
    const char* kb = b;
    const char* ke = eq;
    trimRange(kb, ke);
    if (kb == ke) return p;
    p.kind = Parsed::Kind::Pair;
    p.name.assign(kb, ke);
    p.valueBegin = eq + 1;
    p.valueEnd = e;
    trimRange(p.valueBegin, p.valueEnd);
    return p;
}

// The key of a pair line, blanks trimmed; false for every other line.
bool pairKey(const char* b, const char* e, const char*& kb, const char*& ke) {
    trimRange(b, e);
    if (b == e || *b == ';' || *b == '[') return false;
    const char* eq = std::find(b, e, '=');
    if (eq == e) return false;
    kb = b;
    ke = eq;
    trimRange(kb, ke);
    return kb != ke;
}

std::uint64_t keyHash(const char* b, const char* e) {
    std::uint64_t h = 1469598103934665603ull;
    for (; b < e; ++b) {
        h ^= std::uint64_t(std::tolower(static_cast<unsigned char>(*b)));
        h *= 1099511628211ull;
    }
    return h;
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

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

IniDocument::IniDocument(std::string text) : source_(std::move(text)) {
    if (source_.find("\r\n") != std::string::npos) eol_ = "\r\n";
    // Lines end at CR LF, LF or CR; a last line without an end counts when it is not empty.
    const char* data = source_.data();
    const std::size_t n = source_.size();
    std::size_t start = 0;
    auto add = [&](std::size_t begin, std::size_t size) {
        Line l;
        l.begin = begin;
        l.size = size;
        int at = int(lines_.size());
        lines_.push_back(l);
        if (tail_ >= 0)
            lines_[tail_].next = at;
        else
            head_ = at;
        tail_ = at;
        // Only section headers are looked at now; pairs when their section is first asked for.
        const char* b = data + begin;
        const char* e = b + size;
        while (b < e && isBlank(*b)) ++b;
        if (b < e && *b == '[') {
            Parsed p = classify(data + begin, e);
            if (p.kind == Parsed::Kind::Section) {
                std::string key = lower(p.name);
                if (!sectionByName_.count(key)) {
                    Section s;
                    s.header = s.last = at;
                    sectionByName_.emplace(std::move(key), int(sections_.size()));
                    sections_.push_back(std::move(s));
                }
                headers_.push_back(at);
            }
        }
    };
    lines_.reserve(std::size_t(std::count(data, data + n, '\n')) + 1);
    if (std::memchr(data, '\r', n) == nullptr) {
        // The usual file: line feeds only, found by the library's fast search.
        while (start < n) {
            const char* nl = static_cast<const char*>(std::memchr(data + start, '\n', n - start));
            std::size_t end = nl ? std::size_t(nl - data) : n;
            add(start, end - start);
            start = end + 1;
        }
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        char c = data[i];
        if (c != '\r' && c != '\n') continue;
        add(start, i - start);
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) add(start, n - start);
}

std::string IniDocument::lineText(const Line& l) const {
    if (l.owned >= 0) return owned_[std::size_t(l.owned)];
    return source_.substr(l.begin, l.size);
}

bool IniDocument::isHeader(int line) const {
    return std::binary_search(headers_.begin(), headers_.end(), line);
}

IniDocument::Section& IniDocument::indexed(Section& s) const {
    if (s.indexed) return s;
    s.indexed = true;
    for (int at = lines_[std::size_t(s.header)].next; at >= 0 && !isHeader(at);
         at = lines_[std::size_t(at)].next) {
        const Line& l = lines_[std::size_t(at)];
        const char* b;
        const char* e;
        if (l.owned >= 0) {
            b = owned_[std::size_t(l.owned)].data();
            e = b + owned_[std::size_t(l.owned)].size();
        } else {
            b = source_.data() + l.begin;
            e = b + l.size;
        }
        const char* tb = b;
        const char* te = e;
        trimRange(tb, te);
        if (tb == te) continue;
        s.last = at;
        const char* kb;
        const char* ke;
        if (pairKey(b, e, kb, ke)) s.byHash.emplace_back(keyHash(kb, ke), at);
    }
    // Lines of one hash stay in file order, so the first of equal keys is found first.
    std::stable_sort(s.byHash.begin(), s.byHash.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    return s;
}

int IniDocument::findKey(const Section& s, const std::string& lowerKey) const {
    std::uint64_t h = keyHash(lowerKey.data(), lowerKey.data() + lowerKey.size());
    auto it = std::lower_bound(s.byHash.begin(), s.byHash.end(), h,
                               [](const auto& x, std::uint64_t v) { return x.first < v; });
    for (; it != s.byHash.end() && it->first == h; ++it) {
        std::string text = lineText(lines_[std::size_t(it->second)]);
        const char* kb;
        const char* ke;
        if (pairKey(text.data(), text.data() + text.size(), kb, ke) &&
            lower(std::string(kb, ke)) == lowerKey)
            return it->second;
    }
    auto added = s.added.find(lowerKey);
    return added == s.added.end() ? -1 : added->second;
}

std::optional<std::string> IniDocument::lookUp(const std::string& section,
                                               const std::string& key) const {
    auto sec = sectionByName_.find(lower(section));
    if (sec == sectionByName_.end()) return std::nullopt;
    Section& s = indexed(sections_[std::size_t(sec->second)]);
    int at = findKey(s, lower(key));
    if (at < 0) return std::nullopt;
    std::string text = lineText(lines_[std::size_t(at)]);
    Parsed p = classify(text.data(), text.data() + text.size());
    return unquote(std::string(p.valueBegin, p.valueEnd));
}

int IniDocument::addLine(std::string text) {
    Line l;
    l.owned = int(owned_.size());
    owned_.push_back(std::move(text));
    lines_.push_back(l);
    return int(lines_.size()) - 1;
}

void IniDocument::insertAfter(int at, int line) {
    if (at < 0) {
        // At the end of the text.
        if (tail_ >= 0)
            lines_[std::size_t(tail_)].next = line;
        else
            head_ = line;
        tail_ = line;
        return;
    }
    lines_[std::size_t(line)].next = lines_[std::size_t(at)].next;
    lines_[std::size_t(at)].next = line;
    if (tail_ == at) tail_ = line;
}

void IniDocument::store(const std::string& section, const std::string& key,
                        const std::string& value) {
    std::string pair = key + "=" + quoteIfNeeded(value);
    std::string sectionName = lower(section);
    auto sec = sectionByName_.find(sectionName);
    if (sec == sectionByName_.end()) {
        int header = addLine("[" + section + "]");
        insertAfter(-1, header);
        headers_.push_back(header);  // new lines come last: the list stays sorted
        int line = addLine(std::move(pair));
        insertAfter(header, line);
        Section s;
        s.header = header;
        s.last = line;
        s.indexed = true;
        s.added.emplace(lower(key), line);
        sectionByName_.emplace(std::move(sectionName), int(sections_.size()));
        sections_.push_back(std::move(s));
        return;
    }
    Section& s = indexed(sections_[std::size_t(sec->second)]);
    std::string keyName = lower(key);
    int at = findKey(s, keyName);
    if (at >= 0) {
        Line& l = lines_[std::size_t(at)];
        if (l.owned >= 0) {
            owned_[std::size_t(l.owned)] = std::move(pair);
        } else {
            l.owned = int(owned_.size());
            owned_.push_back(std::move(pair));
        }
        return;
    }
    int line = addLine(std::move(pair));
    insertAfter(s.last, line);
    s.last = line;
    s.added.emplace(std::move(keyName), line);
}

std::string IniDocument::text() const {
    std::string out;
    out.reserve(source_.size() + 64 * owned_.size() + 16);
    for (int at = head_; at >= 0; at = lines_[std::size_t(at)].next) {
        const Line& l = lines_[std::size_t(at)];
        if (l.owned >= 0)
            out += owned_[std::size_t(l.owned)];
        else
            out.append(source_, l.begin, l.size);
        out += eol_;
    }
    return out;
}

std::optional<std::string> iniLookUp(const std::string& text, const std::string& section,
                                     const std::string& key) {
    return IniDocument(text).lookUp(section, key);
}

std::string iniStore(const std::string& text, const std::string& section, const std::string& key,
                     const std::string& value) {
    IniDocument doc(text);
    doc.store(section, key, value);
    return doc.text();
}

std::string decodeIniBytes(std::string bytes) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return bytes.substr(3);
    bool little = bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE;
    bool big = bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF;
    if (!little && !big) return bytes;
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) -> std::uint32_t {
        return little ? byte(i) | (byte(i + 1) << 8) : (byte(i) << 8) | byte(i + 1);
    };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        std::uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        // A surrogate without its other half cannot be written in UTF-8.
        appendUtf8(out, (u >= 0xD800 && u < 0xE000) ? 0xFFFD : u);
    }
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
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        v = v * base + d;
        if (v > 0x80000000LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return int(v);
}

}  // namespace lumcrest
