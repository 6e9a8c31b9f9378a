#include "profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ini_text.h"
#include "toolkit/error.h"

namespace lumcrest {

namespace {

constexpr std::size_t kMaxString = 2047;

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Writes TEXT to a new file beside PATH, flushes it to disk and renames it over PATH, so that a
// crash at any moment leaves either the old file or the new one whole.
bool replaceFile(const std::string& path, const std::string& text) {
    namespace fs = std::filesystem;
    fs::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    std::string temp = path + ".new-" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const char* p = text.data();
    std::size_t left = text.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= std::size_t(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace

std::string Profile::currentText() const {
    if (batching_) return pending_;
    return reading_ ? read_ : readWhole(path_);
}

Profile::Reading::Reading(Profile& p) : profile_(p) {
    profile_.read_ = readWhole(profile_.path_);
    profile_.reading_ = true;
}

Profile::Reading::~Reading() {
    profile_.reading_ = false;
    profile_.read_.clear();
}

std::string Profile::readString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    auto v = iniLookUp(currentText(), section, key);
    if (!v) return def;
    if (v->size() > kMaxString) v->resize(kMaxString);
    return *v;
}

int Profile::readInteger(const std::string& section, const std::string& key, int def) const {
    auto v = iniLookUp(currentText(), section, key);
    if (!v) return def;
    return parseIniInteger(*v).value_or(def);
}

bool Profile::readBool(const std::string& section, const std::string& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void Profile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    if (batching_) {
        pending_ = iniStore(pending_, section, key, value);
        return;
    }
    std::string text = iniStore(readWhole(path_), section, key, value);
    if (!replaceFile(path_, text)) throw tk::Error(tk::tr("Unable to write to %s", path_));
    if (reading_) read_ = std::move(text);
}

void Profile::writeInteger(const std::string& section, const std::string& key, int value) {
    writeString(section, key, std::to_string(value));
}

void Profile::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void Profile::beginBatch() {
    pending_ = readWhole(path_);
    batching_ = true;
}

void Profile::commitBatch() {
    batching_ = false;
    std::string text;
    text.swap(pending_);
    if (!replaceFile(path_, text)) throw tk::Error(tk::tr("Unable to write to %s", path_));
    if (reading_) read_ = std::move(text);
}

void Profile::abandonBatch() {
    batching_ = false;
    pending_.clear();
}

}  // namespace lumcrest
