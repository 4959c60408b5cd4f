// The application icon (icon resource 128): a magnetic stripe card, drawn by
// the program itself at the usual icon sizes.
#pragma once

class QIcon;

namespace res {

inline constexpr int IDR_MAINFRAME = 128;

// The icon in 16, 32 and 48 pixel sizes. Needs the GUI application to be up
// (pixmaps cannot exist before it); returns a null icon otherwise.
QIcon AppIcon();

}  // namespace res
