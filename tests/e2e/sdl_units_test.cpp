// The pure parts of the SDL backend: key codes, how long the loop sleeps, and the beep's tone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "toolkit/sdl/beep_tone.h"
#include "toolkit/sdl/key_codes.h"
#include "toolkit/sdl/loop_timing.h"

namespace {

using tk::sdl::virtualKey;

// A key away from the keypad: its symbol decides.
int key(SDL_Keycode k) { return virtualKey(k, SDL_SCANCODE_UNKNOWN, true); }

// A keypad key: its place decides, whatever symbol the layout gives it.
int pad(SDL_Scancode sc, bool numLock) {
    return virtualKey(SDL_SCANCODE_TO_KEYCODE(sc), sc, numLock);
}

TEST(KeyCodes, GameKeysGetTheirWindowsCodes) {
    EXPECT_EQ(key(SDLK_LEFT), 37);
    EXPECT_EQ(key(SDLK_UP), 38);
    EXPECT_EQ(key(SDLK_RIGHT), 39);
    EXPECT_EQ(key(SDLK_DOWN), 40);
    EXPECT_EQ(key(SDLK_SPACE), 32);
    EXPECT_EQ(key(SDLK_RETURN), 13);
    EXPECT_EQ(key(SDLK_BACKSPACE), 8);
    EXPECT_EQ(key(SDLK_TAB), 9);
    EXPECT_EQ(key(SDLK_ESCAPE), 27);
    EXPECT_EQ(key(SDLK_DELETE), 46);
    EXPECT_EQ(key(SDLK_HOME), 36);
    EXPECT_EQ(key(SDLK_END), 35);
}

TEST(KeyCodes, LettersDigitsAndFunctionKeysAreContiguous) {
    for (int i = 0; i < 26; ++i) EXPECT_EQ(key(SDLK_a + i), 65 + i) << char('a' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(key(SDLK_0 + i), 48 + i) << i;
    for (int i = 0; i < 12; ++i) EXPECT_EQ(key(SDLK_F1 + i), 112 + i) << "F" << i + 1;
}

TEST(KeyCodes, NumLockDecidesBetweenKeypadDigitsAndCursorKeys) {
    const SDL_Scancode digit[10] = {
        SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_3,
        SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7,
        SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_9};
    for (int d = 0; d < 10; ++d) EXPECT_EQ(pad(digit[d], true), 96 + d) << "keypad " << d;
    // The game steers with keypad 4/5/6 either way; without Num Lock they are the cursor keys.
    EXPECT_EQ(pad(SDL_SCANCODE_KP_4, false), 37);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_6, false), 39);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_8, false), 38);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_2, false), 40);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_5, false), 12);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_7, false), 36);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_1, false), 35);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_PERIOD, false), 46);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_ENTER, false), 13);
    EXPECT_EQ(pad(SDL_SCANCODE_KP_ENTER, true), 13);
    // A layout that reports a keypad key as a cursor key does not change what it is.
    EXPECT_EQ(virtualKey(SDLK_LEFT, SDL_SCANCODE_KP_4, true), 100);
}

TEST(KeyCodes, KeysWithoutACodeGiveZero) {
    EXPECT_EQ(key(SDLK_MENU), 0);
    EXPECT_EQ(key(SDLK_VOLUMEUP), 0);
}

TEST(LoopTiming, SleepsUntilTheNextTickRoundedUp) {
    // Rounding down would wake the loop just before the tick and make it spin once more.
    EXPECT_EQ(tk::sdl::waitTimeoutMs(true, 20'000, 0), 20);
    EXPECT_EQ(tk::sdl::waitTimeoutMs(true, 20'000, 1), 20);
    EXPECT_EQ(tk::sdl::waitTimeoutMs(true, 20'000, 19'999), 1);
    EXPECT_EQ(tk::sdl::waitTimeoutMs(true, 20'001, 0), 21);
}

TEST(LoopTiming, DueOrLateTicksDoNotWaitAndNothingWaitsForever) {
    EXPECT_EQ(tk::sdl::waitTimeoutMs(true, 5'000, 5'000), 0);
    EXPECT_EQ(tk::sdl::waitTimeoutMs(true, 5'000, 900'000), 0);
    EXPECT_EQ(tk::sdl::waitTimeoutMs(true, 3'600'000'000LL, 0), tk::sdl::kIdleWaitMs);
    EXPECT_EQ(tk::sdl::waitTimeoutMs(false, 0, 0), tk::sdl::kIdleWaitMs);
}

TEST(BeepTone, IsAShortSoftToneThatStartsAndEndsInSilence) {
    for (int rate : {22050, 44100, 48000}) {
        std::vector<std::int16_t> s = tk::sdl::beepTone(rate);
        ASSERT_EQ(int(s.size()), rate * 80 / 1000) << rate;
        int peak = 0;
        for (std::int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_GT(peak, 6000) << rate;
        EXPECT_LT(peak, 10000) << rate;  // soft: a quarter of full scale
        // Faded at both ends, so it does not click.
        EXPECT_LT(std::abs(int(s.front())), 50) << rate;
        EXPECT_LT(std::abs(int(s.back())), 200) << rate;
        // 880 Hz: two zero crossings per period over 80 ms.
        int crossings = 0;
        for (std::size_t i = 1; i < s.size(); ++i)
            if ((s[i - 1] < 0) != (s[i] < 0)) ++crossings;
        EXPECT_NEAR(crossings, 2 * 880 * 0.080, 3) << rate;
    }
}

}  // namespace
