// What an explosion sends over the field besides its cells' own frames: a burst from every cleared
// gem in its colour, a ring from every bomb that went off, each group's points rising from its
// middle, and from a chain's second step its count in the well.
#include <algorithm>
#include <string>
#include <vector>

#include "game/board_geometry.h"
#include "toolkit/i18n.h"
#include "view/board_view.h"

namespace lumcrest {

namespace {

// Where the chain's count grows in the well.
constexpr int kChainMarkY = 330;
constexpr int kChainMarkMs = 1100;
// A points figure grows by this at each step of a chain, up to the biggest; a bomb's is bigger.
constexpr int kFigureGrowth = 5;
constexpr int kBiggestFigure = 42;
constexpr int kBombFigureSize = 46;

}  // namespace

tk::Argb BoardView::gemColour(int v) {
    if (v == kJoker) return tk::rgb(255, 244, 214);
    if (v == kBomb) return tk::rgb(255, 160, 64);
    if (v < 1 || v > kBomb) return tk::rgb(255, 255, 255);
    tk::Argb& known = gemColours_[v];
    if (known != 0) return known;
    // The middle of the gem's picture, brought up to full brightness: the colour it reads as.
    // Each pixel counts by how strongly coloured it is, so the white symbol and the highlight
    // (a red gem's pale diamond) do not wash the colour out towards pink or violet.
    const tk::Image& strip = Blockimage.strip();
    const tk::Rect f = Blockimage.frameRect(v);
    long long r = 0, g = 0, b = 0;
    for (int y = f.h / 4; y < f.h * 3 / 4; ++y)
        for (int x = f.w / 4; x < f.w * 3 / 4; ++x) {
            const tk::Argb p = strip.pixel(f.x + x, f.y + y);
            const int pr = tk::redOf(p), pg = tk::greenOf(p), pb = tk::blueOf(p);
            const long long w = 1 + std::max({pr, pg, pb}) - std::min({pr, pg, pb});
            r += w * w * pr, g += w * w * pg, b += w * w * pb;
        }
    const long long top = std::max({r, g, b, 1LL});
    auto lift = [&](long long c) { return int(std::clamp(c * 255 / top, 40LL, 255LL)); };
    known = tk::rgb(lift(r), lift(g), lift(b));
    return known;
}

void BoardView::announceBlast(const GameState& g, bool calm) {
    if (!effects) return;
    bool seen[kGridSize] = {};
    const long long perGem = 20LL * g.Blocks - 100;
    // The groups cleared together earn one figure: their total, from the middle of them all.
    long long points = 0;
    double sumX = 0, sumY = 0;
    long long gems = 0;
    bool bomb = false;
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r) {
            const int i = gridIndex(columnX(c), rowY(r));
            const int v = g.blastCells[i];
            if (v == 0 || !g.marks[i]) continue;
            const int x = cellLeft(c) + kCellSize / 2, y = cellTop(r) + kCellSize / 2;
            effects->burst(x, y, gemColour(v), 0, calm);
            if (v == kBomb) {
                effects->ring(x, y, calm);
                bomb = true;
            }
            if (seen[i]) continue;
            // The group: the marked gems that touch this one, side or corner.
            std::vector<int> todo{i};
            seen[i] = true;
            long long sx = 0, sy = 0, n = 0;
            while (!todo.empty()) {
                const int k = todo.back();
                todo.pop_back();
                const int kx = k / 100, ky = k % 100;
                sx += kx, sy += ky, ++n;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = kx + dx, ny = ky + dy;
                        if (nx < kFirstX || nx > kLastX || ny < kFirstY || ny > kLastY) continue;
                        const int j = gridIndex(nx, ny);
                        if (seen[j] || !g.marks[j] || g.blastCells[j] == 0) continue;
                        seen[j] = true;
                        todo.push_back(j);
                    }
            }
            if (perGem * n <= 0) continue;
            points += perGem * n;
            sumX += double(sx), sumY += double(sy), gems += n;
        }
    const int step = g.settleSteps + 1;
    if (points > 0) {
        // The middle of the groups, in columns and rows counted from the well's first. The
        // figure grows with the chain's depth, and a bomb's the most.
        const double mc = sumX / gems - (kFirstX - 1), mr = sumY / gems - (kFirstY - 1);
        const int size =
            bomb ? kBombFigureSize
                 : std::min(kBiggestFigure, FieldEffects::kFigureSize + kFigureGrowth * (step - 1));
        effects->risingFigure(int(cellLeft(1) + (mc - 1) * kCellSize + kCellSize / 2),
                              int(cellTop(1) - (mr - 1) * kCellSize + kCellSize / 2),
                              "+" + std::to_string(points), size);
    }
    if (step >= 2)
        effects->mark(tk::tr("Chain x%s", std::to_string(step)), kChainMarkY, 40, kChainMarkMs,
                      true);
}

}  // namespace lumcrest
