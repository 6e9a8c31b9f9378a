// A compiled message catalogue (a gettext ".mo" file), read whole and checked before any text of
// it is used. The game reads its catalogues itself rather than through the C library's gettext,
// which trusts the file's tables: a damaged catalogue there crashes at the first look-up, and a
// pipe in its place hangs the start.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tk {

class MessageCatalogue {
  public:
    // The catalogue in BYTES, or nothing with the reason in WHY (in English, for a log line):
    // a bad magic number or revision, or a table or text that lies outside the bytes.
    static std::optional<MessageCatalogue> parse(std::string_view bytes, std::string& why);
    // The catalogue in the file PATH. Nothing when the file is missing (WHY stays empty), or when
    // it cannot be used (WHY says why): not a regular file, unreadable, too large, or damaged.
    static std::optional<MessageCatalogue> load(const std::string& path, std::string& why);

    // The translation of ORIGINAL, or nothing when the catalogue has none.
    const std::string* find(const std::string& original) const;
    std::size_t size() const { return texts_.size(); }

  private:
    std::unordered_map<std::string, std::string> texts_;
};

}  // namespace tk
