// strivo-devices: lists and changes the OPOS device entries of the registry
// store (logical device name -> service object and its settings).
//
//   strivo-devices list
//   strivo-devices show NAME
//   strivo-devices set NAME SERVICE [key=value ...]
//   strivo-devices remove NAME
//   strivo-devices ensure-default
//
// Errors go to stderr with exit code 2.
#include "opos/control/device_entries.h"
#include "opos/control/msr_control_class.h"
#include "opos/control/service_factory.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 2;

const char* const kUsage =
    "usage: strivo-devices list\n"
    "       strivo-devices show NAME\n"
    "       strivo-devices set NAME SERVICE [key=value ...]\n"
    "       strivo-devices remove NAME\n"
    "       strivo-devices ensure-default\n";

// Prints why and returns the failure exit code.
int Fail(const std::string& why)
{
    std::fprintf(stderr, "strivo-devices: %s\n", why.c_str());
    return kFailed;
}

int StoreFailure(const reg::Status& s, const opos::DeviceEntries& entries)
{
    return Fail(s.message + "\n(the registry file " + entries.store().path() +
                " was left as it is; repair or move it away, then try again)");
}

void Print(const opos::DeviceEntry& e)
{
    std::printf("%s\t%s\n", e.logicalName.c_str(), e.service.empty() ? "(no service)" : e.service.c_str());
    for (const auto& [key, value] : e.settings) {
        std::printf("\t%s=%s\n", key.c_str(), value.c_str());
    }
}

// Lists every entry; returns the exit code.
int List(opos::DeviceEntries& entries)
{
    std::vector<opos::DeviceEntry> all;
    if (reg::Status s = entries.List(all); !s) {
        return StoreFailure(s, entries);
    }
    if (all.empty()) {
        std::printf("no device entries in %s (\"strivo-devices ensure-default\" adds %s)\n",
                    entries.store().path().c_str(), opos::kDefaultLogicalName);
    }
    for (const auto& e : all) {
        Print(e);
    }
    return 0;
}

// Shows one entry; returns the exit code.
int Show(opos::DeviceEntries& entries, const std::string& name)
{
    std::optional<opos::DeviceEntry> e;
    if (reg::Status s = entries.Find(name, e); !s) {
        return StoreFailure(s, entries);
    }
    if (!e) {
        return Fail("no device entry named \"" + name + "\"; \"strivo-devices list\" shows the names");
    }
    Print(*e);
    return 0;
}

// Creates or replaces an entry; returns the exit code.
int Set(opos::DeviceEntries& entries, const std::vector<std::string>& args)
{
    opos::DeviceEntry e{args[0], args[1], {}};
    if (e.service.empty()) {
        return Fail("the service name is empty; give one such as " + std::string(opos::kSimulatedServiceName));
    }
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::size_t eq = args[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            return Fail("setting \"" + args[i] + "\" is not of the form key=value");
        }
        e.settings[args[i].substr(0, eq)] = args[i].substr(eq + 1);
    }
    if (reg::Status s = entries.Set(e); !s) {
        return e.logicalName.empty() || s.message.find("logical device name") != std::string::npos
                   ? Fail(s.message)
                   : StoreFailure(s, entries);
    }
    std::printf("set %s -> %s\n", e.logicalName.c_str(), e.service.c_str());
    const auto known = opos::ServiceFactory::Instance().Names();
    if (std::find(known.begin(), known.end(), e.service) == known.end()) {
        std::printf("note: this program knows no service named \"%s\"; Open will answer "
                    "OPOS_E_NOSERVICE until one is installed\n",
                    e.service.c_str());
    }
    return 0;
}

// Removes an entry; returns the exit code.
int Remove(opos::DeviceEntries& entries, const std::string& name)
{
    bool removed = false;
    if (reg::Status s = entries.Remove(name, removed); !s) {
        return StoreFailure(s, entries);
    }
    if (!removed) {
        return Fail("no device entry named \"" + name + "\"; \"strivo-devices list\" shows the names");
    }
    std::printf("removed %s\n", name.c_str());
    return 0;
}

// Registers the default device on the simulated reader when it has no
// entry; returns the exit code.
int EnsureDefault(opos::DeviceEntries& entries)
{
    bool created = false;
    if (reg::Status s = entries.EnsureDefault(created); !s) {
        return StoreFailure(s, entries);
    }
    if (created) {
        std::printf("registered %s -> %s\n", opos::kDefaultLogicalName, opos::kSimulatedServiceName);
    } else {
        std::printf("%s is registered already; left as it is\n", opos::kDefaultLogicalName);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    opos::RegisterMsrControlClass();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return kFailed;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    opos::DeviceEntries entries;
    if (command == "list" && args.empty()) {
        return List(entries);
    }
    if (command == "show" && args.size() == 1) {
        return Show(entries, args[0]);
    }
    if (command == "set" && args.size() >= 2) {
        return Set(entries, args);
    }
    if (command == "remove" && args.size() == 1) {
        return Remove(entries, args[0]);
    }
    if (command == "ensure-default" && args.empty()) {
        return EnsureDefault(entries);
    }
    if (command == "-h" || command == "--help" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fprintf(stderr, "strivo-devices: \"%s\" with %zu argument(s) is not a command\n%s", command.c_str(),
                 args.size(), kUsage);
    return kFailed;
}
