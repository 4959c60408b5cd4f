// The keyboard-wedge reader: US key translation, input event records to
// swipes, and the service end to end through the control with its events
// fed through a pipe (and through a uinput keyboard where the machine has
// one).
#include "opos_fixture.h"
#include "port_service_support.h"

#include "opos/control/port_reader_service.h"
#include "opos/control/service_factory.h"
#include "opos/control/wedge_reader.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <linux/input.h>
#include <linux/uinput.h>
#include <map>
#include <mutex>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace opostest {
namespace {

using opos::UsKeyTranslator;

TEST(UsKeyTranslatorTest, KeysTypeTheirUsCharacters)
{
    struct Row {
        std::uint16_t code;
        bool shift;
        char want;
    };
    const std::vector<Row> rows = {
        {KEY_1, false, '1'},          {KEY_0, false, '0'},           {KEY_5, true, '%'},
        {KEY_6, true, '^'},           {KEY_1, true, '!'},            {KEY_SLASH, true, '?'},
        {KEY_SLASH, false, '/'},      {KEY_SEMICOLON, false, ';'},   {KEY_SEMICOLON, true, ':'},
        {KEY_EQUAL, false, '='},      {KEY_EQUAL, true, '+'},        {KEY_MINUS, false, '-'},
        {KEY_DOT, false, '.'},        {KEY_SPACE, false, ' '},       {KEY_SPACE, true, ' '},
        {KEY_B, true, 'B'},           {KEY_B, false, 'b'},           {KEY_Z, true, 'Z'},
        {KEY_Q, true, 'Q'},           {KEY_APOSTROPHE, true, '"'},   {KEY_KP7, false, '7'},
        {KEY_KP7, true, '7'},         {KEY_KPPLUS, false, '+'},      {KEY_KPSLASH, false, '/'},
        {KEY_ENTER, false, '\r'},     {KEY_KPENTER, true, '\r'},     {KEY_LEFTSHIFT, false, 0},
        {KEY_F1, false, 0},           {KEY_ESC, false, 0},           {KEY_MAX, true, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(UsKeyTranslator::KeyChar(row.code, row.shift), row.want)
            << "key " << row.code << (row.shift ? " with shift" : "");
    }
}

TEST(UsKeyTranslatorTest, ShiftIsFollowedAndOnlyPressesType)
{
    UsKeyTranslator k;
    struct Row {
        const char* name;
        std::uint16_t code;
        std::int32_t value;
        char want;
    };
    const std::vector<Row> rows = {
        {"press 5", KEY_5, 1, '5'},
        {"release 5", KEY_5, 0, UsKeyTranslator::kIgnored},
        {"left shift down", KEY_LEFTSHIFT, 1, UsKeyTranslator::kIgnored},
        {"shifted 5", KEY_5, 1, '%'},
        {"right shift down too", KEY_RIGHTSHIFT, 1, UsKeyTranslator::kIgnored},
        {"left shift up, right still down", KEY_LEFTSHIFT, 0, UsKeyTranslator::kIgnored},
        {"still shifted", KEY_B, 1, 'B'},
        {"repeat types nothing", KEY_B, 2, UsKeyTranslator::kIgnored},
        {"right shift up", KEY_RIGHTSHIFT, 0, UsKeyTranslator::kIgnored},
        {"unshifted again", KEY_B, 1, 'b'},
        {"ctrl", KEY_LEFTCTRL, 1, UsKeyTranslator::kIgnored},
        {"caps lock", KEY_CAPSLOCK, 1, UsKeyTranslator::kIgnored},
        {"unknown key", KEY_F5, 1, UsKeyTranslator::kUnknownKey},
        {"enter", KEY_ENTER, 1, '\r'},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(k.OnKey(row.code, row.value), row.want) << row.name;
    }
}

// How a reader types a character on the US layout (main keys only).
std::map<char, std::pair<std::uint16_t, bool>> Typist()
{
    std::map<char, std::pair<std::uint16_t, bool>> keys;
    for (std::uint16_t code = KEY_ESC; code <= KEY_SPACE; ++code) {
        for (bool shift : {false, true}) {
            const char ch = UsKeyTranslator::KeyChar(code, shift);
            if (ch != 0 && !keys.count(ch)) {
                keys[ch] = {code, shift};
            }
        }
    }
    return keys;
}

input_event Event(std::uint16_t type, std::uint16_t code, std::int32_t value)
{
    input_event e{};
    e.type = type;
    e.code = code;
    e.value = value;
    return e;
}

// The input events a reader sends to type text ('\r' is Enter), with
// SYN_REPORT after each key event as evdev delivers them.
std::vector<input_event> TypeEvents(const std::string& text)
{
    static const auto keys = Typist();
    std::vector<input_event> out;
    auto key = [&](std::uint16_t code, std::int32_t value) {
        out.push_back(Event(EV_MSC, MSC_SCAN, code));
        out.push_back(Event(EV_KEY, code, value));
        out.push_back(Event(EV_SYN, SYN_REPORT, 0));
    };
    for (char ch : text) {
        const auto [code, shift] = ch == '\r' ? std::pair<std::uint16_t, bool>{KEY_ENTER, false} : keys.at(ch);
        if (shift) {
            key(KEY_LEFTSHIFT, 1);
        }
        key(code, 1);
        key(code, 0);
        if (shift) {
            key(KEY_LEFTSHIFT, 0);
        }
    }
    return out;
}

std::string Bytes(const std::vector<input_event>& events)
{
    return std::string(reinterpret_cast<const char*>(events.data()), events.size() * sizeof(input_event));
}

const std::string kTrack1 = "B4111111111111111^DOE/JOHN^2512101000000";
const std::string kTrack2 = "4111111111111111=25121010000000000";
const std::string kSwipe = "%" + kTrack1 + "?;" + kTrack2 + "?\r";

TEST(WedgeInputTest, EventRecordsBecomeSwipesWhateverTheReadSizes)
{
    const std::string bytes = Bytes(TypeEvents(kSwipe + ";E?\r" + "%b1^x^?\r"));
    for (std::size_t chunk : {sizeof(input_event), std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
        opos::WedgeInput input;
        std::vector<opos::SwipeText> got;
        for (std::size_t i = 0; i < bytes.size(); i += chunk) {
            input.Feed(std::string_view(bytes).substr(i, chunk), [&](const opos::SwipeText& s) { got.push_back(s); });
        }
        ASSERT_EQ(got.size(), 3U) << "chunk " << chunk;
        EXPECT_TRUE(got[0].ok) << "chunk " << chunk << ": " << got[0].error;
        EXPECT_EQ(got[0].card.tracks[0].size(), kTrack1.size() + 3) << "chunk " << chunk;
        EXPECT_TRUE(got[1].ok) << "chunk " << chunk << ": " << got[1].error;
        EXPECT_FALSE(got[1].card.tracks[1].empty()) << "chunk " << chunk;
        EXPECT_NE(got[2].error.find("track 1 cannot hold 'b'"), std::string::npos)
            << "chunk " << chunk << ": lower case is not a track 1 character: " << got[2].error;
    }

    // An unknown key spoils its swipe; the next one reads.
    std::vector<input_event> events = TypeEvents(";12");
    events.push_back(Event(EV_KEY, KEY_F3, 1));
    const std::vector<input_event> rest = TypeEvents("?\r;34?\r");
    events.insert(events.end(), rest.begin(), rest.end());
    opos::WedgeInput input;
    std::vector<std::string> got;
    input.Feed(Bytes(events), [&](const opos::SwipeText& s) { got.push_back(s.ok ? "ok" : s.error); });
    ASSERT_EQ(got.size(), 2U);
    EXPECT_NE(got[0].find("byte 0x1A"), std::string::npos) << got[0];
    EXPECT_EQ(got[1], "ok");
}

TEST(WedgeServiceTest, PermissionDeniedSaysHowToGetAccess)
{
    if (::getuid() != 0) {
        GTEST_SKIP() << "needs root to make an unreadable device for another user";
    }
    const std::string node = "/tmp/strivo-wedge-node-" + std::to_string(::getpid());
    ::close(::open(node.c_str(), O_CREAT | O_WRONLY, 0600));
    bool failed = false;
    const std::string log = OpenAsNobody([] { return opos::MakeWedgeService(); }, {{"Device", node}}, failed);
    ::unlink(node.c_str());
    if (log.empty()) {
        GTEST_SKIP() << "cannot run a child as nobody here";
    }
    EXPECT_TRUE(failed);
    EXPECT_NE(log.find("Permission denied; add yourself to the 'input' group or run `sudo setfacl -m u:$USER:r " +
                       node + "`"),
              std::string::npos)
        << log;
}

// A wedge service whose device is a pipe: the test writes input events
// into it, closing the write end unplugs the device.
class WedgeReaderTest : public OposTest {
protected:
    static constexpr const char* kPipeService = "Test.WedgeOverPipe";

    void SetUp() override
    {
        OposTest::SetUp();
        int fds[2];
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        readEnd_ = fds[0];
        writeEnd_ = fds[1];
        opos::PortReaderService::SetReopenInterval(std::chrono::milliseconds(20));
        opos::WedgeDeviceOps ops;
        ops.open = [this](const std::string& path, std::string& name, std::string& why) {
            std::lock_guard lock(mutex_);
            opened.push_back(path);
            if (gone_) {
                why = "gone";
                return -1;
            }
            name = "Pipe Reader";
            const int fd = ::fcntl(readEnd_, F_DUPFD_CLOEXEC, 0);
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
            return fd;
        };
        ops.probe = [](int, std::string&) { return true; };
        ops.grab = [this](int, bool grab, std::string& why) {
            std::lock_guard lock(mutex_);
            grabs.push_back(grab);
            why = "held by another program";
            return !(grab && grabFails_);
        };
        opos::ServiceFactory::Instance().Register(kPipeService, [ops] { return opos::MakeWedgeService(ops); });
        ASSERT_TRUE(opos::DeviceEntries().Set(
            {"WedgeReader", kPipeService, {{"Device", "/dev/input/by-id/usb-Test-event-kbd"}, {"Layout", "us"}}}));
    }

    void TearDown() override
    {
        OposTest::TearDown();
        opos::ServiceFactory::Instance().Unregister(kPipeService);
        opos::PortReaderService::SetReopenInterval(std::chrono::milliseconds(1000));
        ::close(readEnd_);
        Unplug();
    }

    void Type(const std::string& text)
    {
        const std::string bytes = Bytes(TypeEvents(text));
        ASSERT_EQ(::write(writeEnd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void Unplug()
    {
        std::lock_guard lock(mutex_);
        gone_ = true;
        if (writeEnd_ >= 0) {
            ::close(writeEnd_);
            writeEnd_ = -1;
        }
    }
    std::vector<bool> Grabs()
    {
        std::lock_guard lock(mutex_);
        return grabs;
    }

    std::mutex mutex_;
    std::vector<std::string> opened;
    std::vector<bool> grabs;
    bool gone_ = false;
    bool grabFails_ = false;
    int readEnd_ = -1;
    int writeEnd_ = -1;
};

TEST_F(WedgeReaderTest, TypedSwipeBecomesADataEventWhileTheDeviceIsGrabbed)
{
    ASSERT_EQ(c.Open("WedgeReader"), 0);
    EXPECT_EQ(c.Str(msrdisp::PhysicalDeviceName), "Pipe Reader");
    ASSERT_EQ(c.Claim(), 0);
    EXPECT_TRUE(Grabs().empty()) << "no grab before enabling";
    ASSERT_EQ(c.Put(msrdisp::PowerNotify, OPOS_PN_ENABLED), 0);
    ASSERT_EQ(c.Enable(), 0);
    EXPECT_EQ(Grabs(), std::vector<bool>{true});
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    Type(kSwipe);
    ASSERT_TRUE(WaitFor([&] { return !sink.Of(msrdisp::DataEvent).empty(); })) << "no DataEvent";
    EXPECT_EQ(c.Str(msrdisp::Track1Data), kTrack1);
    EXPECT_EQ(c.Str(msrdisp::Track2Data), kTrack2);
    EXPECT_EQ(c.Str(msrdisp::AccountNumber), "4111111111111111");
    EXPECT_EQ(c.Str(msrdisp::FirstName), "JOHN");

    ASSERT_EQ(c.Enable(false), 0);
    EXPECT_EQ(Grabs(), (std::vector<bool>{true, false})) << "disabling gives the grab back";
    ASSERT_EQ(c.Enable(true), 0);
    ASSERT_EQ(c.Call(msrdisp::Close), 0);
    EXPECT_EQ(Grabs(), (std::vector<bool>{true, false, true, false})) << "closing gives the grab back";
}

TEST_F(WedgeReaderTest, UnpluggedDeviceGoesOffline)
{
    ASSERT_EQ(c.Open("WedgeReader"), 0);
    ASSERT_EQ(c.Claim(), 0);
    ASSERT_EQ(c.Put(msrdisp::PowerNotify, OPOS_PN_ENABLED), 0);
    ASSERT_EQ(c.Enable(), 0);
    testing::internal::CaptureStderr();
    Unplug();
    ASSERT_TRUE(WaitFor([&] { return c.I4(msrdisp::PowerState) == OPOS_PS_OFFLINE; })) << "still on line";
    ASSERT_TRUE(WaitFor([&] {
        std::lock_guard lock(mutex_);
        return opened.size() >= 3;
    })) << "the service tries the device again";
    ASSERT_EQ(c.Enable(false), 0);
    EXPECT_EQ(c.Enable(true), OPOS_E_NOHARDWARE);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Strivo.WedgeMSR (WedgeReader): "), std::string::npos) << log;
    EXPECT_NE(log.find("usb-Test-event-kbd went away"), std::string::npos) << log;
}

TEST_F(WedgeReaderTest, EnableFailsWhenTheGrabIsRefused)
{
    ASSERT_EQ(c.Open("WedgeReader"), 0);
    ASSERT_EQ(c.Claim(), 0);
    grabFails_ = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(c.Enable(), OPOS_E_FAILURE);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("held by another program"), std::string::npos) << log;
    EXPECT_FALSE(c.Bool(msrdisp::DeviceEnabled));
    grabFails_ = false;
    EXPECT_EQ(c.Enable(), 0);
}

TEST(WedgeServiceTest, OpenFailsWithAMessageThatSaysWhatToDo)
{
    NullListener listener;
    struct Row {
        const char* name;
        opos::ServiceSettings settings;
        const char* messagePart;
    };
    const std::vector<Row> rows = {
        {"no device", {}, "no Device is set"},
        {"unknown layout", {{"Device", "/dev/null"}, {"Layout", "de"}}, "Layout \"de\" is not known"},
        {"misspelt setting", {{"device", "/dev/null"}}, "unknown setting \"device\""},
        {"missing device", {{"Device", "/dev/input/strivo-no-such-event"}}, "check that the reader is plugged in"},
        {"not an input device", {{"Device", "/dev/null"}}, "/dev/null is not an input event device"},
    };
    for (const Row& row : rows) {
        auto svc = opos::MakeWedgeService();
        testing::internal::CaptureStderr();
        EXPECT_NE(svc->Open("Dev", row.settings, &listener), 0) << row.name;
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("Strivo.WedgeMSR (Dev): "), std::string::npos) << row.name << ": " << log;
        EXPECT_NE(log.find(row.messagePart), std::string::npos) << row.name << ": " << log;
        svc->Close();
    }
}

// The real evdev path: a uinput keyboard typed into, opened as the wedge
// device. Needs /dev/uinput (the uinput module and write access).
TEST_F(WedgeReaderTest, UinputKeyboardEndToEnd)
{
    const int ui = ::open("/dev/uinput", O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (ui < 0) {
        GTEST_SKIP() << "/dev/uinput cannot be opened (" << std::strerror(errno)
                     << "); the evdev path is covered through a pipe";
    }
    ::ioctl(ui, UI_SET_EVBIT, EV_KEY);
    ::ioctl(ui, UI_SET_EVBIT, EV_SYN);
    for (int code = KEY_ESC; code <= KEY_KPDOT; ++code) {
        ::ioctl(ui, UI_SET_KEYBIT, code);
    }
    uinput_setup setup{};
    setup.id.bustype = BUS_USB;
    setup.id.vendor = 0x5354;
    setup.id.product = 0x4d53;
    std::strncpy(setup.name, "Strivo test wedge reader", UINPUT_MAX_NAME_SIZE - 1);
    ASSERT_EQ(::ioctl(ui, UI_DEV_SETUP, &setup), 0);
    ASSERT_EQ(::ioctl(ui, UI_DEV_CREATE), 0);
    std::array<char, 64> sysName{};
    ASSERT_GE(::ioctl(ui, UI_GET_SYSNAME(sysName.size()), sysName.data()), 0);
    std::string node;
    const auto sysDir = std::filesystem::path("/sys/devices/virtual/input") / sysName.data();
    for (int i = 0; i < 100 && node.empty(); ++i) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(sysDir, ec)) {
            const std::string leaf = entry.path().filename().string();
            if (leaf.rfind("event", 0) == 0) {
                node = "/dev/input/" + leaf;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_FALSE(node.empty()) << "no event node for " << sysDir;
    ASSERT_TRUE(opos::DeviceEntries().Set({"UinputReader", opos::kWedgeServiceName, {{"Device", node}}}));
    ASSERT_TRUE(WaitFor([&] { return ::access(node.c_str(), R_OK) == 0; }));
    ASSERT_EQ(c.Open("UinputReader"), 0);
    ASSERT_EQ(c.Claim(), 0);
    ASSERT_EQ(c.Enable(), 0);
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    const std::string bytes = Bytes(TypeEvents(kSwipe));
    ASSERT_EQ(::write(ui, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    EXPECT_TRUE(WaitFor([&] { return !sink.Of(msrdisp::DataEvent).empty(); })) << "no DataEvent";
    EXPECT_EQ(c.Str(msrdisp::Track2Data), kTrack2);
    ASSERT_EQ(c.Call(msrdisp::Close), 0);
    ::ioctl(ui, UI_DEV_DESTROY);
    ::close(ui);
}

}  // namespace
}  // namespace opostest
