// The command line of the application: the raw line (program path and
// arguments joined by single blanks), the scan for the registration switches
// on that raw line, and the standard parse of the separate arguments that
// finds "Embedding" and "Automation".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

// The program path and the arguments joined by single blanks, as the raw
// command line of the platform would read (no quoting is added).
std::string BuildRawCommandLine(const std::vector<std::string>& argv);

enum class RegistrationSwitch { None, RegServer, UnregServer };

// Looks at every "-" or "/" of the raw line in turn, program path included:
// when everything after it up to the end of the line equals "UnregServer" or
// "RegServer" (ASCII case ignored) that switch is the answer; otherwise the
// search goes on from the character after the "-" or "/". So the switch is
// recognised only as the very last thing on the line, with nothing (not
// even a blank) after it.
RegistrationSwitch FindRegistrationSwitch(std::string_view rawCommandLine);

// What the standard parser takes from the arguments. The program looks only
// at runEmbedded and runAutomated; the rest is noted as the platform's
// parser notes it.
struct CommandLineInfo {
    bool runEmbedded = false;   // "-Embedding" or "/Embedding"
    bool runAutomated = false;  // "-Automation" or "/Automation"
    std::string fileName;       // the first argument that is not a switch
};

// Parses the arguments after the program path, each one whole: a switch is
// an argument that starts with "-" or "/" and whose rest equals the switch
// name, ASCII case ignored.
CommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments);

// ASCII-only caseless equality (bytes above 127 must match exactly).
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace app
