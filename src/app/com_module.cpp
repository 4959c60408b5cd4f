// COM initialisation stand-in and the application's module object.
#include "app/com_module.h"

#include "platform/ui/application.h"

#include <atomic>

namespace app {

namespace {

std::atomic<int> g_initCount{0};
std::atomic<bool> g_failInit{false};

}  // namespace

bool CoInitialize() {
    if (g_failInit.load() || !ui::HasApplication()) return false;
    ++g_initCount;
    return true;
}

void CoUninitialize() {
    if (g_initCount.load() > 0) --g_initCount;
}

int CoInitializeCount() { return g_initCount.load(); }

void SetCoInitializeFailure(bool fail) { g_failInit.store(fail); }

void ComModule::Init(std::string modulePath, std::vector<ClassObjectEntry> table) {
    modulePath_ = std::move(modulePath);
    table_ = std::move(table);
    threadId_ = std::this_thread::get_id();
    registered_ = 0;
    initialised_ = true;
}

void ComModule::Term() {
    RevokeClassObjects();
    initialised_ = false;
}

bool ComModule::RegisterClassObjects() {
    // Nothing outside this process can ask for a class object here; the
    // entries are only counted so that revocation matches registration.
    registered_ = static_cast<int>(table_.size());
    return true;
}

void ComModule::RevokeClassObjects() { registered_ = 0; }

}  // namespace app
