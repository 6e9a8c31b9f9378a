#include "profile.h"

// Until the file itself is read and written, every read gives its default and writes keep
// nothing.

namespace lumcrest {

std::string Profile::readString(const std::string&, const std::string&,
                                const std::string& def) const {
    return def;
}

int Profile::readInteger(const std::string&, const std::string&, int def) const { return def; }

bool Profile::readBool(const std::string& section, const std::string& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void Profile::writeString(const std::string&, const std::string&, const std::string&) {}

void Profile::writeInteger(const std::string& section, const std::string& key, int value) {
    writeString(section, key, std::to_string(value));
}

void Profile::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

}  // namespace lumcrest
