// The process-wide parts of the dialog layer: the Qt application object, the
// program's name (which captions every message box), the route of the Help
// command, and the posting of device events to the user-interface thread.
#pragma once

#include <functional>
#include <string>

namespace ui {

// Creates the Qt application if none exists (argc/argv as main got them),
// installs the UI-thread poster of the automation layer, and records the
// program's name: the file name of argv[0] without directory or extension.
void InitApplication(int& argc, char** argv);
// True once InitApplication (or a test's own QApplication) is up.
bool HasApplication();

const std::string& AppName();
void SetAppName(std::string name);

// The application's handling of the framework's Help command (57670).
void SetHelpHandler(std::function<void()> handler);
void RunHelpCommand();

// Processes events for the given time (timers, posted device events).
void PumpEvents(int milliseconds);

}  // namespace ui
