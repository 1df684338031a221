#pragma once

#include <QFont>

namespace ui {

// The program's dialog font at a pixel size, with a fallback where Tahoma is missing.
QFont tahomaFont(int pixelSize);
// The line editor's fixed-pitch Japanese font, with fallbacks where MS Gothic is missing.
QFont gothicFixedFont(int pixelSize);

}  // namespace ui
