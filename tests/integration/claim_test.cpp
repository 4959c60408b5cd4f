// Claims as the operator meets them: another process holding the device
// (the console's Claim times out, then succeeds once that process has gone)
// and a reader unplugged while the device is open (Claim answers
// OPOS_E_NOHARDWARE until it is plugged in again).
#include "integration_session.h"

#include "msr/msr_dispids.h"
#include "opos/control/device_entries.h"
#include "opos/control/msr_control_class.h"
#include "platform/com/class_table.h"
#include "platform/com/variant.h"
#include "platform/ui/application.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace integration {
namespace {

// The other process: opens the control directly (no window is ever made in
// it), claims the device, reports '1' (or '0' on any failure) to the parent
// and holds the claim until the parent sends a byte or goes away. Never
// returns.
[[noreturn]] void HoldClaimInChild(int toParent, int fromParent)
{
    ::alarm(20);  // a child the parent forgot still ends
    opos::SimulatedReader::SetWindowFactory(nullptr);
    char status = '0';
    {
        std::unique_ptr<com::IDispatch> control = com::ClassTable::Instance().Create(opos::kMsrClsid);
        if (control) {
            com::Variant name = com::Variant::FromNarrow(opos::kDefaultLogicalName);
            com::Variant timeout = com::Variant::FromI4(0);
            com::Variant opened;
            com::Variant claimed;
            if (control->Invoke(msrdisp::Open, com::InvokeKind::Method, std::span(&name, 1), &opened) == com::S_OK &&
                opened.i4() == 0 &&
                control->Invoke(msrdisp::ClaimDevice, com::InvokeKind::Method, std::span(&timeout, 1), &claimed) ==
                    com::S_OK &&
                claimed.i4() == 0) {
                status = '1';
            }
        }
        if (::write(toParent, &status, 1) == 1) {
            char byte = 0;
            while (::read(fromParent, &byte, 1) < 0 && errno == EINTR) {
            }
        }
        // The claim goes with the process; nothing of the parent's is run
        // down here (no destructors, no exit handlers).
        ::_exit(status == '1' ? 0 : 1);
    }
}

// Reads one byte within ms milliseconds; -1 when none came.
int ReadByte(int fd, int ms)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, ms) != 1) {
        return -1;
    }
    char byte = 0;
    return ::read(fd, &byte, 1) == 1 ? byte : -1;
}

TEST_F(IntegrationTest, ClaimHeldByAnotherProcessTimesOutUntilItExits)
{
    int toParent[2];
    int toChild[2];
    ASSERT_EQ(::pipe(toParent), 0);
    ASSERT_EQ(::pipe(toChild), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(toParent[0]);
        ::close(toChild[1]);
        HoldClaimInChild(toParent[1], toChild[0]);
    }
    ::close(toParent[1]);
    ::close(toChild[0]);
    struct Cleanup {
        int readFd, writeFd;
        pid_t pid;
        bool reaped = false;
        ~Cleanup()
        {
            ::close(writeFd);  // the child stops waiting
            ::close(readFd);
            if (!reaped) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
    } cleanup{toParent[0], toChild[1], child};

    ASSERT_EQ(ReadByte(toParent[0], 5000), '1') << "the other process could not claim the device";

    Run(
        [&](CMsrTestDlg& d) {
            Press(1000);
            ASSERT_TRUE(ReportHas("Open", "Succeeded!")) << Report();
            Press(1001);  // waits out the claim timeout, then the box
            EXPECT_TRUE(ReportHas("Claim", "Failed!\r\n\t\t ErrorCode = OPOS_E_TIMEOUT\r\n")) << Report();
            EXPECT_EQ(d.m_bClaimed, 0);

            // The other process lets go by ending.
            const char go = 'x';
            ASSERT_EQ(::write(toChild[1], &go, 1), 1);
            int status = -1;
            ASSERT_TRUE(WaitUntil([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 5000));
            cleanup.reaped = true;
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

            Press(1001);
            EXPECT_TRUE(ReportHas("Claim", "Succeeded!")) << Report();
            EXPECT_EQ(d.m_bClaimed, 1);
            EXPECT_EQ(d.Page(CMsrTestDlg::kControl)->IsDlgButtonChecked(1011), 1);  // Claimed
            Press(1006);
        },
        {Box("Fails to get the exclusive right for the device.")});
}

TEST_F(IntegrationTest, UnpluggedReaderRefusesClaimUntilPluggedIn)
{
    Run(
        [&](CMsrTestDlg& d) {
            Press(1000);
            Press(1001);
            ASSERT_TRUE(ReportHas("Claim", "Succeeded!")) << Report();

            reader->Unplug();
            ui::PumpEvents(50);
            Press(1005);
            EXPECT_TRUE(ReportHas("Release", "Succeeded!")) << Report();
            Press(1001);
            EXPECT_TRUE(ReportHas("Claim", "Failed!\r\n\t\t ErrorCode = OPOS_E_NOHARDWARE\r\n")) << Report();
            EXPECT_EQ(d.m_bClaimed, 0);

            // PowerNotify stays DISABLED: its list on the Control page is
            // disabled, so the operator cannot ask for power reports and none
            // come.
            ui::Dialog* control = d.Page(CMsrTestDlg::kControl);
            ui::act::SelectTab(d, kTab, CMsrTestDlg::kControl);
            ui::act::SelectComboItem(*control, 1031, 1);
            EXPECT_EQ(CountEntries("SetPowerNotify", ""), 0);
            EXPECT_EQ(d.m_msr.GetPowerNotify(), 0);
            EXPECT_EQ(CountEntries("OnMsrStatusUpdateEvent", ""), 0) << Report();

            reader->Plug();
            ui::PumpEvents(50);
            Press(1001);
            EXPECT_TRUE(ReportHas("Claim", "Succeeded!\r\n")) << Report();
            EXPECT_EQ(CountEntries("Claim", "Succeeded!"), 2);
            EXPECT_EQ(d.m_bClaimed, 1);
            Press(1006);
        },
        {Box(" Connect The Msr Reader To Computer !")});
}

}  // namespace
}  // namespace integration
