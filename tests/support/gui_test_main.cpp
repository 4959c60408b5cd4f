// The main() of every GUI test program: Qt's offscreen platform unless the
// environment names another, the dialog layer's application, the operator
// seam armed so that a modal nobody answers fails instead of waiting for a
// person, then all tests.
#include "platform/ui/application.h"
#include "platform/ui/operator.h"

#include <gtest/gtest.h>

#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <iostream>

namespace {

// Seam failures that no test took (a test that ran modals without an
// OperatorScript) still fail the program.
class SeamFailureListener : public testing::EmptyTestEventListener {
public:
    void OnTestEnd(const testing::TestInfo& info) override {
        for (const std::string& failure : ui::Operator::TakeFailures()) {
            std::cerr << info.test_suite_name() << "." << info.name() << ": " << failure << "\n";
            failed = true;
        }
    }
    bool failed = false;
};

QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns about every window feature it lacks (raise,
// keyboard grabs, size hints); those lines say nothing about the test.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    }
}

}  // namespace

// Leak-checker suppressions for sanitizer builds: the system font library
// keeps caches for the life of the process. Unused in other builds.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    previousHandler = qInstallMessageHandler(QuietOffscreen);
    ui::InitApplication(argc, argv);
    ui::Operator::SetArmedByDefault(true);
    testing::InitGoogleTest(&argc, argv);
    auto* listener = new SeamFailureListener;
    testing::UnitTest::GetInstance()->listeners().Append(listener);  // owned by gtest
    const int rc = RUN_ALL_TESTS();
    return rc != 0 ? rc : (listener->failed ? 1 : 0);
}
