// Any text as a settings file: lookups, stores and integer parsing never crash or hang, and a
// stored value always reads back exactly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    // The first line names a section and a key to look up and to write; the rest is the file.
    std::size_t eol = text.find('\n');
    std::string head = eol == std::string::npos ? text : text.substr(0, eol);
    std::string body = eol == std::string::npos ? std::string() : text.substr(eol + 1);
    std::size_t split = head.find('/');
    std::string section = head.substr(0, split == std::string::npos ? head.size() : split);
    std::string key = split == std::string::npos ? "Score" : head.substr(split + 1);

    // Bytes from other editors decode to text without crashing.
    lumcrest::decodeIniBytes(body);
    auto value = lumcrest::iniLookUp(body, section, key);
    if (value) lumcrest::parseIniInteger(*value);
    lumcrest::parseIniInteger(head);

    // Names that the file format can hold read back what was stored.
    bool plainNames = !section.empty() && !key.empty() &&
                      section.find_first_of("[]\r\n") == std::string::npos &&
                      key.find_first_of("=[;\r\n") == std::string::npos &&
                      section.find_first_not_of(" \t") != std::string::npos &&
                      key.find_first_not_of(" \t") != std::string::npos && section.front() != ' ' &&
                      section.back() != ' ' && key.front() != ' ' && key.back() != ' ' &&
                      section.front() != '\t' && section.back() != '\t' && key.front() != '\t' &&
                      key.back() != '\t' && key.front() != ';';
    if (plainNames) {
        std::string stored = body;
        std::string newValue = value.value_or("") + "x y";
        stored = lumcrest::iniStore(stored, section, key, newValue);
        auto back = lumcrest::iniLookUp(stored, section, key);
        if (!back || *back != newValue) __builtin_trap();
        // One document with two stores reads back like two separate stores.
        lumcrest::IniDocument doc(body);
        doc.store(section, key, "1");
        doc.store(section, key + "2", "2");
        std::string twice = lumcrest::iniStore(lumcrest::iniStore(body, section, key, "1"), section,
                                               key + "2", "2");
        if (doc.text() != twice) __builtin_trap();
    }
    return 0;
}
