// Where cells are: grid indices and pixel positions of the 10 x 10 well.
//
// Every per-cell grid has 100 x 100 entries indexed x * 100 + y. Columns 1..10 are x 11..20 and
// rows 1..10 (row 1 is the launch row at the bottom, row 10 the top) are y 18..27. Row y 28
// holds the wall that stops a rising gem; y grows upward, toward row 10.
#pragma once

namespace lumcrest {

constexpr int kGridSize = 10000;
constexpr int kFirstX = 11, kLastX = 20;  // columns 1..10
constexpr int kFirstY = 18, kLastY = 27;  // rows 1..10
constexpr int kLaunchY = 18;
constexpr int kWallY = 28;

// Cell values.
constexpr int kEmpty = 0;
constexpr int kJoker = 11;
constexpr int kBomb = 12;
constexpr int kWall = 20;

constexpr int gridIndex(int x, int y) {
    return x * 100 + y;
}
constexpr bool inGrid(int x, int y) {
    return x >= 0 && x < 100 && y >= 0 && y < 100;
}
constexpr int columnX(int c) {
    return c + 10;
}
constexpr int rowY(int r) {
    return r + 17;
}

// Top-left pixel of the cell in column c, row r.
constexpr int cellLeft(int c) {
    return 60 + 48 * c;
}
constexpr int cellTop(int r) {
    return 520 - 48 * r;
}
constexpr int kCellSize = 48;

// The preview bar's gems, k = 1..3.
constexpr int previewLeft(int k) {
    return 48 * k + 609;
}
constexpr int kPreviewTop = 80;

// The stage progress bar: 14 pixel columns, growing up from y 465 by one row per unit of Total.
constexpr int kTubeLeft = 47;
constexpr int kTubeWidth = 14;
constexpr int kTubeBase = 465;
constexpr int kTubeMax = 367;

// The bar waits at columns 4, 5, 6 of the launch row.
constexpr int kHomeX1 = 14;

}  // namespace lumcrest
