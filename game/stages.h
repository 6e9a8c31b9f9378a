// What each stage asks for: the gems to clear and the number of gem kinds in play.
#pragma once

namespace lumcrest {

struct StageParameters {
    int gemsToClear;
    int kinds;
};

// Stage 1 asks 20 gems of 6 kinds, 2: 50 of 7, 3: 60 of 8, 4: 70 of 9, then 15n + 10 of 9.
// Stages below 1 (an edited saved game) are taken as stage 1.
StageParameters stageParameters(int stage);

}  // namespace lumcrest
