// The application's command line: raw line, registration switch scan and
// the standard argument parse.
#include "app/command_line.h"

namespace app {

std::string BuildRawCommandLine(const std::vector<std::string>& argv) {
    std::string line;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        if (i > 0) line += ' ';
        line += argv[i];
    }
    return line;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

RegistrationSwitch FindRegistrationSwitch(std::string_view raw) {
    std::size_t pos = raw.find_first_of("-/");
    while (pos != std::string_view::npos) {
        const std::string_view rest = raw.substr(pos + 1);
        if (EqualsNoCase(rest, "UnregServer")) return RegistrationSwitch::UnregServer;
        if (EqualsNoCase(rest, "RegServer")) return RegistrationSwitch::RegServer;
        pos = raw.find_first_of("-/", pos + 1);
    }
    return RegistrationSwitch::None;
}

CommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineInfo info;
    for (const std::string& arg : arguments) {
        if (!arg.empty() && (arg[0] == '-' || arg[0] == '/')) {
            const std::string_view name = std::string_view(arg).substr(1);
            if (EqualsNoCase(name, "Embedding")) info.runEmbedded = true;
            else if (EqualsNoCase(name, "Automation")) info.runAutomated = true;
            // Other switches of the platform's parser (print, DDE, register,
            // ...) are noted there but never looked at by this program.
        } else if (info.fileName.empty()) {
            info.fileName = arg;
        }
    }
    return info;
}

}  // namespace app
