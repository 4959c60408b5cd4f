// The process-wide parts of the dialog layer: the Qt application, the
// program's name, the Help command's route and the UI-thread poster.
#include "platform/ui/application.h"

#include "platform/com/ui_thread.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <filesystem>
#include <utility>

namespace ui {
namespace {

struct AppState {
    std::string name = "Strivo";
    std::function<void()> helpHandler;
};

AppState& State() {
    static AppState state;
    return state;
}

}  // namespace

void InitApplication(int& argc, char** argv) {
    if (QApplication::instance() == nullptr) {
        // Never deleted: it must outlive every widget and static of the
        // process, and deleting it from an exit handler is too late for Qt.
        // QCoreApplication::instance() keeps the pointer.
        (void)new QApplication(argc, argv);
    }
    if (argc > 0 && argv != nullptr && argv[0] != nullptr) {
        std::string stem = std::filesystem::path(argv[0]).stem().string();
        if (!stem.empty()) {
            SetAppName(std::move(stem));
        }
    }
    com::SetUiThreadPoster([](com::Task task) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr) {
            return;
        }
        QMetaObject::invokeMethod(
            app, [t = std::move(task)] { t(); }, Qt::QueuedConnection);
    });
}

bool HasApplication() { return QApplication::instance() != nullptr; }

const std::string& AppName() { return State().name; }

void SetAppName(std::string name) { State().name = std::move(name); }

void SetHelpHandler(std::function<void()> handler) { State().helpHandler = std::move(handler); }

void RunHelpCommand() {
    // A copy: the handler may replace itself.
    auto handler = State().helpHandler;
    if (handler) {
        handler();
    }
}

void PumpEvents(int milliseconds) {
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    if (milliseconds <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace ui
