// The menu's music and sound switches: the switch's picture with a row of lights over its left
// end, as many lit as the volume's steps.
#pragma once

#include <string>

#include "toolkit/control.h"
#include "toolkit/image_list.h"

namespace lumcrest {

class VolumeSwitch : public tk::Picture {
  public:
    VolumeSwitch(tk::Control* parent, std::string name) : tk::Picture(parent, std::move(name)) {}
    // The lights' frames: off, then lit (asset::kVolumeLights); none drawn until set.
    void setLights(const tk::ImageList* lights) {
        lights_ = lights;
        invalidate();
    }
    int level() const { return level_; }
    void setLevel(int level) {
        if (level == level_) return;
        level_ = level;
        invalidate();
    }
    void paint(tk::Canvas& canvas) override;

  private:
    const tk::ImageList* lights_ = nullptr;
    int level_ = 0;
};

}  // namespace lumcrest
