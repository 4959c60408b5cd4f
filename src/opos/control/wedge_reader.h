// The service of a keyboard-wedge magnetic stripe reader ("Strivo.WedgeMSR"):
// the reader types each swipe's text as key presses and ends it with Enter.
// The service reads the reader's own input event device (evdev) and grabs it
// while enabled, so that swipes do not type into other windows. Settings of
// its device entry:
//
//   Device  the input event device, e.g. /dev/input/by-id/usb-...-event-kbd
//           or /dev/input/eventN (required)
//   Layout  the keyboard layout the reader types in: us (the default and
//           the only one known)
//
//   strivo-devices set QuellorUSBMiniMSR Strivo.WedgeMSR Device=/dev/input/by-id/usb-Reader-event-kbd
//
// The grab is given back when the device is disabled or closed. A device
// that goes away (unplugged) takes the device off line; the service opens it
// again when it comes back.
#pragma once

#include "opos/control/msr_service.h"
#include "opos/control/swipe_text.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace opos {

inline constexpr const char* kWedgeServiceName = "Strivo.WedgeMSR";

// Key presses of the US layout, as a reader types them, turned back into
// characters. Shift is followed from its own press and release events; the
// other modifiers and Caps Lock are ignored (readers type capitals with
// shift).
class UsKeyTranslator {
public:
    // What a key press types with the shift state given: the character, '\r'
    // for Enter and keypad Enter, or 0 for a key that types nothing this
    // layout knows (modifiers, function keys ...).
    static char KeyChar(std::uint16_t code, bool shift);

    // Takes one EV_KEY event (value 1 press, 0 release, 2 repeat) and returns
    // what it types: a character, '\r' for Enter, kIgnored for an event that
    // types nothing (releases, repeats, modifiers), or kUnknownKey for the
    // press of a key the layout does not know.
    char OnKey(std::uint16_t code, std::int32_t value);
    void Reset() { leftShift_ = rightShift_ = false; }

    static constexpr char kIgnored = 0;
    static constexpr char kUnknownKey = '\x1A';

private:
    bool leftShift_ = false;
    bool rightShift_ = false;
};

// Turns the bytes read from an input event device into swipes: whole
// struct input_event records (a record split across reads is kept until it
// is complete), key presses translated, Enter ending the swipe.
class WedgeInput {
public:
    void Feed(std::string_view bytes, const SwipeAssembler::Sink& sink);
    // Drops a swipe begun and a record part read; the shift state stays.
    void Reset();

private:
    UsKeyTranslator keys_;
    SwipeAssembler assembler_{SwipeTerminator::CR};
    std::string partial_;
};

// How the service reaches its device; the defaults open an evdev node and
// check it is one (returning its name), ask it for its version (the external
// health check) and grab it with EVIOCGRAB. Tests replace them to feed
// events through a pipe.
struct WedgeDeviceOps {
    // Returns the descriptor (non-blocking) or -1 with why saying what to do.
    std::function<int(const std::string& path, std::string& name, std::string& why)> open;
    std::function<bool(int fd, std::string& why)> probe;
    std::function<bool(int fd, bool grab, std::string& why)> grab;
};

// The service object registered as "Strivo.WedgeMSR"; empty members of ops
// take the defaults.
std::unique_ptr<MsrService> MakeWedgeService(WedgeDeviceOps ops = {});

}  // namespace opos
