// CMsrTestApp: the application object. Its start-up step initialises the
// automation module, acts on the RegServer / UnregServer switches of the raw
// command line, and otherwise runs the main console window modally; the
// program ends when that window ends. With "Embedding" or "Automation" it
// starts no window and runs its message loop until it is told to stop
// (SIGTERM or SIGINT). The exit step undoes the automation set-up.
//
// The program's one instance, theApp, is defined next to main(); tests make
// their own instances and drive the same steps.
#pragma once

#include "app/com_module.h"
#include "app/command_line.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {
class Dialog;
}

class CMsrTestApp {
public:
    CMsrTestApp() = default;
    virtual ~CMsrTestApp() = default;
    CMsrTestApp(const CMsrTestApp&) = delete;
    CMsrTestApp& operator=(const CMsrTestApp&) = delete;

    // The command line as main got it: argv[0] (the program path) and the
    // arguments. Builds the raw command line from them. The program file
    // used for the "Module" replacement is the running executable
    // (/proc/self/exe), else argv[0]; SetModulePath overrides it.
    void SetCommandLine(std::vector<std::string> argv);
    void SetModulePath(std::string path) { m_strModulePath = std::move(path); }
    const std::string& RawCommandLine() const { return m_strCmdLine; }
    const std::string& ModulePath() const { return m_strModulePath; }

    // The whole life of the program for the given command line: the
    // start-up step, the windowless message loop when start-up returns true
    // (until SIGTERM or SIGINT), then the exit step. Returns the exit code.
    int Run(std::vector<std::string> argv);

    // Start-up step: true to run the message loop (only the "Embedding" /
    // "Automation" case), false to end the program.
    virtual bool InitInstance();
    // Initialises COM and the module object and handles the registration
    // switches. True to go on with start-up, false to end the program.
    bool InitComModule();
    // Exit step: undoes what InitComModule left set up; returns the exit code.
    virtual int ExitInstance();

    // The framework's default Help command handler: the help file is the
    // program's path with its extension replaced by ".HLP". No help viewer
    // for that format exists on this platform, so it says so on stderr.
    void OnHelp();

    // 1 while COM and the module object are set up (see InitComModule).
    std::int32_t m_bComInitialised = 0;
    // The main window while it runs modally; null otherwise.
    ui::Dialog* m_pMainWnd = nullptr;

    // Diagnostics for tests: the main window's modal result of the last run
    // (not examined by the program) and how often the window step ran.
    int m_nLastModalResult = 0;
    int m_nWindowRuns = 0;
    const app::ComModule& Module() const { return m_module; }

protected:
    // Step 6 of start-up: constructs the main console window with no parent,
    // makes it the main window and runs it modally. Returns the modal result.
    virtual int RunMainWindow();

    // Applies (or removes) the registry script 103 with the "Module"
    // replacement, then the type library step. Failures are not part of
    // the outcome; they are only described on stderr.
    void UpdateRegistry(bool registering);

private:
    app::ComModule m_module;
    std::vector<std::string> m_args;  // the arguments after the program path
    std::string m_strCmdLine;
    std::string m_strModulePath;
    int m_nExitCode = 0;
};
