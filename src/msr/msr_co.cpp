// CMSRCO members: one dispatch call each, through a handful of helpers that
// build the call for a given DISPID and take the result apart.
#include "msr/msr_co.h"

#include "msr/msr_dispids.h"
#include "msr/opos_constants.h"

#include <span>

using com::InvokeKind;
using com::Variant;
using com::VarType;

namespace {

// One dispatch call; false when there is no control or the call failed
// below the level of OPOS results.
bool Call(com::IDispatch* control, std::int32_t dispid, InvokeKind kind,
          std::span<const Variant> args, Variant* result)
{
    if (control == nullptr) {
        return false;
    }
    return com::Succeeded(control->Invoke(dispid, kind, args, result));
}

}  // namespace

bool CMSRCO::GetBool(std::int32_t dispid) const
{
    Variant result;
    if (!Call(m_pControl, dispid, InvokeKind::PropertyGet, {}, &result)) {
        return false;
    }
    return result.boolean();
}

std::int32_t CMSRCO::GetI4(std::int32_t dispid, std::int32_t onFailure) const
{
    Variant result;
    if (!Call(m_pControl, dispid, InvokeKind::PropertyGet, {}, &result) || !result.is(VarType::I4)) {
        return onFailure;
    }
    return result.i4();
}

std::string CMSRCO::GetString(std::int32_t dispid) const
{
    Variant result;
    if (!Call(m_pControl, dispid, InvokeKind::PropertyGet, {}, &result) ||
        !result.is(VarType::Bstr)) {
        return {};
    }
    return com::NarrowFromOle(result.bstr());
}

void CMSRCO::PutBool(std::int32_t dispid, bool value)
{
    const Variant arg = Variant::FromBool(value);
    Call(m_pControl, dispid, InvokeKind::PropertyPut, {&arg, 1}, nullptr);
}

void CMSRCO::PutI4(std::int32_t dispid, std::int32_t value)
{
    const Variant arg = Variant::FromI4(value);
    Call(m_pControl, dispid, InvokeKind::PropertyPut, {&arg, 1}, nullptr);
}

std::int32_t CMSRCO::CallI4(std::int32_t dispid, const Variant* args, std::size_t count)
{
    Variant result;
    if (!Call(m_pControl, dispid, InvokeKind::Method, {args, count}, &result) || !result.is(VarType::I4)) {
        return OPOS_E_FAILURE;
    }
    return result.i4();
}

// Properties.
bool CMSRCO::GetAutoDisable() const { return GetBool(msrdisp::AutoDisable); }
void CMSRCO::SetAutoDisable(bool value) { PutBool(msrdisp::AutoDisable, value); }
std::int32_t CMSRCO::GetBinaryConversion() const { return GetI4(msrdisp::BinaryConversion); }
void CMSRCO::SetBinaryConversion(std::int32_t value) { PutI4(msrdisp::BinaryConversion, value); }
std::int32_t CMSRCO::GetCapPowerReporting() const { return GetI4(msrdisp::CapPowerReporting); }
std::string CMSRCO::GetCheckHealthText() const { return GetString(msrdisp::CheckHealthText); }
bool CMSRCO::GetClaimed() const { return GetBool(msrdisp::Claimed); }
std::int32_t CMSRCO::GetDataCount() const { return GetI4(msrdisp::DataCount); }
bool CMSRCO::GetDataEventEnabled() const { return GetBool(msrdisp::DataEventEnabled); }
void CMSRCO::SetDataEventEnabled(bool value) { PutBool(msrdisp::DataEventEnabled, value); }
bool CMSRCO::GetDeviceEnabled() const { return GetBool(msrdisp::DeviceEnabled); }
void CMSRCO::SetDeviceEnabled(bool value) { PutBool(msrdisp::DeviceEnabled, value); }
bool CMSRCO::GetFreezeEvents() const { return GetBool(msrdisp::FreezeEvents); }
void CMSRCO::SetFreezeEvents(bool value) { PutBool(msrdisp::FreezeEvents, value); }
std::int32_t CMSRCO::GetPowerNotify() const { return GetI4(msrdisp::PowerNotify); }
void CMSRCO::SetPowerNotify(std::int32_t value) { PutI4(msrdisp::PowerNotify, value); }
std::int32_t CMSRCO::GetPowerState() const { return GetI4(msrdisp::PowerState); }
std::int32_t CMSRCO::GetResultCode() const { return GetI4(msrdisp::ResultCode, OPOS_E_FAILURE); }
std::int32_t CMSRCO::GetState() const { return GetI4(msrdisp::State); }
std::string CMSRCO::GetDeviceControlDescription() const { return GetString(msrdisp::DeviceControlDescription); }
std::int32_t CMSRCO::GetDeviceControlVersion() const { return GetI4(msrdisp::DeviceControlVersion); }
std::string CMSRCO::GetDeviceServiceDescription() const { return GetString(msrdisp::DeviceServiceDescription); }
std::int32_t CMSRCO::GetDeviceServiceVersion() const { return GetI4(msrdisp::DeviceServiceVersion); }
std::string CMSRCO::GetPhysicalDeviceDescription() const { return GetString(msrdisp::PhysicalDeviceDescription); }
std::string CMSRCO::GetPhysicalDeviceName() const { return GetString(msrdisp::PhysicalDeviceName); }
std::string CMSRCO::GetAccountNumber() const { return GetString(msrdisp::AccountNumber); }
bool CMSRCO::GetCapISO() const { return GetBool(msrdisp::CapISO); }
bool CMSRCO::GetCapJISOne() const { return GetBool(msrdisp::CapJISOne); }
bool CMSRCO::GetCapJISTwo() const { return GetBool(msrdisp::CapJISTwo); }
bool CMSRCO::GetDecodeData() const { return GetBool(msrdisp::DecodeData); }
void CMSRCO::SetDecodeData(bool value) { PutBool(msrdisp::DecodeData, value); }
std::int32_t CMSRCO::GetErrorReportingType() const { return GetI4(msrdisp::ErrorReportingType); }
void CMSRCO::SetErrorReportingType(std::int32_t value) { PutI4(msrdisp::ErrorReportingType, value); }
std::string CMSRCO::GetExpirationDate() const { return GetString(msrdisp::ExpirationDate); }
std::string CMSRCO::GetFirstName() const { return GetString(msrdisp::FirstName); }
std::string CMSRCO::GetMiddleInitial() const { return GetString(msrdisp::MiddleInitial); }
bool CMSRCO::GetParseDecodeData() const { return GetBool(msrdisp::ParseDecodeData); }
void CMSRCO::SetParseDecodeData(bool value) { PutBool(msrdisp::ParseDecodeData, value); }
std::string CMSRCO::GetServiceCode() const { return GetString(msrdisp::ServiceCode); }
std::string CMSRCO::GetSuffix() const { return GetString(msrdisp::Suffix); }
std::string CMSRCO::GetSurname() const { return GetString(msrdisp::Surname); }
std::string CMSRCO::GetTitle() const { return GetString(msrdisp::Title); }
std::string CMSRCO::GetTrack1Data() const { return GetString(msrdisp::Track1Data); }
std::string CMSRCO::GetTrack1DiscretionaryData() const { return GetString(msrdisp::Track1DiscretionaryData); }
std::string CMSRCO::GetTrack2Data() const { return GetString(msrdisp::Track2Data); }
std::string CMSRCO::GetTrack2DiscretionaryData() const { return GetString(msrdisp::Track2DiscretionaryData); }
std::string CMSRCO::GetTrack3Data() const { return GetString(msrdisp::Track3Data); }
std::int32_t CMSRCO::GetTracksToRead() const { return GetI4(msrdisp::TracksToRead); }
void CMSRCO::SetTracksToRead(std::int32_t value) { PutI4(msrdisp::TracksToRead, value); }
bool CMSRCO::GetCapTransmitSentinels() const { return GetBool(msrdisp::CapTransmitSentinels); }
std::string CMSRCO::GetTrack4Data() const { return GetString(msrdisp::Track4Data); }
bool CMSRCO::GetTransmitSentinels() const { return GetBool(msrdisp::TransmitSentinels); }
void CMSRCO::SetTransmitSentinels(bool value) { PutBool(msrdisp::TransmitSentinels, value); }

// Methods.
std::int32_t CMSRCO::CheckHealth(std::int32_t level)
{
    const Variant arg = Variant::FromI4(level);
    return CallI4(msrdisp::CheckHealth, &arg, 1);
}

std::int32_t CMSRCO::ClaimDevice(std::int32_t timeout)
{
    const Variant arg = Variant::FromI4(timeout);
    return CallI4(msrdisp::ClaimDevice, &arg, 1);
}

std::int32_t CMSRCO::ClearInput() { return CallI4(msrdisp::ClearInput, nullptr, 0); }
std::int32_t CMSRCO::Close() { return CallI4(msrdisp::Close, nullptr, 0); }

std::int32_t CMSRCO::Open(const std::string& deviceName)
{
    // The OLE string lives for the duration of the call only.
    const Variant arg = Variant::FromNarrow(deviceName);
    return CallI4(msrdisp::Open, &arg, 1);
}

std::int32_t CMSRCO::ReleaseDevice() { return CallI4(msrdisp::ReleaseDevice, nullptr, 0); }
