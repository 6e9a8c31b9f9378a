// The window's side of the Keys page: opened from the help page and back to it, each change of
// the keys written to [Keys] at once (kept until written when the file cannot take it now).
#include "app/form.h"
#include "assets/catalogue.h"

namespace lumcrest {

void TForm1::openKeysPage() {
    playEffect(asset::kClick.file);
    helppanel.hide();
    keysPage.open(settings.keys);
}

void TForm1::keysChanged(const KeyBindings& keys) {
    settings.keys = keys;
    helpKeys.show(keys);
    firstHelpKeys.show(keys);
    profile_.keepUntilWritten([keys](Profile& p) { writeKeyBindings(p, keys); });
    profile_.writeUnwritten();
}

void TForm1::keysPageClosed() {
    playEffect(asset::kMenuOver.file);
    helppanel.show();
    setFocus(&dxButton4);
}

}  // namespace lumcrest
