// The program's entry point: brings up the dialog layer and the icon
// resource, makes the MSR control class creatable (with the simulated
// reader's window), routes the Help command
// and runs the application object with the command line as given.
#include "app/msr_test_app.h"
#include "opos/control/msr_control_class.h"
#include "opos/simwindow/sim_reader_window.h"
#include "platform/ui/application.h"
#include "platform/ui/icons.h"
#include "res/app_icon.h"

#include <QIcon>

#include <string>
#include <vector>

// The application object: one for the whole process.
CMsrTestApp theApp;

int main(int argc, char** argv) {
    // The command line as given, before the GUI toolkit takes out the
    // options it knows.
    std::vector<std::string> args(argv, argv + argc);

    ui::InitApplication(argc, argv);
    ui::RegisterIcon(res::IDR_MAINFRAME, res::AppIcon());
    opos::RegisterMsrControlClass();
    // The simulated reader shows its own small window while it is open.
    simwindow::InstallSimReaderWindow();
    ui::SetHelpHandler([] { theApp.OnHelp(); });
    return theApp.Run(std::move(args));
}
