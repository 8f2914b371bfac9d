#pragma once

#include <QIcon>

namespace msr::app {

// The program's icon, the picture of the desktop entry (packaging/mietspiegelrechner.svg)
// drawn by the program: the association's house and letters on a light tile.
QIcon ProgramIcon();

} // namespace msr::app
