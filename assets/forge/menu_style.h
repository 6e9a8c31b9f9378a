#pragma once
// The look shared by the menu backdrop and the buttons drawn onto it.

#include <cstdint>
#include <string_view>
#include <vector>

#include "assets/forge/canvas.h"

namespace forge {

// Flat colour of the round frame behind the menu buttons; the button bitmaps
// are opaque and use it around their rounded faces.
constexpr Rgb kMenuPanel = hex(0x120f26);

enum class ButtonState { Dimmed, Rest, Hover, Pressed };

// A rounded gold-rimmed button face with LABEL filling a W x H box at the origin. The label is
// shrunk to MAXTEXTWIDTH (0: the face between its rounded ends) and centred on TEXTCENTRE (0: the
// middle of the face).
void buttonFace(cairo_t* cr, double w, double h, ButtonState state, std::string_view label,
                double fontSize, double maxTextWidth = 0, double textCentre = 0);

}  // namespace forge

namespace forge {

// A rectangle of a picture, for keeping stars out from behind its words.
struct Box {
    double x, y, w, h;
};

// Night-sky card with a gilded border, the ground of every dialog picture. No
// star is sown inside the (non-overlapping) boxes WORDS, where text goes. A
// SQUARE card has its frame running to its very corners: it is shown over
// more than one ground, so no corner of it may show a ground of its own.
void dialogBackdrop(cairo_t* cr, double w, double h, std::uint64_t seed,
                    const std::vector<Box>& words = {}, bool square = false);
// A dark recess where the game puts one of its own controls.
void controlSlot(cairo_t* cr, double x, double y, double w, double h);

}  // namespace forge
