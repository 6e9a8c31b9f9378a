#include "tests/game/game_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace lumcrest::testing {

namespace fs = std::filesystem;

GameWindow::GameWindow(std::uint32_t seed, const std::string& settings) : app_(backend_) {
    if (::chdir(LUMCREST_TEST_DATA_DIR) != 0)
        throw std::runtime_error("no data folder " LUMCREST_TEST_DATA_DIR);
    std::string pattern = (fs::temp_directory_path() / "lumcrest-game-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    home_ = pattern;
    Environment env;
    env.settingsPath = (fs::path(home_) / "lumcrest.ini").string();
    if (!settings.empty()) std::ofstream(env.settingsPath) << settings;
    env.webAddress = "about:blank";
    env.seedSource = [seed] { return seed; };
    backend_.setClockUs(0);
    program_ = startProgram(app_, env);
    sounds();
}

GameWindow::~GameWindow() {
    program_.reset();
    std::error_code ec;
    if (!home_.empty()) fs::remove_all(home_, ec);
}

void GameWindow::clearBoard() {
    TForm1& f = form();
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) {
            const int i = gridIndex(x, y);
            f.play.board[i] = 0;
            f.play.marks[i] = 0;
            f.play.blastCells[i] = 0;
        }
}

void GameWindow::layBoard(std::initializer_list<const char*> rowsFromTop) {
    clearBoard();
    int r = 10;
    for (const char* line : rowsFromTop) {
        std::istringstream in(line);
        int v, c = 1;
        while (in >> v) put(c++, r, v);
        --r;
    }
}

void GameWindow::placeBar(int c1, int a, int b, int c) {
    TForm1& f = form();
    const int kinds[3] = {a, b, c};
    // The bar leaves the cells it waited in.
    for (int k = 1; k <= 3; ++k)
        if (f.play.shapeY[k] == kLaunchY && f.play.shapeX[k] >= kFirstX &&
            f.play.shapeX[k] <= kLastX)
            f.play.cell(f.play.shapeX[k], kLaunchY) = 0;
    for (int k = 1; k <= 3; ++k) {
        f.play.Shape[k] = kinds[k - 1];
        f.play.shapeX[k] = columnX(c1 + k - 1);
        f.play.shapeY[k] = kLaunchY;
        f.play.cell(f.play.shapeX[k], kLaunchY) = kinds[k - 1];
    }
}

int GameWindow::markedCount() {
    return int(markedCells().size());
}

std::vector<std::pair<int, int>> GameWindow::markedCells() {
    std::vector<std::pair<int, int>> cells;
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r)
            if (form().play.marks[gridIndex(columnX(c), rowY(r))]) cells.emplace_back(c, r);
    return cells;
}

void GameWindow::enterGame() {
    app_.dispatch([&] {
        form().overpanel.hide();
        form().Menupanel.hide();
    });
}

void GameWindow::key(int code) {
    app_.dispatch([&] { form().keyDown(code); });
}

bool GameWindow::played(const std::string& file) {
    for (auto& s : sounds()) heard_.push_back(s);
    return std::find(heard_.begin(), heard_.end(), file) != heard_.end();
}

}  // namespace lumcrest::testing
