// Operations of the game that are still to come. Each is called where the game will need it;
// until its rules are written it does nothing.
#include "form.h"

namespace lumcrest {

void TForm1::wavetimerTimer() {}
void TForm1::AtimerTimer() {}
void TForm1::vertimerTimer() {}

}  // namespace lumcrest
