// A main window on the headless backend, with a fixed seed and its own settings folder, for
// tests of the rules. The process works in the data folder, as the game does.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "toolkit/application.h"
#include "toolkit/headless/headless_backend.h"

namespace lumcrest::testing {

class GameWindow {
  public:
    // Throws std::runtime_error when the data folder or a temporary folder cannot be had.
    // SETTINGS, when given, is the settings file's text before the game starts.
    explicit GameWindow(std::uint32_t seed = 4242, const std::string& settings = {});
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    TForm1& form() { return *program_->form; }
    TAboutBox& aboutBox() { return *program_->about; }
    tk::HeadlessBackend& backend() { return backend_; }
    tk::Application& app() { return app_; }

    // The value of column c, row r; setting it changes nothing else.
    int at(int c, int r) { return form().play.cellAt(columnX(c), rowY(r)); }
    void put(int c, int r, int v) { form().play.cell(columnX(c), rowY(r)) = v; }
    // Rows as written on paper, top row first: rows({"1 1 0", ...}) fills from row 10 down,
    // columns from 1. Every other play cell is emptied, marks and explosions too.
    void layBoard(std::initializer_list<const char*> rowsFromTop);
    void clearBoard();
    // Moves the waiting bar to columns c1..c1+2 of the launch row with kinds a, b, c.
    void placeBar(int c1, int a, int b, int c);
    int markedCount();
    std::vector<std::pair<int, int>> markedCells();
    // Ends the first-run menu so that keys reach the game; the window repaints.
    void enterGame();
    void key(int code);
    void waitMs(long long ms) { backend_.advance(app_, ms); }
    // Effects played since the last call.
    std::vector<std::string> sounds() { return backend_.recorder().takeEffects(); }
    bool played(const std::string& file);

  private:
    tk::HeadlessBackend backend_;
    tk::Application app_;
    std::unique_ptr<Program> program_;
    std::string home_;
    std::vector<std::string> heard_;
};

}  // namespace lumcrest::testing

#include <gtest/gtest.h>

namespace lumcrest::testing {

// A fresh window for every test.
class GameTest : public ::testing::Test, public GameWindow {};

}  // namespace lumcrest::testing
