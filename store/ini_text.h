// The INI text format of the settings file, without any file access: parsing a value out of the
// text and putting a new value into it, keeping every other line as it was.
#pragma once

#include <optional>
#include <string>

namespace lumcrest {

// The value of KEY in SECTION (names match without regard to case; blanks around names and values
// are ignored; one pair of double or single quotes around a value is removed; the first matching
// section and key win); nothing when there is none.
std::optional<std::string> iniLookUp(const std::string& text, const std::string& section,
                                     const std::string& key);

// TEXT with KEY of SECTION set to VALUE: an existing value is replaced in place, a new key goes at
// the end of its section, a new section at the end of the text. A value that would not read back
// exactly as it is (blanks at its ends, quotes around it) is written in double quotes.
std::string iniStore(const std::string& text, const std::string& section, const std::string& key,
                     const std::string& value);

// The integer encoding: decimal with one optional sign after leading blanks, or hexadecimal after
// "$", "x", "X", "0x" or "0X" (no sign); nothing for any other text or a value outside 32 bits.
std::optional<int> parseIniInteger(const std::string& text);

}  // namespace lumcrest
