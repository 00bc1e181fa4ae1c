// The program icon: one picture drawn at 32 x 32 and 16 x 16 pixels
// (tools/draw_icon.py), built into the program as a Qt resource.
#pragma once

#include <QIcon>

namespace tessary {

// Both sizes: the window's large and small icon.
QIcon ProgramIcon();

}  // namespace tessary
