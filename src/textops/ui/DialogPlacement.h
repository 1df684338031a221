#pragma once

class QWidget;

namespace textops::ui {

// The text tools' dialogs open in the middle of the screen, wherever the main window is.
void centreOnScreen(QWidget& dialog);

}  // namespace textops::ui
