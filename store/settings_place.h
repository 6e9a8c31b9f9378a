// Whether the settings file's folder is the player's own: a folder that other users may write to
// (the system's /tmp, a home that is such a folder) is no place for it, since another user could
// put a folder or a link of theirs where the game would make its own.
#pragma once

#include <optional>
#include <string>

namespace lumcrest {

// Why the settings file at PATH may not be kept there, in words for the player; nothing when the
// place is the player's. Along the path, every folder that exists and every link is looked at:
// anything inside a folder that all users may write to must be the player's own and be no link,
// and a folder the game would create there is refused. A link owned by another user (not the
// system's) is refused anywhere.
std::optional<std::string> sharedPlaceObjection(const std::string& path);

}  // namespace lumcrest
