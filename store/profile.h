// The settings file: six operations on a section and a key. Every call reads or writes the file
// at once; there is no copy in memory.
#pragma once

#include <string>

namespace lumcrest {

class Profile {
public:
    explicit Profile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // Reads never fail: a missing file, section or key, or an unreadable value, gives DEFAULT.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    int readInteger(const std::string& section, const std::string& key, int def) const;
    bool readBool(const std::string& section, const std::string& key, bool def) const;

    // Writes create the file, section and key as needed. A refused write throws tk::Error
    // "Unable to write to PATH".
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);
    void writeBool(const std::string& section, const std::string& key, bool value);

    // While a Reading lives, reads take the file's text as it was when the Reading began
    // (start-up reads about 120 keys; one read of the file serves them all). Writes still go to
    // the file at once and are seen by later reads.
    class Reading {
    public:
        explicit Reading(Profile& p);
        ~Reading();
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

    private:
        Profile& profile_;
    };

    // Writes between beginBatch and commitBatch reach the file together, in one crash-safe
    // replacement (the saved game's 102 keys); reads in between see them.
    void beginBatch();
    void commitBatch();
    void abandonBatch();

private:
    std::string currentText() const;
    std::string path_;
    bool batching_ = false;
    std::string pending_;
    bool reading_ = false;
    std::string read_;  // the text a Reading took
};

}  // namespace lumcrest
