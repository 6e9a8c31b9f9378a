// The address of the game's web page: the player's language when a translation is installed, and
// a file address that survives any folder name the game may be installed under.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "app/environment.h"

namespace lumcrest::testing {
namespace {

namespace fs = std::filesystem;

TEST(WebAddress, OnlyUnreservedBytesAndSlashesStayAsTheyAre) {
    EXPECT_EQ(fileAddress("/usr/share/lumcrest/lumcrest.html"),
              "file:///usr/share/lumcrest/lumcrest.html");
    EXPECT_EQ(fileAddress("/a-b_c.d~e/Z9"), "file:///a-b_c.d~e/Z9");
    // '#' would end the path and '?' start a query; '%' would read as an escape.
    EXPECT_EQ(fileAddress("/opt/games #2/100%?/x"), "file:///opt/games%20%232/100%25%3F/x");
    EXPECT_EQ(fileAddress("/a+b;c=d&e'f(g)h[i]j@k:l,m!n$o*p"),
              "file:///a%2Bb%3Bc%3Dd%26e%27f%28g%29h%5Bi%5Dj%40k%3Al%2Cm%21n%24o%2Ap");
    // Non-ASCII names go byte by byte in UTF-8, capital hex digits.
    EXPECT_EQ(fileAddress("/home/jürgen/Spiele/\xE6\x97\xA5"),
              "file:///home/j%C3%BCrgen/Spiele/%E6%97%A5");
}

class WebPageLanguage : public ::testing::Test {
  protected:
    void SetUp() override {
        // A folder of its own for each case: the cases run at the same moment in processes of
        // their own, and other builds on the machine run them too.
        std::string tmpl = (fs::temp_directory_path() / "lumcrest web #XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        data_ = tmpl;
        for (const char* folder : {"", "de", "pt_BR", "fr"}) fs::create_directories(data_ / folder);
        for (const char* page : {"lumcrest.html", "de/lumcrest.html", "pt_BR/lumcrest.html"})
            std::ofstream(data_ / page) << "<html></html>\n";
    }
    void TearDown() override { fs::remove_all(data_); }
    std::string address(const std::string& page) { return fileAddress((data_ / page).string()); }
    fs::path data_;
};

TEST_F(WebPageLanguage, ATranslatedPageIsOpenedInsteadOfTheEnglishOne) {
    EXPECT_EQ(webPageAddress(data_.string(), ""), address("lumcrest.html"));
    EXPECT_EQ(webPageAddress(data_.string(), "de"), address("de/lumcrest.html"));
    EXPECT_EQ(webPageAddress(data_.string(), "pt_BR"), address("pt_BR/lumcrest.html"));
    EXPECT_NE(webPageAddress(data_.string(), "de").find("/lumcrest%20web%20%23"),
              std::string::npos);
}

TEST_F(WebPageLanguage, WithoutItsTranslationTheEnglishPageIsOpened) {
    // "fr" has a folder but no page; "it" has nothing at all.
    EXPECT_EQ(webPageAddress(data_.string(), "fr"), address("lumcrest.html"));
    EXPECT_EQ(webPageAddress(data_.string(), "it"), address("lumcrest.html"));
}

TEST_F(WebPageLanguage, ARelativeDataFolderGivesAnAbsoluteAddress) {
    const fs::path before = fs::current_path();
    fs::current_path(data_ / "de");
    const std::string got = webPageAddress("..", "de");
    fs::current_path(before);
    EXPECT_EQ(got, address("de/lumcrest.html"));
}

}  // namespace
}  // namespace lumcrest::testing
