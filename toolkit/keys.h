// The keys the toolkit and the game tell apart. Key handlers receive the virtual-key number the
// outside world speaks (the SDL translation, the driver's `key` command, recordings); inside,
// code compares against these names only.
#pragma once

namespace tk {

// clang-format off
enum class Key : int {
    Backspace = 8,
    Tab       = 9,
    Enter     = 13,
    Escape    = 27,
    Space     = 32,
    End       = 35,
    Home      = 36,
    Left      = 37,
    Up        = 38,
    Right     = 39,
    Down      = 40,
    Delete    = 46,
    C         = 67,
    K         = 75,
    // The keyboard's Menu key (the context-menu key beside the right Ctrl).
    Apps      = 93,
    // The keypad's digits with Num Lock on: 4 and 6 shift the bar, 5 rotates it.
    Pad4      = 100,
    Pad5      = 101,
    Pad6      = 102,
};
// clang-format on

// The virtual-key number of K, for handlers that hand a key on as the outside world gives it.
constexpr int code(Key k) {
    return static_cast<int>(k);
}

// Whether the virtual-key number VK is the key K.
constexpr bool is(int vk, Key k) {
    return vk == code(k);
}

}  // namespace tk
