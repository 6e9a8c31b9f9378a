// The pure parts of the SDL backend: key codes, how long the loop sleeps, the beep's tone and
// the fade of a cut effect.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "toolkit/pad.h"
#include "toolkit/sdl/beep_tone.h"
#include "toolkit/sdl/cut_fade.h"
#include "toolkit/sdl/frame_scaling.h"
#include "toolkit/sdl/key_codes.h"
#include "toolkit/sdl/loop_timing.h"

namespace {

using tk::sdl::virtualKey;

// A key away from the keypad: its symbol decides.
int key(SDL_Keycode k) {
    return virtualKey(k, SDL_SCANCODE_UNKNOWN, true);
}

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
    const SDL_Scancode digit[10] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
                                    SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
                                    SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
                                    SDL_SCANCODE_KP_9};
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
    EXPECT_EQ(key(SDLK_VOLUMEDOWN), 0);
    EXPECT_EQ(key(SDLK_VOLUMEUP), 0);
    // The keyboard's Menu key opens the game's menu: it has the code of its own.
    EXPECT_EQ(key(SDLK_APPLICATION), 93);
    EXPECT_EQ(key(SDLK_MENU), 93);
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

namespace {

using tk::sdl::autoScale;
using tk::sdl::drawScaled;
using tk::sdl::fitFrame;
using tk::sdl::Placement;

TEST(FrameScaling, TheAutomaticScaleIsTheLargestThatFitsTheDesktopWithAMargin) {
    EXPECT_EQ(autoScale(849, 588, 1920, 1080), 1);
    EXPECT_EQ(autoScale(849, 588, 2560, 1440), 2);
    EXPECT_EQ(autoScale(849, 588, 3840, 2160), 3);
    EXPECT_EQ(autoScale(849, 588, 5120, 2880), 4);
    EXPECT_EQ(autoScale(849, 588, 7680, 4320), 4) << "never beyond the largest scale";
    // A desktop whose panels leave too little room keeps the smaller scale.
    EXPECT_EQ(autoScale(849, 588, 2560, 1240), 1);
    // Smaller than the window, or nothing known about it: one to one.
    EXPECT_EQ(autoScale(849, 588, 800, 600), 1);
    EXPECT_EQ(autoScale(849, 588, 0, 0), 1);
}

// A desktop exactly as large as the window at a scale, with its margin, takes that scale; one
// pixel less either way does not. The window is 48 pixels wider and 96 taller than its client.
TEST(FrameScaling, TheScaleAtTheExactEdgeOfADesktopSize) {
    using tk::sdl::largestFittingScale;
    for (int k = 2; k <= 4; ++k) {
        SCOPED_TRACE(k);
        const int w = 849 * k, h = 588 * k;
        EXPECT_EQ(autoScale(849, 588, w + 48, h + 96), k);
        EXPECT_EQ(autoScale(849, 588, w + 47, h + 96), k - 1);
        EXPECT_EQ(autoScale(849, 588, w + 48, h + 95), k - 1);
        EXPECT_EQ(largestFittingScale(849, 588, w, h), k);
        EXPECT_EQ(largestFittingScale(849, 588, w - 1, h), k - 1);
        EXPECT_EQ(largestFittingScale(849, 588, w, h - 1), k - 1);
    }
    // Fullscreen: a whole scale filling exactly 85 % of the height stays whole; a row more of
    // screen and it is scaled smoothly.
    using tk::sdl::fitFullscreen;
    EXPECT_EQ(fitFullscreen(20, 17, 40, 40), (Placement{0, 3, 40, 34, 2}));
    EXPECT_EQ(fitFullscreen(20, 17, 40, 41).whole, 0);
    EXPECT_EQ(fitFullscreen(100, 85, 120, 100), (Placement{10, 7, 100, 85, 1}));
}

TEST(FrameScaling, AChosenScaleIsCappedAtTheLargestThatFitsWithoutAMargin) {
    using tk::sdl::largestFittingScale;
    EXPECT_EQ(largestFittingScale(849, 588, 1280, 1024), 1);
    // 1698 x 1176 fits 1920 x 1200 exactly enough, though the automatic scale wants room.
    EXPECT_EQ(largestFittingScale(849, 588, 1920, 1200), 2);
    EXPECT_EQ(autoScale(849, 588, 1920, 1200), 1);
    EXPECT_EQ(largestFittingScale(849, 588, 1698, 1176), 2) << "the exact size fits";
    EXPECT_EQ(largestFittingScale(849, 588, 1697, 1176), 1);
    EXPECT_EQ(largestFittingScale(849, 588, 7680, 4320), 4);
    EXPECT_EQ(largestFittingScale(849, 588, 640, 480), 1);
}

TEST(FrameScaling, AWindowIsPlacedWhollyOnTheDesktop) {
    using tk::Rect;
    using tk::sdl::placeWindow;
    const Rect desk{0, 0, 1280, 1024};
    // Centred on the desktop, as at start.
    EXPECT_EQ(placeWindow(849, 588, 1, desk, desk), (Rect{215, 218, 849, 588}));
    // A desktop with a panel on the left and one on top: centred on what is left.
    const Rect usable{64, 32, 1216, 992};
    EXPECT_EQ(placeWindow(849, 588, 1, usable, usable), (Rect{247, 234, 849, 588}));
    // Centred on its owner, but pushed back onto the desktop where the owner hangs over an edge.
    EXPECT_EQ(placeWindow(547, 492, 1, Rect{300, 200, 849, 588}, desk), (Rect{451, 248, 547, 492}));
    EXPECT_EQ(placeWindow(547, 492, 1, Rect{-400, 900, 849, 588}, desk), (Rect{0, 532, 547, 492}));
    EXPECT_EQ(placeWindow(547, 492, 1, Rect{1000, -300, 849, 588}, desk), (Rect{733, 0, 547, 492}));
    // Larger than the desktop at the scale asked for: the largest whole scale that fits...
    EXPECT_EQ(placeWindow(849, 588, 4, desk, desk), (Rect{215, 218, 849, 588}));
    // ... or, smaller than the frame itself, shrunk keeping its shape.
    const Rect vga{0, 0, 640, 480};
    const Rect small = placeWindow(849, 588, 1, vga, vga);
    EXPECT_EQ(small.w, 640);
    EXPECT_NEAR(small.h, 443, 1);
    EXPECT_EQ(small.x, 0);
    EXPECT_EQ(small.y, (480 - small.h) / 2);
    // Nothing known of the desktop: only centred.
    EXPECT_EQ(placeWindow(849, 588, 2, Rect{0, 0, 1000, 1000}, Rect{}),
              (Rect{-349, -88, 1698, 1176}));
}

TEST(FrameScaling, AWindowShowsTheLargestWholeScaleOrShrinksSmoothly) {
    // The window exactly: no border.
    EXPECT_EQ(fitFrame(849, 588, 1698, 1176), (Placement{0, 0, 1698, 1176, 2}));
    // A window given more room than asked (a tiling compositor): centred at a whole scale.
    EXPECT_EQ(fitFrame(849, 588, 1280, 800), (Placement{215, 106, 849, 588, 1}));
    EXPECT_EQ(fitFrame(849, 588, 2560, 1440), (Placement{431, 132, 1698, 1176, 2}));
    // Too small for the frame: shrunk, keeping its shape, centred.
    Placement small = fitFrame(849, 588, 640, 480);
    EXPECT_EQ(small, (Placement{0, 18, 640, 443, 0}));
    EXPECT_EQ(fitFrame(849, 588, 0, 0).width, 0);
}

TEST(FrameScaling, FullscreenScalesSmoothlyWhereAWholeScaleFillsLessThan85PercentOfTheHeight) {
    using tk::sdl::fitFullscreen;
    // A 1280 x 800 handheld: scale 1 would fill 73.5 %; as tall as the screen instead.
    EXPECT_EQ(fitFullscreen(849, 588, 1280, 800), (Placement{62, 0, 1155, 800, 0}));
    EXPECT_EQ(fitFullscreen(849, 588, 1280, 720), (Placement{120, 0, 1040, 720, 0}));
    EXPECT_EQ(fitFullscreen(849, 588, 1366, 768), (Placement{128, 0, 1109, 768, 0}));
    EXPECT_EQ(fitFullscreen(849, 588, 1920, 1080), (Placement{180, 0, 1559, 1080, 0}));
    EXPECT_EQ(fitFullscreen(849, 588, 2560, 1440), (Placement{240, 0, 2079, 1440, 0}));
    EXPECT_EQ(fitFullscreen(849, 588, 2560, 1600), (Placement{125, 0, 2310, 1600, 0}));
    EXPECT_EQ(fitFullscreen(849, 588, 3840, 2160), (Placement{360, 0, 3119, 2160, 0}));
    // Narrower than the frame's shape: as wide as the screen.
    EXPECT_EQ(fitFullscreen(849, 588, 1024, 768), (Placement{0, 29, 1024, 709, 0}));
    EXPECT_EQ(fitFullscreen(849, 588, 1280, 1024), (Placement{0, 68, 1280, 887, 0}));
    // A whole scale that fills 85 % or more stays sharp.
    EXPECT_EQ(fitFullscreen(849, 588, 1920, 1200), (Placement{111, 12, 1698, 1176, 2}));
    EXPECT_EQ(fitFullscreen(849, 588, 2880, 1800), (Placement{166, 18, 2547, 1764, 3}));
    EXPECT_EQ(fitFullscreen(849, 588, 1698, 1176), (Placement{0, 0, 1698, 1176, 2}));
    // The edge: 588 of 691 rows is 85.1 %, of 692 rows 84.97 %.
    EXPECT_EQ(fitFullscreen(849, 588, 1000, 691), (Placement{75, 51, 849, 588, 1}));
    EXPECT_EQ(fitFullscreen(849, 588, 1000, 692), (Placement{0, 0, 999, 692, 0}));
    // Smaller than the frame: shrunk as a window is.
    EXPECT_EQ(fitFullscreen(849, 588, 640, 480), fitFrame(849, 588, 640, 480));
    EXPECT_EQ(fitFullscreen(849, 588, 0, 0).width, 0);
}

TEST(FrameScaling, PointerPositionsMapBackToFramePixelsAndTheBorderIsNowhere) {
    int fx = 0, fy = 0;
    Placement p = fitFrame(849, 588, 2560, 1440);  // scale 2 at 431, 132
    EXPECT_TRUE(tk::sdl::toFrame(p, 849, 588, 431, 132, fx, fy));
    EXPECT_EQ(fx, 0);
    EXPECT_EQ(fy, 0);
    EXPECT_TRUE(tk::sdl::toFrame(p, 849, 588, 431 + 2 * 730 + 1, 132 + 2 * 557 + 1, fx, fy));
    EXPECT_EQ(fx, 730);
    EXPECT_EQ(fy, 557);
    EXPECT_TRUE(tk::sdl::toFrame(p, 849, 588, 431 + 1697, 132 + 1175, fx, fy));
    EXPECT_EQ(fx, 848);
    EXPECT_EQ(fy, 587);
    // One pixel left of the frame is outside the client, not its first column.
    EXPECT_FALSE(tk::sdl::toFrame(p, 849, 588, 430, 500, fx, fy));
    EXPECT_EQ(fx, -1);
    EXPECT_FALSE(tk::sdl::toFrame(p, 849, 588, 431 + 1698, 500, fx, fy));
    EXPECT_FALSE(tk::sdl::toFrame(p, 849, 588, 5, 5, fx, fy));
    // Shrunk: the corners still land on the frame's corners.
    Placement s = fitFrame(849, 588, 640, 480);
    EXPECT_TRUE(tk::sdl::toFrame(s, 849, 588, s.x + s.width - 1, s.y + s.height - 1, fx, fy));
    EXPECT_EQ(fx, 848);
    EXPECT_EQ(fy, 587);
    // Enlarged smoothly (fullscreen at 1280 x 800, 1155 x 800 at 62, 0): the corners land on the
    // frame's corners, the black bands on either side nowhere, and a point maps back to within
    // a pixel of where it is shown.
    Placement h = tk::sdl::fitFullscreen(849, 588, 1280, 800);
    EXPECT_TRUE(tk::sdl::toFrame(h, 849, 588, 62, 0, fx, fy));
    EXPECT_EQ(fx, 0);
    EXPECT_EQ(fy, 0);
    EXPECT_TRUE(tk::sdl::toFrame(h, 849, 588, 62 + 1154, 799, fx, fy));
    EXPECT_EQ(fx, 848);
    EXPECT_EQ(fy, 587);
    EXPECT_FALSE(tk::sdl::toFrame(h, 849, 588, 61, 400, fx, fy));
    EXPECT_FALSE(tk::sdl::toFrame(h, 849, 588, 62 + 1155, 400, fx, fy));
    EXPECT_TRUE(tk::sdl::toFrame(h, 849, 588, 62 + 816, 544, fx, fy));  // 1155 / 849 * 600
    EXPECT_NEAR(fx, 600, 1);
    EXPECT_NEAR(fy, 400, 1);
}

// A frame with a different colour in every pixel.
std::vector<tk::Argb> testFrame(int w, int h) {
    std::vector<tk::Argb> f(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) f[std::size_t(y) * w + x] = tk::rgb(x * 7, y * 13, x ^ y);
    return f;
}

TEST(FrameScaling, ChangedAreasScaledAloneGiveTheSamePixelsAsTheWholeFrame) {
    const int w = 40, h = 30;
    std::vector<tk::Argb> frame = testFrame(w, h);
    // Whole scales 2 and 3, shrunk, and enlarged smoothly with bands at both sides (fullscreen).
    for (auto [sw, sh, full] : {std::tuple{80, 60, false}, std::tuple{130, 100, false},
                                std::tuple{33, 27, false}, std::tuple{70, 40, true}}) {
        Placement p = full ? tk::sdl::fitFullscreen(w, h, sw, sh) : fitFrame(w, h, sw, sh);
        std::vector<tk::Argb> whole(std::size_t(sw) * sh, 0), parts(std::size_t(sw) * sh, 0);
        drawScaled(frame.data(), w, h, p, tk::Rect{0, 0, sw, sh}, whole.data(), sw);
        // The frame in a few changed areas, each scaled on its own.
        for (tk::Rect r : {tk::Rect{0, 0, 7, 10}, tk::Rect{5, 3, 20, 9}, tk::Rect{30, 20, 10, 10},
                           tk::Rect{0, 10, 40, 20}, tk::Rect{7, 0, 33, 10}}) {
            tk::Rect d = tk::sdl::surfaceArea(p, w, h, r);
            drawScaled(frame.data(), w, h, p, d, parts.data() + std::size_t(d.y) * sw + d.x, sw);
        }
        EXPECT_EQ(parts, whole) << sw << "x" << sh;
        if (p.whole > 0) {
            // Nearest neighbour: every frame pixel becomes a k x k square.
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x)
                    ASSERT_EQ(whole[std::size_t(p.y + y) * sw + p.x + x],
                              frame[std::size_t(y / p.whole) * w + x / p.whole]);
        } else {
            // Smooth: the whole place is covered, opaque.
            for (int y = p.y; y < p.y + p.height; ++y)
                for (int x = p.x; x < p.x + p.width; ++x)
                    ASSERT_EQ(whole[std::size_t(y) * sw + x] >> 24, 0xFFu) << x << "," << y;
        }
        // Nothing is drawn outside the frame's place.
        if (p.x > 0) {
            EXPECT_EQ(whole[std::size_t(p.y) * sw + p.x - 1], 0u);
        }
        if (p.y > 0) {
            EXPECT_EQ(whole[std::size_t(p.y - 1) * sw + p.x], 0u);
        }
    }
}

TEST(FrameScaling, ASmoothScaleRedrawsEverySurfacePixelAChangedAreaReaches) {
    // Frame areas change and only the surface area said to show each is drawn again: the surface
    // must then be the new frame's, at every side of the area and at the frame's own edges,
    // shrunk and enlarged.
    const int w = 40, h = 30;
    for (auto [sw, sh, full] :
         {std::tuple{33, 27, false}, std::tuple{70, 40, true}, std::tuple{97, 71, true}}) {
        const Placement p = full ? tk::sdl::fitFullscreen(w, h, sw, sh) : fitFrame(w, h, sw, sh);
        ASSERT_EQ(p.whole, 0) << sw << "x" << sh;
        for (tk::Rect r :
             {tk::Rect{17, 11, 3, 2}, tk::Rect{5, 5, 1, 20}, tk::Rect{0, 0, 1, 1},
              tk::Rect{39, 29, 1, 1}, tk::Rect{38, 0, 2, 30}, tk::Rect{0, 28, 40, 2}}) {
            std::vector<tk::Argb> frame = testFrame(w, h);
            std::vector<tk::Argb> shown(std::size_t(sw) * sh, 0), fresh = shown;
            drawScaled(frame.data(), w, h, p, tk::Rect{0, 0, sw, sh}, shown.data(), sw);
            for (int y = r.y; y < r.bottom(); ++y)
                for (int x = r.x; x < r.right(); ++x) frame[std::size_t(y) * w + x] ^= 0xFFFFFFu;
            const tk::Rect d = tk::sdl::surfaceArea(p, w, h, r);
            drawScaled(frame.data(), w, h, p, d, shown.data() + std::size_t(d.y) * sw + d.x, sw);
            drawScaled(frame.data(), w, h, p, tk::Rect{0, 0, sw, sh}, fresh.data(), sw);
            EXPECT_EQ(shown, fresh) << sw << "x" << sh << ", area at " << r.x << "," << r.y;
        }
    }
}

TEST(FrameScaling, SmoothScalingBlendsEachColourBetweenTheNeighbouringFramePixels) {
    // Two columns, 4 x wider on the surface: a ramp from one colour to the other, each channel
    // on its own, the outer quarter of each column its own colour.
    const tk::Argb a = tk::rgb(0, 100, 250), b = tk::rgb(255, 20, 10);
    const std::vector<tk::Argb> frame{a, b, a, b};
    const Placement p{0, 0, 8, 2, 0};
    std::vector<tk::Argb> out(16, 0);
    drawScaled(frame.data(), 2, 2, p, tk::Rect{0, 0, 8, 2}, out.data(), 8);
    for (int x = 0; x < 8; ++x) {
        double t = std::clamp((x + 0.5) / 4 - 0.5, 0.0, 1.0);
        for (int shift : {0, 8, 16}) {
            double from = (a >> shift) & 255, to = (b >> shift) & 255;
            for (int y = 0; y < 2; ++y)
                EXPECT_NEAR(double((out[std::size_t(y * 8 + x)] >> shift) & 255),
                            from + (to - from) * t, 1.0)
                    << "x " << x << ", y " << y << ", bits " << shift;
        }
    }
    // Rows blend as columns do: the middle of a 2 x 2 frame scaled to 4 x 4 mixes all four.
    const std::vector<tk::Argb> corners{tk::rgb(0, 0, 0), tk::rgb(200, 0, 0), tk::rgb(0, 200, 0),
                                        tk::rgb(200, 200, 200)};
    std::vector<tk::Argb> four(16, 0);
    drawScaled(corners.data(), 2, 2, Placement{0, 0, 4, 4, 0}, tk::Rect{0, 0, 4, 4}, four.data(),
               4);
    EXPECT_EQ(four[0], 0xFF000000u) << "a corner keeps its own colour";
    EXPECT_EQ(four[15], 0xFFC8C8C8u);
    // Pixel (1, 1) reads the point (0.25, 0.25): 3/4 of the first pixel each way.
    EXPECT_EQ(four[5], tk::rgb(50, 50, 13));
}

TEST(PadButtons, NamesAreSdlsAndUnknownNamesAreRefused) {
    for (int i = 0; i < tk::kPadButtonCount; ++i) {
        auto b = tk::PadButton(i);
        EXPECT_EQ(tk::padButtonByName(tk::padButtonName(b)), b);
    }
    EXPECT_STREQ(tk::padButtonName(tk::PadButton::DpLeft), "dpleft");
    EXPECT_FALSE(tk::padButtonByName("A"));
    EXPECT_FALSE(tk::padButtonByName(""));
    EXPECT_FALSE(tk::padButtonByName("guide"));
}

TEST(CutFade, TheTailCarriesOnFromTheCutAndFadesToNothing) {
    using tk::sdl::fadedTail;
    // Stereo, the left channel a rising ramp, the right one held at -10000.
    std::vector<std::int16_t> sound(2 * 1000);
    for (std::size_t f = 0; f < 1000; ++f) {
        sound[2 * f] = std::int16_t(f * 10);
        sound[2 * f + 1] = -10000;
    }
    const std::size_t frames = 353;  // 8 ms at 44.1 kHz
    const auto tail = fadedTail(sound, 2, 100, frames, 1.0);
    ASSERT_EQ(tail.size(), 2 * frames);
    // It starts at the frame the cut stopped on, all but at full level, on both channels...
    EXPECT_NEAR(tail[0], 1000, 10);
    EXPECT_NEAR(tail[1], -10000, 10);
    // ...halves halfway and ends at nothing, falling all the way.
    EXPECT_NEAR(tail[2 * (frames / 2) + 1], -5000, 100);
    EXPECT_EQ(tail[2 * frames - 1], 0);
    for (std::size_t f = 1; f < frames; ++f)
        ASSERT_LE(std::abs(tail[2 * f + 1]), std::abs(tail[2 * f - 1])) << f;
    // The effect's own volume counts.
    EXPECT_NEAR(fadedTail(sound, 2, 100, frames, 0.5)[1], -5000, 10);
    // Past the sound's end there is only silence.
    const auto late = fadedTail(sound, 2, 995, frames, 1.0);
    ASSERT_EQ(late.size(), 2 * frames);
    EXPECT_NE(late[9], 0);
    EXPECT_TRUE(std::all_of(late.begin() + 10, late.end(), [](auto v) { return v == 0; }));
}

TEST(CutFade, TheTailIsMixedInOnceAcrossBuffersAndSaturates) {
    using tk::sdl::mixTail;
    const std::vector<std::int16_t> tail{5000, -5000, 100, -100, 7};
    std::vector<std::int16_t> first(4, 30000), second(4, -30000);
    EXPECT_EQ(mixTail(first, tail, 0), 4u);
    EXPECT_EQ(first, (std::vector<std::int16_t>{32767, 25000, 30100, 29900}));
    EXPECT_EQ(mixTail(second, tail, 4), 1u);
    EXPECT_EQ(second, (std::vector<std::int16_t>{-29993, -30000, -30000, -30000}));
    EXPECT_EQ(mixTail(second, tail, 5), 0u);
    std::vector<std::int16_t> low(1, -32000);
    mixTail(low, std::vector<std::int16_t>{-5000}, 0);
    EXPECT_EQ(low[0], -32768);
}

}  // namespace
