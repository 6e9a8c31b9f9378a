// The board redraw and the window's repaint. Drawing goes straight onto the window surface, so the
// redraw touches only the cells whose value changed since it last drew them; only a repaint
// requested by the window system draws everything.
#include "view/board_drawing.h"

#include "app/form.h"
#include "assets/catalogue.h"
#include "game/matching.h"
#include "toolkit/error.h"
#include "view/frame_sizes.h"

namespace lumcrest {

namespace {

// Colours of the progress bar's 14 pixel columns, x 47..60: dark rims, a white-hot core.
constexpr tk::Argb kTubeColours[kTubeWidth] = {
    tk::rgb(128, 0, 0),   tk::rgb(255, 0, 0),   tk::rgb(255, 0, 0),     tk::rgb(255, 128, 0),
    tk::rgb(255, 128, 0), tk::rgb(255, 255, 0), tk::rgb(255, 255, 255), tk::rgb(255, 255, 255),
    tk::rgb(255, 255, 0), tk::rgb(255, 128, 0), tk::rgb(255, 128, 0),   tk::rgb(255, 0, 0),
    tk::rgb(255, 0, 0),   tk::rgb(128, 0, 0)};

}  // namespace

void drawTubeRow(tk::Surface& surface, int y) {
    for (int i = 0; i < kTubeWidth; ++i) surface.setPixel(kTubeLeft + i, y, kTubeColours[i]);
}

void decodePlayPictures(const TForm1& form) {
    // Each would stall a tick of play at its first frame (the sparkle, the wave and the chain's
    // flash, the first explosion). The jar, its backgrounds and the cracks come only at a
    // stage's end or a lost game and are left until then, which keeps the menu's memory down.
    for (const tk::ImageList* list : {&form.Blockimage, &form.firstanim, &form.lightanim,
                                      &form.waveanim, &form.gemsblast2, &form.menulist}) {
        try {
            list->strip();
        } catch (const tk::Error&) {
            // Left undecoded: its first draw meets the same fault, as it always did.
        }
    }
}

void TForm1::drawBoard() {
    tk::Surface& s = surface();
    blastStarted = false;
    for (int c = 1; c <= 10; ++c) {
        for (int r = 1; r <= 10; ++r) {
            const int i = gridIndex(columnX(c), rowY(r));
            const int v = board[i];
            const int shown = shownCells[i];
            const int px = cellLeft(c), py = cellTop(r);
            // A marked gem starts exploding; every explosion of one pass shares one look.
            if (marks[i] && v != 0) {
                if (!blastStarted) blastStyle = chooseBlastStyle(rng);
                blastCells[i] = v;
                shownCells[i] = -5;
                eraseCell(c, r);
                s.drawFrame(burstFrames(), 2 + 10 * blastStyle, px, py);
                blastStarted = true;
                blastFrame = 0;
            }
            if (!gameOver && v > 0 && ((v != shown && !marks[i]) || paintAll)) {
                eraseCell(c, r);
                s.drawFrame(Blockimage, v, px, py);
            }
            if (v == 0 && shown != 0) eraseCell(c, r);
            // A lost game shows every gem cracked, over whatever the cell already shows.
            if (v > 0 && gameOver) s.drawFrame(crackFrames(), frameIndex(3LL * v - 1), px, py);
        }
    }
    // The preview: every gem picture covers the one below it, so no erase is needed. A bar that
    // was just shifted or rotated leaves the preview alone.
    if (!shapeMoved)
        for (int k = 1; k <= 3; ++k)
            if (Nextshape[k] > 0)
                s.drawFrame(Blockimage, Nextshape[k], previewLeft(k), kPreviewTop);
    // Cells that started exploding must be drawn again once the explosion is over.
    if (!blastStarted)
        for (int x = kFirstX; x <= kLastX; ++x)
            for (int y = kFirstY; y <= kLastY; ++y)
                shownCells[gridIndex(x, y)] = board[gridIndex(x, y)];
    shapeMoved = false;
    if (blastStarted) {
        playEffect(asset::kExplosions[blastStyle].file);
        blasttimer.setEnabled(true);
    }
}

void TForm1::redraw() {
    // The menu covers the whole window.
    if (Menupanel.visible()) return;
    surface().fillWithBrush(kFrameRect);
    paintAll = true;
    // During an explosion only its own frames are drawn on the board. The erase above took the
    // resting gems with it, so the next board redraw must draw every cell again.
    if (!blasttimer.enabled()) {
        drawBoard();
    } else {
        for (int x = kFirstX; x <= kLastX; ++x)
            for (int y = kFirstY; y <= kLastY; ++y) shownCells[gridIndex(x, y)] = -5;
    }
    surface().drawFrame(menulist, menuLit ? 1 : 0, 664, 531);
    // The progress bar, one pixel row per unit of Total; rows above the window are not drawn,
    // so an edited Total far beyond the tube costs nothing.
    for (int i = 0; i <= Total; ++i) {
        const int y = kTubeBase - i;
        if (y < 0) break;
        drawTubeRow(surface(), y);
    }
    paintAll = false;
}

}  // namespace lumcrest
