// The picture of the instrument's front (Image1): bezel, LCD window, five
// square soft keys and the rotary knob, drawn here at start-up.
#pragma once
#include <QPixmap>
#include <QRect>

namespace host {

constexpr int FRONT_WIDTH = 550;
constexpr int FRONT_HEIGHT = 477;
constexpr QRect LCD_RECT{34, 65, 480, 273};

// The click areas of the keys, in window coordinates (the picture sits at 0, 0).
QRect soft_key_rect(int index); // 0..4, Image2, Image3, Image4, Image5, Image7
constexpr QRect KNOB_RECT{464, 400, 49, 49}; // Image8, the rotary push

QPixmap draw_front_panel();

} // namespace host
