// The stage background as the surface's fill pattern: erasing is filling with it.
#include "app/form.h"
#include "assets/catalogue.h"
#include "toolkit/error.h"

namespace lumcrest {

bool TForm1::installBackground(int b, tk::Rect r) {
    tk::Image picture;
    std::span<const std::uint8_t> encoded;
    try {
        // The resource number in words, without overflow for any edited Background.
        if (b < 0 || b > 5)
            throw tk::Error(tk::tr("Resource %s not found", std::to_string(101LL + b)));
        encoded = tk::embeddedBytes(asset::kBackgrounds.file(b));
        surface().releaseBrushPixels();
        // Under the menu nothing of it shows: it is decoded when the field is first uncovered
        // (the first start's menu is up before anything is seen).
        if (!surface().covered()) picture = tk::decodePicture(encoded, asset::kBackgrounds.file(b));
    } catch (const tk::Error&) {
        app().backend().beep();
        return false;
    }
    // Kept as its file's bytes too: while the menu covers the field, the pixels may go.
    surface().setBrush(std::move(picture), encoded);
    surface().fillWithBrush(r);
    return true;
}

}  // namespace lumcrest
