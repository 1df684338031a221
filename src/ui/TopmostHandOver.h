#pragma once

class QDialog;
class QWidget;

namespace ui {

// Puts a window above (or back among) all normal windows without moving or resizing it.
void setTopmost(QWidget& window, bool topmost);

// The main window stays on top of everything, so a modal dialog would open behind it. The
// main window gives up its topmost place while the dialog runs modally above it, and takes
// it back afterwards. Returns the dialog's result. Every modal dialog goes through here.
int runModalWithTopmostHandOver(QWidget& mainWindow, QDialog& dialog);

}  // namespace ui
