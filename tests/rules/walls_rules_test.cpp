// The walls around the well, cell by cell, as a fresh window, a new game and each new stage leave
// them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/stages.h"
#include "game/walls.h"

namespace lumcrest::testing {
namespace {

// The walls of columns x 8..29, rows y 30 (first line) down to y 16: '#' a wall, '.' anything
// else. The well is x 11..20, y 18..27; the ceiling is y 28.
std::vector<std::string> wallMap(const GameState& s) {
    std::vector<std::string> map;
    for (int y = 30; y >= 16; --y) {
        std::string line;
        for (int x = 8; x <= 29; ++x) line += s.board[gridIndex(x, y)] == kWall ? '#' : '.';
        map.push_back(line);
    }
    return map;
}
int wallCount(const GameState& s) {
    int n = 0;
    for (int v : s.board) n += v == kWall;
    return n;
}

// clang-format off
const std::vector<std::string> kFreshWindow = {
    "......................",
    "..#..........#........",
    ".##############.......",
    "..#..........#........",
    "..#..........#........",
    "..#..........#........",
    "..#..........#........",
    "..#..........#........",
    "..#..........#........",
    "..#..........#........",
    "..#..........#........",
    "..#..........#........",
    "..#..........#........",
    ".##############.......",
    "......................",
};
// A new game and every new stage: the left side and the floor go, the ceiling reaches further.
const std::vector<std::string> kInPlay = {
    "......................",
    "..#..........#........",
    ".####################.",
    ".............#........",
    ".............#........",
    ".............#........",
    ".............#........",
    ".............#........",
    ".............#........",
    ".............#........",
    ".............#........",
    ".............#........",
    ".............#........",
    ".#...........##.......",
    "......................",
};
// clang-format on

TEST(Walls, AFreshWindowWallsTheWellInOnEverySide) {
    GameState s;
    buildWalls(s, Walls::Frame);
    EXPECT_EQ(wallMap(s), kFreshWindow);
    EXPECT_EQ(wallCount(s), 50);  // none outside the map
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) EXPECT_EQ(s.board[gridIndex(x, y)], kEmpty);
}

TEST(Walls, ANewGameAndEachNewStageLeaveTheCeilingAndTheRightSide) {
    GameState s;
    Random rng;
    rng.seed(3);
    buildWalls(s, Walls::Frame);
    s.board[gridIndex(15, 12)] = 4;  // under the well: a new game empties it
    startNewGame(s, rng);
    EXPECT_EQ(wallMap(s), kInPlay);
    EXPECT_EQ(wallCount(s), 35);
    EXPECT_EQ(s.board[gridIndex(15, 12)], kEmpty);
    for (int stage = 2; stage <= 4; ++stage) {
        advanceStage(s, rng);
        EXPECT_EQ(wallMap(s), kInPlay) << "stage " << stage;
        EXPECT_EQ(wallCount(s), 35) << "stage " << stage;
    }

    // The first stage of a first run is played inside the fresh window's frame.
    GameState first;
    buildWalls(first, Walls::Frame);
    advanceStage(first, rng);
    EXPECT_EQ(wallMap(first), kInPlay);
}

}  // namespace
}  // namespace lumcrest::testing
