// CMsrTestApp: start-up, command line, registration switches and exit.
#include "app/msr_test_app.h"

#include "console/msr_test_dlg.h"
#include "platform/registry/registrar.h"
#include "platform/ui/application.h"
#include "res/app_registry_script.h"

#include <filesystem>
#include <iostream>
#include <map>

#include "app/signal_loop.h"

namespace {

std::string ExecutablePath() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

// Doubles every apostrophe, so the value can stand inside '...' in a
// registrar script.
std::string DoubleApostrophes(const std::string& s) {
    std::string out;
    for (char c : s) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

}  // namespace

void CMsrTestApp::SetCommandLine(std::vector<std::string> argv) {
    m_strCmdLine = app::BuildRawCommandLine(argv);
    m_args.assign(argv.size() > 1 ? argv.begin() + 1 : argv.end(), argv.end());
    if (m_strModulePath.empty()) {
        m_strModulePath = ExecutablePath();
        if (m_strModulePath.empty() && !argv.empty()) {
            std::error_code ec;
            m_strModulePath = std::filesystem::absolute(argv[0], ec).string();
        }
    }
}

int CMsrTestApp::Run(std::vector<std::string> argv) {
    SetCommandLine(std::move(argv));
    if (InitInstance()) m_nExitCode = app::RunEventLoopUntilTerminated() == 0 ? 0 : 1;
    return ExitInstance();
}

bool CMsrTestApp::InitInstance() {
    // 1. The automation module; it also handles the registration switches.
    if (!InitComModule()) return false;

    // 2. Hosting automation controls in dialogs needs no switch here: the
    //    dialog layer always hosts them (the main window's control 1040).

    // 3./4. The standard parse: "Embedding" or "Automation" starts no window
    //    and leaves the message loop running.
    const app::CommandLineInfo info = app::ParseCommandLine(m_args);
    if (info.runEmbedded || info.runAutomated) return true;

    // 5. The three-dimensional look of standard controls is how the widgets
    //    are drawn anyway.

    // 6./7. The main console window, run modally and destroyed when it ends.
    m_nLastModalResult = RunMainWindow();

    // 8. No message loop after the console.
    return false;
}

int CMsrTestApp::RunMainWindow() {
    ++m_nWindowRuns;
    CMsrTestDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    const int result = dlg.DoModal();
    m_pMainWnd = nullptr;
    return result;
}

bool CMsrTestApp::InitComModule() {
    m_bComInitialised = 1;
    if (!app::CoInitialize()) {
        m_bComInitialised = 0;
        return false;
    }
    // The program serves no class of its own: the class-object table is
    // empty.
    m_module.Init(m_strModulePath, {});

    switch (app::FindRegistrationSwitch(m_strCmdLine)) {
    case app::RegistrationSwitch::UnregServer:
        UpdateRegistry(false);
        m_module.RevokeClassObjects();
        break;
    case app::RegistrationSwitch::RegServer:
        UpdateRegistry(true);
        m_module.RegisterClassObjects();
        break;
    case app::RegistrationSwitch::None:
        if (!m_module.RegisterClassObjects()) {
            m_bComInitialised = 0;
            app::CoUninitialize();
            return false;
        }
        return true;
    }
    m_bComInitialised = 0;
    m_module.Term();
    app::CoUninitialize();
    return false;
}

void CMsrTestApp::UpdateRegistry(bool registering) {
    // The program file's path; there are no short (8.3) path forms here, so
    // the full path is used as it is.
    const std::map<std::string, std::string> replacements = {{"Module", DoubleApostrophes(m_strModulePath)}};
    reg::Store store;
    const reg::Status status =
        reg::ApplyRegistrarScript(store, res::AppRegistryScript(),
                                  registering ? reg::RegistrarMode::Register : reg::RegistrarMode::Unregister,
                                  replacements);
    if (!status) {
        std::cerr << ui::AppName() << ": " << (registering ? "registration" : "removal of the registration")
                  << " failed: " << status.message << "\n";
    }
    // The type library would be looked for inside the program file and
    // then in "<program>.tlb". The program carries none and this platform
    // has no type-library format, so the step does nothing.
}

int CMsrTestApp::ExitInstance() {
    if (m_bComInitialised == 1) {
        m_module.RevokeClassObjects();
        m_module.Term();
        app::CoUninitialize();
        m_bComInitialised = 0;
    }
    return m_nExitCode;
}

void CMsrTestApp::OnHelp() {
    std::filesystem::path help = m_strModulePath.empty() ? std::filesystem::path(ui::AppName())
                                                         : std::filesystem::path(m_strModulePath);
    help.replace_extension(".HLP");
    std::cerr << ui::AppName() << ": no help viewer for " << help.string() << " on this system\n";
}
