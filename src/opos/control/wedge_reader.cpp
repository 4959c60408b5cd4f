// The keyboard-wedge reader service: key translation for the US layout,
// input event records to swipes, and the evdev device with its grab.
#include "opos/control/wedge_reader.h"

#include "msr/opos_constants.h"
#include "opos/control/port_reader_service.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace opos {

namespace {

struct KeyChars {
    char normal = 0;
    char shifted = 0;
};

// The US layout, by key code (the highest key used is the keypad's '/'). The keypad types the same with or without
// shift (Num Lock is taken to be on, as readers expect).
constexpr std::array<KeyChars, KEY_KPSLASH + 1> MakeUsLayout()
{
    std::array<KeyChars, KEY_KPSLASH + 1> t{};
    const char* const digits = "1234567890";
    const char* const shiftedDigits = "!@#$%^&*()";
    for (int i = 0; i < 10; ++i) {
        t[static_cast<std::size_t>(KEY_1 + i)] = {digits[i], shiftedDigits[i]};
    }
    t[KEY_MINUS] = {'-', '_'};
    t[KEY_EQUAL] = {'=', '+'};
    t[KEY_LEFTBRACE] = {'[', '{'};
    t[KEY_RIGHTBRACE] = {']', '}'};
    t[KEY_SEMICOLON] = {';', ':'};
    t[KEY_APOSTROPHE] = {'\'', '"'};
    t[KEY_GRAVE] = {'`', '~'};
    t[KEY_BACKSLASH] = {'\\', '|'};
    t[KEY_COMMA] = {',', '<'};
    t[KEY_DOT] = {'.', '>'};
    t[KEY_SLASH] = {'/', '?'};
    t[KEY_SPACE] = {' ', ' '};
    const std::array<std::pair<int, char>, 26> letters = {{
        {KEY_A, 'a'}, {KEY_B, 'b'}, {KEY_C, 'c'}, {KEY_D, 'd'}, {KEY_E, 'e'}, {KEY_F, 'f'}, {KEY_G, 'g'},
        {KEY_H, 'h'}, {KEY_I, 'i'}, {KEY_J, 'j'}, {KEY_K, 'k'}, {KEY_L, 'l'}, {KEY_M, 'm'}, {KEY_N, 'n'},
        {KEY_O, 'o'}, {KEY_P, 'p'}, {KEY_Q, 'q'}, {KEY_R, 'r'}, {KEY_S, 's'}, {KEY_T, 't'}, {KEY_U, 'u'},
        {KEY_V, 'v'}, {KEY_W, 'w'}, {KEY_X, 'x'}, {KEY_Y, 'y'}, {KEY_Z, 'z'},
    }};
    for (const auto& [code, ch] : letters) {
        t[static_cast<std::size_t>(code)] = {ch, static_cast<char>(ch - 'a' + 'A')};
    }
    const std::array<std::pair<int, char>, 15> keypad = {{
        {KEY_KP0, '0'}, {KEY_KP1, '1'}, {KEY_KP2, '2'}, {KEY_KP3, '3'}, {KEY_KP4, '4'},
        {KEY_KP5, '5'}, {KEY_KP6, '6'}, {KEY_KP7, '7'}, {KEY_KP8, '8'}, {KEY_KP9, '9'},
        {KEY_KPMINUS, '-'}, {KEY_KPPLUS, '+'}, {KEY_KPDOT, '.'}, {KEY_KPASTERISK, '*'}, {KEY_KPSLASH, '/'},
    }};
    for (const auto& [code, ch] : keypad) {
        t[static_cast<std::size_t>(code)] = {ch, ch};
    }
    return t;
}

constexpr std::array<KeyChars, KEY_KPSLASH + 1> kUsLayout = MakeUsLayout();

bool IsModifier(std::uint16_t code)
{
    switch (code) {
    case KEY_LEFTCTRL:
    case KEY_RIGHTCTRL:
    case KEY_LEFTALT:
    case KEY_RIGHTALT:
    case KEY_LEFTMETA:
    case KEY_RIGHTMETA:
    case KEY_CAPSLOCK:
    case KEY_NUMLOCK:
    case KEY_SCROLLLOCK:
        return true;
    default:
        return false;
    }
}

int DefaultOpen(const std::string& path, std::string& name, std::string& why)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        why = "cannot open " + path + ": " + std::strerror(err) + "; ";
        if (err == EACCES || err == EPERM) {
            why += "add yourself to the 'input' group or run `sudo setfacl -m u:$USER:r " + path + "`";
        } else if (err == ENOENT || err == ENODEV || err == ENXIO) {
            why += "check that the reader is plugged in and the device is right "
                   "(ls -l /dev/input/by-id/ lists keyboards as ...-event-kbd)";
        } else {
            why += "check the device";
        }
        return -1;
    }
    int version = 0;
    if (::ioctl(fd, EVIOCGVERSION, &version) != 0) {
        why = path + " is not an input event device; give the reader's /dev/input/eventN or "
                     "/dev/input/by-id/...-event-kbd as Device";
        ::close(fd);
        return -1;
    }
    std::array<char, 256> buffer{};
    if (::ioctl(fd, EVIOCGNAME(buffer.size() - 1), buffer.data()) >= 0) {
        name = buffer.data();
    }
    return fd;
}

bool DefaultProbe(int fd, std::string& why)
{
    int version = 0;
    if (::ioctl(fd, EVIOCGVERSION, &version) != 0) {
        why = std::string("the input device does not answer: ") + std::strerror(errno);
        return false;
    }
    return true;
}

bool DefaultGrab(int fd, bool grab, std::string& why)
{
    if (::ioctl(fd, EVIOCGRAB, grab ? 1 : 0) == 0) {
        return true;
    }
    if (!grab) {
        return errno == EINVAL;  // not grabbed: nothing to give back
    }
    why = errno == EBUSY ? std::string("another program has grabbed the reader's input device "
                                       "(another Strivo, or a tool such as evtest --grab); close it")
                         : std::string("cannot grab the reader's input device: ") + std::strerror(errno);
    return false;
}

class WedgeService final : public PortReaderService {
public:
    explicit WedgeService(WedgeDeviceOps ops) : ops_(std::move(ops))
    {
        if (!ops_.open) {
            ops_.open = DefaultOpen;
        }
        if (!ops_.probe) {
            ops_.probe = DefaultProbe;
        }
        if (!ops_.grab) {
            ops_.grab = DefaultGrab;
        }
    }
    ~WedgeService() override { Close(); }

    ServiceInfo Info() const override
    {
        ServiceInfo info;
        info.serviceDescription = "Strivo keyboard-wedge MSR service";
        info.serviceVersion = 1014000;
        info.physicalDeviceDescription =
            "Keyboard-wedge magnetic stripe reader on " + device_ + ", US layout";
        info.physicalDeviceName = deviceName_.empty() ? "Strivo Keyboard-Wedge MSR" : deviceName_;
        info.capISO = true;
        info.capTransmitSentinels = true;
        info.capPowerReporting = OPOS_PR_STANDARD;
        return info;
    }

protected:
    std::string ServiceName() const override { return kWedgeServiceName; }
    std::string PortName() const override { return device_; }

    bool Configure(const ServiceSettings& settings, std::string& why) override
    {
        std::string device;
        for (const auto& [key, value] : settings) {
            if (key == "Device") {
                device = value;
            } else if (key == "Layout") {
                if (value != "us" && value != "US") {
                    why = "Layout \"" + value + "\" is not known; the only layout is us";
                    return false;
                }
            } else {
                why = "unknown setting \"" + key + "\"; the settings are Device and Layout";
                return false;
            }
        }
        if (device.empty()) {
            why = "no Device is set; give the reader's input device, e.g. "
                  "Device=/dev/input/by-id/usb-...-event-kbd";
            return false;
        }
        device_ = device;
        return true;
    }

    int OpenPort(std::string& why) override
    {
        std::string name;
        const int fd = ops_.open(device_, name, why);
        if (fd >= 0 && !nameTaken_) {
            // Taken from the first opening only, before the reading thread
            // starts; Info() reads it on the user-interface thread.
            deviceName_ = name;
            nameTaken_ = true;
        }
        return fd;
    }

    bool ProbePort(int fd, std::string& why) override { return ops_.probe(fd, why); }
    bool HoldPort(int fd, bool hold, std::string& why) override { return ops_.grab(fd, hold, why); }
    void OnBytes(std::string_view bytes, const SwipeAssembler::Sink& sink) override { input_.Feed(bytes, sink); }
    void ResetInput() override { input_.Reset(); }

private:
    WedgeDeviceOps ops_;
    std::string device_;
    std::string deviceName_;
    bool nameTaken_ = false;
    WedgeInput input_;
};

}  // namespace

char UsKeyTranslator::KeyChar(std::uint16_t code, bool shift)
{
    if (code == KEY_ENTER || code == KEY_KPENTER) {
        return '\r';
    }
    if (code >= kUsLayout.size()) {
        return 0;
    }
    const KeyChars& k = kUsLayout[code];
    return shift ? k.shifted : k.normal;
}

char UsKeyTranslator::OnKey(std::uint16_t code, std::int32_t value)
{
    if (code == KEY_LEFTSHIFT || code == KEY_RIGHTSHIFT) {
        if (value == 0 || value == 1) {
            (code == KEY_LEFTSHIFT ? leftShift_ : rightShift_) = value == 1;
        }
        return kIgnored;
    }
    if (value != 1 || IsModifier(code)) {
        return kIgnored;
    }
    const char ch = KeyChar(code, leftShift_ || rightShift_);
    return ch != 0 ? ch : kUnknownKey;
}

void WedgeInput::Feed(std::string_view bytes, const SwipeAssembler::Sink& sink)
{
    constexpr std::size_t kRecord = sizeof(input_event);
    std::string typed;
    auto take = [&](const char* record) {
        input_event e{};
        std::memcpy(&e, record, kRecord);
        if (e.type == EV_KEY) {
            const char ch = keys_.OnKey(e.code, e.value);
            if (ch != UsKeyTranslator::kIgnored) {
                typed.push_back(ch);
            }
        }
    };
    if (!partial_.empty()) {
        const std::size_t need = std::min(kRecord - partial_.size(), bytes.size());
        partial_.append(bytes.substr(0, need));
        bytes.remove_prefix(need);
        if (partial_.size() == kRecord) {
            take(partial_.data());
            partial_.clear();
        }
    }
    while (bytes.size() >= kRecord) {
        take(bytes.data());
        bytes.remove_prefix(kRecord);
    }
    partial_.append(bytes);
    assembler_.Feed(typed, sink);
}

void WedgeInput::Reset()
{
    assembler_.Reset();
    partial_.clear();
}

std::unique_ptr<MsrService> MakeWedgeService(WedgeDeviceOps ops)
{
    return std::make_unique<WedgeService>(std::move(ops));
}

}  // namespace opos
