// The OPOS device entries of the registry store: each logical device name
// maps to the service object that drives it and that service's settings.
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\MSR\<LogicalName>]
//   @="<service name>"            e.g. "Strivo.SimulatedMSR"
//   "<setting>"="<value>"         the service's own settings
#pragma once

#include "opos/control/msr_service.h"
#include "platform/registry/registry_store.h"

#include <optional>
#include <string>
#include <vector>

namespace opos {

inline constexpr const char* kMsrEntriesKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\MSR";
inline constexpr const char* kDefaultLogicalName = "QuellorUSBMiniMSR";
inline constexpr const char* kSimulatedServiceName = "Strivo.SimulatedMSR";

struct DeviceEntry {
    std::string logicalName;
    std::string service;       // empty when the key has no default value
    ServiceSettings settings;  // number values are given in decimal
};

class DeviceEntries {
public:
    explicit DeviceEntries(reg::Store store = reg::Store()) : store_(std::move(store)) {}
    const reg::Store& store() const { return store_; }

    // Looks the logical name up (without regard to ASCII case). entry is
    // empty when there is no such entry; the status fails only when the
    // store cannot be read.
    reg::Status Find(const std::string& logicalName, std::optional<DeviceEntry>& entry) const;
    // Every entry, in caseless name order.
    reg::Status List(std::vector<DeviceEntry>& entries) const;
    // Creates or replaces the entry (its settings are replaced as a whole).
    // Refuses an empty name or one holding a backslash or a control byte.
    reg::Status Set(const DeviceEntry& entry);
    // removed tells whether there was such an entry.
    reg::Status Remove(const std::string& logicalName, bool& removed);
    // Registers the default device on the simulated reader unless an entry
    // of that name exists; created tells which happened.
    reg::Status EnsureDefault(bool& created);

private:
    reg::Store store_;
};

}  // namespace opos
