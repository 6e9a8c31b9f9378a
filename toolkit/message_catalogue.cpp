#include "toolkit/message_catalogue.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tk {

namespace {

// Our catalogues hold a few hundred texts, some ten kilobytes; anything near this is no catalogue
// of ours, and reading it whole would only cost the start its time.
constexpr std::size_t kMaxBytes = 16u << 20;
constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::size_t kHeaderBytes = 28;

// The file's words, in whichever byte order its magic number says it was written.
class Words {
  public:
    Words(std::string_view bytes, bool swapped) : bytes_(bytes), swapped_(swapped) {}
    std::uint32_t at(std::uint64_t offset) const {
        std::uint32_t w;
        std::memcpy(&w, bytes_.data() + offset, 4);
        return swapped_ ? __builtin_bswap32(w) : w;
    }

  private:
    std::string_view bytes_;
    bool swapped_;
};

// The text that entry I of the table at TABLE describes: LENGTH bytes at OFFSET, which the file
// ends with a NUL. Nothing when any of it lies outside the bytes.
std::optional<std::string_view> entryText(std::string_view bytes, const Words& words,
                                          std::uint64_t table, std::uint64_t i) {
    const std::uint64_t at = table + 8 * i;
    const std::uint64_t length = words.at(at), offset = words.at(at + 4);
    if (offset + length >= bytes.size() || bytes[offset + length] != '\0') return std::nullopt;
    return bytes.substr(offset, length);
}

// A text up to its first NUL: a plural entry holds its forms one after another, and the game
// asks only for the first.
std::string firstForm(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

}  // namespace

std::optional<MessageCatalogue> MessageCatalogue::parse(std::string_view bytes, std::string& why) {
    if (bytes.size() < kHeaderBytes) {
        why = "it is too short to be a message catalogue";
        return std::nullopt;
    }
    std::uint32_t magic;
    std::memcpy(&magic, bytes.data(), 4);
    if (magic != kMagic && magic != __builtin_bswap32(kMagic)) {
        why = "it is not a message catalogue";
        return std::nullopt;
    }
    const Words words(bytes, magic != kMagic);
    if ((words.at(4) >> 16) > 1) {
        why = "its revision is unknown";
        return std::nullopt;
    }
    const std::uint64_t count = words.at(8), originals = words.at(12), translations = words.at(16);
    if (originals + 8 * count > bytes.size() || translations + 8 * count > bytes.size()) {
        why = "its tables lie outside the file";
        return std::nullopt;
    }
    MessageCatalogue catalogue;
    catalogue.texts_.reserve(std::size_t(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        std::optional<std::string_view> original = entryText(bytes, words, originals, i);
        std::optional<std::string_view> translation = entryText(bytes, words, translations, i);
        if (!original || !translation) {
            why = "its texts lie outside the file";
            return std::nullopt;
        }
        // The empty original is the catalogue's own header, not a text of the game.
        if (original->empty()) continue;
        catalogue.texts_.emplace(firstForm(*original), firstForm(*translation));
    }
    return catalogue;
}

std::optional<MessageCatalogue> MessageCatalogue::load(const std::string& path, std::string& why) {
    why.clear();
    // Without blocking: a pipe in the catalogue's place has no writer to wait for.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) why = std::strerror(errno);
        return std::nullopt;
    }
    struct stat st {};
    std::string bytes;
    if (::fstat(fd, &st) != 0) {
        why = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file";
    } else if (std::uint64_t(st.st_size) > kMaxBytes) {
        why = "it is larger than 16 MiB";
    } else {
        bytes.resize(std::size_t(st.st_size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += std::size_t(n);
        }
        // A file that shrank while it was read is as damaged as one whose tables point past it.
        if (got != bytes.size()) why = "it could not be read whole";
    }
    ::close(fd);
    if (!why.empty()) return std::nullopt;
    return parse(bytes, why);
}

const std::string* MessageCatalogue::find(const std::string& original) const {
    auto it = texts_.find(original);
    return it == texts_.end() ? nullptr : &it->second;
}

}  // namespace tk
