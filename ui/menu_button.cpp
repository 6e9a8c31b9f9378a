// The in-game MENU button: not a control but frames of `menulist` drawn on the window's surface
// under the place of the menu's Back button, with a hot rectangle and a wider one for leaving.
#include "app/form.h"
#include "assets/catalogue.h"
#include "audio/track_names.h"
#include "ui/menu_pictures.h"
#include "view/frame_sizes.h"

namespace lumcrest {

namespace {

constexpr int kLeft = 664, kTop = 531;
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
    if (menuLit == 0 && inHot(x, y)) {
        surface().drawFrame(menulist, 1, kLeft, kTop);
        menuLit = 1;
        playEffect(asset::kMenuOver.file);
    }
    if (menuLit == 1 && !inLeave(x, y)) {
        surface().drawFrame(menulist, 0, kLeft, kTop);
        menuLit = 0;
    }
}

void TForm1::FormMouseDown(tk::MouseButton, int x, int y) {
    if (Menupanel.visible() || !inHot(x, y)) return;
    surface().fillWithBrush(tk::Rect{kLeft, kTop, 801 - kLeft, kFrameHeight - kTop});
    surface().drawFrame(menulist, 2, kLeft, kTop);
}

void TForm1::FormMouseUp(tk::MouseButton, int x, int y) {
    if (Menupanel.visible() || !inHot(x, y)) return;
    surface().drawFrame(menulist, 0, kLeft, kTop);
    Backbutton.loadFromFile(backPicture(BackLook::Rest));
    if (overpanel.visible()) overpanel.hide();
    Menupanel.show();
    switchTrack(kMenuTrack, kMenuTrackRestartMs);
}

}  // namespace lumcrest
