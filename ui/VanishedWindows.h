#pragma once

namespace KramoDialogs {

// Keeps the program running when the X server says that a window asked about has gone: the
// toolkit now and then asks where the pointer is over a window destroyed a moment before
// (BadWindow on QueryPointer), and its own handler ends the program for that. Every other X
// error goes to the toolkit's handler as before. Call after the toolkit opened the display.
void SurviveVanishedWindows();

}  // namespace KramoDialogs
