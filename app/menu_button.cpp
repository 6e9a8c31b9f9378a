// The in-game MENU button: not a control but frames the board view draws on the window's surface
// under the place of the menu's Back button, with a hot rectangle and a wider one for leaving.
#include "app/form.h"
#include "assets/catalogue.h"

namespace lumcrest {

namespace {

bool inHot(int x, int y) {
    return x >= 676 && x <= 784 && y >= 528 && y <= 586;
}
// One pixel wider all round, so the button stays lit on the hot rectangle's border.
bool inLeave(int x, int y) {
    return x >= 675 && x <= 785 && y >= 527 && y <= 587;
}

}  // namespace

void TForm1::FormMouseMove(int x, int y) {
    if (Menupanel.visible()) return;
    if (fieldView.menuLit == 0 && inHot(x, y)) {
        fieldView.drawMenuButton(1);
        fieldView.menuLit = 1;
        playEffect(asset::kMenuOver.file);
    }
    if (fieldView.menuLit == 1 && !inLeave(x, y)) {
        fieldView.drawMenuButton(0);
        fieldView.menuLit = 0;
    }
}

void TForm1::FormMouseDown(tk::MouseButton, int x, int y) {
    if (Menupanel.visible() || !inHot(x, y)) return;
    fieldView.pressMenuButton();
}

void TForm1::FormMouseUp(tk::MouseButton, int x, int y) {
    if (Menupanel.visible() || !inHot(x, y)) return;
    openMenu();
}

void TForm1::openMenu() {
    fieldView.drawMenuButton(0);
    menu.showRest(MenuButton::Back);
    if (overpanel.visible()) overpanel.hide();
    Menupanel.show();
    switchTrack(kMenuTrack, kMenuTrackRestartMs);
}

}  // namespace lumcrest
