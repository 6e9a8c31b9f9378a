// The stage background as the surface's fill pattern: erasing is filling with it.
#include "app/form.h"
#include "assets/catalogue.h"
#include "toolkit/error.h"

namespace lumcrest {

bool TForm1::installBackground(int b, tk::Rect r) {
    tk::Image picture;
    try {
        // The resource number in words, without overflow for any edited Background.
        if (b < 0 || b > 5)
            throw tk::Error(tk::tr("Resource %s not found", std::to_string(101LL + b)));
        picture = tk::loadEmbeddedPicture(asset::kBackgrounds.file(b));
    } catch (const tk::Error&) {
        app().backend().beep();
        return false;
    }
    surface().setBrush(std::move(picture));
    surface().fillWithBrush(r);
    return true;
}

}  // namespace lumcrest
