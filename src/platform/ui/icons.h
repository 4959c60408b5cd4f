// Icon resources by ID. The program registers its icons at start-up (the
// application icon is resource 128); icon controls of templates and the
// program's own drawing load them from here.
#pragma once

class QIcon;

namespace ui {

void RegisterIcon(int id, const QIcon& icon);
// The icon registered under id; the style's information icon when none is.
QIcon LoadIcon(int id);
bool HasIcon(int id);

}  // namespace ui
