// The SDL backend's event loop with real X windows (run under Xvfb): timers keep their schedule
// and the loop sleeps between them; input reaches only the window that takes it; the session's
// quit closes the game through its close handler; a window whose size changes shows its frame
// placed anew.
#include "toolkit/sdl/sdl_window.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "toolkit/application.h"
#include "toolkit/error_box.h"
#include "toolkit/sdl/sdl_backend.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

// Last: Xlib's macros (None, Status) would clash with the names above.
#include <SDL_syswm.h>
#include <X11/Xutil.h>

namespace {

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The SDL window with TITLE (the test's own way to aim events at a window).
std::uint32_t windowIdByTitle(const char* title) {
    for (std::uint32_t id = 1; id < 64; ++id)
        if (SDL_Window* w = SDL_GetWindowFromID(id))
            if (std::strcmp(SDL_GetWindowTitle(w), title) == 0) return id;
    return 0;
}

void pushKey(std::uint32_t windowId, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = windowId;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

void pushClose(std::uint32_t windowId) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = windowId;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&e);
}

void pushQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

class SdlLoop : public ::testing::Test {
  protected:
    tk::SdlBackend backend;
    tk::Application app{backend};
    // The game's own client size, so the cost of showing a frame is the real one.
    tk::Window main{app, "Main", 849, 588, tk::rgb(20, 40, 60)};

    void SetUp() override {
        main.title = "main";
        app.setMainWindow(&main);
        main.open();
    }
};

TEST_F(SdlLoop, ATimerKeepsItsScheduleAndIsNeverEarly) {
    constexpr int kTicks = 60;
    std::vector<std::int64_t> late;
    std::vector<std::int64_t> at;
    double cpuAt10 = 0;
    tk::Timer timer(app, "Timer1", 20, true);
    timer.onTimer = [&] {
        std::int64_t now = app.nowUs();
        // The tick being delivered fell due one interval before the next one.
        late.push_back(now - (timer.dueUs() - 20'000));
        at.push_back(now);
        if (at.size() == 10) cpuAt10 = cpuSeconds();
        // A gem-sized square is drawn again every tick, as in play.
        main.surface().fillWithBrush(tk::Rect{int(at.size()) * 8 % 800, 100, 48, 48});
        if (int(at.size()) == kTicks) main.close();
    };
    app.run();
    // From the tenth tick on: the window is up and the first whole frame is shown.
    double cpu = cpuSeconds() - cpuAt10;

    ASSERT_EQ(int(at.size()), kTicks);
    double meanPeriodMs = double(at.back() - at.front()) / (kTicks - 1) / 1000.0;
    std::sort(late.begin(), late.end());
    std::printf("20 ms timer: mean period %.3f ms, median lateness %.3f ms, cpu %.1f %%\n",
                meanPeriodMs, late[late.size() / 2] / 1000.0,
                100.0 * cpu / (double(at.back() - at[9]) / 1e6));
    EXPECT_GE(late.front(), 0) << "a tick came early";
    EXPECT_NEAR(meanPeriodMs, 20.0, 1.0);
    // Showing a small change is cheap: only that area travels to the display (sending the whole
    // frame each tick costs about 16 % under Xvfb).
    EXPECT_LT(100.0 * cpu / (double(at.back() - at[9]) / 1e6), 8.0);
}

TEST_F(SdlLoop, ChangedAreasReachTheWindowAsComposed) {
    // Areas of every width modulo four, at odd places, filled with a pattern whose pixels all
    // differ (and some of them translucent, which the screen shows opaque).
    tk::Image pattern(13, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            pattern.setPixel(
                x, y,
                tk::Argb(((x * 7 + y) & 1 ? 0x40u : 0xFFu) << 24) | tk::rgb(x * 19, y * 31, x * y));
    const tk::Rect areas[] = {{0, 0, 1, 1},       {3, 5, 2, 9},       {101, 7, 3, 4},
                              {250, 300, 48, 48}, {601, 411, 57, 13}, {800, 580, 49, 8}};
    main.surface().setBrush(pattern);
    int ticks = 0;
    std::vector<std::string> wrong;
    tk::Timer timer(app, "draw", 20, true);
    timer.onTimer = [&] {
        if (++ticks == 5) {
            for (const tk::Rect& r : areas) main.surface().fillWithBrush(r);
        } else if (ticks == 8) {
            // What the X server shows in the window, read back from it.
            SDL_SysWMinfo info;
            SDL_VERSION(&info.version);
            ASSERT_TRUE(SDL_GetWindowWMInfo(SDL_GetWindowFromID(windowIdByTitle("main")), &info));
            ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
            XImage* shown = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, 849, 588,
                                      AllPlanes, ZPixmap);
            ASSERT_NE(shown, nullptr);
            for (const tk::Rect& r : areas)
                for (int y = r.y; y < r.bottom(); ++y)
                    for (int x = r.x; x < r.right(); ++x)
                        if ((XGetPixel(shown, x, y) & 0xFFFFFFu) !=
                            (main.composedPixel(x, y) & 0xFFFFFFu))
                            wrong.push_back(std::to_string(x) + "," + std::to_string(y));
            XDestroyImage(shown);
            main.close();
        }
    };
    app.run();
    ASSERT_EQ(ticks, 8);
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " pixels differ, the first at " << wrong[0];
}

TEST_F(SdlLoop, AWindowMadeTallerOrShorterShowsItsFrameCentredOnBlackAgain) {
    // The window's size is looked at whenever anything is shown, so a change of its height alone
    // places the frame anew even before the window system's word of it has been read.
    const tk::Argb colour = tk::rgb(200, 30, 90);
    tk::Window small{app, "Small", 200, 100, colour};
    tk::sdl::ScreenWindow screen(small, nullptr, 1);
    screen.refresh();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(screen.sdlWindow(), &info));
    ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
    for (int height : {160, 131}) {
        SDL_SetWindowSize(screen.sdlWindow(), 200, height);
        small.surface().setPixel(100, 50, colour);  // a change to show
        screen.refresh();
        XImage* shown = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, 200,
                                  unsigned(height), AllPlanes, ZPixmap);
        ASSERT_NE(shown, nullptr);
        // Each row: all black '.', all the frame's colour '#', or a mixture '?'.
        std::string rows;
        for (int y = 0; y < height; ++y) {
            bool black = true, frame = true;
            for (int x = 0; x < 200; ++x) {
                const unsigned long px = XGetPixel(shown, x, y) & 0xFFFFFFu;
                black = black && px == 0;
                frame = frame && px == (colour & 0xFFFFFFu);
            }
            rows += black ? '.' : frame ? '#' : '?';
        }
        XDestroyImage(shown);
        const int top = (height - 100) / 2;
        EXPECT_EQ(rows, std::string(std::size_t(top), '.') + std::string(100, '#') +
                            std::string(std::size_t(height - top - 100), '.'))
            << "at a height of " << height;
    }
}

TEST_F(SdlLoop, WithNothingToDoTheLoopSleeps) {
    // No timer runs; the session ends the program after a second and a half.
    std::thread session([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        pushQuit();
    });
    bool saved = false;
    main.onClose = [&] { saved = true; };
    double cpu0 = -1, cpu = 0;
    // Start counting once the window is up and drawn.
    tk::Timer settle(app, "settle", 300, true);
    settle.onTimer = [&] {
        settle.setEnabled(false);
        cpu0 = cpuSeconds();
    };
    app.run();
    cpu = cpuSeconds() - cpu0;
    session.join();
    ASSERT_GE(cpu0, 0);
    std::printf("idle loop: %.2f ms of cpu until the quit\n", cpu * 1000);
    EXPECT_LT(cpu, 0.03);
    // The quit went through the close handler, as the close box does.
    EXPECT_TRUE(saved);
    EXPECT_FALSE(main.isOpen());
}

TEST_F(SdlLoop, InputGoesOnlyToTheModalWindowWhileItIsOpen) {
    tk::Window box(app, "Box", 200, 100, tk::rgb(200, 200, 200));
    box.title = "box";
    app.showModal(box);
    std::vector<std::pair<std::string, int>> keys;
    main.onKeyDown = [&](int& vk) { keys.emplace_back("main", vk); };
    box.onKeyDown = [&](int& vk) { keys.emplace_back("box", vk); };
    int closes = 0;
    main.onClose = [&] { ++closes; };

    std::uint32_t mainId = windowIdByTitle("main"), boxId = windowIdByTitle("box");
    ASSERT_NE(mainId, 0u);
    ASSERT_NE(boxId, 0u);
    pushKey(mainId, SDLK_LEFT);   // the main window waits behind the box
    pushKey(boxId, SDLK_ESCAPE);  // the box takes it
    pushClose(mainId);            // nor does the main window's close box work meanwhile
    pushClose(boxId);             // the box closes; the main window takes input again
    pushKey(mainId, SDLK_RIGHT);
    pushClose(mainId);
    app.run();

    std::vector<std::pair<std::string, int>> expected = {{"box", 27}, {"main", 39}};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(box.isOpen());
}

TEST_F(SdlLoop, EitherShiftKeyReachesTheGameWithItsKeyPress) {
    std::vector<std::pair<int, bool>> keys;
    main.onKeyDown = [&](int& vk) { keys.emplace_back(vk, app.shiftHeld()); };
    const std::uint32_t mainId = windowIdByTitle("main");
    ASSERT_NE(mainId, 0u);
    pushKey(mainId, SDLK_TAB, KMOD_LSHIFT);
    pushKey(mainId, SDLK_TAB);
    pushKey(mainId, SDLK_TAB, KMOD_RSHIFT | KMOD_NUM);
    pushKey(mainId, SDLK_UP, KMOD_CTRL);
    pushClose(mainId);
    app.run();
    const std::vector<std::pair<int, bool>> expected = {
        {9, true}, {9, false}, {9, true}, {38, false}};
    EXPECT_EQ(keys, expected);
}

TEST_F(SdlLoop, TheFatalErrorBoxWaitsForThePlayer) {
    main.close();  // as when the game could not start: no main window
    app.setMainWindow(nullptr);
    std::thread player([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        pushQuit();
    });
    auto t0 = std::chrono::steady_clock::now();
    backend.showFatalError(app, "The data folder is missing.");
    auto waited = std::chrono::steady_clock::now() - t0;
    player.join();
    EXPECT_GE(waited, std::chrono::milliseconds(350));
    EXPECT_TRUE(app.windows().size() == 1 && app.windows()[0] == &main);  // the box is gone
}

}  // namespace
