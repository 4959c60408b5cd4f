// The OPOS constants that the console passes to the MSR control or compares
// against: result codes, device and power states, status-update codes,
// health levels, error responses and the MSR property values.
#pragma once

#include <cstdint>

// Result codes.
inline constexpr std::int32_t OPOS_SUCCESS = 0;
inline constexpr std::int32_t OPOSERR = 100;
inline constexpr std::int32_t OPOS_E_CLOSED = 101;
inline constexpr std::int32_t OPOS_E_CLAIMED = 102;
inline constexpr std::int32_t OPOS_E_NOTCLAIMED = 103;
inline constexpr std::int32_t OPOS_E_NOSERVICE = 104;
inline constexpr std::int32_t OPOS_E_DISABLED = 105;
inline constexpr std::int32_t OPOS_E_ILLEGAL = 106;
inline constexpr std::int32_t OPOS_E_NOHARDWARE = 107;
inline constexpr std::int32_t OPOS_E_OFFLINE = 108;
inline constexpr std::int32_t OPOS_E_NOEXIST = 109;
inline constexpr std::int32_t OPOS_E_EXISTS = 110;
inline constexpr std::int32_t OPOS_E_FAILURE = 111;
inline constexpr std::int32_t OPOS_E_TIMEOUT = 112;
inline constexpr std::int32_t OPOS_E_BUSY = 113;
inline constexpr std::int32_t OPOS_E_EXTENDED = 114;
inline constexpr std::int32_t OPOSERREXT = 200;

// MSR per-track error codes, one byte per track in the extended result code
// of ErrorEvent (lowest byte first track).
inline constexpr std::int32_t OPOS_EMSR_START = 201;
inline constexpr std::int32_t OPOS_EMSR_END = 202;
inline constexpr std::int32_t OPOS_EMSR_PARITY = 203;
inline constexpr std::int32_t OPOS_EMSR_LRC = 204;

// Device states (State property).
inline constexpr std::int32_t OPOS_S_CLOSED = 1;
inline constexpr std::int32_t OPOS_S_IDLE = 2;
inline constexpr std::int32_t OPOS_S_BUSY = 3;
inline constexpr std::int32_t OPOS_S_ERROR = 4;

// Power states (PowerState property).
inline constexpr std::int32_t OPOS_PS_UNKNOWN = 2000;
inline constexpr std::int32_t OPOS_PS_ONLINE = 2001;
inline constexpr std::int32_t OPOS_PS_OFF = 2002;
inline constexpr std::int32_t OPOS_PS_OFFLINE = 2003;
inline constexpr std::int32_t OPOS_PS_OFF_OFFLINE = 2004;

// Power reporting capability (CapPowerReporting property).
inline constexpr std::int32_t OPOS_PR_NONE = 0;
inline constexpr std::int32_t OPOS_PR_STANDARD = 1;
inline constexpr std::int32_t OPOS_PR_ADVANCED = 2;

// Power notification (PowerNotify property).
inline constexpr std::int32_t OPOS_PN_DISABLED = 0;
inline constexpr std::int32_t OPOS_PN_ENABLED = 1;

// Status-update event codes (Data argument of StatusUpdateEvent).
inline constexpr std::int32_t OPOS_SUE_POWER_ONLINE = 2001;
inline constexpr std::int32_t OPOS_SUE_POWER_OFF = 2002;
inline constexpr std::int32_t OPOS_SUE_POWER_OFFLINE = 2003;
inline constexpr std::int32_t OPOS_SUE_POWER_OFF_OFFLINE = 2004;

// CheckHealth levels.
inline constexpr std::int32_t OPOS_CH_INTERNAL = 1;
inline constexpr std::int32_t OPOS_CH_EXTERNAL = 2;
inline constexpr std::int32_t OPOS_CH_INTERACTIVE = 3;

// Error responses written back into ErrorEvent's pErrorResponse.
inline constexpr std::int32_t OPOS_ER_RETRY = 11;
inline constexpr std::int32_t OPOS_ER_CLEAR = 12;
inline constexpr std::int32_t OPOS_ER_CONTINUEINPUT = 13;

// ErrorReportingType property.
inline constexpr std::int32_t MSR_ERT_CARD = 0;
inline constexpr std::int32_t MSR_ERT_TRACK = 1;

// BinaryConversion property.
inline constexpr std::int32_t OPOS_BC_NONE = 0;
inline constexpr std::int32_t OPOS_BC_NIBBLE = 1;
inline constexpr std::int32_t OPOS_BC_DECIMAL = 2;

// TracksToRead bit masks (combinations are sums of these).
inline constexpr std::int32_t MSR_TR_1 = 1;
inline constexpr std::int32_t MSR_TR_2 = 2;
inline constexpr std::int32_t MSR_TR_3 = 4;
inline constexpr std::int32_t MSR_TR_4 = 8;
