#pragma once

#include <memory>

namespace kelvocad {

class Drawing;

// The drawing KelvoCAD starts with when no file is opened: rows and columns of TEXTs
// (wire numbers, hexadecimal and octal addresses, Japanese and ASCII captions), a locked
// title layer, and block references of three block definitions with attributes.
std::shared_ptr<Drawing> makeSampleDrawing();

}  // namespace kelvocad
