// The automation module of the application: COM initialisation of the main
// thread and the module object (instance, start-up thread, class-object
// table). The program serves no class of its own, so its class-object table
// is empty and registering or revoking class objects does nothing.
//
// On this platform there is no COM runtime to initialise; initialisation
// stands for what the automation layer needs on the thread that will take
// the control's events: the dialog layer's application must be up, because
// the control posts its events through it. Initialisation fails without it.
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace app {

// COM initialisation for the current thread. False when it cannot be done.
// Calls nest as they do on the platform: each successful call needs one
// uninitialisation.
bool CoInitialize();
void CoUninitialize();
// How many initialisations are outstanding (for tests and diagnostics).
int CoInitializeCount();
// Test hook: makes the next CoInitialize calls fail while set.
void SetCoInitializeFailure(bool fail);

// An entry of the class-object table: what the module would register with
// COM for other processes. The program's table is empty.
struct ClassObjectEntry {
    std::string clsid;
};

class ComModule {
public:
    // Records the program's file, the (empty) class table and the current
    // thread's ID.
    void Init(std::string modulePath, std::vector<ClassObjectEntry> table);
    void Term();
    bool IsInitialised() const { return initialised_; }

    // Registers every class object of the table for use by other processes
    // (local server, multiple use). With an empty table there is nothing to
    // do and it succeeds.
    bool RegisterClassObjects();
    void RevokeClassObjects();

    const std::string& ModulePath() const { return modulePath_; }
    std::thread::id ThreadId() const { return threadId_; }
    const std::vector<ClassObjectEntry>& ClassTable() const { return table_; }
    int RegisteredClassObjects() const { return registered_; }

private:
    bool initialised_ = false;
    std::string modulePath_;
    std::thread::id threadId_;
    std::vector<ClassObjectEntry> table_;
    int registered_ = 0;
};

}  // namespace app
