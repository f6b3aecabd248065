#pragma once
// The 280 x 522 background of one skin: the body inside the window outline,
// with calm panels where the controls of dialog 102 sit.

#include "res/gen/SkinArt.h"

#include <QImage>

namespace artgen {

[[nodiscard]] QImage DrawBackground(const SkinArt& art);

} // namespace artgen
