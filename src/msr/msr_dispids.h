// The DISPIDs of the OPOS MSR control's dispatch interface: properties,
// methods and events, each named exactly as the OPOS member it reaches.
// The control wrapper, the console's event dispatch, the control object and
// the test stand-in all use these names so that the numbers live in one place.
#pragma once

#include <cstdint>

namespace msrdisp {

// Properties.
inline constexpr std::int32_t AutoDisable = 10;
inline constexpr std::int32_t BinaryConversion = 11;
inline constexpr std::int32_t CapPowerReporting = 12;
inline constexpr std::int32_t CheckHealthText = 13;
inline constexpr std::int32_t Claimed = 14;
inline constexpr std::int32_t DataCount = 15;
inline constexpr std::int32_t DataEventEnabled = 16;
inline constexpr std::int32_t DeviceEnabled = 17;
inline constexpr std::int32_t FreezeEvents = 18;
inline constexpr std::int32_t PowerNotify = 20;
inline constexpr std::int32_t PowerState = 21;
inline constexpr std::int32_t ResultCode = 22;
// Not read by the console (it takes the extended code from ErrorEvent's
// argument); available to the control object.
inline constexpr std::int32_t ResultCodeExtended = 23;
inline constexpr std::int32_t State = 24;
inline constexpr std::int32_t DeviceControlDescription = 25;
inline constexpr std::int32_t DeviceControlVersion = 26;
inline constexpr std::int32_t DeviceServiceDescription = 27;
inline constexpr std::int32_t DeviceServiceVersion = 28;
inline constexpr std::int32_t PhysicalDeviceDescription = 29;
inline constexpr std::int32_t PhysicalDeviceName = 30;
inline constexpr std::int32_t AccountNumber = 50;
inline constexpr std::int32_t CapISO = 51;
inline constexpr std::int32_t CapJISOne = 52;
inline constexpr std::int32_t CapJISTwo = 53;
inline constexpr std::int32_t DecodeData = 54;
inline constexpr std::int32_t ErrorReportingType = 55;
inline constexpr std::int32_t ExpirationDate = 56;
inline constexpr std::int32_t FirstName = 57;
inline constexpr std::int32_t MiddleInitial = 58;
inline constexpr std::int32_t ParseDecodeData = 59;
inline constexpr std::int32_t ServiceCode = 61;
inline constexpr std::int32_t Suffix = 62;
inline constexpr std::int32_t Surname = 63;
inline constexpr std::int32_t Title = 64;
inline constexpr std::int32_t Track1Data = 65;
inline constexpr std::int32_t Track1DiscretionaryData = 66;
inline constexpr std::int32_t Track2Data = 67;
inline constexpr std::int32_t Track2DiscretionaryData = 68;
inline constexpr std::int32_t Track3Data = 69;
inline constexpr std::int32_t TracksToRead = 70;
inline constexpr std::int32_t CapTransmitSentinels = 71;
inline constexpr std::int32_t Track4Data = 72;
inline constexpr std::int32_t TransmitSentinels = 73;

// Methods.
inline constexpr std::int32_t CheckHealth = 31;
inline constexpr std::int32_t ClaimDevice = 32;
inline constexpr std::int32_t ClearInput = 33;
// DirectIO(Command I4, pData by-reference I4, pString by-reference BSTR).
// The console never calls it; it is here for the control object.
inline constexpr std::int32_t DirectIO = 34;
inline constexpr std::int32_t Close = 35;
inline constexpr std::int32_t Open = 37;
inline constexpr std::int32_t ReleaseDevice = 38;

// Events (the control calls the container's sink with these).
inline constexpr std::int32_t DataEvent = 1;
inline constexpr std::int32_t DirectIOEvent = 2;
inline constexpr std::int32_t ErrorEvent = 3;
inline constexpr std::int32_t StatusUpdateEvent = 5;

}  // namespace msrdisp
