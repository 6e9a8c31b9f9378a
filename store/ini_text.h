// The INI text format of the settings file, without any file access: parsing a value out of the
// text and putting a new value into it, keeping every other line as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace lumcrest {

// The text of a settings file parsed once: look-ups and stores cost about the same for a file of
// fifty megabytes as for one of a kilobyte (after the one pass that finds the sections).
// Names match without regard to case; blanks around names and values are ignored; one pair of
// double or single quotes around a value is removed; the first section of a name and the first
// key in it win.
class IniDocument {
  public:
    explicit IniDocument(std::string text = {});

    std::optional<std::string> lookUp(const std::string& section, const std::string& key) const;
    // Sets KEY of SECTION to VALUE: an existing value is replaced in place, a new key goes after
    // the last line of its section, a new section at the end of the text. A value that would not
    // read back exactly as it is (blanks at its ends, quotes around it) is written in double
    // quotes.
    void store(const std::string& section, const std::string& key, const std::string& value);
    // The whole text, every line ended by the file's line end (CR LF when the file used it).
    std::string text() const;

  private:
    struct Line {
        std::size_t begin = 0, size = 0;  // in source_, unless owned >= 0
        int owned = -1;                   // index in owned_
        int next = -1;                    // the line after this one
    };
    struct Section {
        int header = -1;  // the line of its first "[name]"
        int last = -1;    // its last line that is not blank
        bool indexed = false;
        // The section's pairs by a hash of their lower-case key, in file order within one hash:
        // no string is made for a key until it is asked for.
        std::vector<std::pair<std::uint64_t, int>> byHash;
        std::unordered_map<std::string, int> added;  // keys stored since, lower-case
    };
    int findKey(const Section& s, const std::string& lowerKey) const;
    std::string lineText(const Line& l) const;
    int addLine(std::string text);
    void insertAfter(int at, int line);
    Section& indexed(Section& s) const;
    bool isHeader(int line) const;

    std::string source_;
    std::vector<std::string> owned_;
    mutable std::vector<Line> lines_;
    int head_ = -1, tail_ = -1;
    std::string eol_ = "\n";
    mutable std::vector<Section> sections_;
    std::unordered_map<std::string, int> sectionByName_;  // lower-case name -> index
    std::vector<int> headers_;                            // every section line, in order
};

// One look-up or one store on a whole text (for a single key; a batch keeps an IniDocument).
std::optional<std::string> iniLookUp(const std::string& text, const std::string& section,
                                     const std::string& key);
std::string iniStore(const std::string& text, const std::string& section, const std::string& key,
                     const std::string& value);

// The integer encoding: decimal with one optional sign after leading blanks, or hexadecimal after
// "$", "x", "X", "0x" or "0X" (no sign); nothing for any other text or a value outside 32 bits.
std::optional<int> parseIniInteger(const std::string& text);

// The bytes of a settings file as text: a UTF-8 byte-order mark is dropped, UTF-16 with a
// byte-order mark (either order) becomes UTF-8; anything else is taken as it is.
std::string decodeIniBytes(std::string bytes);

}  // namespace lumcrest
