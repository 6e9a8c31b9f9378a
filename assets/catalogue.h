// Every file the forge makes and the game reads, named once: its file name, where it lies and, for
// pictures, its size. The forge writes through these names, the game loads through them and the
// tests check the forge's output against them, so a misspelt asset does not compile.
// Needs only the standard library: the forge, the game and the tests all include it.
#pragma once

#include <string>
#include <vector>

namespace lumcrest::asset {

// Where a file lies in the forge's output. The game reads data files by bare name from its data
// folder, finds embedded ones built into the binary, and installs icons into the desktop's theme.
// A file with words is drawn again for every language, into the data folder's LANG subfolder,
// whichever folder holds its English version.
enum class Folder { Data, Embedded, Icons };

constexpr const char* folderName(Folder folder) {
    switch (folder) {
        case Folder::Data: return "data";
        case Folder::Embedded: return "embedded";
        case Folder::Icons: return "icons";
    }
    return "";
}

// A sound, a track or a page: a file and nothing to measure.
struct File {
    const char* file;
    Folder folder = Folder::Data;
    bool words = false;
};

// One picture of WIDTH x HEIGHT.
struct Picture {
    const char* file;
    Folder folder;
    int width, height;
    bool words = false;
};

// An image list: FRAMES equal frames of FRAMEWIDTH x FRAMEHEIGHT in one embedded picture, four to
// a row, frame i at column i % 4, row i / 4.
struct FrameList {
    static constexpr int kPerRow = 4;
    const char* file;
    int frameWidth, frameHeight, frames;
    bool words = false;

    constexpr int width() const { return kPerRow * frameWidth; }
    constexpr int height() const { return (frames + kPerRow - 1) / kPerRow * frameHeight; }
};

// Numbered pictures of one size: PREFIX, the number FIRST + i, SUFFIX, for i in 0..COUNT-1
// (the menu buttons' looks "New_0.bmp".."New_2.bmp", the backgrounds "bg101.png".."bg106.png").
struct Series {
    const char* prefix;
    int first, count;
    const char* suffix;
    Folder folder;
    int width, height;
    bool words = false;

    // The file of member I; I outside 0..count-1 is a fault of the caller.
    std::string file(int i) const { return prefix + std::to_string(first + i) + suffix; }
};

// --- image lists, embedded -----------------------------------------------------------------

// The ordinary gem kinds: cell values 1..kGemKinds, each with its colour and symbol, its glints
// and its sheens (the joker and the bomb follow at the values 11 and 12, so at most ten). A new
// kind is this count and its artwork (assets/forge/gem_painter.cpp); the stages may then ask for
// it (game/stages.h, held to this count where the board view draws them).
inline constexpr int kGemKinds = 9;
inline constexpr int kGlintSteps = 6;  // frames of a glint, of each kind
inline constexpr int kSheenSteps = 9;  // frames of a sheen, of each kind

// clang-format off
inline constexpr FrameList kGems       {"Blockimage.png", 48, 48, 16};      // the gems, by kind
inline constexpr FrameList kGlints     {"firstanim.png", 48, 48, kGlintSteps * kGemKinds};  // idle glints
inline constexpr FrameList kSheens     {"lightanim.png", 48, 48, kSheenSteps * kGemKinds};  // idle sheens
inline constexpr FrameList kWaveLights {"waveanim.png", 48, 48, 24};        // highlights, 2 a kind
inline constexpr FrameList kCracks     {"cracks.png", 48, 48, 36};          // cracks, 3 a kind
inline constexpr FrameList kBursts     {"gemsblast2.png", 48, 48, 36};      // the explosions
inline constexpr FrameList kJar        {"jar.png", 100, 100, 28};           // the stage-end jar
inline constexpr FrameList kJarGrounds {"jarbacks.png", 100, 100, 6};       // a stage's jar corner
inline constexpr FrameList kMenuButton {"menulist.png", 135, 56, 3, true};  // the MENU button
inline constexpr FrameList kVolumeLights {"vollights.png", 14, 14, 2};   // off, lit
// The faces of the panels' push buttons (the Ok buttons), in the menu buttons' style: at rest,
// with the keyboard focus, pressed. One strip for the buttons 28 px high, one for those 25 px
// high; a narrower button takes the two ends of its frames.
inline constexpr FrameList kPushFace    {"pushface.png", 81, 28, 3};
inline constexpr FrameList kPushFaceLow {"pushfacelow.png", 81, 25, 3};
// The menu's music and sound switches show their volume as a row of kVolumeLightCount lights
// from kVolumeLightsLeft pixels into the switch, centred on its height.
inline constexpr int kVolumeLightsLeft = 14, kVolumeLightCount = 10;

// --- single pictures ------------------------------------------------------------------------

inline constexpr Picture kMenuBackdrop {"Menuimage.jpg", Folder::Embedded, 850, 589};
inline constexpr Picture kLogo         {"Image5.jpg", Folder::Embedded, 200, 72};
// The game's crest on the menu's greeting plate, shown while the plate has no greeting yet.
inline constexpr Picture kCrest        {"crest.png", Folder::Embedded, 260, 60};
inline constexpr Picture kScoresPanel  {"Image2.jpg", Folder::Embedded, 383, 521, true};
inline constexpr Picture kNamePanel    {"Image3.jpg", Folder::Embedded, 452, 377, true};
inline constexpr Picture kAboutPicture {"AboutImage.jpg", Folder::Embedded, 547, 494, true};
inline constexpr Picture kWindowIcon   {"icon.png", Folder::Embedded, 64, 64};
inline constexpr Picture kHelpPage     {"help.jpg", Folder::Data, 651, 541, true};

// --- numbered pictures ----------------------------------------------------------------------

// The six stages' backgrounds, "bg101.png" for the first.
inline constexpr Series kBackgrounds {"bg", 101, 6, ".png", Folder::Embedded, 850, 589};

// The menu buttons, one picture per look: rest, hover, pressed. The switches have no pressed
// look: on at rest and hovered (0, 1), then off at rest and hovered (2, 3). Back: dimmed, rest,
// hover, pressed. Back and the calm switch are shown with their magenta ground left out.
inline constexpr Series kNewButton        {"New_", 0, 3, ".bmp", Folder::Data, 252, 51, true};
inline constexpr Series kPlayButton       {"Play_", 0, 3, ".bmp", Folder::Data, 252, 51, true};
inline constexpr Series kHighScoresButton {"Hi_Sc_", 0, 3, ".bmp", Folder::Data, 340, 52, true};
inline constexpr Series kHelpButton       {"Help_", 0, 3, ".bmp", Folder::Data, 340, 52, true};
inline constexpr Series kAboutButton      {"About_", 0, 3, ".bmp", Folder::Data, 252, 54, true};
inline constexpr Series kMusicSwitch      {"Music_", 0, 4, ".bmp", Folder::Data, 368, 53, true};
inline constexpr Series kSoundSwitch      {"Sound_", 0, 4, ".bmp", Folder::Data, 368, 52, true};
inline constexpr Series kBackButton       {"BACK_", 0, 4, ".bmp", Folder::Data, 135, 56, true};
inline constexpr Series kCalmSwitch       {"Calm_", 0, 4, ".bmp", Folder::Data, 230, 52, true};

// --- sounds and music, in the data folder ---------------------------------------------------

inline constexpr File kClick          {"click.wav"};         // a menu button pressed
inline constexpr File kRollover       {"rollover.wav"};      // the pointer onto a menu button
inline constexpr File kMenuOver       {"menuover.wav"};      // a panel opened or closed
inline constexpr File kGemsTouch      {"gemstouch.wav"};     // a bar landing
inline constexpr File kExplosionFire  {"gemsexplode1.wav"};  // the three blast styles
inline constexpr File kExplosionGlass {"gemsexplode2.wav"};
inline constexpr File kExplosionMagic {"gemsexplode3.wav"};
inline constexpr File kExcellent      {"Excellent.wav"};     // a chain of seven to nine gems
inline constexpr File kIncredible     {"Incredible.wav"};    // a chain of ten or more
inline constexpr File kJarFilled      {"jareffect.wav"};     // a stage's end
inline constexpr File kYouLose        {"youlose.wav"};       // the game lost
inline constexpr File kBeep           {"beep.wav"};          // a soft bell (nothing plays it)

// The cues, on voices of their own beside the effects.
inline constexpr File kShiftCue       {"shift.wav"};         // the bar moved a column
inline constexpr File kRotateCue      {"rotate.wav"};        // the bar's gems turned
inline constexpr File kLaunchCue      {"launch.wav"};        // the bar sent up
inline constexpr File kBombCue        {"bomb.wav"};          // a bomb went off
inline constexpr File kStageBurstCue  {"stageburst.wav"};    // the whole board at a stage's end
// A chain's steps, each a whole tone above the one before; longer chains stay on the last.
inline constexpr File kChainCues[] = {{"chain1.wav"}, {"chain2.wav"}, {"chain3.wav"},
                                      {"chain4.wav"}, {"chain5.wav"}, {"chain6.wav"},
                                      {"chain7.wav"}, {"chain8.wav"}};

inline constexpr File kMenuMusic {"menumusic.mp3"};
inline constexpr File kGameMusic {"music.mp3"};

// The page the About box links to.
inline constexpr File kWebPage {"lumcrest.html", Folder::Data, true};
// clang-format on

// Every menu button's pictures.
inline constexpr Series kButtons[] = {kNewButton,   kPlayButton,  kHighScoresButton,
                                      kHelpButton,  kAboutButton, kMusicSwitch,
                                      kSoundSwitch, kBackButton,  kCalmSwitch};

// The sound of each blast style, by style.
inline constexpr File kExplosions[] = {kExplosionFire, kExplosionGlass, kExplosionMagic};

// The eleven effects the game plays (the beep is not among them).
inline constexpr File kEffects[] = {kClick,         kRollover,       kMenuOver,       kGemsTouch,
                                    kExplosionFire, kExplosionGlass, kExplosionMagic, kExcellent,
                                    kIncredible,    kJarFilled,      kYouLose};

// Every cue.
inline constexpr File kCues[] = {kShiftCue,      kRotateCue,    kLaunchCue,    kBombCue,
                                 kStageBurstCue, kChainCues[0], kChainCues[1], kChainCues[2],
                                 kChainCues[3],  kChainCues[4], kChainCues[5], kChainCues[6],
                                 kChainCues[7]};

// --- desktop icons -------------------------------------------------------------------------

// The icon at each installed size, "lumcrest-48.png", and drawn as paths for any size.
inline constexpr int kDesktopIconSizes[] = {32, 48, 64, 128, 256};
inline std::string desktopIcon(int size) {
    return "lumcrest-" + std::to_string(size) + ".png";
}
inline constexpr File kDesktopIconSvg{"lumcrest.svg", Folder::Icons};

// --- the whole catalogue ---------------------------------------------------------------------

// One file as it lies in the forge's output: PATH from the output folder ("embedded/jar.png"),
// the picture's WIDTH x HEIGHT (0 x 0 for a sound, a track, a page or a drawing of paths).
struct Entry {
    std::string path;
    int width = 0, height = 0;
    bool words = false;
};

// Every file above, each once.
inline std::vector<Entry> everyFile() {
    std::vector<Entry> all;
    auto add = [&all](Folder folder, const std::string& file, int w, int h, bool words) {
        all.push_back({std::string(folderName(folder)) + "/" + file, w, h, words});
    };
    for (const FrameList& l : {kGems, kGlints, kSheens, kWaveLights, kCracks, kBursts, kJar,
                               kJarGrounds, kMenuButton, kVolumeLights, kPushFace, kPushFaceLow})
        add(Folder::Embedded, l.file, l.width(), l.height(), l.words);
    for (const Picture& p : {kMenuBackdrop, kLogo, kCrest, kScoresPanel, kNamePanel, kAboutPicture,
                             kWindowIcon, kHelpPage})
        add(p.folder, p.file, p.width, p.height, p.words);
    for (int i = 0; i < kBackgrounds.count; ++i)
        add(kBackgrounds.folder, kBackgrounds.file(i), kBackgrounds.width, kBackgrounds.height,
            kBackgrounds.words);
    for (const Series& s : kButtons)
        for (int i = 0; i < s.count; ++i) add(s.folder, s.file(i), s.width, s.height, s.words);
    for (const File& f : kEffects) add(f.folder, f.file, 0, 0, f.words);
    for (const File& f : kCues) add(f.folder, f.file, 0, 0, f.words);
    for (const File& f : {kBeep, kMenuMusic, kGameMusic, kWebPage, kDesktopIconSvg})
        add(f.folder, f.file, 0, 0, f.words);
    for (int size : kDesktopIconSizes) add(Folder::Icons, desktopIcon(size), size, size, false);
    return all;
}

}  // namespace lumcrest::asset

namespace lumcrest {

// The music tracks and how long the restart timer waits for each; the forge makes each tune end
// just before its restart.
inline constexpr const char* kMenuTrack = asset::kMenuMusic.file;
inline constexpr int kMenuTrackRestartMs = 70000;
inline constexpr const char* kGameTrack = asset::kGameMusic.file;
inline constexpr int kGameTrackRestartMs = 243000;

}  // namespace lumcrest
