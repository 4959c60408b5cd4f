// Names of the OPOS codes that the console shows: fixed tables, each covering
// a contiguous run of codes from its first code, and lookups that return the
// name of a code or nullptr when the code lies outside the table. Callers
// decide what to do with a code that has no name.
#pragma once

#include <cstdint>

// "OPOS_SUCCESS" then the names of 101..114 (15 entries).
extern const char* const ResultCodeNames[15];
// State 1..4.
extern const char* const DeviceStateNames[4];
// PowerState 2000..2004.
extern const char* const PowerStateNames[5];
// CapPowerReporting 0..2.
extern const char* const PowerReportingNames[3];
// StatusUpdateEvent Data 2001..2004.
extern const char* const StatusUpdateNames[4];
// CheckHealth level 1..3.
extern const char* const HealthLevelNames[3];

// Name of an OPOS error code 101..114; nullptr for anything else, success
// included (0 has a table entry but is reported without a name).
const char* ResultCodeName(std::int32_t code);
// Name of a State value 1..4, else nullptr.
const char* DeviceStateName(std::int32_t state);
// Name of a PowerState value 2000..2004, else nullptr.
const char* PowerStateName(std::int32_t state);
// Name of a CapPowerReporting value 0..2, else nullptr.
const char* PowerReportingName(std::int32_t cap);
// Name of a StatusUpdateEvent Data value 2001..2004, else nullptr.
const char* StatusUpdateName(std::int32_t data);
// Name of a CheckHealth level 1..3, else nullptr.
const char* HealthLevelName(std::int32_t level);
// "OPOS_ER_RETRY", "OPOS_ER_CLEAR", "OPOS_ER_CONTINUEINPUT" for 11..13,
// else nullptr.
const char* ErrorResponseName(std::int32_t response);
// Name of one per-track byte of an extended MSR error: "OPOS_SUCCESS" for 0,
// "OPOS_EMSR_START" .. "OPOS_EMSR_LRC" for 201..204, and "OPOS_E_FAILURE"
// for any other byte. Never nullptr.
const char* TrackErrorName(int trackByte);
