// Helpers of the bar rules shared by the spawn, a new game and a stage end.
#pragma once

#include "random.h"

namespace lumcrest {

class TForm1;

// A random ordinary kind, 1..blocks (1 when there are no kinds).
int randomKind(Random& rng, int blocks);
// Three random ordinary kinds into bar[1..3], drawn again while all three are equal.
void drawOrdinaryBar(Random& rng, int blocks, int* bar);
// Puts the bar home, columns 4..6 of the launch row, and writes its gems there.
void placeBarHome(TForm1& f);

}  // namespace lumcrest
