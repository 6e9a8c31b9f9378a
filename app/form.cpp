// Construction of the main window: the layout table places the controls, then the pictures are
// loaded, the settings read and the board set up.
#include "app/form.h"

#include <initializer_list>
#include <iterator>

#include "app/about_box.h"
#include "assets/catalogue.h"
#include "assets/embedded_resources.h"
#include "assets/palette.h"
#include "game/bar_rules.h"
#include "game/walls.h"
#include "store/score_table.h"
#include "store/settings_schema.h"
#include "toolkit/error.h"
#include "view/frame_sizes.h"

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

constexpr tk::Argb kWhite = rgb(255, 255, 255);
constexpr tk::Argb kYellow = rgb(255, 255, 0);
constexpr tk::Argb kBlack = rgb(0, 0, 0);
constexpr tk::Argb kGold = rgb(236, 196, 96);

// The faces of the window's texts, all in Georgia.
enum class Face {
    None,      // a control without text
    Side,      // the score and the stage beside the well
    Banner,    // the level banner over the field
    Greeting,  // the greeting on the menu and the player's name after it
    Link,      // the link that opens the name panel
    Table,     // the lines of the high-score table
    TableOk,   // the table's Ok
    Ok,        // the Ok of the help pages and of the name panel
    NameBox,   // the box the player types a name into
    Board,     // the keys of the letter board under the name box
};
struct FaceSpec {
    int px;
    tk::Argb colour;
    bool bold, italic, underline;
};
// clang-format off
constexpr FaceSpec kFaces[] = {
    /* None     */ {0,  kWhite,  false, false, false},
    /* Side     */ {24, kWhite,  true,  true,  false},
    /* Banner   */ {48, kWhite,  true,  true,  false},
    /* Greeting */ {19, kWhite,  false, false, false},
    /* Link     */ {11, kYellow, false, true,  false},
    /* Table    */ {16, kWhite,  true,  false, false},
    /* TableOk  */ {16, kBlack,  true,  false, false},
    /* Ok       */ {13, kBlack,  true,  false, false},
    /* NameBox  */ {21, kWhite,  true,  true,  false},
    /* Board    */ {17, kGold,   true,  false, false},
};
// clang-format on
static_assert(std::size(kFaces) == static_cast<std::size_t>(Face::Board) + 1,
              "one row a face, in the order of Face");

tk::FontSpec font(Face face) {
    const FaceSpec& f = kFaces[static_cast<int>(face)];
    return georgia(f.px, f.colour, f.bold, f.italic, f.underline);
}

// The control a row of the layout places.
template <auto Member>
tk::Control& control(TForm1& form) {
    return form.*Member;
}

constexpr int kTextSize = -1;  // a label's size: that of its caption

// Where a control of the window sits (relative to its parent), in which face it writes, the
// caption it starts with (marked for translation, translated as the window is built; nullptr for
// none) and whether it starts shown.
struct Placement {
    tk::Control& (*control)(TForm1&);
    int left, top, width, height;
    Face face;
    const char* caption;
    bool shown;
};

// clang-format off
constexpr Placement kLayout[] = {
    // Beside the well and over the field.
    {control<&TForm1::Label1>,       680, 256,        kTextSize,         kTextSize, Face::Side,     nullptr,                    true},
    {control<&TForm1::Label18>,      680, 432,        kTextSize,         kTextSize, Face::Side,     N_("level:"),               true},
    {control<&TForm1::lblstage>,     760, 432,        kTextSize,         kTextSize, Face::Side,     nullptr,                    true},
    {control<&TForm1::lblsetlevel>,  416, 232,        kTextSize,         kTextSize, Face::Banner,   nullptr,                    false},
    {control<&TForm1::levelup>,      248, 232,        kTextSize,         kTextSize, Face::Banner,   N_("Level:"),               false},
    {control<&TForm1::MediaPlayer1>,   0,   0,                0,                 0, Face::None,     nullptr,                    false},
    // The menu.
    {control<&TForm1::Menupanel>,      0,   0,       kMenuWidth,       kMenuHeight, Face::None,     nullptr,                    true},
    {control<&TForm1::Menuimage>,      0,   0,       kMenuWidth,       kMenuHeight, Face::None,     nullptr,                    true},
    {control<&TForm1::crestimage>,   300,  42,              260,                60, Face::None,     nullptr,                    false},
    {control<&TForm1::welcomelbl>,   321,  46,        kTextSize,         kTextSize, Face::Greeting, N_("Welcome,"),             true},
    {control<&TForm1::namelabel>,    413,  46,        kTextSize,         kTextSize, Face::Greeting, nullptr,                    true},
    {control<&TForm1::clickhere>,    351,  81,        kTextSize,         kTextSize, Face::Link,     N_("Click to change user"), true},
    {control<&TForm1::Image5>,        25, 495,              220,                80, Face::None,     nullptr,                    true},
    // The high-score table over the menu; its lines are laid out by buildScoreTable().
    {control<&TForm1::Scorepanel>,   217,  40, kScorePanelWidth, kScorePanelHeight, Face::None,     nullptr,                    false},
    {control<&TForm1::Image2>,         0,   0, kScorePanelWidth, kScorePanelHeight, Face::None,     nullptr,                    true},
    {control<&TForm1::hscoreclose>,  155, 457,               78,                28, Face::TableOk,  N_("Ok"),                   true},
    // The help page opened from the menu.
    {control<&TForm1::helppanel>,     88,  16,  kHelpPanelWidth,  kHelpPanelHeight, Face::None,     nullptr,                    false},
    {control<&TForm1::Image1>,         0,   0,  kHelpPanelWidth,  kHelpPanelHeight, Face::None,     nullptr,                    true},
    {control<&TForm1::dxButton4>,    287, 493,               78,                28, Face::Ok,       N_("Ok"),                   true},
    {control<&TForm1::helpkeys>,     375, 493,               78,                28, Face::Ok,       N_("Keys"),                 true},
    // The name panel.
    {control<&TForm1::overpanel>,    181, 123,  kNamePanelWidth,  kNamePanelHeight, Face::None,     nullptr,                    true},
    {control<&TForm1::Image3>,         0,   0,  kNamePanelWidth,  kNamePanelHeight, Face::None,     nullptr,                    true},
    {control<&TForm1::Playersname>,  146, 208,              177,                24, Face::NameBox,  nullptr,                    true},
    {control<&TForm1::dxButton3>,    187, 319,               78,                25, Face::Ok,       N_("Ok"),                   true},
    {control<&TForm1::letterboard>,   10, 236,              432,               130, Face::Board,    nullptr,                    false},
    // The help page over the field at the very first game.
    {control<&TForm1::helppanel2>,    88,  16,  kHelpPanelWidth,  kHelpPanelHeight, Face::None,     nullptr,                    false},
    {control<&TForm1::Image4>,         0,   0,  kHelpPanelWidth,  kHelpPanelHeight, Face::None,     nullptr,                    true},
    {control<&TForm1::helpbutton2>,  287, 497,               78,                25, Face::Ok,       N_("Ok"),                   true},
};
// clang-format on

// The face of MEMBER's row; a control missing from the layout does not compile.
template <auto Member>
consteval Face faceOf() {
    for (const Placement& p : kLayout)
        if (p.control == &control<Member>) return p.face;
    throw "a control missing from the layout";
}
template <auto Member>
tk::FontSpec fontOf() {
    return font(faceOf<Member>());
}

// The pictures forged into the program, handed to the toolkit as the program starts: every
// program that has a main window finds them.
std::span<const std::uint8_t> findEmbeddedPicture(const std::string& name) {
    const auto* file = assets::findEmbedded(name);
    if (!file) return {};
    return std::span<const std::uint8_t>(file->data, file->size);
}
[[maybe_unused]] const bool embeddedPicturesHandedOver =
    (tk::setEmbeddedLookup(&findEmbeddedPicture), tk::setEmbeddedBlob(assets::embeddedBlob()),
     true);

}  // namespace

TForm1::TForm1(tk::Application& app, Environment env)
    : tk::Window(app, "Form1", kFrameWidth, kFrameHeight, rgb(0, 0, 0)),
      Label1(this, "Label1", fontOf<&TForm1::Label1>()),
      Label18(this, "Label18", fontOf<&TForm1::Label18>()),
      lblstage(this, "lblstage", fontOf<&TForm1::lblstage>()),
      lblsetlevel(this, "lblsetlevel", fontOf<&TForm1::lblsetlevel>()),
      levelup(this, "levelup", fontOf<&TForm1::levelup>()),
      MediaPlayer1(this, "MediaPlayer1"),
      Menupanel(this, "Menupanel"),
      Menuimage(&Menupanel, "Menuimage"),
      menu(Menupanel, settings, [this](const std::string& file) { playEffect(file); }),
      crestimage(&Menupanel, "crestimage"),
      welcomelbl(&Menupanel, "welcomelbl", fontOf<&TForm1::welcomelbl>()),
      namelabel(&Menupanel, "namelabel", fontOf<&TForm1::namelabel>()),
      clickhere(&Menupanel, "clickhere", fontOf<&TForm1::clickhere>()),
      Image5(&Menupanel, "Image5"),
      Scorepanel(&Menupanel, "Scorepanel"),
      Image2(&Scorepanel, "Image2"),
      hscoreclose(&Scorepanel, "hscoreclose", "", fontOf<&TForm1::hscoreclose>()),
      helppanel(&Menupanel, "helppanel"),
      Image1(&helppanel, "Image1"),
      dxButton4(&helppanel, "dxButton4", "", fontOf<&TForm1::dxButton4>()),
      helpkeys(&helppanel, "helpkeys", "", fontOf<&TForm1::helpkeys>()),
      overpanel(&Menupanel, "overpanel"),
      Image3(&overpanel, "Image3"),
      Playersname(&overpanel, "Playersname", fontOf<&TForm1::Playersname>(), kBlack),
      dxButton3(&overpanel, "dxButton3", "", fontOf<&TForm1::dxButton3>()),
      letterboard(&overpanel, "letterboard", fontOf<&TForm1::letterboard>()),
      helppanel2(this, "helppanel2"),
      Image4(&helppanel2, "Image4"),
      helpbutton2(&helppanel2, "helpbutton2", "", fontOf<&TForm1::helpbutton2>()),
      fieldView(surface()),
      sound(app.backend().audio(), settings),
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
      profile_(settingsFile(env_)) {
    placeControls();
    buildScoreTable();
    letterboard.build(tk::currentLanguage());
    loadPictures();
    bindHandlers();
    // The start-up reads take the settings file as it is now, read once.
    Profile::Reading startupReading(profile_);
    readSwitches();
    startMusic();
    readHighScores();
    readPlayerName();
    rng.seed(seedNow());
    setUpBoard();
    openFirstScreen();
}

TForm1::~TForm1() = default;

void TForm1::placeControls() {
    title = kWindowName;
    for (const Placement& p : kLayout) {
        tk::Control& c = p.control(*this);
        if (p.width == kTextSize)
            c.setPosition(p.left, p.top);
        else
            c.setBounds(p.left, p.top, p.width, p.height);
        if (p.caption) {
            if (auto* label = dynamic_cast<tk::Label*>(&c)) label->setCaption(tk::tr(p.caption));
            if (auto* button = dynamic_cast<tk::PushButton*>(&c))
                button->setCaption(tk::tr(p.caption));
        }
        if (!p.shown) c.hide();
    }
    clickhere.handCursor = true;
    Image5.handCursor = true;
    Playersname.maxLength = 12;
}

void TForm1::buildScoreTable() {
    scorePanel.build(Scorepanel, font(Face::Table));
    scorePanel.buildStats(Scorepanel, font(Face::Table));
    scorePanel.onPageClick = [this](int page) { scorePage(page); };
    buildKeysPage();
}

void TForm1::buildKeysPage() {
    keysPage.build(Menupanel, font(Face::Table), font(Face::Ok));
    keysPage.onChange = [this](const KeyBindings& keys) { keysChanged(keys); };
    keysPage.onClose = [this] { keysPageClosed(); };
    helpkeys.onClick = [this] { openKeysPage(); };
    helpKeys.build(helppanel, "helpkeysnow", georgia(13, rgb(232, 226, 255)));
    firstHelpKeys.build(helppanel2, "firsthelpkeysnow", georgia(13, rgb(232, 226, 255)));
}

void TForm1::loadPictures() {
    Menuimage.setEmbedded(asset::kMenuBackdrop.file);
    Image5.setEmbedded(asset::kLogo.file);
    Image2.setEmbedded(asset::kScoresPanel.file);
    Image3.setEmbedded(asset::kNamePanel.file);
    // The menu comes back at the end of every game, the score table after a good one: their
    // pictures stay decoded through play instead of being decoded again as the game ends.
    // (The menu part keeps its buttons' pictures so too.)
    for (tk::Picture* p : {&Menuimage, &Image5, &Image2}) p->keepDecoded = true;
    loadImageLists();
    Image1.loadFromFile(asset::kHelpPage.file);
    Image4.loadFromFile(asset::kHelpPage.file);
}

void TForm1::loadImageLists() {
    fieldView.loadPictures();
    vollights = tk::ImageList::fromEmbedded(asset::kVolumeLights);
    // The panels' push buttons (the Ok buttons, the help page's Keys, the Keys page's) wear the
    // menu buttons' gold-rimmed face.
    pushFace = tk::ImageList::fromEmbedded(asset::kPushFace);
    pushFaceLow = tk::ImageList::fromEmbedded(asset::kPushFaceLow);
    for (tk::PushButton* b : {&hscoreclose, &dxButton4, &helpkeys, &dxButton3, &helpbutton2,
                              keysPage.defaults.get(), keysPage.ok.get()})
        b->setFace(b->height() < asset::kPushFace.frameHeight ? &pushFaceLow : &pushFace,
                   rgb(asset::kPushFaceText.r, asset::kPushFaceText.g, asset::kPushFaceText.b));
    try {
        icon = tk::loadEmbeddedPicture(asset::kWindowIcon.file);
    } catch (const tk::Error&) {
        // A window without its icon is still a window.
    }
}

void TForm1::setUpCrest() {
    // The greeting plate holds the crest until the greeting takes it (confirmName hides it).
    crestimage.setEmbedded(asset::kCrest.file);
    crestimage.show();
}

void TForm1::openFirstScreen() {
    Atimer.setEnabled(true);
    // The player can type a name at once when the welcome panel is what the first start shows.
    if (Menupanel.visible() && overpanel.visible()) setFocus(&Playersname);
    // The veils stand behind whichever dialog the first screen shows.
    menuVeil.sync();
    fieldVeil.sync();
}

void TForm1::readSwitches() {
    // A first run greets nobody yet and offers Play.
    settings.firstRun = readSettingBool(profile_, setting::kFirst) ? 1 : 0;
    if (settings.firstRun) {
        welcomelbl.hide();
        clickhere.hide();
        setUpCrest();
    }
    // The menu's switches, each from its key.
    for (const MenuButtonRow& row : kMenuButtons)
        if (row.key) settings.*row.setting = readSettingBool(profile_, *row.key) ? 1 : 0;
    readSettings();
    menu.showAtStart(&vollights);
}

void TForm1::startMusic() {
    // The menu's track while the menu is what the player sees first, else the game's.
    if (settings.musicOn) {
        if (settings.firstRun)
            switchTrack(kMenuTrack, kMenuTrackRestartMs);
        else
            switchTrack(kGameTrack, kGameTrackRestartMs);
    }
    MusicTimer.setEnabled(settings.musicOn != 0);
}

void TForm1::readHighScores() {
    showHighScores(readScoreTable(profile_));
}

void TForm1::readPlayerName() {
    Playersname.setText(readSettingText(profile_, setting::kName));
    settings.playerName = Playersname.text();
    namelabel.setCaption(settings.playerName);
}

void TForm1::setUpBoard() {
    buildWalls(play, Walls::Frame);
    readSavedGame();
    // The saved game's bar waits at home; a first run has a fresh board and bar instead.
    placeBarHome(play);
    if (settings.firstRun) {
        fillStartRow(play, rng);
        drawOrdinaryBar(rng, play.Blocks, play.Shape);
        drawOrdinaryBar(rng, play.Blocks, play.Nextshape);
        placeBarHome(play);
        Menupanel.show();
    } else {
        Menupanel.hide();
    }
    // The stage's background becomes the surface's fill pattern and opens the history.
    play.backgroundHistory[0] = play.Background;
    play.backgroundHistoryIndex = 1;
    installBackground(play.Background, kFrameRect);
}
void TForm1::bindHandlers() {
    using tk::MouseButton;
    onKeyDown = [this](int& key) { keyprocess(key); };
    onKeyUp = [this](int& key) { keyup(key); };
    onPaint = [this] { redraw(); };
    onClose = [this] { FormClose(); };
    Image5.onClick = [this] { Image5Click(); };
    hscoreclose.onClick = [this] { hscorecloseClick(); };
    dxButton3.onClick = [this] { dxButton3Click(); };
    dxButton4.onClick = [this] { dxButton4Click(); };
    helpbutton2.onClick = [this] { helpbutton2Click(); };
    onMouseMove = [this](int x, int y) { FormMouseMove(x, y); };
    onMouseDown = [this](MouseButton b, int x, int y) { FormMouseDown(b, x, y); };
    onMouseUp = [this](MouseButton b, int x, int y) { FormMouseUp(b, x, y); };

    clickhere.onClick = [this] { changebtnClick(); };

    session.setListener([this](const PlayEvent& e) { playEvent(e); });
    Timer1.onTimer = [this] { session.flightTick(); };
    MusicTimer.onTimer = [this] { musicloop(); };
    Animtimer.onTimer = [this] { session.bannerEnded(); };
    Cycletimer.onTimer = [this] { session.settleTick(); };
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
    onPointerMoved = [this](int, int) { menu.padHighlight = -1; };
    onInputSource = [this](tk::InputSource source) { inputSourceChanged(source); };
    padRepeat.onTimer = [this] { padRepeatTimer(); };
    bindEffects();
    bindSettings();
    bindMenu();
}

void TForm1::bindEffects() {
    fieldView.effects = &fieldEffects;
    fieldEffects.setTopLayer(&topLayer);
    // The dialogs stand on a veil that follows them as they show and hide.
    menuVeil.watch({&Scorepanel, &helppanel, &overpanel, keysPage.panel.get()});
    fieldVeil.watch({&helppanel2});
    onShowingChanged = [this](tk::Control&) {
        menuVeil.sync();
        fieldVeil.sync();
    };
    fieldEffects.onStart = [this] { effectsTimer.setEnabled(true); };
    effectsTimer.onTimer = [this] {
        if (!fieldEffects.tick()) effectsTimer.setEnabled(false);
    };
}

std::uint32_t TForm1::seedNow() const {
    return env_.seedSource ? env_.seedSource() : clockSeed();
}

}  // namespace lumcrest
