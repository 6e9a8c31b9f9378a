// The walls around the well, as a fresh window, a new game and a new stage build them.
#include "game/walls.h"

namespace lumcrest {

namespace {

// Writes V to every cell of columns x0..x1, rows y0..y1.
void fill(GameState& s, int x0, int x1, int y0, int y1, int v) {
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) s.board[gridIndex(x, y)] = v;
}

}  // namespace

void buildWalls(GameState& s, Walls when) {
    switch (when) {
        case Walls::Frame:
            fill(s, kFrameLeftX, kFrameRightX, kFloorY, kFloorY, kWall);
            fill(s, kFrameLeftX, kFrameRightX, kWallY, kWallY, kWall);
            fill(s, kLeftSideX, kLeftSideX, kFloorY, kSideTopY, kWall);
            fill(s, kRightSideX, kRightSideX, kFloorY, kSideTopY, kWall);
            return;
        case Walls::NewGame: fill(s, kLeftSideX, kLastX, kClearedFromY, kWallY, kEmpty); break;
        case Walls::NextStage:
            fill(s, kLeftSideX, kLeftSideX, kFloorY, kWallY, kEmpty);
            fill(s, kLeftSideX, kLastX, kFloorY, kFloorY, kEmpty);
            break;
    }
    fill(s, kLeftSideX, kCeilingRightX, kWallY, kWallY, kWall);
}

}  // namespace lumcrest
