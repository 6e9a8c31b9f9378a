// The two help panels: one opened from the menu, one over the field at the very first game.
#include "app/form.h"
#include "assets/catalogue.h"

namespace lumcrest {

void TForm1::dxButton4Click() {
    playEffect(asset::kMenuOver.file);
    helppanel.hide();
}

void TForm1::helpbutton2Click() {
    playEffect(asset::kMenuOver.file);
    helppanel2.hide();
}

}  // namespace lumcrest
