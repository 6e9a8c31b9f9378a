// The main window TForm1: it owns the controls and timers of the game and wires them to the
// parts: the play state (game/), the board view that draws it (view/), the menu and its high-score
// table (ui/), the player's settings and the settings file (store/), the sound (audio/). Its
// handlers keep the names the driver and the recordings speak; each hands its work to a part and
// adds what the window alone knows (which panel shows, which timer runs).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/environment.h"
#include "audio/game_audio.h"
#include "game/game_state.h"
#include "game/play_session.h"
#include "game/random.h"
#include "game/score_table.h"
#include "store/play_stats.h"
#include "store/player_settings.h"
#include "store/profile.h"
#include "toolkit/application.h"
#include "toolkit/i18n.h"
#include "toolkit/image_list.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"
#include "ui/dialog_veil.h"
#include "ui/keys_page.h"
#include "ui/letter_board.h"
#include "ui/menu_panel.h"
#include "ui/score_panel.h"
#include "ui/volume_switch.h"
#include "view/board_view.h"

namespace lumcrest {

class TAboutBox;

// The main window's name in the desktop's lists (task bar, window switcher), as the desktop entry
// names the game. The game itself draws no caption.
inline constexpr const char* kWindowName = "Lumcrest";

// Fonts of the layouts.
tk::FontSpec georgia(int px, tk::Argb colour, bool bold = false, bool italic = false,
                     bool underline = false);

class TForm1 : public tk::Window {
  public:
    // Lays out the controls, loads the pictures, reads the settings and the saved game and sets
    // up the board. Throws when a picture or a track of the start cannot be loaded.
    TForm1(tk::Application& app, Environment env);
    ~TForm1() override;

    // The About dialog, created by the program entry after this window.
    void setAboutBox(TAboutBox* box) { aboutBox_ = box; }
    TAboutBox* aboutBox() const { return aboutBox_; }
    const Environment& environment() const { return env_; }
    Profile& profile() { return profile_; }
    // The game being played: its state (what the rules read and write and the saved game holds),
    // its random sequence and its phase. The window's play timers follow it.
    PlaySession session;
    GameState& play = session.state();
    Random& rng = session.random();

    // --- Controls ---------------------------------------------------------------------------
    FieldEffects fieldEffects{this};  // what flies over the field, beneath the labels
    tk::Label Label1;                 // the score, right of the well
    tk::Label Label18;                // the caption "level:" before the stage number
    tk::Label lblstage;               // the stage number
    tk::Label lblsetlevel;            // the new stage's number in the level banner
    tk::Label levelup;                // the level banner's "Level:" over the field
    tk::Control MediaPlayer1;         // the music player's place among the controls, never shown
    tk::Panel Menupanel;              // the menu, covering the whole window
    tk::Picture Menuimage;            // the menu's backdrop
    // The menu's image buttons (Newbutton .. Calmbutton, ui/menu_buttons.h) and the highlight
    // among them; the buttons lie over the backdrop, under everything else of the menu.
    MenuPanel menu;
    tk::Picture crestimage;  // the crest on the greeting plate until a name is known
    tk::Label welcomelbl;    // the greeting "Welcome," on the menu
    tk::Label namelabel;     // the player's name after the greeting
    tk::Label clickhere;     // the link under the greeting that opens the name panel
    tk::Picture Image5;      // the logo at the menu's foot, a link to the game's web page
    DialogVeil menuVeil{&Menupanel, "menuVeil"};  // darkens the menu behind its dialogs
    tk::Panel Scorepanel;                         // the high-score table over the menu
    tk::Picture Image2;                           // the table's backdrop
    tk::PushButton hscoreclose;               // the table's Ok (its lines are the score panel's)
    tk::Panel helppanel;                      // the help page opened from the menu
    tk::Picture Image1;                       // the help page's picture
    tk::PushButton dxButton4;                 // the help page's Ok
    tk::PushButton helpkeys;                  // the help page's way to the Keys page, beside its Ok
    tk::Panel overpanel;                      // the name panel: the welcome and the player's name
    tk::Picture Image3;                       // the name panel's backdrop
    tk::EditBox Playersname;                  // the name panel's box for the name
    tk::PushButton dxButton3;                 // the name panel's Ok
    LetterBoard letterboard;                  // the name panel's on-screen letters for a controller
    DialogVeil fieldVeil{this, "fieldVeil"};  // darkens the field behind the first help page
    tk::Panel helppanel2;                     // the help page over the field at the very first game
    tk::Picture Image4;                       // the first game's help picture
    tk::PushButton helpbutton2;               // the first game's help Ok
    TopLayer topLayer{this};                  // a scene's last frame fading out, over every panel

    // --- The parts ----------------------------------------------------------------------------
    BoardView fieldView;                  // draws the field and its animations from the play state
    PlayerSettings settings;              // the switches, the volumes, calm mode and the name
    GameAudio sound;                      // effects and music, each under its switch
    ScorePanel scorePanel;                // the high-score table's lines
    KeysPage keysPage;                    // the player's choice of the keys of play, over the menu
    KeysSummary helpKeys, firstHelpKeys;  // the keys as they are now, on both help pages
    tk::ImageList vollights;              // a light of the switches' volume rows: off, lit
    // The [Keys] values that named no key ("Rotate=Foo"), said once when the window opens.
    std::vector<std::string> badKeys;
    tk::ImageList pushFace, pushFaceLow;  // the push buttons' faces, 28 and 25 px high

    // --- Timers, in the order of the timer table ------------------------------------------------
    tk::Timer Timer1;      // the bar's flight, one row a tick
    tk::Timer MusicTimer;  // starts the track again once it has played out
    tk::Timer Animtimer;   // how long the level banner shows
    tk::Timer Cycletimer;  // the settle steps of a chain
    tk::Timer Atimer;      // the idle sparkle
    tk::Timer jartimer;    // the jar of the stage end
    tk::Timer blasttimer;  // the explosion frames
    tk::Timer filltimer;   // the progress tube catching up after a chain
    tk::Timer vertimer;    // the blink of jokers and bombs
    tk::Timer wavetimer;   // the wave of lit gems across a full board
    tk::Timer cracktimer;  // the cracks spreading over a lost game
    tk::Timer flashtimer;  // the flash of every gem after a chain's third step
    tk::Timer scoretimer;  // the blink of the new line in the high-score table
    static constexpr int kTimerCount = 13;
    tk::Timer* timerTable[kTimerCount];
    // Repeats a held controller direction as a held key repeats (not one of the game's timers).
    tk::Timer padRepeat;
    // Moves the effects over the field while there are any.
    tk::Timer effectsTimer{app(), "effectsTimer", FieldEffects::kTickMs, false};
    static constexpr int kPadRepeatDelayMs = 400, kPadRepeatMs = 60;

    // --- Application shell (app/) ---------------------------------------------------------------
    void keyprocess(int& key);
    void keyup(int& key);
    void FormClose();
    // Game-controller input (app/pad.cpp): each button becomes the key the keyboard would give,
    // through keyprocess; in the menu the D-pad moves a highlight over the image buttons.
    void padprocess(tk::PadButton button, bool down);
    void padRepeatTimer();
    // A button on the help page; true when it was taken there.
    bool helpPadButton(tk::PadButton b);
    // The menu's keys (app/keys.cpp): Up, Down, Tab and Shift+Tab move the controller's
    // highlight, Enter or Space press the highlighted button as A does, Escape is Back.
    void menuKey(int& key);
    int padHeldKey = 0;  // the key a held direction repeats
    tk::PadButton padHeldButton = tk::PadButton::A;
    bool padLastInput = false;  // the player's last input came from a controller

    // --- Play (app/play.cpp over game/play_session.h, app/stage_flow.cpp) ------------------------
    // The timer that runs clock C.
    tk::Timer& timerOf(Clock c);
    // What the session says happened, done in the window; one of these for each kind's group.
    void playEvent(const PlayEvent& e);
    void fieldEvent(const PlayEvent& e);
    void bannerEvent(const PlayEvent& e);
    void playSound(PlaySound s);
    void blasttimerTimer();
    // A new game behind the menu; the one under way counts as ended.
    void newGame();
    // The cracks are done: the score may enter the table, the menu and a new game come.
    void gameOverToMenu();

    // --- The field's drawing and animations (app/field_timers.cpp over view/board_view.h) -------
    void drawBoard();
    void redraw();
    // Installs background B (0..5) as the surface's fill pattern and fills the rectangle R of the
    // surface with it. Beeps and changes nothing when the picture cannot be had.
    bool installBackground(int b, tk::Rect r);
    void filltimerTimer();
    void jartimerTimer();
    void wavetimerTimer();
    void flashtimerTimer();
    void cracktimerTimer();
    void AtimerTimer();
    void vertimerTimer();

    // --- Menu (app/menu_handlers.cpp over ui/menu_panel.h) ------------------------------------
    // What the menu's buttons do beyond their pictures, handed to the menu part.
    void bindMenu();
    // New Game's (or Play's) release: the game shows, and a first run is over.
    void startGameFromMenu();
    // A switch of the menu has turned: its setting goes into the file, the music follows its own.
    void menuSwitched(MenuButton button);
    void FormMouseMove(int x, int y);
    void FormMouseDown(tk::MouseButton b, int x, int y);
    void FormMouseUp(tk::MouseButton b, int x, int y);
    // What the MENU button's release does: the menu over the game, with its music. Escape and
    // the keyboard's Menu key in play do the same.
    void openMenu();
    // The calm switch without a pointer: C on the keyboard, Y on a controller, in the menu.
    void toggleCalmMode();
    void changebtnClick();
    void Image5Click();
    // Volume steps (app/volume_settings.cpp). Left and Right (keys, D-pad) step the volume of the
    // lit switch, music or sound, by STEP: true when a switch was lit. The wheel steps the switch
    // it turns over.
    bool menuVolumeStep(int step);
    void volumeStep(bool music, int step);
    // The volumes as they are now, to the lights and the audio backend.
    void showVolumes();
    // The controller in the menu (app/menu_pad.cpp): moves the highlight by STEP (+1 down, -1
    // up) with the rollover picture and sound, and presses the highlighted button.
    void menuPadMove(int step);
    void menuPadPress();
    void menuPadRelease();

    // --- High scores and name entry (app/high_scores.cpp, app/name_entry.cpp) --------------------
    // Puts the finished game's Score under the name in the box into the table on screen at
    // once, and into the table as the file holds it now (with what other copies of the game put
    // there meanwhile); the screen then shows that merged table. A score the file cannot take
    // now stays on screen and goes into the file at its next write. Throws the refused write.
    void insertHighScore();
    // The table as the screen shows it, and showing one (hiScores and the labels of its lines).
    ScoreTable tableOnScreen() const;
    void showHighScores(const ScoreTable& table);
    void scoretimerTimer();
    void hscorecloseClick();
    // The high-score panel's pages: 0 the records, 1 the player's figures as [Stats] holds them.
    void scorePage(int page);
    void confirmName();
    void dxButton3Click();
    // The name panel by controller (over ui/name_pad.h): a pad press there brings up the letter
    // board; the D-pad moves over it, A types the letter (or presses Space, Delete or Done), B
    // deletes, Start confirms. Keyboard or mouse input puts the board away again.
    void namePadButton(tk::PadButton button);
    void inputSourceChanged(tk::InputSource source);
    void showLetterBoard();

    // --- Help panels (app/menu_handlers.cpp) ----------------------------------------------------
    void dxButton4Click();
    void helpbutton2Click();
    // The Keys page (app/keys_choice.cpp over ui/keys_page.h): from the help page's Keys button, K
    // on the keyboard there, or the controller's D-pad and A; back to the help page when it
    // closes. Each change is written at once, and shown on the help pages.
    void openKeysPage();
    void keysChanged(const KeyBindings& keys);
    void keysPageClosed();
    void buildKeysPage();

    // --- The player's figures (store/play_stats.h)
    // ------------------------------------------------
    GameTally tally;  // this game's gems, chains, bombs, jokers and time, until [Stats] has them

    // --- Saved game (app/saved_game_window.cpp over store/saved_game.h) ----------------------
    void readSavedGame();
    void writeSavedGame();
    void writeSavedGameKeys();
    // What the saved game stores for the cell in column C, row R.
    int storedCell(int c, int r) const;

    // --- Sound and music (app/sound.cpp over audio/game_audio.h) ---------------------------------
    void playEffect(const std::string& file);
    // A cue beside the effects: the bar's moves, a bomb, a chain's steps, the stage end's burst.
    void playCue(const std::string& file);
    // After a pass over the board: a burst it started rings into the ones before, and the
    // first start of each burst adds the chain's step and a bomb's boom (a repaint that starts
    // it again does not).
    void soundBurst(bool started);
    void switchTrack(const std::string& file, int restartMs);
    void stopMusic();
    void musicloop();

    // A seed for the random sequence (from the clock, or the driver's fixed seed).
    std::uint32_t seedNow() const;

  private:
    // The steps of construction, in their order.
    void placeControls();    // every control where the layout table puts it, with its caption
    void buildScoreTable();  // the high-score table's lines and pages, then the Keys page
    void loadPictures();     // the controls' pictures, then loadImageLists()
    void loadImageLists();   // the field's image lists and the window's icon
    void bindHandlers();     // handlers bound by name
    void bindEffects();      // the effects over the field, with their timer
    void readSwitches();     // first run or not, the menu's switches, then every button's picture
    void setUpCrest();       // a first run's crest on the greeting plate, until a name is known
    void readSettings();     // the volumes and the keys (app/volume_settings.cpp)
    void bindSettings();     // the wheel over the volume switches
    void startMusic();       // the track the first screen plays
    void readHighScores();   // the table's names and scores
    void readPlayerName();   // the name box, the greeting's name
    void setUpBoard();       // walls, saved game, bar (a fresh board on a first run), background
    void openFirstScreen();  // the idle sparkle starts; the name box takes the keys on a first run
    Environment env_;
    Profile& profile_;
    TAboutBox* aboutBox_ = nullptr;
    int cuedStep_ = 0;  // the chain step whose cues sounded for the marks on the board; 0 none
};

}  // namespace lumcrest
