// Keys by the names the desktop gives them (the X keysym names: "A", "Left", "KP_4", "space",
// "Escape", "Menu"), as a player writes them in the settings file, and back.
#pragma once

#include <string>
#include <string_view>

namespace tk {

// The virtual-key number of the key NAME, 0 when no key is so named. Letters are read in either
// case; a few other spellings the desktop also knows ("Page_Up", "KP_Enter") are understood.
int keyFromName(std::string_view name);

// The desktop's name of the virtual-key number VK ("Left", "KP_4", "A"); empty for a key that
// has none.
std::string keyName(int vk);

}  // namespace tk
