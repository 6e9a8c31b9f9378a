// The two help panels: one opened from the menu, one over the field at the very first game.
#include "app/form.h"

namespace lumcrest {

void TForm1::dxButton4Click() {
    playEffect("menuover.wav");
    helppanel.hide();
}

void TForm1::helpbutton2Click() {
    playEffect("menuover.wav");
    helppanel2.hide();
}

}  // namespace lumcrest
