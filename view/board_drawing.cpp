// The board redraw and the window's repaint. Drawing goes straight onto the window surface, so the
// redraw touches only the cells whose value changed since it last drew them; only a repaint
// requested by the window system draws everything.
#include "view/board_drawing.h"

#include "assets/catalogue.h"
#include "game/matching.h"
#include "toolkit/error.h"
#include "view/board_view.h"
#include "view/frame_sizes.h"

namespace lumcrest {

namespace {

// Colours of the progress bar's 14 pixel columns, x 47..60: liquid gold in glass, lit from the
// left, amber at its rims and white-hot in its core, the light the jar glows in.
constexpr tk::Argb kTubeColours[kTubeWidth] = {
    tk::rgb(110, 52, 8),    tk::rgb(200, 110, 20),  tk::rgb(240, 160, 40),  tk::rgb(255, 196, 70),
    tk::rgb(255, 222, 120), tk::rgb(255, 240, 190), tk::rgb(255, 255, 255), tk::rgb(255, 250, 225),
    tk::rgb(255, 230, 150), tk::rgb(255, 206, 90),  tk::rgb(245, 176, 50),  tk::rgb(222, 140, 30),
    tk::rgb(180, 96, 16),   tk::rgb(110, 52, 8)};

// Where the MENU button sits on the field: under the place of the menu's Back button.
constexpr int kMenuButtonLeft = 664, kMenuButtonTop = 531;
// The right edge of the background the pressed button is drawn over.
constexpr int kMenuButtonRight = 801;

}  // namespace

void drawTubeRow(tk::Surface& surface, int y) {
    for (int i = 0; i < kTubeWidth; ++i) surface.setPixel(kTubeLeft + i, y, kTubeColours[i]);
}

void BoardView::loadPictures() {
    Blockimage = tk::ImageList::fromEmbedded(asset::kGems);
    firstanim = tk::ImageList::fromEmbedded(asset::kGlints);
    lightanim = tk::ImageList::fromEmbedded(asset::kSheens);
    waveanim = tk::ImageList::fromEmbedded(asset::kWaveLights);
    cracks = tk::ImageList::fromEmbedded(asset::kCracks);
    gemsblast2 = tk::ImageList::fromEmbedded(asset::kBursts);
    jar = tk::ImageList::fromEmbedded(asset::kJar);
    jarbacks = tk::ImageList::fromEmbedded(asset::kJarGrounds);
    menulist = tk::ImageList::fromEmbedded(asset::kMenuButton);
}

void BoardView::decodePlayPictures() const {
    // Each would stall a tick of play at its first frame (the sparkle, the wave and the chain's
    // flash, the first explosion). The jar, its backgrounds and the cracks come only at a
    // stage's end or a lost game and are left until then, which keeps the menu's memory down.
    for (const tk::ImageList* list : {&Blockimage, &firstanim, &lightanim, &waveanim, &menulist}) {
        try {
            list->strip();
        } catch (const tk::Error&) {
            // Left undecoded: its first draw meets the same fault, as it always did.
        }
    }
}

bool BoardView::drawBoard(GameState& g, Random& rng, bool calm) {
    tk::Surface& s = surface_;
    blastStarted = false;
    for (int c = 1; c <= 10; ++c) {
        for (int r = 1; r <= 10; ++r) {
            const int i = gridIndex(columnX(c), rowY(r));
            const int v = g.board[i];
            const int shown = shownCells[i];
            const int px = cellLeft(c), py = cellTop(r);
            // A marked gem starts exploding; every explosion of one pass shares one look.
            if (g.marks[i] && v != 0) {
                if (!blastStarted) blastStyle = chooseBlastStyle(rng);
                g.blastCells[i] = v;
                shownCells[i] = -5;
                eraseCell(c, r);
                // The burst over the field shows the gem going; without it, the cell's frames.
                if (!effects) s.drawFrame(burstFrames(calm), 2 + 10 * blastStyle, px, py);
                blastStarted = true;
                blastFrame = 0;
            }
            if (!g.gameOver && v > 0 && ((v != shown && !g.marks[i]) || paintAll)) {
                eraseCell(c, r);
                s.drawFrame(Blockimage, v, px, py);
            }
            if (v == 0 && shown != 0) eraseCell(c, r);
            // A lost game shows every gem cracked, over whatever the cell already shows.
            if (v > 0 && g.gameOver)
                s.drawFrame(crackFrames(calm), frameIndex(3LL * v - 1), px, py);
        }
    }
    // The preview: every gem picture covers the one below it, so no erase is needed. A bar that
    // was just shifted or rotated leaves the preview alone.
    if (!g.shapeMoved)
        for (int k = 1; k <= 3; ++k)
            if (g.Nextshape[k] > 0)
                s.drawFrame(Blockimage, g.Nextshape[k], previewLeft(k), kPreviewTop);
    if (blastStarted) announceBlast(g, calm);
    // Cells that started exploding must be drawn again once the explosion is over.
    if (!blastStarted)
        for (int x = kFirstX; x <= kLastX; ++x)
            for (int y = kFirstY; y <= kLastY; ++y)
                shownCells[gridIndex(x, y)] = g.board[gridIndex(x, y)];
    g.shapeMoved = false;
    return blastStarted;
}

bool BoardView::repaint(GameState& g, Random& rng, bool calm, bool exploding) {
    surface_.fillWithBrush(kFrameRect);
    paintAll = true;
    // During an explosion only its own frames are drawn on the board. The erase above took the
    // resting gems with it, so the next board redraw must draw every cell again.
    bool started = false;
    if (!exploding)
        started = drawBoard(g, rng, calm);
    else
        forgetCells(kFirstY);
    surface_.drawFrame(menulist, menuLit ? 1 : 0, kMenuButtonLeft, kMenuButtonTop);
    // The progress bar, one pixel row per unit of Total; rows above the window are not drawn,
    // so an edited Total far beyond the tube costs nothing.
    for (int i = 0; i <= g.Total; ++i) {
        const int y = kTubeBase - i;
        if (y < 0) break;
        drawTubeRow(surface_, y);
    }
    paintAll = false;
    return started;
}

void BoardView::eraseCell(int c, int r) {
    surface_.fillWithBrush(tk::Rect{cellLeft(c), cellTop(r), kCellSize, kCellSize});
}

void BoardView::forgetCells(int fromY) {
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = fromY; y <= kLastY; ++y) shownCells[gridIndex(x, y)] = -5;
}

void BoardView::coverSparkle(const GameState& g) {
    // The sparkle draws over its gem; the launch repaints the gem before the sparkle is dropped.
    // Gem frames are opaque edge to edge (the forge's tests hold them to it): no erase needed.
    if (twinkleColumn >= 1 && twinkleColumn <= 10 && twinkleRow >= 1 && twinkleRow <= 10) {
        const int v = g.cellAt(columnX(twinkleColumn), rowY(twinkleRow));
        if (v > 0) surface_.drawFrame(Blockimage, v, cellLeft(twinkleColumn), cellTop(twinkleRow));
    }
}

void BoardView::drawMenuButton(int look) {
    surface_.drawFrame(menulist, look, kMenuButtonLeft, kMenuButtonTop);
}

void BoardView::pressMenuButton() {
    surface_.fillWithBrush(tk::Rect{kMenuButtonLeft, kMenuButtonTop,
                                    kMenuButtonRight - kMenuButtonLeft,
                                    kFrameHeight - kMenuButtonTop});
    surface_.drawFrame(menulist, 2, kMenuButtonLeft, kMenuButtonTop);
}

}  // namespace lumcrest
