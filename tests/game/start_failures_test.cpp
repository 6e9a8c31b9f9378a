// A start that cannot finish says what is missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/program.h"
#include "toolkit/application.h"
#include "toolkit/error.h"
#include "toolkit/headless/headless_backend.h"

namespace {

namespace fs = std::filesystem;

// A data folder like the game's own, with every file but MISSING, worked in for the test's time.
class DataFolderWithout {
  public:
    explicit DataFolderWithout(const std::string& missing) : before_(fs::current_path()) {
        std::string pattern = (fs::temp_directory_path() / "lumcrest-start-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        dir_ = pattern;
        for (const fs::directory_entry& e : fs::directory_iterator(LUMCREST_TEST_DATA_DIR))
            if (e.path().filename() != missing)
                fs::create_symlink(e.path(), dir_ / e.path().filename());
        fs::current_path(dir_);
    }
    ~DataFolderWithout() {
        std::error_code ec;
        fs::current_path(before_, ec);
        fs::remove_all(dir_, ec);
    }
    fs::path dir() const { return dir_; }

  private:
    fs::path before_, dir_;
};

TEST(StartFailures, AMissingMusicTrackIsNamed) {
    for (const char* settings : {"", "[Settings]\nFirst=0\n"}) {
        const std::string track = *settings ? "music.mp3" : "menumusic.mp3";
        DataFolderWithout data(track);
        lumcrest::Environment env;
        env.settingsPath = (data.dir() / "lumcrest.ini").string();
        if (*settings) std::ofstream(env.settingsPath) << settings;
        env.webAddress = "about:blank";
        env.seedSource = [] { return 1u; };
        tk::HeadlessBackend backend;
        tk::Application app(backend);
        try {
            lumcrest::startProgram(app, env);
            ADD_FAILURE() << "the game started without " << track;
        } catch (const tk::Error& e) {
            EXPECT_NE(std::string(e.what()).find(track), std::string::npos) << e.what();
        }
    }
}

}  // namespace
