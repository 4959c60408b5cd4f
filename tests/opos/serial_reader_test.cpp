// The serial reader service end to end over a pseudo-terminal pair: the
// service opens the slave side as its port, the test writes what a reader
// sends into the master side. Also its settings, its port lock and its
// diagnostics.
#include "opos_fixture.h"
#include "port_service_support.h"

#include "opos/control/port_reader_service.h"
#include "opos/control/serial_reader.h"
#include "opos/control/service_factory.h"

#include <chrono>
#include <fcntl.h>
#include <mutex>
#include <stdlib.h>
#include <termios.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace opostest {
namespace {

// A pseudo-terminal pair; the slave's path is the port a service opens.
class PtyPair {
public:
    PtyPair()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
            const char* name = ::ptsname(master_);
            slave_ = name != nullptr ? name : "";
        }
    }
    ~PtyPair() { CloseMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !slave_.empty(); }
    const std::string& slave() const { return slave_; }
    void Write(const std::string& bytes) const
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void CloseMaster()
    {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

private:
    int master_ = -1;
    std::string slave_;
};

const std::string kTrack1 = "B4111111111111111^DOE/JOHN^2512101000000";
const std::string kTrack2 = "4111111111111111=25121010000000000";

class SerialReaderTest : public OposTest {
protected:
    void SetUp() override
    {
        OposTest::SetUp();
        ASSERT_TRUE(pty.ok()) << "no pseudo-terminal";
        opos::PortReaderService::SetReopenInterval(std::chrono::milliseconds(20));
    }
    void TearDown() override
    {
        OposTest::TearDown();
        opos::PortReaderService::SetReopenInterval(std::chrono::milliseconds(1000));
    }

    // Registers the device "SerialReader" on the serial service.
    void AddEntry(opos::ServiceSettings settings)
    {
        ASSERT_TRUE(opos::DeviceEntries().Set({"SerialReader", opos::kSerialServiceName, std::move(settings)}));
    }

    void OpenClaimEnableSerial()
    {
        ASSERT_EQ(c.Open("SerialReader"), 0);
        ASSERT_EQ(c.Claim(), 0);
        ASSERT_EQ(c.Put(msrdisp::PowerNotify, OPOS_PN_ENABLED), 0);
        ASSERT_EQ(c.Enable(), 0);
        ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
        Pump();
    }

    std::vector<std::int32_t> StatusUpdates() const
    {
        std::vector<std::int32_t> out;
        for (const FiredEvent& e : sink.Of(msrdisp::StatusUpdateEvent)) {
            out.push_back(e.ints.at(0));
        }
        return out;
    }

    PtyPair pty;
};

TEST_F(SerialReaderTest, SwipeTextBecomesADataEvent)
{
    AddEntry({{"Port", pty.slave()}, {"Baud", "19200"}});
    OpenClaimEnableSerial();
    EXPECT_EQ(c.Str(msrdisp::PhysicalDeviceDescription).find("on " + pty.slave() + ", 19200 8N1"),
              std::string("Serial / USB-CDC magnetic stripe reader ").size());
    // Written in two pieces, the second one with the terminator, as a
    // slow line delivers it.
    pty.Write("%" + kTrack1 + "?;" + kTrack2.substr(0, 10));
    pty.Write(kTrack2.substr(10) + "?\r\n");
    ASSERT_TRUE(WaitFor([&] { return !sink.Of(msrdisp::DataEvent).empty(); })) << "no DataEvent";
    EXPECT_EQ(c.Str(msrdisp::Track1Data), kTrack1);
    EXPECT_EQ(c.Str(msrdisp::Track2Data), kTrack2);
    EXPECT_EQ(c.Str(msrdisp::AccountNumber), "4111111111111111");
    EXPECT_EQ(c.Str(msrdisp::Surname), "DOE");

    std::string text;
    EXPECT_EQ(c.CheckHealth(OPOS_CH_INTERNAL), 0);
    EXPECT_EQ(c.Str(msrdisp::CheckHealthText), "Internal HCheck: Successful");
    EXPECT_EQ(c.CheckHealth(OPOS_CH_EXTERNAL), 0);
    EXPECT_EQ(c.Str(msrdisp::CheckHealthText),
              "External HCheck: Successful, " + pty.slave() + " is open and readable");
}

TEST_F(SerialReaderTest, FailedTrackIsAnExtendedErrorInTrackMode)
{
    AddEntry({{"Port", pty.slave()}, {"Terminator", "CRLF"}});
    OpenClaimEnableSerial();
    ASSERT_EQ(c.Put(msrdisp::ErrorReportingType, MSR_ERT_TRACK), 0);
    pty.Write("%E?;" + kTrack2 + "?\r\n");
    ASSERT_TRUE(WaitFor([&] { return !sink.Of(msrdisp::ErrorEvent).empty(); })) << "no ErrorEvent";
    const FiredEvent e = sink.Of(msrdisp::ErrorEvent).at(0);
    EXPECT_EQ(e.ints.at(0), OPOS_E_EXTENDED);
    EXPECT_EQ(e.ints.at(1), 204) << "track 1's byte: OPOS_EMSR_LRC; the others 0";
    EXPECT_EQ(c.Str(msrdisp::Track2Data), kTrack2) << "the good track comes with the error";

    // Garbage is a read failure: OPOS_E_FAILURE, nothing per track.
    sink.events.clear();
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    pty.Write("\x15\x15 noise\r\n");
    ASSERT_TRUE(WaitFor([&] { return !sink.Of(msrdisp::ErrorEvent).empty(); })) << "no ErrorEvent";
    EXPECT_EQ(sink.Of(msrdisp::ErrorEvent).at(0).ints.at(0), OPOS_E_FAILURE);
    EXPECT_EQ(sink.Of(msrdisp::ErrorEvent).at(0).ints.at(1), 0);
}

TEST_F(SerialReaderTest, SwipesWhileDisabledAreDropped)
{
    AddEntry({{"Port", pty.slave()}});
    ASSERT_EQ(c.Open("SerialReader"), 0);
    ASSERT_EQ(c.Claim(), 0);
    pty.Write(";1111?\r");
    pty.Write(";22");  // a swipe begun before enabling is dropped
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(c.Enable(), 0);
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pty.Write("22?\r");
    // The rest of the cut swipe is an error (its default response clears
    // the input, so the next swipe is sent after it).
    ASSERT_TRUE(WaitFor([&] { return !sink.events.empty(); }));
    ASSERT_EQ(sink.events[0].dispid, msrdisp::ErrorEvent);
    EXPECT_EQ(sink.events[0].ints.at(0), OPOS_E_FAILURE);
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    pty.Write(";3333?\r");
    ASSERT_TRUE(WaitFor([&] { return sink.events.size() >= 2; }));
    ASSERT_EQ(sink.events.size(), 2U) << "the swipe sent while disabled never arrives";
    EXPECT_EQ(sink.events[1].dispid, msrdisp::DataEvent);
    EXPECT_EQ(c.Str(msrdisp::Track2Data), "3333");
}

TEST_F(SerialReaderTest, HangupTakesTheDeviceOfflineUntilThePortComesBack)
{
    // The port is a link, so the test can point it at a new terminal the
    // way a reader plugged in again gets its device node back.
    const std::filesystem::path link = dir_ / "ttyReader";
    std::filesystem::create_symlink(pty.slave(), link);
    AddEntry({{"Port", link.string()}});
    OpenClaimEnableSerial();
    ASSERT_TRUE(WaitFor([&] { return StatusUpdates().size() == 1; }));

    testing::internal::CaptureStderr();
    pty.CloseMaster();
    ASSERT_TRUE(WaitFor([&] { return c.I4(msrdisp::PowerState) == OPOS_PS_OFFLINE; })) << "still on line";
    EXPECT_EQ(c.CheckHealth(OPOS_CH_EXTERNAL), OPOS_E_NOHARDWARE);
    EXPECT_EQ(c.Str(msrdisp::CheckHealthText),
              "External HCheck: Failed, the reader on " + link.string() + " is not connected");
    ASSERT_EQ(c.Enable(false), 0);
    EXPECT_EQ(c.Enable(true), OPOS_E_NOHARDWARE);
    ASSERT_EQ(c.Call(msrdisp::ReleaseDevice), 0);
    EXPECT_EQ(c.Claim(), OPOS_E_NOHARDWARE);

    PtyPair again;
    ASSERT_TRUE(again.ok());
    std::filesystem::remove(link);
    std::filesystem::create_symlink(again.slave(), link);
    ASSERT_TRUE(WaitFor([&] { return c.Claim() == 0; })) << "the port did not come back";
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find(link.string() + " went away"), std::string::npos) << log;
    EXPECT_NE(log.find(link.string() + " is back"), std::string::npos) << log;

    ASSERT_EQ(c.Put(msrdisp::PowerNotify, OPOS_PN_ENABLED), 0);
    ASSERT_EQ(c.Enable(), 0);
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    again.Write(";" + kTrack2 + "?\r");
    ASSERT_TRUE(WaitFor([&] { return !sink.Of(msrdisp::DataEvent).empty(); })) << "no DataEvent";
    EXPECT_EQ(c.Str(msrdisp::Track2Data), kTrack2);
    EXPECT_EQ(StatusUpdates(), (std::vector<std::int32_t>{OPOS_SUE_POWER_ONLINE, OPOS_SUE_POWER_OFFLINE,
                                                          OPOS_SUE_POWER_ONLINE}));
}

TEST(SerialServiceTest, PermissionDeniedNamesTheDialoutGroup)
{
    if (::getuid() != 0) {
        GTEST_SKIP() << "needs root to make an unreadable port for another user";
    }
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_EQ(::chmod(pty.slave().c_str(), 0600), 0);
    bool failed = false;
    const std::string log = OpenAsNobody([] { return opos::MakeSerialService(); }, {{"Port", pty.slave()}}, failed);
    if (log.empty()) {
        GTEST_SKIP() << "cannot run a child as nobody here";
    }
    EXPECT_TRUE(failed);
    EXPECT_NE(log.find("cannot open " + pty.slave() + ": Permission denied; join the 'dialout' group"),
              std::string::npos)
        << log;
}

TEST_F(SerialReaderTest, OpenFailsWithAMessageThatSaysWhatToDo)
{
    PtyPair held;
    ASSERT_TRUE(held.ok());
    NullListener listener;
    auto holder = opos::MakeSerialService();
    ASSERT_EQ(holder->Open("Held", {{"Port", held.slave()}}, &listener), 0);

    struct Row {
        const char* name;
        opos::ServiceSettings settings;
        const char* messagePart;
    };
    const std::vector<Row> rows = {
        {"no port", {}, "no Port is set"},
        {"missing port", {{"Port", "/dev/strivo-no-such-tty"}}, "check that the reader is plugged in"},
        {"not a tty", {{"Port", "/dev/null"}}, "/dev/null is not a serial port"},
        {"port held by another", {{"Port", held.slave()}}, "is in use by another program"},
        {"bad baud", {{"Port", "/dev/null"}, {"Baud", "9601"}}, "Baud \"9601\" is not a speed"},
        {"bad data bits", {{"Port", "/dev/null"}, {"DataBits", "6"}}, "DataBits \"6\" must be 7 or 8"},
        {"bad parity", {{"Port", "/dev/null"}, {"Parity", "M"}}, "Parity \"M\" must be N"},
        {"bad stop bits", {{"Port", "/dev/null"}, {"StopBits", "1.5"}}, "StopBits \"1.5\" must be 1 or 2"},
        {"bad terminator", {{"Port", "/dev/null"}, {"Terminator", "ETX"}}, "Terminator \"ETX\" must be"},
        {"misspelt setting", {{"port", "/dev/null"}}, "unknown setting \"port\""},
    };
    for (const Row& row : rows) {
        auto svc = opos::MakeSerialService();
        testing::internal::CaptureStderr();
        EXPECT_NE(svc->Open("Dev", row.settings, &listener), 0) << row.name;
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("Strivo.SerialMSR (Dev): "), std::string::npos) << row.name << ": " << log;
        EXPECT_NE(log.find(row.messagePart), std::string::npos) << row.name << ": " << log;
        svc->Close();
    }
    holder->Close();

    // Through the control, a port that cannot be opened is OPOS_E_NOSERVICE.
    AddEntry({{"Port", "/dev/strivo-no-such-tty"}});
    testing::internal::CaptureStderr();
    EXPECT_EQ(c.Open("SerialReader"), OPOS_E_NOSERVICE);
    testing::internal::GetCapturedStderr();
}

TEST(SerialSettingsTest, SettingsAreReadWithTheirDefaults)
{
    opos::SerialSettings s;
    std::string why;
    ASSERT_TRUE(opos::ParseSerialSettings({{"Port", "/dev/ttyACM0"}}, s, why)) << why;
    EXPECT_EQ(s.baud, 9600);
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_EQ(s.parity, 'N');
    EXPECT_EQ(s.stopBits, 1);
    EXPECT_EQ(s.terminator, opos::SwipeTerminator::CR);
    ASSERT_TRUE(opos::ParseSerialSettings({{"Port", "/dev/ttyUSB0"},
                                           {"Baud", "115200"},
                                           {"DataBits", "7"},
                                           {"Parity", "e"},
                                           {"StopBits", "2"},
                                           {"Terminator", "lf"}},
                                          s, why))
        << why;
    EXPECT_EQ(s.port, "/dev/ttyUSB0");
    EXPECT_EQ(s.baud, 115200);
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_EQ(s.parity, 'E');
    EXPECT_EQ(s.stopBits, 2);
    EXPECT_EQ(s.terminator, opos::SwipeTerminator::LF);
}

}  // namespace
}  // namespace opostest
