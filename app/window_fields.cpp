#include "app/window_fields.h"

#include "app/form.h"

namespace lumcrest {

namespace {

// clang-format off
const FieldTable<BoardView> kViewFields = {
    {
        LUMCREST_FIELD(BoardView, Flag, paintAll), LUMCREST_FIELD(BoardView, Flag, blastStarted),
        LUMCREST_FIELD(BoardView, Int, blastFrame), LUMCREST_FIELD(BoardView, Int, blastStyle),
        LUMCREST_FIELD(BoardView, Flag, levelPending), LUMCREST_FIELD(BoardView, Int, fillMark),
        LUMCREST_FIELD(BoardView, Int, fillDrawn), LUMCREST_FIELD(BoardView, Int, twinklePhase),
        LUMCREST_FIELD(BoardView, Int, twinkleColumn), LUMCREST_FIELD(BoardView, Int, twinkleRow),
        LUMCREST_FIELD(BoardView, Int, twinkleLight), LUMCREST_FIELD(BoardView, Int, specialBlinkPhase),
        LUMCREST_FIELD(BoardView, Int, crackStep), LUMCREST_FIELD(BoardView, Int, crackRow),
        LUMCREST_FIELD(BoardView, Int, flashStep), LUMCREST_FIELD(BoardView, Int, waveColumn),
        LUMCREST_FIELD(BoardView, Int, jarFrame), LUMCREST_FIELD(BoardView, Int, jarTailLoops),
        LUMCREST_FIELD(BoardView, Int, jarIntroLoops), LUMCREST_FIELD(BoardView, Int, drainLine),
        LUMCREST_FIELD(BoardView, Int, jarHalfTick), LUMCREST_FIELD(BoardView, Byte, menuLit),
    },
    {},
};

const FieldTable<PlayerSettings> kSettingsFields = {
    {
        LUMCREST_FIELD(PlayerSettings, Byte, firstRun), LUMCREST_FIELD(PlayerSettings, Byte, soundOn),
        LUMCREST_FIELD(PlayerSettings, Byte, musicOn), LUMCREST_FIELD(PlayerSettings, Int, musicVolume),
        LUMCREST_FIELD(PlayerSettings, Int, soundVolume), LUMCREST_FIELD(PlayerSettings, Byte, calmMode),
        LUMCREST_FIELD(PlayerSettings, Text, playerName),
    },
    {},
};

const FieldTable<ScorePanelState> kScoreFields = {
    {
        LUMCREST_FIELD(ScorePanelState, Int, blinkCount),
        LUMCREST_FIELD(ScorePanelState, Int, lastScore),
    },
    {
        LUMCREST_ARRAY(ScorePanelState, hiScores, 1, 10),
        LUMCREST_ARRAY(ScorePanelState, sortScores, 1, 11),
    },
};
// clang-format on

}  // namespace

std::optional<FieldRef> findWindowField(TForm1& form, std::string_view name) {
    if (auto f = findField(form.play, name)) return f;
    if (auto f = kViewFields.find(form.fieldView, name)) return f;
    if (auto f = kSettingsFields.find(form.settings, name)) return f;
    if (auto f = form.menu.findLight(name)) return f;
    return kScoreFields.find(form.scorePanel.state, name);
}

}  // namespace lumcrest
