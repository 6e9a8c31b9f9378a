// The frame the game draws and the panels laid over it, in frame pixels (the window shows the
// frame at a whole or a smooth scale; every size here is before that scale).
#pragma once

#include "toolkit/geometry.h"

namespace lumcrest {

// The frame: the window's client area, what a screenshot of the game holds.
constexpr int kFrameWidth = 849, kFrameHeight = 588;
// The whole frame: the stage background fills it after a change of stage and at every repaint.
constexpr tk::Rect kFrameRect{0, 0, kFrameWidth, kFrameHeight};

// The menu and its backdrop: the picture is a few pixels larger than the frame, which cuts it.
constexpr int kMenuWidth = 857, kMenuHeight = 622;
// The panels over the menu and the field, each the size of its picture.
constexpr int kScorePanelWidth = 383, kScorePanelHeight = 520;  // the high-score table
constexpr int kHelpPanelWidth = 651, kHelpPanelHeight = 541;    // both help pages
constexpr int kNamePanelWidth = 452, kNamePanelHeight = 377;    // the name panel

}  // namespace lumcrest
