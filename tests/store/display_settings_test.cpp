// The scale and fullscreen choices in the settings file: read back as written, damaged values
// fall back to the automatic scale, and the other settings stay as they were.
#include "app/display_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumcrest {
namespace {

namespace fs = std::filesystem;

class DisplaySettingsFile : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("lumcrest-display-" + std::to_string(::getpid()));
    std::string path = (dir / "lumcrest.ini").string();
    Profile file{path};
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& text) { std::ofstream(path) << text; }
    std::string text() {
        std::stringstream s;
        s << std::ifstream(path).rdbuf();
        return s.str();
    }
};

TEST_F(DisplaySettingsFile, ChoicesRoundTripBesideTheOtherSettings) {
    DisplaySettings none = readDisplaySettings(file);
    EXPECT_EQ(none.scale, 0);
    EXPECT_FALSE(none.fullscreen);
    write("[Settings]\nFirst=0\nName=Ann\n");
    writeDisplaySettings(file, DisplaySettings{3, true});
    DisplaySettings back = readDisplaySettings(file);
    EXPECT_EQ(back.scale, 3);
    EXPECT_TRUE(back.fullscreen);
    EXPECT_NE(text().find("Name=Ann"), std::string::npos);
    EXPECT_NE(text().find("First=0"), std::string::npos);
    writeDisplaySettings(file, DisplaySettings{0, false});
    EXPECT_EQ(readDisplaySettings(file).scale, 0);
    EXPECT_FALSE(readDisplaySettings(file).fullscreen);
}

TEST_F(DisplaySettingsFile, DamagedOrOutOfRangeScalesMeanAutomatic) {
    for (const char* bad : {"5", "-1", "99999999999", "two", ""}) {
        write(std::string("[Settings]\nScale=") + bad + "\nFullscreen=1\n");
        EXPECT_EQ(readDisplaySettings(file).scale, 0) << bad;
        EXPECT_TRUE(readDisplaySettings(file).fullscreen) << bad;
    }
    write("[Settings]\nScale=4\n");
    EXPECT_EQ(readDisplaySettings(file).scale, 4);
}

}  // namespace
}  // namespace lumcrest
