// The player's file under hostile conditions: unreadable files, odd file types, encodings from
// other editors, links and modes, leftovers of killed writers and a second copy of the game.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/environment.h"
#include "store/ini_text.h"
#include "store/profile.h"
#include "tests/support/settings_home.h"
#include "toolkit/error.h"

namespace lumcrest {
namespace {

namespace fs = std::filesystem;

using Home = lumcrest::testing::SettingsHome;

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void put(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// Ten score lines and a name: what a player stands to lose.
std::string fullTable() {
    std::string t = "[Settings]\nFirst=0\nName=Ada\n";
    for (int k = 1; k <= 10; ++k)
        t += "[Scoreline" + std::to_string(k) + "]\nName=P" + std::to_string(k) +
             "\nScore=" + std::to_string(50000 - k) + "\n";
    return t;
}

void expectRefused(Profile& p) {
    try {
        p.writeString("Settings", "Name", "Bob");
        FAIL() << "the write should have been refused";
    } catch (const tk::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + p.path());
    }
}

// --- Something other than a file at the path: the game starts with defaults, says why, and
// leaves it alone.

TEST(OddPaths, AFolderAtThePathIsReportedAndNeverReplaced) {
    Home h;
    fs::create_directory(h.file);
    put(h.file / "keep", "mine");
    Profile p(h.file.string());
    {
        Profile::Reading r(p);
        EXPECT_TRUE(p.readBool("Settings", "First", true));
    }
    EXPECT_EQ(p.unreadable(), "Cannot read " + h.file.string() +
                                  ": it is a folder. Nothing will be saved until it can be read.");
    expectRefused(p);
    EXPECT_TRUE(fs::is_directory(h.file));
    EXPECT_EQ(bytesOf(h.file / "keep"), "mine");
}

TEST(OddPaths, APipeAtThePathIsRefusedAtOnceNotWaitedOn) {
    Home h;
    ASSERT_EQ(::mkfifo(h.file.c_str(), 0600), 0);
    Profile p(h.file.string());
    EXPECT_EQ(p.readString("Settings", "Name", "none"), "none");  // returns: no writer needed
    EXPECT_NE(p.unreadable().find("not a regular file"), std::string::npos);
    expectRefused(p);
    EXPECT_TRUE(fs::is_fifo(h.file));
}

TEST(OddPaths, NoFileAtAllIsAFirstRunAndTheFirstWriteCreatesIt) {
    Home h;
    Profile p((h.dir / "new" / "lumcrest.ini").string());
    {
        Profile::Reading r(p);
        EXPECT_TRUE(p.readBool("Settings", "First", true));
    }
    EXPECT_EQ(p.unreadable(), "");
    p.writeBool("Settings", "First", false);
    EXPECT_FALSE(p.readBool("Settings", "First", true));
}

// --- Files from other editors.

TEST(Encodings, AUtf8ByteOrderMarkHidesNothingAndIsNotWrittenBack) {
    Home h;
    put(h.file,
        "\xEF\xBB\xBF[Settings]\r\nFirst=0\r\nName=Zo\xC3\xAB\r\n[Techinfo]\r\nStage=4\r\n");
    Profile p(h.file.string());
    EXPECT_FALSE(p.readBool("Settings", "First", true));
    EXPECT_EQ(p.readString("Settings", "Name", ""), "Zo\xC3\xAB");
    p.writeBool("Settings", "Sound", false);
    std::string after = bytesOf(h.file);
    EXPECT_EQ(after.rfind("[Settings]", 0), 0u) << "no mark at the start";
    EXPECT_EQ(after.find("[Settings]", 1), std::string::npos) << "one [Settings] only";
    EXPECT_EQ(iniLookUp(after, "Settings", "Sound"), "0");
    EXPECT_EQ(iniLookUp(after, "Techinfo", "Stage"), "4");
}

std::string utf16(const std::string& ascii, bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ascii) {
        if (little) {
            out += c;
            out += '\0';
        } else {
            out += '\0';
            out += c;
        }
    }
    return out;
}

TEST(Encodings, Utf16FilesAreReadAndWrittenBackAsUtf8WithEveryKey) {
    for (bool little : {true, false}) {
        Home h;
        put(h.file,
            utf16("[Settings]\r\nFirst=0\r\nName=Ada\r\n[Scoreline1]\r\nScore=777\r\n", little));
        Profile p(h.file.string());
        EXPECT_EQ(p.readString("Settings", "Name", ""), "Ada") << little;
        EXPECT_EQ(p.readInteger("Scoreline1", "Score", 0), 777);
        p.writeString("Settings", "Name", "Bo");
        std::string after = bytesOf(h.file);
        EXPECT_EQ(after, "[Settings]\r\nFirst=0\r\nName=Bo\r\n[Scoreline1]\r\nScore=777\r\n");
    }
    // A character outside the first plane, and a lone half of a pair.
    EXPECT_EQ(decodeIniBytes(std::string("\xFF\xFE\x3D\xD8\x00\xDE\x41\x00", 8)),
              "\xF0\x9F\x98\x80"
              "A");
    EXPECT_EQ(decodeIniBytes(std::string("\xFF\xFE\x00\xD8\x41\x00", 6)),
              "\xEF\xBF\xBD"
              "A");
}

// --- The file keeps its identity.

TEST(Identity, ASymlinkedFileIsReplacedAtItsTargetAndTheLinkStays) {
    Home h;
    fs::create_directory(h.dir / "real");
    put(h.dir / "real" / "mine.ini", "[Settings]\nName=Ada\n");
    fs::create_symlink("real/mine.ini", h.file);
    Profile p(h.file.string());
    p.writeBool("Settings", "First", false);
    EXPECT_TRUE(fs::is_symlink(h.file));
    EXPECT_EQ(bytesOf(h.dir / "real" / "mine.ini"), "[Settings]\nName=Ada\nFirst=0\n");
    EXPECT_FALSE(fs::exists(h.dir / ("lumcrest.ini.new-" + std::to_string(::getpid()))));
}

TEST(Identity, TheFilesModeIsKept) {
    Home h;
    put(h.file, "[Settings]\nName=Ada\n");
    fs::permissions(h.file, fs::perms::owner_read | fs::perms::owner_write);
    Profile p(h.file.string());
    p.writeBool("Settings", "First", false);
    EXPECT_EQ(fs::status(h.file).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write);
}

pid_t deadPid() {
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(Identity, LeftoversOfAKilledWriterGoAtTheNextWriteButNotThoseOfALiveOne) {
    Home h;
    put(h.file, "[Settings]\nName=Ada\n");
    fs::path dead = h.dir / ("lumcrest.ini.new-" + std::to_string(deadPid()));
    fs::path live = h.dir / ("lumcrest.ini.new-" + std::to_string(::getppid()));
    fs::path other = h.dir / "lumcrest.ini.new-notes";
    for (const fs::path& f : {dead, live, other}) put(f, "half");
    Profile p(h.file.string());
    p.writeBool("Settings", "First", false);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(other));
}

// --- Two copies of the game writing at once keep each other's keys.

TEST(TwoCopies, WritersOfDifferentKeysNeverDropEachOthersKeys) {
    Home h;
    Profile(h.file.string()).writeString("Settings", "Name", "Ada");
    constexpr int kWrites = 60;
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        if (writers[w] == 0) {
            Profile p(h.file.string());
            try {
                for (int i = 0; i < kWrites; ++i)
                    p.writeInteger(w == 0 ? "CopyA" : "CopyB", "Key" + std::to_string(i), i);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
    }
    for (pid_t child : writers) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Profile p(h.file.string());
    int missing = 0;
    for (const char* section : {"CopyA", "CopyB"})
        for (int i = 0; i < kWrites; ++i)
            missing += p.readInteger(section, "Key" + std::to_string(i), -1) != i;
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(p.readString("Settings", "Name", ""), "Ada");
    EXPECT_TRUE(fs::exists(h.dir / "lumcrest.ini.lock"));
}

// --- Where the file lives: never relative, so never inside the data folder the game works in.

struct SavedVariable {
    std::string name;
    std::optional<std::string> value;
    explicit SavedVariable(std::string n) : name(std::move(n)) {
        if (const char* v = std::getenv(name.c_str())) value = v;
    }
    ~SavedVariable() {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
};

TEST(Paths, RelativeOrMissingVariablesNeverGiveARelativePath) {
    SavedVariable home("HOME"), xdg("XDG_CONFIG_HOME");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(defaultSettingsPath(), "/cfg/lumcrest/lumcrest.ini");
    ::setenv("HOME", "/home/ada", 1);
    ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(defaultSettingsPath(), "/home/ada/.config/lumcrest/lumcrest.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    for (bool unset : {true, false}) {
        if (unset)
            ::unsetenv("HOME");
        else
            ::setenv("HOME", "ada", 1);
        std::string path = defaultSettingsPath();
        EXPECT_EQ(path.front(), '/') << path;
        EXPECT_EQ(path, homeFolder() + "/.config/lumcrest/lumcrest.ini");
    }
}

// --- No place of the player's own: no home at all, or a folder that every user may write to
// (a home of /tmp). The game says so once, reads nothing there and writes nothing there.

struct SharedFolder {
    Home h;
    fs::path shared = h.dir / "shared";
    SharedFolder() {
        fs::create_directory(shared);
        ::chmod(shared.c_str(), 01777);  // as /tmp is
    }
};

void expectNothingKept(Profile& p, const std::string& why) {
    {
        Profile::Reading r(p);
        EXPECT_EQ(p.readString("Settings", "Name", "none"), "none");
    }
    EXPECT_EQ(p.unreadable(), why);
    expectRefused(p);
    EXPECT_THROW(p.writeBool("Settings", "Music", false), tk::Error);
}

TEST(SharedPlaces, NoHomeOrAHomeEveryoneMayWriteToKeepsNothing) {
    Profile nowhere("");
    expectNothingKept(nowhere,
                      "There is no home folder to keep the settings in (HOME is not set, and the "
                      "user has none in the system's list). Nothing will be saved.");

    SharedFolder s;
    SavedVariable home("HOME"), xdg("XDG_CONFIG_HOME");
    ::setenv("HOME", s.shared.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    Profile p(defaultSettingsPath());
    expectNothingKept(p, "The settings are not kept in " + p.path() + ": " + s.shared.string() +
                             " is a folder that other users may write to. Nothing will be saved.");
    EXPECT_FALSE(fs::exists(s.shared / ".config"));

    // A folder of the player's own inside it is theirs: nobody else may replace it.
    fs::create_directory(s.shared / "mine");
    Profile own((s.shared / "mine" / "lumcrest.ini").string());
    own.writeString("Settings", "Name", "Ada");
    EXPECT_EQ(own.unreadable(), "");
    EXPECT_EQ(own.readString("Settings", "Name", ""), "Ada");
}

TEST(SharedPlaces, AnotherUsersLinkOrFileThereIsNeverFollowedNorRead) {
    SharedFolder s;
    const fs::path target = s.h.dir / "target";
    fs::create_directory(target);
    fs::create_symlink(target, s.shared / ".config");
    put(s.shared / "lumcrest.ini", "[Settings]\nName=Planted\n");
    // Made another user's, as a stranger on the machine would leave them.
    if (::lchown((s.shared / ".config").c_str(), 65534, 65534) != 0 ||
        ::lchown((s.shared / "lumcrest.ini").c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "only root may give a file away";
    Profile linked((s.shared / ".config" / "lumcrest" / "lumcrest.ini").string());
    expectNothingKept(linked, "The settings are not kept in " + linked.path() + ": " +
                                  (s.shared / ".config").string() +
                                  " is a link of another user. Nothing will be saved.");
    EXPECT_TRUE(fs::is_empty(target));
    Profile planted((s.shared / "lumcrest.ini").string());
    expectNothingKept(planted, "The settings are not kept in " + planted.path() + ": " +
                                   s.shared.string() +
                                   " is a folder that other users may write to. Nothing will be "
                                   "saved.");
    EXPECT_EQ(bytesOf(s.shared / "lumcrest.ini"), "[Settings]\nName=Planted\n");
}

// --- Permission cases: these run as an ordinary user (ctest runs them through setpriv when the
// suite runs as root, for whom permissions do not bite).

#define SKIP_AS_ROOT() \
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bite as root"

TEST(Unprivileged, AnUnreadableFileIsNeverReplaced) {
    SKIP_AS_ROOT();
    Home h;
    put(h.file, fullTable());
    fs::permissions(h.file, fs::perms::none);
    Profile p(h.file.string());
    {
        Profile::Reading r(p);
        EXPECT_TRUE(p.readBool("Settings", "First", true));  // a first run's defaults
        EXPECT_EQ(p.readString("Scoreline1", "Name", "Tivane"), "Tivane");
    }
    EXPECT_EQ(p.unreadable(),
              "Cannot read " + h.file.string() +
                  ": Permission denied. Nothing will be saved until it can be read.");
    expectRefused(p);
    EXPECT_THROW(p.beginBatch(), tk::Error);
    // Even when it becomes readable later in the run, this run keeps its hands off.
    fs::permissions(h.file, fs::perms::owner_read | fs::perms::owner_write);
    expectRefused(p);
    EXPECT_EQ(bytesOf(h.file), fullTable());
}

TEST(Unprivileged, AFileTheUserMayNotWriteIsNotReplaced) {
    SKIP_AS_ROOT();
    Home h;
    put(h.file, fullTable());
    fs::permissions(h.file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Profile p(h.file.string());
    EXPECT_EQ(p.readString("Settings", "Name", ""), "Ada");
    try {
        p.writeString("Settings", "Name", "Bob");
        ADD_FAILURE() << "the write should have been refused";
    } catch (const tk::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + p.path() + ": permission denied");
    }
    EXPECT_EQ(bytesOf(h.file), fullTable());
    EXPECT_EQ(fs::status(h.file).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

}  // namespace
}  // namespace lumcrest
