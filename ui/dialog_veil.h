// The veil between a dialog and what lies behind it: while one of its panels shows (the name
// panel, a help page, the high-score table, the keys page), the menu or the field behind is
// darkened, so the dialog stands alone and no frame or switch of the menu shows at its edges.
// The night's far corners are left a little lighter, as a lamp would leave them.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/control.h"

namespace lumcrest {

class DialogVeil : public tk::Control {
  public:
    // How dark the veil is over most of the window, of 255.
    static constexpr int kDark = 153;

    // A veil over the whole of PARENT, hidden until a panel it watches shows.
    DialogVeil(tk::Control* parent, std::string name);

    // The panels that bring the veil; each lies above it.
    void watch(std::vector<const tk::Control*> panels) { panels_ = std::move(panels); }
    // Shows the veil when a panel it watches is visible, or a dialog of its own window holds
    // it; hides it when none is.
    void sync();
    void hold(bool on) {
        held_ = on;
        sync();
    }

    bool windowed() const override { return true; }
    bool passesPointer() const override { return true; }
    void paint(tk::Canvas& canvas) override;

  private:
    // How much of a pixel's light the veil keeps (of 256), by row and column: the same for
    // every frame, worked out at the first.
    std::vector<std::uint8_t> keep_;
    int keepW_ = 0, keepH_ = 0;
    std::vector<const tk::Control*> panels_;
    bool held_ = false;
};

}  // namespace lumcrest
