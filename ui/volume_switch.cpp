#include "ui/volume_switch.h"

#include "assets/catalogue.h"

namespace lumcrest {

void VolumeSwitch::paint(tk::Canvas& canvas) {
    tk::Picture::paint(canvas);
    if (!lights_) return;
    const int w = lights_->frameWidth();
    const int top = (height() - lights_->frameHeight()) / 2;
    for (int i = 0; i < asset::kVolumeLightCount; ++i)
        lights_->draw(canvas, asset::kVolumeLightsLeft + i * w, top, i < level_ ? 1 : 0);
}

}  // namespace lumcrest
