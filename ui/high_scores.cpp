// The table of the ten best scores: insertion at a game over, the blink of the new line, closing.
#include "app/form.h"
#include "assets/catalogue.h"
#include "assets/palette.h"

namespace lumcrest {

void TForm1::insertHighScore() {
    // The working list: the ten lines with their names as the file has them now, and the
    // candidate, the finished game under the name in the box. The names read and the twenty keys
    // written are one step: a crash leaves the old table or the new one, and another copy of the
    // game cannot slip its own change in between.
    Profile::Batch batch(profile());
    std::string names[12];
    for (int k = 1; k <= 10; ++k) {
        sortScores[k] = hiScores[k];
        names[k] = profile().readString("Scoreline" + std::to_string(k), "Name", "Tivane");
    }
    sortScores[11] = Score;
    names[11] = Playersname.text();

    // Passes of neighbour swaps until one swaps nothing; equal scores never swap, so the candidate
    // ends below every line that scored as much.
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (int i = 1; i <= 10; ++i) {
            if (sortScores[i] < sortScores[i + 1]) {
                std::swap(sortScores[i], sortScores[i + 1]);
                std::swap(names[i], names[i + 1]);
                swapped = true;
            }
        }
    }

    for (int k = 1; k <= 10; ++k) {
        hiScores[k] = sortScores[k];
        name[k]->setCaption(names[k]);
        score[k]->setCaption(std::to_string(sortScores[k]));
        std::string section = "Scoreline" + std::to_string(k);
        profile().writeString(section, "Name", names[k]);
        profile().writeInteger(section, "Score", sortScores[k]);
    }
    batch.commit();
    lastScore = Score;
}

void TForm1::scoretimerTimer() {
    if (blinkCount > 8) {
        blinkCount = 0;
        scoretimer.setEnabled(false);
        return;
    }
    bool red = blinkCount == 1 || blinkCount == 3 || blinkCount == 5 || blinkCount == 7;
    constexpr asset::Colour kRed = asset::kNewScoreBlink;
    tk::Argb colour = red ? tk::rgb(kRed.r, kRed.g, kRed.b) : tk::rgb(255, 255, 255);
    // Every line with the newest score blinks, older lines of the same score too.
    for (int k = 1; k <= 10; ++k) {
        if (hiScores[k] != lastScore) continue;
        num[k]->setColour(colour);
        name[k]->setColour(colour);
        score[k]->setColour(colour);
    }
    ++blinkCount;
}

void TForm1::hscorecloseClick() {
    Scorepanel.hide();
    playEffect(asset::kMenuOver.file);
    drawBoard();
}

}  // namespace lumcrest
