// The translation catalogues: read by the game itself, and refused whole when damaged, so a bad
// file costs the player the translation, never the start.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/i18n.h"
#include "toolkit/message_catalogue.h"

namespace fs = std::filesystem;

namespace {

void putWord(std::string& out, std::size_t at, std::uint32_t w, bool bigEndian) {
    for (int i = 0; i < 4; ++i)
        out[at + std::size_t(i)] = char(bigEndian ? w >> (24 - 8 * i) : w >> (8 * i));
}

// A compiled catalogue of PAIRS as msgfmt lays it out: the header, the two tables, then the texts.
std::string catalogueBytes(const std::vector<std::pair<std::string, std::string>>& pairs,
                           bool bigEndian = false) {
    const std::size_t n = pairs.size(), originals = 28, translations = originals + 8 * n;
    std::string out(translations + 8 * n, '\0');
    const std::uint32_t header[] = {
        0x950412de, 0, std::uint32_t(n), std::uint32_t(originals), std::uint32_t(translations),
        0,          0};
    for (std::size_t i = 0; i < 7; ++i) putWord(out, 4 * i, header[i], bigEndian);
    for (std::size_t i = 0; i < n; ++i) {
        for (int side = 0; side < 2; ++side) {
            const std::string& text = side == 0 ? pairs[i].first : pairs[i].second;
            const std::size_t entry = (side == 0 ? originals : translations) + 8 * i;
            putWord(out, entry, std::uint32_t(text.size()), bigEndian);
            putWord(out, entry + 4, std::uint32_t(out.size()), bigEndian);
            out += text;
            out += '\0';
        }
    }
    return out;
}

const std::vector<std::pair<std::string, std::string>> kGerman = {
    {"", "Content-Type: text/plain; charset=UTF-8\n"},
    {"Ok", "OK"},
    {"Level:", "Stufe:"},
    {std::string("gem\0gems", 8), std::string("Stein\0Steine", 12)},
    {"Untranslated", ""},
};

// A locale folder with the German catalogue BYTES (or, with PIPE, a FIFO in its place).
class LocaleFolder {
  public:
    LocaleFolder()
        : root_(fs::temp_directory_path() / ("lumcrest-mo-" + std::to_string(::getpid()))) {
        fs::create_directories(folder());
    }
    ~LocaleFolder() {
        tk::useLanguage("", "");
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    fs::path folder() const { return root_ / "de" / "LC_MESSAGES"; }
    fs::path file() const { return folder() / "lumcrest.mo"; }
    void write(const std::string& bytes) const {
        std::error_code ec;
        fs::remove_all(file(), ec);
        std::ofstream(file(), std::ios::binary) << bytes;
    }
    std::string root() const { return root_.string(); }

  private:
    fs::path root_;
};

TEST(Catalogue, TranslatesItsTextsAndLeavesTheRestInEnglish) {
    LocaleFolder locale;
    for (bool bigEndian : {false, true}) {
        locale.write(catalogueBytes(kGerman, bigEndian));
        EXPECT_EQ(tk::useLanguage("de", locale.root()), "");
        EXPECT_EQ(tk::currentLanguage(), "de");
        EXPECT_EQ(tk::tr("Ok"), "OK");
        EXPECT_EQ(tk::tr("Level:"), "Stufe:");
        EXPECT_EQ(tk::tr("gem"), "Stein");  // a plural entry's first form
        EXPECT_EQ(tk::tr("Untranslated"), "Untranslated");
        EXPECT_EQ(tk::tr("Not in the catalogue"), "Not in the catalogue");
        EXPECT_EQ(tk::tr(""), "");
    }
    // A language without its catalogue keeps its pictures and speaks English, as before.
    fs::remove(locale.file());
    EXPECT_EQ(tk::useLanguage("de", locale.root()), "");
    EXPECT_EQ(tk::currentLanguage(), "de");
    EXPECT_EQ(tk::tr("Ok"), "Ok");
}

TEST(Catalogue, ADamagedOneIsRefusedWithItsReasonAndTheGameSpeaksEnglish) {
    const std::string good = catalogueBytes(kGerman);
    auto withWord = [&good](std::size_t at, std::uint32_t w) {
        std::string bad = good;
        putWord(bad, at, w, false);
        return bad;
    };
    const std::uint32_t translations = 28 + 8 * std::uint32_t(kGerman.size());
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {withWord(translations + 8 + 4, 0x7ffffff0), "texts lie outside"},  // a text's offset
        {withWord(translations + 8, 0xfffffff0), "texts lie outside"},      // a text's length
        {withWord(16, 0x7ffffff0), "tables lie outside"},                   // the table's offset
        {withWord(8, 0x40000000), "tables lie outside"},                    // the number of texts
        {good.substr(0, good.size() - 1), "texts lie outside"},             // the last NUL cut off
        {good.substr(0, 20), "too short"},
        {withWord(0, 0x12345678), "not a message catalogue"},
        {withWord(4, 0x00020000), "revision"},
    };
    LocaleFolder locale;
    for (const auto& [bytes, reason] : damaged) {
        locale.write(bytes);
        const std::string refused = tk::useLanguage("de", locale.root());
        EXPECT_NE(refused.find(locale.file().string()), std::string::npos) << refused;
        EXPECT_NE(refused.find(reason), std::string::npos) << refused;
        EXPECT_EQ(tk::currentLanguage(), "");
        EXPECT_EQ(tk::tr("Ok"), "Ok");
        EXPECT_EQ(tk::tr("Level:"), "Level:");
    }
}

TEST(Catalogue, OnlyARegularFileIsRead) {
    LocaleFolder locale;
    // A pipe with no writer answers at once instead of hanging the start.
    ASSERT_EQ(::mkfifo(locale.file().c_str(), 0600), 0);
    EXPECT_NE(tk::useLanguage("de", locale.root()).find("not a regular file"), std::string::npos);
    EXPECT_EQ(tk::currentLanguage(), "");
    fs::remove(locale.file());
    fs::create_directory(locale.file());
    EXPECT_NE(tk::useLanguage("de", locale.root()).find("a folder"), std::string::npos);
    EXPECT_EQ(tk::tr("Ok"), "Ok");
}

TEST(Catalogue, EveryShippedCatalogueReadsWhole) {
    for (const std::string& lang : tk::knownLanguages()) {
        std::string why;
        const std::string path =
            std::string(LUMCREST_TEST_LOCALE_DIR) + "/" + lang + "/LC_MESSAGES/lumcrest.mo";
        auto catalogue = tk::MessageCatalogue::load(path, why);
        ASSERT_TRUE(catalogue) << path << ": " << why;
        EXPECT_GT(catalogue->size(), 50u) << path;
        EXPECT_NE(catalogue->find("Ok"), nullptr) << path;
    }
}

}  // namespace
