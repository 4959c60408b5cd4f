// The start-up paths that reach the main window: the console shown (and
// closed by the operator) when no switch applies, the silent end when the
// MSR control cannot be created, and the windowless run that SIGTERM ends,
// in process and as the real program.
#include "app/msr_test_app.h"
#include "platform/com/class_table.h"
#include "res/main_dialog_res.h"
#include "support/operator_script.h"
#include "support/stand_in_msr.h"

#include "app_fixture.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <chrono>
#include <csignal>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using apptest::RegState;
using testsupport::OperatorScript;

class WindowTest : public apptest::AppTest {
protected:
    void TearDown() override {
        testsupport::UnregisterStandInMsr();
        apptest::AppTest::TearDown();
    }
};

TEST_F(WindowTest, UnrecognisedSwitchesStartTheConsole) {
    testsupport::RegisterStandInMsr();
    const std::vector<std::vector<std::string>> lines = {
        {"/usr/bin/Strivo", "/RegServer", "extra"},
        {"/usr/bin/Strivo", "/RegServer "},
        {"/opt/my-tools/Strivo"},
        {"/opt/my-tools/Strivo", "report.txt"},
    };
    for (const auto& argv : lines) {
        SCOPED_TRACE(argv.back());
        int shownTemplate = 0;
        bool wasMainWindow = false;
        CMsrTestApp a;
        OperatorScript op;
        op.Then([&](ui::ModalView& v) {
            shownTemplate = v.TemplateId();
            wasMainWindow = v.AsDialog() != nullptr && v.AsDialog() == a.m_pMainWnd;
            v.CloseBox();
        });
        a.SetCommandLine(argv);
        EXPECT_FALSE(a.InitInstance());
        op.Finish();
        EXPECT_EQ(shownTemplate, res::IDD_MSRTEST_DIALOG);
        EXPECT_TRUE(wasMainWindow);
        EXPECT_EQ(a.m_pMainWnd, nullptr);  // gone once the modal run ended
        EXPECT_EQ(a.m_nWindowRuns, 1);
        EXPECT_EQ(a.ExitInstance(), 0);
        EXPECT_EQ(State(), RegState::Nothing);
    }
}

TEST_F(WindowTest, ControlThatCannotBeCreatedEndsTheProgramSilently) {
    testsupport::UnregisterStandInMsr();
    com::ClassTable::Instance().Unregister(testsupport::kMsrClsid);
    OperatorScript op;  // no step: any modal (a window, a message box) fails
    CMsrTestApp a;
    a.SetCommandLine({"Strivo"});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(a.InitInstance());
    const std::string err = testing::internal::GetCapturedStderr();
    op.Finish();
    EXPECT_EQ(a.m_nWindowRuns, 1);
    EXPECT_EQ(a.m_nLastModalResult, -1);
    EXPECT_EQ(a.ExitInstance(), 0);
    EXPECT_EQ(err, "");
}

TEST_F(WindowTest, EmbeddingRunsWithoutWindowUntilSigterm) {
    for (const char* sw : {"-Embedding", "/AUTOMATION"}) {
        SCOPED_TRACE(sw);
        OperatorScript op;  // no window may appear
        bool ranInLoop = false;
        QTimer::singleShot(50, [&] { ranInLoop = true; });
        QTimer::singleShot(150, [] { ::raise(SIGTERM); });
        CMsrTestApp a;
        EXPECT_EQ(a.Run({"/usr/bin/Strivo", sw}), 0);
        op.Finish();
        EXPECT_TRUE(ranInLoop);
        EXPECT_EQ(a.m_nWindowRuns, 0);
        EXPECT_EQ(a.m_bComInitialised, 0);
    }
}

// The real program: started with -Embedding it stays up with no window and
// ends cleanly with exit code 0 on SIGTERM.
TEST_F(WindowTest, ProgramStartedEmbeddedEndsCleanlyOnSigterm) {
#ifndef STRIVO_BINARY
    GTEST_SKIP() << "STRIVO_BINARY (the path of the built program) is not defined for this test";
#else
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_DATA_HOME", dir_.path().c_str(), 1);
        ::execl(STRIVO_BINARY, STRIVO_BINARY, "-Embedding", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    auto waitFor = [&](int& status, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            const pid_t r = ::waitpid(pid, &status, WNOHANG);
            if (r == pid) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    int status = 0;
    const bool endedEarly = waitFor(status, std::chrono::milliseconds(1500));
    EXPECT_FALSE(endedEarly) << "the program ended by itself, status " << status;
    if (!endedEarly) {
        ASSERT_EQ(::kill(pid, SIGTERM), 0);
        const bool ended = waitFor(status, std::chrono::seconds(10));
        if (!ended) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        }
        ASSERT_TRUE(ended) << "the program did not end on SIGTERM";
        EXPECT_TRUE(WIFEXITED(status)) << "status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(State(), RegState::Nothing);
#endif
}

}  // namespace
