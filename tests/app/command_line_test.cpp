// The application's start-up for each kind of command line: the
// registration switches (and look-alikes that must not count), the
// windowless switches, and bytes that are no command line at all. The main
// window step is counted here, not run; window_test.cpp runs the real one.
#include "app/command_line.h"
#include "app/msr_test_app.h"

#include "app_fixture.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using apptest::RegState;

// The application with its window step replaced by a counter.
class CountingApp : public CMsrTestApp {
protected:
    int RunMainWindow() override {
        ++m_nWindowRuns;
        return 2;
    }
};

struct StartRow {
    const char* label;
    std::vector<std::string> argv;  // argv[0] is the program path
    bool registeredBefore;
    bool initResult;  // InitInstance's return value
    int windows;      // how often the window step ran
    RegState after;
};

const StartRow kStarts[] = {
    {"/RegServer", {"/usr/bin/Strivo", "/RegServer"}, false, false, 0, RegState::Registered},
    {"-regserver", {"/usr/bin/Strivo", "-regserver"}, false, false, 0, RegState::Registered},
    {"/REGSERVER", {"/usr/bin/Strivo", "/REGSERVER"}, false, false, 0, RegState::Registered},
    {"RegServer again keeps it registered", {"Strivo", "/RegServer"}, true, false, 0, RegState::Registered},
    {"-UnregServer", {"/usr/bin/Strivo", "-UnregServer"}, true, false, 0, RegState::AppIdOnly},
    {"/unregSERVER", {"/usr/bin/Strivo", "/unregSERVER"}, true, false, 0, RegState::AppIdOnly},
    {"UnregServer with nothing registered", {"Strivo", "-UnregServer"}, false, false, 0, RegState::Nothing},
    {"/RegServer extra is not the switch", {"/usr/bin/Strivo", "/RegServer", "extra"}, false, false, 1,
     RegState::Nothing},
    {"trailing blank inside the argument", {"/usr/bin/Strivo", "/RegServer "}, false, false, 1, RegState::Nothing},
    {"trailing empty argument", {"/usr/bin/Strivo", "/RegServer", ""}, false, false, 1, RegState::Nothing},
    {"-UnregServer extra is not the switch", {"Strivo", "-UnregServer", "x"}, true, false, 1,
     RegState::Registered},
    {"RegServer without - or /", {"/usr/bin/Strivo", "RegServer"}, false, false, 1, RegState::Nothing},
    {"- in the program path", {"/opt/my-tools/Strivo", "-RegServer"}, false, false, 0, RegState::Registered},
    {"- in the program path, no switch", {"/opt/my-tools/Strivo"}, false, false, 1, RegState::Nothing},
    {"switch glued to another argument still ends the line", {"Strivo", "-Embedding/RegServer"}, false, false, 0,
     RegState::Registered},
    {"/Embedding", {"/usr/bin/Strivo", "/Embedding"}, false, true, 0, RegState::Nothing},
    {"-automation", {"/usr/bin/Strivo", "-automation"}, false, true, 0, RegState::Nothing},
    {"-EMBEDDING among other arguments", {"Strivo", "file.txt", "-EMBEDDING", "/x"}, false, true, 0,
     RegState::Nothing},
    {"Embedding without - or /", {"Strivo", "Embedding"}, false, false, 1, RegState::Nothing},
    {"/Embeddingx is not the switch", {"Strivo", "/Embeddingx"}, false, false, 1, RegState::Nothing},
    {"a file name is ignored", {"Strivo", "report.txt"}, false, false, 1, RegState::Nothing},
    {"no arguments", {"Strivo"}, false, false, 1, RegState::Nothing},
    {"empty command line", {}, false, false, 1, RegState::Nothing},
};

class StartUpTest : public apptest::AppTest {};

TEST_F(StartUpTest, CommandLinesHaveTheirEffect) {
    for (const StartRow& row : kStarts) {
        SCOPED_TRACE(row.label);
        std::filesystem::remove_all(dir_.path() + "/strivo");
        if (row.registeredBefore) {
            CountingApp pre;
            pre.SetCommandLine({"Strivo", "/RegServer"});
            ASSERT_FALSE(pre.InitInstance());
            ASSERT_EQ(State(), RegState::Registered);
        }
        const int comBefore = app::CoInitializeCount();
        CountingApp a;
        a.SetCommandLine(row.argv);
        EXPECT_EQ(a.InitInstance(), row.initResult);
        EXPECT_EQ(a.m_nWindowRuns, row.windows);
        EXPECT_EQ(State(), row.after) << "got " << apptest::Name(State());
        // A switch leaves nothing to undo; otherwise COM stays up until exit.
        const bool switchHandled = row.windows == 0 && !row.initResult;
        EXPECT_EQ(a.m_bComInitialised, switchHandled ? 0 : 1);
        EXPECT_EQ(a.ExitInstance(), 0);
        EXPECT_EQ(a.m_bComInitialised, 0);
        EXPECT_EQ(app::CoInitializeCount(), comBefore);
    }
}

TEST(CommandLine, RawLineAndSwitchScan) {
    EXPECT_EQ(app::BuildRawCommandLine({"/opt/a b/Strivo", "x", "", "/RegServer"}), "/opt/a b/Strivo x  /RegServer");
    struct Row {
        const char* raw;
        app::RegistrationSwitch expected;
    };
    const Row rows[] = {
        {"Strivo /RegServer", app::RegistrationSwitch::RegServer},
        {"Strivo /UnRegServer", app::RegistrationSwitch::UnregServer},
        {"/RegServer", app::RegistrationSwitch::RegServer},  // the switch may be all there is
        {"Strivo --RegServer", app::RegistrationSwitch::RegServer},  // the second '-' starts it
        {"Strivo /-RegServer", app::RegistrationSwitch::RegServer},
        {"Strivo /Reg Server", app::RegistrationSwitch::None},
        {"Strivo /RegServer\t", app::RegistrationSwitch::None},
        {"Strivo /RegServe", app::RegistrationSwitch::None},
        {"Strivo /", app::RegistrationSwitch::None},
        {"", app::RegistrationSwitch::None},
        {"Strivo /R\xc3\xa9gServer", app::RegistrationSwitch::None},
    };
    for (const Row& row : rows) EXPECT_EQ(app::FindRegistrationSwitch(row.raw), row.expected) << row.raw;
}

TEST_F(StartUpTest, ComFailureEndsWithoutWindowOrRegistration) {
    for (const char* arg : {"/RegServer", "/Embedding", "file"}) {
        SCOPED_TRACE(arg);
        app::SetCoInitializeFailure(true);
        CountingApp a;
        a.SetCommandLine({"Strivo", arg});
        const bool result = a.InitInstance();
        app::SetCoInitializeFailure(false);
        EXPECT_FALSE(result);
        EXPECT_EQ(a.m_bComInitialised, 0);
        EXPECT_EQ(a.m_nWindowRuns, 0);
        EXPECT_EQ(a.ExitInstance(), 0);
        EXPECT_EQ(State(), RegState::Nothing);
    }
}

TEST_F(StartUpTest, ArbitraryCommandLineBytesDoNotCrash) {
    std::mt19937 rng(42);
    std::vector<std::vector<std::string>> lines = {
        {"Strivo", "\xff\xfe\x80", "/\xc3(RegServer"},
        {"Strivo", std::string(1 << 20, '/')},
        {"Strivo", std::string(1 << 20, 'a') + "/RegServer"},
        {std::string(100000, '-')},
    };
    for (int i = 0; i < 300; ++i) {
        std::vector<std::string> argv = {"Strivo"};
        const int n = static_cast<int>(rng() % 5);
        for (int k = 0; k < n; ++k) {
            std::string arg;
            const std::size_t len = rng() % 40;
            for (std::size_t j = 0; j < len; ++j) arg += static_cast<char>(1 + rng() % 255);
            argv.push_back(arg);
        }
        lines.push_back(argv);
    }
    for (const auto& argv : lines) {
        CountingApp a;
        a.SetCommandLine(argv);
        const bool result = a.InitInstance();
        EXPECT_EQ(a.ExitInstance(), 0);
        const std::string raw = app::BuildRawCommandLine(argv);
        const bool isSwitch = app::FindRegistrationSwitch(raw) != app::RegistrationSwitch::None;
        EXPECT_EQ(a.m_nWindowRuns, isSwitch || result ? 0 : 1);
    }
    // The long line that ends in the switch did register.
    EXPECT_EQ(State(), RegState::Registered);
}

TEST_F(StartUpTest, DamagedRegistryFileIsReportedOnStderrAndLeftAlone) {
    std::filesystem::create_directories(dir_.path() + "/strivo");
    const std::string damaged = "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\AppID]\n\"AppID\"=\"unterminated\n";
    regtest::WriteBytes(StorePath(), damaged);
    for (const char* sw : {"/RegServer", "-UnregServer"}) {
        SCOPED_TRACE(sw);
        CountingApp a;
        a.SetCommandLine({"Strivo", sw});
        testing::internal::CaptureStderr();
        EXPECT_FALSE(a.InitInstance());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("registry file " + StorePath() + ", line 4: "), std::string::npos) << err;
        EXPECT_EQ(a.m_nWindowRuns, 0);
        EXPECT_EQ(a.ExitInstance(), 0);
        EXPECT_EQ(regtest::ReadBytes(StorePath()), damaged);
    }
}

TEST_F(StartUpTest, UnwritableRegistryFolderIsReportedOnStderr) {
    // A file where the registry's folder should be: fails for root too.
    regtest::WriteBytes(dir_.path() + "/strivo", "not a folder");
    CountingApp a;
    a.SetCommandLine({"Strivo", "/RegServer"});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(a.InitInstance());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(dir_.path() + "/strivo"), std::string::npos) << err;
    EXPECT_NE(err.find("Not a directory"), std::string::npos) << err;
    EXPECT_EQ(a.ExitInstance(), 0);
}

TEST_F(StartUpTest, HelpNamesTheHelpFileOnStderr) {
    CMsrTestApp a;
    a.SetModulePath("/opt/my-tools/Strivo");
    testing::internal::CaptureStderr();
    a.OnHelp();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("/opt/my-tools/Strivo.HLP"), std::string::npos) << err;
}

}  // namespace
