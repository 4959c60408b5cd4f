// The service of a magnetic stripe reader on a serial or USB-CDC port
// ("Strivo.SerialMSR"): the reader sends each swipe as text (see
// swipe_text.h), ended by CR and/or LF. Settings of its device entry:
//
//   Port        the tty, e.g. /dev/ttyACM0, /dev/ttyUSB0 or /dev/serial/by-id/...
//               (required)
//   Baud        1200, 2400, 4800, 9600 (default), 19200, 38400, 57600, 115200
//   DataBits    7 or 8 (default)
//   Parity      N (default), E or O
//   StopBits    1 (default) or 2
//   Terminator  CR (default; a CR or a LF ends a swipe), LF or CRLF
//
//   strivo-devices set QuellorUSBMiniMSR Strivo.SerialMSR Port=/dev/ttyACM0 Baud=9600
//
// Open opens the port in raw mode and locks it (flock) so that a second
// program gets a clear error. A port that hangs up (the reader unplugged)
// takes the device off line; the service opens it again when it comes back.
#pragma once

#include "opos/control/msr_service.h"
#include "opos/control/swipe_text.h"

#include <memory>
#include <string>

namespace opos {

inline constexpr const char* kSerialServiceName = "Strivo.SerialMSR";

struct SerialSettings {
    std::string port;
    int baud = 9600;
    int dataBits = 8;
    char parity = 'N';  // 'N', 'E' or 'O'
    int stopBits = 1;
    SwipeTerminator terminator = SwipeTerminator::CR;
};

// Reads a device entry's settings. False with why naming the setting and
// the values it takes (an unknown setting name is an error too, so that a
// misspelt one is not silently ignored).
bool ParseSerialSettings(const ServiceSettings& settings, SerialSettings& out, std::string& why);

// The service object registered as "Strivo.SerialMSR".
std::unique_ptr<MsrService> MakeSerialService();

}  // namespace opos
