// The settings file's text format and its crash-safe writes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "store/ini_text.h"
#include "store/profile.h"
#include "toolkit/error.h"

namespace lumcrest {
namespace {

TEST(IniText, ReadsAsPeopleExpectOfIniFiles) {
    std::string text =
        "; comment\r\n[settings]\r\n  NAME =  \"  Zoë \" \r\nnot a pair\r\nname=second\r"
        "[Scoreline1]\nScore = 12\n[Settings]\nFirst=0\n";
    EXPECT_EQ(iniLookUp(text, "Settings", "Name"), "  Zoë ");  // first section and key win
    EXPECT_EQ(iniLookUp(text, "SCORELINE1", "score"), "12");
    EXPECT_EQ(iniLookUp(text, "Settings", "First"), std::nullopt);  // only the first [Settings]
    EXPECT_EQ(iniLookUp("[a]\nk='q'\n", "a", "k"), "q");
    EXPECT_EQ(iniLookUp("[a]\nk=\"q'\n", "a", "k"), "\"q'");
    EXPECT_EQ(iniLookUp("", "a", "k"), std::nullopt);
}

TEST(IniText, WritingKeepsOtherLinesAndReadsBackExactly) {
    std::string text = "; mine\n[Settings]\nFirst=1\n\n[Other]\nx=1\n";
    text = iniStore(text, "settings", "first", "0");
    text = iniStore(text, "Settings", "Name", " two words ");
    text = iniStore(text, "Scoreline1", "Score", "5");
    text = iniStore(text, "Settings", "Quote", "\"quoted\"");
    EXPECT_EQ(text,
              "; mine\n[Settings]\nfirst=0\nName=\" two words \"\nQuote=\"\"quoted\"\"\n\n"
              "[Other]\nx=1\n[Scoreline1]\nScore=5\n");
    EXPECT_EQ(iniLookUp(text, "Settings", "Name"), " two words ");
    EXPECT_EQ(iniLookUp(text, "Settings", "Quote"), "\"quoted\"");
    EXPECT_EQ(iniStore("[a]\r\nk=1\r\n", "a", "k", "2"), "[a]\r\nk=2\r\n");
}

// A name is kept as typed: a blank at either end, or a value that is itself in quotes, is
// quoted on writing so that reading gives it back unchanged.
TEST(IniText, ValuesWithABlankAtOneEndOrInQuotesReadBackUnchanged) {
    for (const char* value : {" Ada", "Ada ", "\tAda", "Ada\t", " ", "\t", "\"\"", "''", "\"",
                              "'Ada'", "\"Ada\" ", "A \"da\"", "", "x"}) {
        std::string text = iniStore("[Settings]\nFirst=0\n", "Settings", "Name", value);
        EXPECT_EQ(iniLookUp(text, "Settings", "Name"), value) << "[" << value << "] as " << text;
        EXPECT_EQ(iniLookUp(text, "Settings", "First"), "0");
    }
    // Written by hand: blanks outside the quotes go, those inside stay; empty quotes are empty.
    EXPECT_EQ(iniLookUp("[a]\nk=\"\"\n", "a", "k"), "");
    EXPECT_EQ(iniLookUp("[a]\nk=''\n", "a", "k"), "");
    EXPECT_EQ(iniLookUp("[a]\nk= \" x\"\t\n", "a", "k"), " x");
    EXPECT_EQ(iniLookUp("[a]\nk=x \n", "a", "k"), "x");
}

// Files from other systems: lines ending in CR LF or in CR alone, and a last line without any
// end, are read whole, and a written line takes the file's own line end.
TEST(IniText, CrAndCrLfFilesWhoseLastLineHasNoEndLoseNothing) {
    EXPECT_EQ(iniLookUp("[a]\r\nk=1\r\nj=2", "a", "j"), "2");
    EXPECT_EQ(iniLookUp("[a]\rk=1\rj=2", "a", "j"), "2");
    EXPECT_EQ(iniLookUp("[a]\nk=1\nj=2", "a", "j"), "2");
    EXPECT_EQ(iniLookUp("[a]\r\nk=1\r\nj=", "a", "j"), "");
    EXPECT_EQ(iniStore("[a]\r\nk=1\r\nj=2", "a", "x", "3"), "[a]\r\nk=1\r\nj=2\r\nx=3\r\n");
    EXPECT_EQ(iniStore("[a]\r\nk=1\r\n;", "a", "k", "2"), "[a]\r\nk=2\r\n;\r\n");
    EXPECT_EQ(iniStore("[a]\r\nk=1\r\nj=2", "a", "j", "3"), "[a]\r\nk=1\r\nj=3\r\n");
    EXPECT_EQ(iniStore("[a]\nk=1", "b", "x", "3"), "[a]\nk=1\n[b]\nx=3\n");
    // A CR file keeps every line; its keys, old and new, read back.
    std::string cr = iniStore("[a]\rk=1\rj=2", "a", "x", "3");
    EXPECT_EQ(iniLookUp(cr, "a", "k"), "1") << cr;
    EXPECT_EQ(iniLookUp(cr, "a", "j"), "2") << cr;
    EXPECT_EQ(iniLookUp(cr, "a", "x"), "3") << cr;
}

TEST(IniText, IntegersFollowTheSettingsFileRules) {
    EXPECT_EQ(parseIniInteger("  -42"), -42);
    EXPECT_EQ(parseIniInteger("+7"), 7);
    EXPECT_EQ(parseIniInteger("0x10"), 16);
    EXPECT_EQ(parseIniInteger("$ff"), 255);
    EXPECT_EQ(parseIniInteger("x7FFFFFFF"), 2147483647);
    EXPECT_EQ(parseIniInteger("0x0"), 0);
    EXPECT_EQ(parseIniInteger("-2147483648"), INT32_MIN);
    for (const char* bad : {"", "  ", "abc", "12abc", "$FFFFFFFF", "2147483648", "-$1", "0x", "$",
                            "1 2", "99999999999999999999"})
        EXPECT_EQ(parseIniInteger(bad), std::nullopt) << bad;
}

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        char tmpl[] = "/tmp/lumcrest-ini-XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

TEST(Profile, ReadsDefaultsWithoutAFileAndCreatesItOnTheFirstWrite) {
    TempDir dir;
    Profile p((dir.path / "sub" / "lumcrest.ini").string());
    EXPECT_TRUE(p.readBool("Settings", "First", true));
    EXPECT_EQ(p.readInteger("Scoreline1", "Score", 10000), 10000);
    EXPECT_EQ(p.readString("Settings", "Name", ""), "");
    p.writeBool("Settings", "First", false);
    p.writeString("Settings", "Name", std::string(3000, 'a'));
    EXPECT_FALSE(p.readBool("Settings", "First", true));
    EXPECT_EQ(p.readString("Settings", "Name", "").size(), 2047u);
}

TEST(Profile, ARefusedWriteSaysSoAndLeavesTheFileAlone) {
    TempDir dir;
    std::filesystem::path file = dir.path / "lumcrest.ini";
    Profile p(file.string());
    p.writeInteger("Techinfo", "Stage", 3);
    std::filesystem::permissions(
        dir.path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::geteuid() != 0) {  // root writes anyway
        try {
            p.writeInteger("Techinfo", "Stage", 4);
            FAIL() << "the write should have been refused";
        } catch (const tk::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + file.string());
        }
    }
    std::filesystem::permissions(dir.path, std::filesystem::perms::owner_all);
    Profile blocked((dir.path / "lumcrest.ini" / "x.ini").string());  // a file in the way
    EXPECT_THROW(blocked.writeInteger("a", "b", 1), tk::Error);
    EXPECT_EQ(p.readInteger("Techinfo", "Stage", 0), 3);
}

// A writer killed at random moments leaves the old file or the new one, never a torn one.
TEST(Profile, AKilledWriterNeverLeavesATornFile) {
    TempDir dir;
    std::string file = (dir.path / "lumcrest.ini").string();
    Profile(file).writeInteger("Techinfo", "Score", 0);
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        pid_t child = ::fork();
        if (child == 0) {
            Profile p(file);
            for (int v = 1;; ++v) {
                p.beginBatch();
                for (int c = 2; c <= 100; ++c)
                    if (c % 10 != 1) p.writeInteger("Gembox", "Gem" + std::to_string(c), v);
                p.writeInteger("Techinfo", "Score", v);
                p.commitBatch();
            }
        }
        ::usleep(1000 + rng() % 20000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        Profile p(file);
        int score = p.readInteger("Techinfo", "Score", -1);
        ASSERT_GE(score, 0) << "round " << round;
        if (score == 0) continue;  // killed before the first batch landed: the old file, whole
        for (int c = 2; c <= 100; ++c) {
            if (c % 10 == 1) continue;
            ASSERT_EQ(p.readInteger("Gembox", "Gem" + std::to_string(c), -1), score);
        }
    }
}

}  // namespace
}  // namespace lumcrest
