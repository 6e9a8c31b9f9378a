#include "store/settings_place.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "toolkit/i18n.h"

namespace lumcrest {

namespace fs = std::filesystem;

namespace {

bool mine(const struct stat& st) {
    return st.st_uid == ::geteuid();
}

std::string sharedFolder(const fs::path& folder) {
    return tk::tr("%s is a folder that other users may write to", folder.string());
}

}  // namespace

std::optional<std::string> sharedPlaceObjection(const std::string& path) {
    std::error_code ec;
    const fs::path folder = fs::absolute(path, ec).lexically_normal().parent_path();
    fs::path at = folder.root_path();
    bool parentShared = false;
    for (const fs::path& part : folder.relative_path()) {
        if (part.empty()) continue;
        const fs::path parent = at;
        at /= part;
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0) {
            // The game would make this folder: not where anyone may put their own first.
            if (parentShared) return sharedFolder(parent);
            return std::nullopt;
        }
        if (S_ISLNK(st.st_mode) && !mine(st) && st.st_uid != 0)
            return tk::tr("%s is a link of another user", at.string());
        // In a folder everyone may write to, only the player and the system may own what stands.
        if (parentShared && ((!mine(st) && st.st_uid != 0) || S_ISLNK(st.st_mode)))
            return sharedFolder(parent);
        struct stat target {};
        if (::stat(at.c_str(), &target) != 0) return std::nullopt;  // the write will say why
        parentShared = S_ISDIR(target.st_mode) && (target.st_mode & S_IWOTH) != 0;
    }
    // The file itself goes into a folder anyone may write to: another user's file or link may
    // already stand at its name.
    if (parentShared) return sharedFolder(folder);
    return std::nullopt;
}

}  // namespace lumcrest
