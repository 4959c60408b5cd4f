// The OPOS code-name tables and their range-checked lookups.
#include "msr/opos_names.h"

#include "msr/opos_constants.h"

#include <cstddef>

const char* const ResultCodeNames[15] = {
    "OPOS_SUCCESS",      "OPOS_E_CLOSED",   "OPOS_E_CLAIMED", "OPOS_E_NOTCLAIMED",
    "OPOS_E_NOSERVICE",  "OPOS_E_DISABLED", "OPOS_E_ILLEGAL", "OPOS_E_NOHARDWARE",
    "OPOS_E_OFFLINE",    "OPOS_E_NOEXIST",  "OPOS_E_EXISTS",  "OPOS_E_FAILURE",
    "OPOS_E_TIMEOUT",    "OPOS_E_BUSY",     "OPOS_E_EXTENDED",
};

const char* const DeviceStateNames[4] = {"CLOSED", "IDLE", "BUSY", "ERROR"};

const char* const PowerStateNames[5] = {"UNKNOWN", "ONLINE", "OFF", "OFFLINE", "OFF_OFFLINE"};

// "ADANCED" is the text the console has always shown for the advanced level.
const char* const PowerReportingNames[3] = {"NONE", "STANDARD", "ADANCED"};

const char* const StatusUpdateNames[4] = {
    "OPOS_SUE_POWER_ONLINE",
    "OPOS_SUE_POWER_OFF",
    "OPOS_SUE_POWER_OFFLINE",
    "OPOS_SUE_POWER_OFF_OFFLINE",
};

const char* const HealthLevelNames[3] = {"INTERNAL", "EXTERNAL", "INTERACTIVE"};

namespace {

// The entry for code in a table whose first entry names firstCode, or nullptr
// when code lies outside the table.
template <std::size_t N>
const char* Lookup(const char* const (&table)[N], std::int32_t firstCode, std::int32_t code)
{
    const std::int64_t pos = static_cast<std::int64_t>(code) - firstCode;
    if (pos < 0 || pos >= static_cast<std::int64_t>(N)) {
        return nullptr;
    }
    return table[pos];
}

}  // namespace

const char* ResultCodeName(std::int32_t code)
{
    // Only the error codes are named; the success entry is not reached here.
    if (code < OPOS_E_CLOSED || code > OPOS_E_EXTENDED) {
        return nullptr;
    }
    return ResultCodeNames[code - OPOSERR];
}

const char* DeviceStateName(std::int32_t state) { return Lookup(DeviceStateNames, OPOS_S_CLOSED, state); }
const char* PowerStateName(std::int32_t state) { return Lookup(PowerStateNames, OPOS_PS_UNKNOWN, state); }
const char* PowerReportingName(std::int32_t cap) { return Lookup(PowerReportingNames, OPOS_PR_NONE, cap); }
const char* StatusUpdateName(std::int32_t data) { return Lookup(StatusUpdateNames, OPOS_SUE_POWER_ONLINE, data); }
const char* HealthLevelName(std::int32_t level) { return Lookup(HealthLevelNames, OPOS_CH_INTERNAL, level); }

const char* ErrorResponseName(std::int32_t response)
{
    switch (response) {
    case OPOS_ER_RETRY: return "OPOS_ER_RETRY";
    case OPOS_ER_CLEAR: return "OPOS_ER_CLEAR";
    case OPOS_ER_CONTINUEINPUT: return "OPOS_ER_CONTINUEINPUT";
    default: return nullptr;
    }
}

const char* TrackErrorName(int trackByte)
{
    switch (trackByte) {
    case OPOS_SUCCESS: return "OPOS_SUCCESS";
    case OPOS_EMSR_START: return "OPOS_EMSR_START";
    case OPOS_EMSR_END: return "OPOS_EMSR_END";
    case OPOS_EMSR_PARITY: return "OPOS_EMSR_PARITY";
    case OPOS_EMSR_LRC: return "OPOS_EMSR_LRC";
    default: return "OPOS_E_FAILURE";
    }
}
