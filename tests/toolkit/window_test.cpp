// Drawing surface, image lists, controls and input routing of the toolkit.
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/image_list.h"
#include "toolkit/timer.h"

namespace {

struct World {
    tk::HeadlessBackend backend;
    tk::Application app{backend};
    tk::Window win{app, "win", 200, 100, tk::rgb(0, 0, 0)};
    // OPEN false leaves the window built but not yet on screen.
    explicit World(bool open = true) {
        app.setMainWindow(&win);
        if (open) win.open();
    }
};

tk::Image checker(int w, int h) {
    tk::Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, tk::rgb(x * 10, y * 10, 7));
    return img;
}

TEST(Surface, TheBrushIsAnchoredAtTheClientOriginWhereverAFillStarts) {
    World w;
    w.win.surface().setBrush(checker(7, 5));
    w.win.surface().fillWithBrush(tk::Rect{13, 11, 20, 9});
    for (int y = 11; y < 20; ++y)
        for (int x = 13; x < 33; ++x)
            ASSERT_EQ(w.win.surface().pixel(x, y), tk::rgb((x % 7) * 10, (y % 5) * 10, 7));
    EXPECT_EQ(w.win.surface().pixel(12, 11), tk::rgb(0, 0, 0));  // outside the fill
    w.win.surface().fillWithBrush(tk::Rect{190, 95, 50, 50});    // clipped, no crash
    // A pattern wider than the fill, and one of a single column; translucent pixels fill opaque.
    tk::Image wide(61, 3, 0x20000000u | tk::rgb(9, 8, 7));
    wide.setPixel(60, 2, tk::rgb(1, 2, 3));
    w.win.surface().setBrush(wide);
    w.win.surface().fillWithBrush(tk::Rect{-5, 0, 71, 3});
    EXPECT_EQ(w.win.surface().pixel(0, 0), tk::rgb(9, 8, 7));
    EXPECT_EQ(w.win.surface().pixel(60, 2), tk::rgb(1, 2, 3));
    EXPECT_EQ(w.win.surface().pixel(65, 2), tk::rgb(9, 8, 7));
    EXPECT_EQ(w.win.surface().pixel(66, 2), tk::rgb(0, 0, 0));  // outside the fill
    w.win.surface().setBrush(checker(1, 5));
    w.win.surface().fillWithBrush(tk::Rect{3, 30, 9, 6});
    for (int x = 3; x < 12; ++x) ASSERT_EQ(w.win.surface().pixel(x, 34), tk::rgb(0, 40, 7));
}

TEST(ImageLists, FramesAreFourToARowAndOutsideIndicesDrawNothing) {
    World w;
    tk::Image strip(4 * 2, 2 * 2);  // six frames of 2 x 2
    for (int i = 0; i < 6; ++i)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                strip.setPixel((i % 4) * 2 + x, (i / 4) * 2 + y, tk::rgb(i * 40, 0, 0));
    tk::ImageList list(strip, 2, 2, 6);
    tk::Surface& s = w.win.surface();
    s.drawFrame(list, 5, 10, 10);
    EXPECT_EQ(s.pixel(11, 11), tk::rgb(200, 0, 0));
    for (int bad : {-1, 6, 7, 1000}) {
        s.drawFrame(list, bad, 20, 20);
        EXPECT_EQ(s.pixel(20, 20), tk::rgb(0, 0, 0)) << bad;
    }
    // Transparent pixels leave what is beneath.
    tk::Image holey(8, 2, 0);
    holey.setPixel(0, 0, tk::rgb(1, 2, 3));
    s.drawFrame(tk::ImageList(holey, 2, 2, 4), 0, 10, 10);
    EXPECT_EQ(s.pixel(10, 10), tk::rgb(1, 2, 3));
    EXPECT_EQ(s.pixel(11, 11), tk::rgb(200, 0, 0));
}

TEST(Controls, AControlShowsOnlyWhenItAndAllItsParentsAreVisible) {
    World w;
    tk::Panel outer(&w.win, "outer");
    tk::Panel inner(&outer, "inner", tk::rgb(255, 0, 0));
    outer.setBounds(10, 10, 100, 50);
    inner.setBounds(5, 5, 20, 20);
    EXPECT_TRUE(inner.showing());
    EXPECT_EQ(w.win.composedPixel(16, 16), tk::rgb(255, 0, 0));
    outer.hide();
    EXPECT_TRUE(inner.visible());
    EXPECT_FALSE(inner.showing());
    EXPECT_EQ(w.win.composedPixel(16, 16), tk::rgb(0, 0, 0));
    EXPECT_EQ(w.win.controlAt(16, 16), &w.win);
    outer.show();
    EXPECT_EQ(w.win.controlAt(16, 16), &inner);
    EXPECT_EQ(inner.windowRect(), (tk::Rect{15, 15, 20, 20}));
}

TEST(Controls, AFacedButtonDrawsItsFramesEndsAndStretchesTheirMiddleAcrossAWideButton) {
    World w;
    // Three 10 x 6 frames (at rest, focused, pressed), each column its own colour, the look in
    // the blue.
    tk::Image strip(30, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 30; ++x) strip.setPixel(x, y, tk::rgb((x % 10) * 20, 100, x / 10));
    const tk::ImageList face(strip, 10, 6, 3);
    const auto column = [](int c, int look) { return tk::rgb(c * 20, 100, look); };
    tk::PushButton wide(&w.win, "wide", "", tk::FontSpec{});
    tk::PushButton narrow(&w.win, "narrow", "", tk::FontSpec{});
    wide.setBounds(10, 10, 40, 6);
    narrow.setBounds(10, 30, 6, 6);
    EXPECT_TRUE(wide.opaque());  // the plain face fills its whole rectangle
    wide.setFace(&face, tk::rgb(255, 255, 255));
    narrow.setFace(&face, tk::rgb(255, 255, 255));
    EXPECT_FALSE(wide.opaque());  // a face's rounded corners show the ground
    // The wide one: the frame's left half, its middle column over the gap, its right half.
    for (int x = 0; x < 40; ++x) {
        const int c = x < 5 ? x : x >= 35 ? x - 30 : 5;
        EXPECT_EQ(w.win.composedPixel(10 + x, 12), column(c, 0)) << "x " << x;
    }
    // The narrow one: the frame's two ends only.
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(w.win.composedPixel(10 + x, 32), column(x < 3 ? x : x + 4, 0)) << "x " << x;
    // Focused, then pressed, the button takes the next frames.
    w.win.setFocus(&wide);
    EXPECT_EQ(w.win.composedPixel(30, 12), column(5, 1));
    wide.setPressed(true);
    EXPECT_EQ(w.win.composedPixel(30, 12), column(5, 2));
}

TEST(Controls, HidingAPanelOverTheSurfaceAsksTheWindowToRepaint) {
    World w;
    int paints = 0;
    w.win.onPaint = [&] { ++paints; };
    w.app.flushPaints();
    paints = 0;
    tk::Panel cover(&w.win, "cover");
    cover.setBounds(0, 0, 200, 100);
    tk::Panel child(&cover, "child");
    child.setBounds(0, 0, 10, 10);
    child.hide();  // uncovers only its parent, not the window
    w.app.flushPaints();
    EXPECT_EQ(paints, 0);
    cover.hide();
    w.app.flushPaints();
    EXPECT_EQ(paints, 1);
}

TEST(Surface, ABrushKeptAsItsFileGoesWhileCoveredAndFillsAlikeAfterwards) {
    World w;
    const std::vector<std::uint8_t> png = tk::encodePng(checker(7, 5));
    w.win.surface().setBrush(checker(7, 5), png);
    const tk::Rect area{13, 11, 20, 9};
    w.win.surface().fillWithBrush(area);
    const tk::Image before = w.win.surface().pixels().crop(area);
    // A panel over the whole window: the brush's pixels go, and a fill under it is left out.
    tk::Panel menu(&w.win, "menu");
    menu.setBounds(0, 0, 200, 100);
    EXPECT_FALSE(w.win.surface().brushDecoded());
    w.win.surface().fillWithBrush(tk::Rect{0, 0, 200, 100});
    EXPECT_FALSE(w.win.surface().brushDecoded());
    // A panel over part of it hides nothing wholly: the brush stays.
    menu.setBounds(0, 0, 200, 99);
    w.win.surface().fillWithBrush(tk::Rect{0, 0, 200, 100});
    EXPECT_TRUE(w.win.surface().brushDecoded());
    menu.setBounds(0, 0, 200, 100);
    EXPECT_FALSE(w.win.surface().brushDecoded());
    // Uncovered, the next fill decodes the brush again and draws the same pixels.
    menu.hide();
    w.win.surface().fillWithBrush(area);
    EXPECT_TRUE(w.win.surface().brushDecoded());
    const tk::Image after = w.win.surface().pixels().crop(area);
    EXPECT_EQ(after.pixels(), before.pixels());
    // Handed over as its file alone, the brush is decoded at its first fill.
    w.win.surface().setBrush(tk::Image(), png);
    EXPECT_FALSE(w.win.surface().brushDecoded());
    w.win.surface().fillWithBrush(area);
    EXPECT_EQ(w.win.surface().pixels().crop(area).pixels(), before.pixels());
    // A brush handed over as pixels alone is never let go.
    w.win.surface().setBrush(checker(3, 3));
    menu.show();
    EXPECT_TRUE(w.win.surface().brushDecoded());
}

TEST(Surface, AWindowBuiltWithItsMenuUpDecodesNoBrushBeforeItOpens) {
    World w{false};
    tk::Window& win = w.win;
    tk::Panel menu(&win, "menu");
    menu.setBounds(0, 0, 200, 100);
    const std::vector<std::uint8_t> png = tk::encodePng(checker(7, 5));
    win.surface().setBrush(tk::Image(), png);
    win.surface().fillWithBrush(tk::Rect{0, 0, 200, 100});
    win.open();
    w.app.flushPaints();
    EXPECT_FALSE(win.surface().brushDecoded());
    menu.hide();
    win.surface().fillWithBrush(tk::Rect{0, 0, 200, 100});
    EXPECT_TRUE(win.surface().brushDecoded());
}

TEST(Input, MouseEventsGoToTheTopmostShowingControlElseTheWindow) {
    World w;
    tk::Picture back(&w.win, "back");
    back.setBounds(0, 0, 100, 100);
    tk::Panel panel(&w.win, "panel");  // windowed: above the picture, though made earlier or later
    panel.setBounds(50, 0, 100, 100);
    std::string log;
    back.onMouseDown = [&](tk::MouseButton, int x, int y) {
        log += "back" + std::to_string(x) + "," + std::to_string(y) + " ";
    };
    panel.onMouseDown = [&](tk::MouseButton b, int x, int) {
        log +=
            std::string(b == tk::MouseButton::Right ? "rpanel" : "panel") + std::to_string(x) + " ";
    };
    w.win.onMouseDown = [&](tk::MouseButton, int x, int) {
        log += "win" + std::to_string(x) + " ";
    };
    w.win.mouseDown(tk::MouseButton::Left, 10, 20);
    w.win.mouseDown(tk::MouseButton::Right, 60, 20);
    w.win.mouseDown(tk::MouseButton::Left, 180, 20);
    panel.hide();
    w.win.mouseDown(tk::MouseButton::Left, 60, 20);
    EXPECT_EQ(log, "back10,20 rpanel10 win180 back60,20 ");
}

TEST(Input, TheWheelTurnsTheControlUnderThePointerOrTheNearestParentThatTakesIt) {
    World w;
    tk::Panel panel(&w.win, "panel");
    panel.setBounds(0, 0, 100, 100);
    tk::Picture inner(&panel, "inner");  // takes no wheel: its panel does
    inner.setBounds(10, 10, 20, 20);
    tk::Picture own(&panel, "own");
    own.setBounds(50, 10, 20, 20);
    std::string log;
    panel.onMouseWheel = [&](int steps) { log += "panel" + std::to_string(steps) + " "; };
    own.onMouseWheel = [&](int steps) { log += "own" + std::to_string(steps) + " "; };
    // Through the application, as every backend delivers it, with the observer told first.
    struct Watcher : tk::InputObserver {
        std::string seen;
        void mouseWheel(tk::Window&, int x, int y, int steps) override {
            seen += std::to_string(x) + "," + std::to_string(y) + ":" + std::to_string(steps) + " ";
        }
    } watcher;
    w.app.inputObserver = &watcher;
    w.app.inputMouseWheel(w.win, 15, 15, -2);
    w.app.inputMouseWheel(w.win, 55, 15, 1);
    w.app.inputMouseWheel(w.win, 55, 15, 0);   // no notch: nothing turns
    w.app.inputMouseWheel(w.win, 150, 50, 3);  // over the bare window, which takes none
    EXPECT_EQ(log, "panel-2 own1 ");
    EXPECT_EQ(watcher.seen, "15,15:-2 55,15:1 55,15:0 150,50:3 ");
    w.app.inputObserver = nullptr;
    // A modal window keeps the wheel from the main window too.
    tk::Window dialog(w.app, "dialog", 50, 50, tk::rgb(23, 23, 23));
    w.app.showModal(dialog);
    w.win.mouseWheel(55, 15, 1);
    dialog.close();
    own.hide();
    w.win.mouseWheel(55, 15, 4);
    EXPECT_EQ(log, "panel-2 own1 panel4 ");
}

TEST(Input, TheWindowSeesEveryKeyBeforeTheFocusedControl) {
    World w;
    tk::EditBox edit(&w.win, "edit", tk::FontSpec{}, tk::rgb(0, 0, 0));
    edit.setBounds(0, 0, 100, 20);
    edit.maxLength = 3;
    w.win.setFocus(&edit);
    std::string seen;
    w.win.onKeyDown = [&](int& vk) {
        seen += std::to_string(vk) + " ";
        if (vk == 46) vk = 0;  // the window keeps Delete for itself
    };
    w.win.textInput("Zoë東京");
    EXPECT_EQ(edit.text(), "Zoë");  // three characters, five bytes
    w.win.keyDown(8);               // Backspace
    EXPECT_EQ(edit.text(), "Zo");
    w.win.keyDown(36);  // Home
    w.win.keyDown(46);  // eaten by the window
    EXPECT_EQ(edit.text(), "Zo");
    EXPECT_EQ(seen, "8 36 46 ");
    edit.hide();
    w.win.textInput("x");
    EXPECT_EQ(edit.text(), "Zo");
}

// The caret stands after the last letter typed: at the right of a Latin name, at the left of a
// Hebrew one, which reads from the right.
TEST(Input, TheCaretFollowsTheNamesDirection) {
    World w;
    tk::FontSpec font;
    font.colour = tk::rgb(255, 255, 255);
    tk::EditBox edit(&w.win, "edit", font, tk::rgb(0, 0, 0));
    edit.setBounds(0, 0, 200, 30);
    w.win.setFocus(&edit);
    // The caret is the one column lit from the top of the box to its bottom.
    const auto caretColumn = [&] {
        for (int x = 0; x < 200; ++x) {
            int lit = 0;
            for (int y = 3; y < 24; ++y) lit += w.win.composedPixel(x, y) == tk::rgb(255, 255, 255);
            if (lit >= 18) return x;
        }
        return -1;
    };
    w.win.textInput("Ada");
    EXPECT_GT(caretColumn(), 20);
    edit.setText("");
    w.win.textInput("שלום");
    EXPECT_GE(caretColumn(), 0);
    EXPECT_LE(caretColumn(), 3);
    w.win.keyDown(36);  // Home: before the first letter, at the right
    EXPECT_GT(caretColumn(), 20);
}

TEST(Input, AModalWindowTakesTheInputWhileTheMainWindowWaits) {
    World w;
    tk::Window dialog(w.app, "dialog", 50, 50, tk::rgb(23, 23, 23));
    int mainKeys = 0, dialogKeys = 0;
    w.win.onKeyDown = [&](int&) { ++mainKeys; };
    dialog.onKeyDown = [&](int&) { ++dialogKeys; };
    bool closed = false;
    w.app.showModal(dialog, [&] { closed = true; });
    EXPECT_EQ(w.app.activeWindow(), &dialog);
    w.win.keyDown(38);
    dialog.keyDown(38);
    EXPECT_EQ(mainKeys, 0);
    EXPECT_EQ(dialogKeys, 1);
    dialog.close();
    EXPECT_TRUE(closed);
    w.win.keyDown(38);
    EXPECT_EQ(mainKeys, 1);
}

TEST(Input, ShiftHoldsOnlyForThePressItCameWith) {
    World w;
    std::vector<std::pair<int, bool>> seen;
    w.win.onKeyDown = [&](int& vk) {
        seen.emplace_back(vk, w.app.shiftHeld());
        if (vk == 8) throw std::runtime_error("handler failed");
    };
    w.win.onKeyUp = [&](int& vk) { seen.emplace_back(-vk, w.app.shiftHeld()); };
    w.app.inputKeyDown(w.win, 9, true);
    w.app.inputKeyUp(w.win, 9);
    w.app.inputKeyDown(w.win, 9);
    // A handler that fails does not leave Shift held.
    w.app.inputKeyDown(w.win, 8, true);
    w.app.inputKeyDown(w.win, 38);
    // A press that a handler makes itself (a controller's) carries no Shift.
    w.app.dispatch([&] { w.win.keyDown(40); });
    const std::vector<std::pair<int, bool>> want = {{9, true}, {-9, false}, {9, false},
                                                    {8, true}, {38, false}, {40, false}};
    EXPECT_EQ(seen, want);
    EXPECT_FALSE(w.app.shiftHeld());
}

TEST(Input, AnErrorEscapingAHandlerIsReportedAndTheLoopGoesOn) {
    World w;
    tk::Timer t(w.app, "t", 10, true);
    int ticks = 0;
    t.onTimer = [&] {
        ++ticks;
        throw std::runtime_error("Cannot open file \"x.bmp\"");
    };
    w.backend.advance(w.app, 20);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(w.backend.takeErrors().size(), 2u);
}

TEST(Input, ThePlatformsTextInputRunsWhileAnOpenWindowsTextBoxHasTheFocus) {
    World w{false};
    tk::Window& win = w.win;
    tk::HeadlessBackend& backend = w.backend;
    tk::Panel panel(&win, "panel");
    tk::EditBox box(&panel, "box", tk::FontSpec{}, tk::rgb(0, 0, 0));
    tk::PushButton button(&win, "button", "Ok", tk::FontSpec{});
    win.setFocus(&box);
    EXPECT_FALSE(backend.textInputOn());  // not on screen yet
    win.open();
    EXPECT_TRUE(backend.textInputOn());
    win.setFocus(&button);
    EXPECT_FALSE(backend.textInputOn());
    win.setFocus(&box);
    EXPECT_TRUE(backend.textInputOn());
    panel.hide();  // the box goes with its panel, and the focus with it
    EXPECT_FALSE(backend.textInputOn());
    panel.show();
    win.setFocus(&box);
    const int changes = backend.textInputChanges();
    win.setFocus(&box);
    EXPECT_EQ(backend.textInputChanges(), changes);  // started once, not again
    win.close();
    EXPECT_FALSE(backend.textInputOn());
}

TEST(Input, TheWindowTellsWhereEachPressCameFromAndAPadsKeysStayThePads) {
    World w;
    std::string sources;
    w.win.onInputSource = [&](tk::InputSource s) {
        sources += s == tk::InputSource::Keyboard ? 'k' : s == tk::InputSource::Mouse ? 'm' : 'p';
    };
    // The pad handler passes its presses on as keys, as the game's does.
    w.win.onPad = [&](tk::PadButton, bool down) {
        if (down) w.win.keyDown(38);
    };
    w.win.keyDown(65);
    w.win.keyUp(65);
    w.win.textInput("a");
    w.win.mouseMove(5, 5);
    w.win.mouseDown(tk::MouseButton::Left, 5, 5);
    w.win.mouseUp(tk::MouseButton::Left, 5, 5);
    w.win.padButton(tk::PadButton::A, true);
    w.win.padButton(tk::PadButton::A, false);
    w.win.keyDown(13);
    EXPECT_EQ(sources, "kkmmpk");
}

}  // namespace
