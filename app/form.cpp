// Construction of the main window: the layout, then the start-up steps in their order.
#include "app/form.h"

#include "app/about_box.h"
#include "assets/catalogue.h"
#include "assets/embedded_resources.h"
#include "audio/track_names.h"
#include "game/bar_rules.h"
#include "toolkit/error.h"

namespace lumcrest {

using tk::rgb;

tk::FontSpec georgia(int px, tk::Argb colour, bool bold, bool italic, bool underline) {
    tk::FontSpec f;
    f.family = "Georgia";
    f.pixelSize = px;
    f.colour = colour;
    f.bold = bold;
    f.italic = italic;
    f.underline = underline;
    return f;
}

namespace {

const tk::Argb kWhite = rgb(255, 255, 255);
const tk::Argb kYellow = rgb(255, 255, 0);
const tk::Argb kBlack = rgb(0, 0, 0);

// The pictures forged into the program, handed to the toolkit as the program starts: every
// program that has a main window finds them.
std::span<const std::uint8_t> findEmbeddedPicture(const std::string& name) {
    const auto* file = assets::findEmbedded(name);
    if (!file) return {};
    return std::span<const std::uint8_t>(file->data, file->size);
}
[[maybe_unused]] const bool embeddedPicturesHandedOver =
    (tk::setEmbeddedLookup(&findEmbeddedPicture), true);

}  // namespace

TForm1::TForm1(tk::Application& app, Environment env)
    : tk::Window(app, "Form1", 849, 588, rgb(0, 0, 0)),
      Label1(this, "Label1", georgia(24, kWhite, true, true)),
      Label18(this, "Label18", georgia(24, kWhite, true, true)),
      lblstage(this, "lblstage", georgia(24, kWhite, true, true)),
      lblsetlevel(this, "lblsetlevel", georgia(48, kWhite, true, true)),
      levelup(this, "levelup", georgia(48, kWhite, true, true)),
      MediaPlayer1(this, "MediaPlayer1"),
      Menupanel(this, "Menupanel"),
      Menuimage(&Menupanel, "Menuimage"),
      Newbutton(&Menupanel, "Newbutton"),
      Scorebutton(&Menupanel, "Scorebutton"),
      Musicbutton(&Menupanel, "Musicbutton"),
      Soundbutton(&Menupanel, "Soundbutton"),
      Helpbutton(&Menupanel, "Helpbutton"),
      Aboutbutton(&Menupanel, "Aboutbutton"),
      Backbutton(&Menupanel, "Backbutton"),
      welcomelbl(&Menupanel, "welcomelbl", georgia(19, kWhite)),
      namelabel(&Menupanel, "namelabel", georgia(19, kWhite)),
      clickhere(&Menupanel, "clickhere", georgia(11, kYellow, false, true, true)),
      Image5(&Menupanel, "Image5"),
      Scorepanel(&Menupanel, "Scorepanel"),
      Image2(&Scorepanel, "Image2"),
      hscoreclose(&Scorepanel, "hscoreclose", tk::tr("Ok"), georgia(16, kBlack, true)),
      helppanel(&Menupanel, "helppanel"),
      Image1(&helppanel, "Image1"),
      dxButton4(&helppanel, "dxButton4", tk::tr("Ok"), georgia(13, kBlack, true)),
      overpanel(&Menupanel, "overpanel"),
      Image3(&overpanel, "Image3"),
      Playersname(&overpanel, "Playersname", georgia(21, kWhite, true, true), kBlack),
      dxButton3(&overpanel, "dxButton3", tk::tr("Ok"), georgia(13, kBlack, true)),
      helppanel2(this, "helppanel2"),
      Image4(&helppanel2, "Image4"),
      helpbutton2(&helppanel2, "helpbutton2", tk::tr("Ok"), georgia(13, kBlack, true)),
      Timer1(app, "Timer1", 20, false),
      MusicTimer(app, "MusicTimer", 243000, true),
      Animtimer(app, "Animtimer", 2000, false),
      Cycletimer(app, "Cycletimer", 330, false),
      Atimer(app, "Atimer", 120, false),
      jartimer(app, "jartimer", 30, false),
      blasttimer(app, "blasttimer", 35, false),
      filltimer(app, "filltimer", 1, false),
      vertimer(app, "vertimer", 600, true),
      wavetimer(app, "wavetimer", 20, false),
      cracktimer(app, "cracktimer", 20, false),
      flashtimer(app, "flashtimer", 50, false),
      scoretimer(app, "scoretimer", 300, false),
      // clang-format off
      timerTable{&Timer1,    &MusicTimer, &Animtimer,  &Cycletimer, &Atimer,
                 &jartimer,  &blasttimer, &filltimer,  &vertimer,   &wavetimer,
                 &cracktimer, &flashtimer, &scoretimer},
      // clang-format on
      padRepeat(app, "padRepeat", kPadRepeatDelayMs, false),
      env_(std::move(env)),
      profile_(env_.settingsPath) {
    // 1. The layout: controls, image lists and timers with their design values.
    layOut();
    bindHandlers();

    // 2. String slots and spawn and background counters.
    playerName.clear();
    bombThreshold = 0;
    backgroundChanges = 0;

    // 3. Geometry of the link, the help pictures, the greeting, the name box and the Ok buttons.
    Image5.setBounds(25, 495, 220, 80);
    Image1.loadFromFile(asset::kHelpPage.file);
    Image4.loadFromFile(asset::kHelpPage.file);
    welcomelbl.setPosition(321, 46);
    namelabel.setPosition(413, 46);
    clickhere.setPosition(351, 81);
    Playersname.setBounds(146, 208, 177, 24);
    hscoreclose.setBounds(155, 457, 78, 28);
    dxButton4.setBounds(287, 493, 78, 28);
    helpbutton2.setBounds(287, 497, 78, 25);
    dxButton3.setBounds(187, 319, 78, 25);
    overpanel.show();
    overpanel.setBounds(181, 123, 452, 377);
    Image3.setBounds(0, 0, 452, 377);

    // 4. Button pictures and rollover flags.
    Scorebutton.loadFromFile(asset::kHighScoresButton.file(0));
    Helpbutton.loadFromFile(asset::kHelpButton.file(0));
    Aboutbutton.loadFromFile(asset::kAboutButton.file(0));
    Backbutton.loadFromFile(asset::kBackButton.file(0));
    newLit = scoreLit = musicLit = soundLit = helpLit = aboutLit = backLit = 0;
    menuLit = 0;

    // 5. Geometry of the menu, its panels and the table's labels.
    Newbutton.setBounds(283, 145, 252, 51);
    Scorebutton.setBounds(239, 204, 340, 52);
    Musicbutton.setBounds(225, 264, 368, 53);
    Soundbutton.setBounds(225, 324, 368, 52);
    Helpbutton.setBounds(239, 384, 340, 52);
    Aboutbutton.setBounds(283, 444, 252, 54);
    Backbutton.setBounds(664, 531, 135, 56);
    Menuimage.setBounds(0, 0, 857, 622);
    Menupanel.setBounds(0, 0, 857, 622);
    Scorepanel.setBounds(217, 40, 383, 520);
    Image2.setBounds(0, 0, 383, 520);
    helppanel.setBounds(88, 16, 651, 541);
    helppanel2.setBounds(88, 16, 651, 541);
    Image1.setBounds(0, 0, 651, 541);
    Image4.setBounds(0, 0, 651, 541);
    for (int k = 1; k <= 10; ++k) {
        int top = 89 + 35 * (k - 1);
        num[k]->setPosition(k == 10 ? 66 : 74, top);
        name[k]->setPosition(107, top);
        score[k]->setPosition(250, top);
    }

    // 6. Start values of the game state.
    backgroundHistoryIndex = 0;
    Background = 0;
    crackStep = 0;
    crackRow = 1;
    flashStep = 0;
    blinkCount = 0;
    for (int& h : backgroundHistory) h = 0;
    twinklePhase = 0;
    jarFrame = 0;
    jarTailLoops = 0;
    jarIntroLoops = 0;
    drainLine = 464;
    jarHalfTick = 0;
    waveColumn = 1;
    shapeMoved = false;
    levelPending = false;

    // 7. Nothing is drawn as a live game while the state is loaded.
    Timer1.setEnabled(false);
    gameOver = true;

    // The start-up reads (steps 8 to 17) take the file as it is now, read once.
    Profile::Reading startupReading(profile_);

    // 8. First run or not.
    firstRun = profile_.readBool("Settings", "First", true) ? 1 : 0;
    if (firstRun) {
        welcomelbl.hide();
        clickhere.hide();
        Newbutton.loadFromFile(asset::kPlayButton.file(0));
    } else {
        Newbutton.loadFromFile(asset::kNewButton.file(0));
    }

    // 9. The switches.
    soundOn = profile_.readBool("Settings", "Sound", true) ? 1 : 0;
    musicOn = profile_.readBool("Settings", "Music", true) ? 1 : 0;
    Musicbutton.loadFromFile(asset::kMusicSwitch.file(musicOn ? 0 : 2));
    Soundbutton.loadFromFile(asset::kSoundSwitch.file(soundOn ? 0 : 2));

    // 10. Music.
    if (musicOn) {
        if (firstRun)
            switchTrack(kMenuTrack, kMenuTrackRestartMs);
        else
            switchTrack(kGameTrack, kGameTrackRestartMs);
        MusicTimer.setEnabled(true);
    } else {
        MusicTimer.setEnabled(false);
    }

    // 11. The high-score table.
    for (int k = 1; k <= 10; ++k) {
        std::string section = "Scoreline" + std::to_string(k);
        name[k]->setCaption(profile_.readString(section, "Name", "Tivane"));
        hiScores[k] = profile_.readInteger(section, "Score", 10000 - 1000 * (k - 1));
        score[k]->setCaption(std::to_string(hiScores[k]));
    }

    // 12. The player's name.
    Playersname.setText(profile_.readString("Settings", "Name", ""));
    playerName = Playersname.text();
    namelabel.setCaption(playerName);

    // 13.
    Timer1.setInterval(20);
    Scorepanel.hide();

    // 14.
    randomize();

    // 15. The board's frame: an empty play area walled in.
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) {
            board[gridIndex(x, y)] = kEmpty;
            blastCells[gridIndex(x, y)] = 0;
        }
    for (int x = 9; x <= 22; ++x) {
        board[gridIndex(x, kWallY)] = kWall;
        board[gridIndex(x, 17)] = kWall;
    }
    for (int y = 17; y <= 29; ++y) {
        board[gridIndex(10, y)] = kWall;
        board[gridIndex(21, y)] = kWall;
    }

    // 16. The bar's home.
    for (int k = 1; k <= 3; ++k) {
        shapeX[k] = kHomeX1 + k - 1;
        shapeY[k] = kLaunchY;
    }

    // 17. The saved game.
    readSavedGame();

    // 18. The bar in the launch row.
    for (int k = 1; k <= 3; ++k) cell(shapeX[k], shapeY[k]) = Shape[k];

    // 19. A fresh board on a first run; else the saved game at once.
    if (firstRun) {
        makeStartRow();
        drawOrdinaryBar(rng, Blocks, Shape);
        drawOrdinaryBar(rng, Blocks, Nextshape);
        placeBarHome(*this);
        Menupanel.show();
    } else {
        Menupanel.hide();
    }

    // 20. The first redraw draws every gem.
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) shownCells[gridIndex(x, y)] = 0;

    // 21.
    gameOver = false;
    backgroundHistory[0] = Background;
    backgroundHistoryIndex = 1;
    lblstage.setCaption(std::to_string(Stage));
    Timer1.setEnabled(false);

    // 22. The stage background becomes the surface's fill pattern.
    installBackground(Background, tk::Rect{0, 0, 900, 620});

    // 23.
    Atimer.setEnabled(true);

    // The player can type a name at once when the welcome panel is what the first start shows.
    if (Menupanel.visible() && overpanel.visible()) setFocus(&Playersname);
}

TForm1::~TForm1() = default;

void TForm1::layOut() {
    title.clear();
    Label1.setPosition(680, 256);
    Label1.setCaption("0");
    Label18.setPosition(680, 432);
    Label18.setCaption(tk::tr("level:"));
    lblstage.setPosition(760, 432);
    lblsetlevel.setPosition(416, 232);
    lblsetlevel.hide();
    levelup.setPosition(248, 232);
    levelup.setCaption(tk::tr("Level:"));
    levelup.hide();
    MediaPlayer1.hide();

    Menuimage.setEmbedded(asset::kMenuBackdrop.file);
    Backbutton.transparent = true;
    welcomelbl.setCaption(tk::tr("Welcome,"));
    clickhere.setCaption(tk::tr("Click to change user"));
    clickhere.handCursor = true;
    Image5.setEmbedded(asset::kLogo.file);
    Image5.handCursor = true;
    // The menu comes back at the end of every game, the score table after a good one: their
    // pictures stay decoded through play instead of being decoded again as the game ends.
    for (tk::Picture* p : {&Menuimage, &Newbutton, &Scorebutton, &Musicbutton, &Soundbutton,
                           &Helpbutton, &Aboutbutton, &Backbutton, &Image5, &Image2})
        p->keepDecoded = true;

    tk::FontSpec tableFont = georgia(16, kWhite, true);
    for (int k = 1; k <= 10; ++k) {
        num[k] = std::make_unique<tk::Label>(&Scorepanel, "num" + std::to_string(k), tableFont);
        num[k]->setCaption(std::to_string(k));
        name[k] = std::make_unique<tk::Label>(&Scorepanel, "name" + std::to_string(k), tableFont);
        score[k] = std::make_unique<tk::Label>(&Scorepanel, "score" + std::to_string(k), tableFont);
    }
    Image2.setEmbedded(asset::kScoresPanel.file);
    Scorepanel.hide();
    helppanel.hide();
    Image3.setEmbedded(asset::kNamePanel.file);
    Playersname.maxLength = 12;
    helppanel2.hide();

    Blockimage = tk::ImageList::fromEmbedded(asset::kGems);
    firstanim = tk::ImageList::fromEmbedded(asset::kGlints);
    lightanim = tk::ImageList::fromEmbedded(asset::kSheens);
    waveanim = tk::ImageList::fromEmbedded(asset::kWaveLights);
    cracks = tk::ImageList::fromEmbedded(asset::kCracks);
    gemsblast2 = tk::ImageList::fromEmbedded(asset::kBursts);
    jar = tk::ImageList::fromEmbedded(asset::kJar);
    jarbacks = tk::ImageList::fromEmbedded(asset::kJarGrounds);
    menulist = tk::ImageList::fromEmbedded(asset::kMenuButton);
    try {
        icon = tk::loadEmbeddedPicture(asset::kWindowIcon.file);
    } catch (const tk::Error&) {
        // A window without its icon is still a window.
    }
}

void TForm1::bindHandlers() {
    using tk::MouseButton;
    onKeyDown = [this](int& key) { keyprocess(key); };
    onKeyUp = [this](int& key) { keyup(key); };
    onPaint = [this] { redraw(); };
    onClose = [this] { FormClose(); };
    onMouseMove = [this](int x, int y) { FormMouseMove(x, y); };
    onMouseDown = [this](MouseButton b, int x, int y) { FormMouseDown(b, x, y); };
    onMouseUp = [this](MouseButton b, int x, int y) { FormMouseUp(b, x, y); };

    Menuimage.onMouseMove = [this](int x, int y) { MenuimageMouseMove(x, y); };
    Newbutton.onMouseMove = [this](int x, int y) { NewbuttonMouseMove(x, y); };
    Newbutton.onMouseDown = [this](MouseButton b, int x, int y) { NewbuttonMouseDown(b, x, y); };
    Newbutton.onMouseUp = [this](MouseButton b, int x, int y) { NewbuttonMouseUp(b, x, y); };
    Scorebutton.onMouseMove = [this](int x, int y) { ScorebuttonMouseMove(x, y); };
    Scorebutton.onMouseDown = [this](MouseButton b, int x, int y) {
        ScorebuttonMouseDown(b, x, y);
    };
    Scorebutton.onMouseUp = [this](MouseButton b, int x, int y) { ScorebuttonMouseUp(b, x, y); };
    Musicbutton.onMouseMove = [this](int x, int y) { MusicbuttonMouseMove(x, y); };
    Musicbutton.onMouseDown = [this](MouseButton b, int x, int y) {
        MusicbuttonMouseDown(b, x, y);
    };
    Soundbutton.onMouseMove = [this](int x, int y) { SoundbuttonMouseMove(x, y); };
    Soundbutton.onMouseDown = [this](MouseButton b, int x, int y) {
        SoundbuttonMouseDown(b, x, y);
    };
    Helpbutton.onMouseMove = [this](int x, int y) { HelpbuttonMouseMove(x, y); };
    Helpbutton.onMouseDown = [this](MouseButton b, int x, int y) { HelpbuttonMouseDown(b, x, y); };
    Helpbutton.onMouseUp = [this](MouseButton b, int x, int y) { HelpbuttonMouseUp(b, x, y); };
    Aboutbutton.onMouseMove = [this](int x, int y) { AboutbuttonMouseMove(x, y); };
    Aboutbutton.onMouseDown = [this](MouseButton b, int x, int y) {
        AboutbuttonMouseDown(b, x, y);
    };
    Aboutbutton.onMouseUp = [this](MouseButton b, int x, int y) { AboutbuttonMouseUp(b, x, y); };
    Backbutton.onMouseMove = [this](int x, int y) { BackbuttonMouseMove(x, y); };
    Backbutton.onMouseDown = [this](MouseButton b, int x, int y) { BackbuttonMouseDown(b, x, y); };
    Backbutton.onMouseUp = [this](MouseButton b, int x, int y) { BackbuttonMouseUp(b, x, y); };
    clickhere.onClick = [this] { changebtnClick(); };
    Image5.onClick = [this] { Image5Click(); };
    hscoreclose.onClick = [this] { hscorecloseClick(); };
    dxButton3.onClick = [this] { dxButton3Click(); };
    dxButton4.onClick = [this] { dxButton4Click(); };
    helpbutton2.onClick = [this] { helpbutton2Click(); };

    Timer1.onTimer = [this] { Boxupdate(); };
    MusicTimer.onTimer = [this] { musicloop(); };
    Animtimer.onTimer = [this] { Animation(); };
    Cycletimer.onTimer = [this] { CycletimerTimer(); };
    Atimer.onTimer = [this] { AtimerTimer(); };
    jartimer.onTimer = [this] { jartimerTimer(); };
    blasttimer.onTimer = [this] { blasttimerTimer(); };
    filltimer.onTimer = [this] { filltimerTimer(); };
    vertimer.onTimer = [this] { vertimerTimer(); };
    wavetimer.onTimer = [this] { wavetimerTimer(); };
    cracktimer.onTimer = [this] { cracktimerTimer(); };
    flashtimer.onTimer = [this] { flashtimerTimer(); };
    scoretimer.onTimer = [this] { scoretimerTimer(); };

    onPad = [this](tk::PadButton b, bool down) { padprocess(b, down); };
    onPointerMoved = [this](int, int) { padHighlight = -1; };
    padRepeat.onTimer = [this] { padRepeatTimer(); };
}

void TForm1::randomize() {
    rng.seed(env_.seedSource ? env_.seedSource() : clockSeed());
}

}  // namespace lumcrest
