// The forge's output and the asset catalogue agree: every catalogued file is there with its
// catalogued size, and the forge writes nothing the catalogue does not name.

#include "assets/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/assets/image_reader.h"

namespace {

namespace asset = lumcrest::asset;
namespace fs = std::filesystem;

const fs::path kRoot = LUMCREST_FORGE_DIR;

const char* const kLanguages[] = {"de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru"};

// The picture's size as its file says, or 0 x 0 for what is not a picture or cannot be read.
struct Size {
    int width = 0, height = 0;
};
Size pictureSize(const fs::path& path) {
    const std::string ext = path.extension().string();
    if (ext == ".png" || ext == ".jpg") {
        const auto img = ext == ".png" ? forge_test::readPng(path.string())
                                       : forge_test::readJpeg(path.string());
        return {img.width, img.height};
    }
    if (ext == ".bmp") {
        const auto bytes = forge_test::readFile(path.string());
        if (bytes.size() < 26) return {};
        return {int(forge_test::le32(bytes, 18)), int(forge_test::le32(bytes, 22))};
    }
    return {};
}

// Every file the forge wrote, from its output folder, leaving out the translations' folders
// and the report of the words' fit.
std::vector<std::string> forgedFiles() {
    std::vector<std::string> found;
    for (const char* folder : {"data", "embedded", "icons"})
        for (const auto& entry : fs::directory_iterator(kRoot / folder))
            if (entry.is_regular_file())
                found.push_back(std::string(folder) + "/" + entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

TEST(Catalogue, NamesEveryFileOnceAndStripsLayFourFramesToARow) {
    std::set<std::string> seen;
    for (const auto& e : asset::everyFile()) EXPECT_TRUE(seen.insert(e.path).second) << e.path;
    EXPECT_EQ(std::size(asset::kEffects), 11u);
    EXPECT_EQ(asset::kGems.width(), 192);
    EXPECT_EQ(asset::kGems.height(), 192);
    EXPECT_EQ(asset::kJarGrounds.height(), 200);  // six frames: a second row half full
    EXPECT_EQ(asset::kBackgrounds.file(0), "bg101.png");
    EXPECT_EQ(asset::kBackgrounds.file(5), "bg106.png");
    EXPECT_EQ(asset::kMusicSwitch.file(3), "Music_3.bmp");
}

TEST(Catalogue, EveryCataloguedFileIsForgedWithItsSize) {
    for (const auto& e : asset::everyFile()) {
        SCOPED_TRACE(e.path);
        const fs::path path = kRoot / e.path;
        ASSERT_TRUE(fs::is_regular_file(path)) << "not forged";
        EXPECT_GT(fs::file_size(path), 0u);
        const Size size = pictureSize(path);
        EXPECT_EQ(size.width, e.width);
        EXPECT_EQ(size.height, e.height);
    }
}

TEST(Catalogue, TheForgeMakesNothingElse) {
    std::vector<std::string> catalogued;
    for (const auto& e : asset::everyFile()) catalogued.push_back(e.path);
    std::sort(catalogued.begin(), catalogued.end());
    EXPECT_EQ(forgedFiles(), catalogued);
    // Only the translations' folders and the fit report lie beside them.
    std::set<std::string> rest;
    for (const auto& entry : fs::directory_iterator(kRoot / "data"))
        if (entry.is_directory()) rest.insert(entry.path().filename().string());
    EXPECT_EQ(rest, std::set<std::string>(std::begin(kLanguages), std::end(kLanguages)));
}
