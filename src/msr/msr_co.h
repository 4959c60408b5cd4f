// CMSRCO: the typed wrapper over the hosted OPOS MSR control. Every member is
// exactly one dispatch call on the control with a fixed DISPID, invoke kind
// and argument/result types; the wrapper keeps no state beyond the pointer to
// the control and adds no checking or retrying of its own.
//
// When no control is attached (its creation failed) or a dispatch call fails
// below the level of OPOS result codes (the call itself returns a failure
// HRESULT, or the result has another type than expected), a get returns 0,
// false or "" and a put has no effect. A method, and a read of ResultCode,
// then give OPOS_E_FAILURE (111): a call that never reached the control must
// not be reported as a success. Callers that need to know whether the
// control exists ask Control().
#pragma once

#include "platform/com/dispatch.h"

#include <cstdint>
#include <string>

class CMSRCO {
public:
    static constexpr const char* kClsid = "{CCB90122-B81E-11D2-AB74-0040054C3719}";

    // Binds the wrapper to a control (not owned; null detaches).
    void Attach(com::IDispatch* control) { m_pControl = control; }
    com::IDispatch* Control() const { return m_pControl; }

    // Properties.
    bool GetAutoDisable() const;
    void SetAutoDisable(bool value);
    std::int32_t GetBinaryConversion() const;
    void SetBinaryConversion(std::int32_t value);
    std::int32_t GetCapPowerReporting() const;
    std::string GetCheckHealthText() const;
    bool GetClaimed() const;
    std::int32_t GetDataCount() const;
    bool GetDataEventEnabled() const;
    void SetDataEventEnabled(bool value);
    bool GetDeviceEnabled() const;
    void SetDeviceEnabled(bool value);
    bool GetFreezeEvents() const;
    void SetFreezeEvents(bool value);
    std::int32_t GetPowerNotify() const;
    void SetPowerNotify(std::int32_t value);
    std::int32_t GetPowerState() const;
    std::int32_t GetResultCode() const;
    std::int32_t GetState() const;
    std::string GetDeviceControlDescription() const;
    std::int32_t GetDeviceControlVersion() const;
    std::string GetDeviceServiceDescription() const;
    std::int32_t GetDeviceServiceVersion() const;
    std::string GetPhysicalDeviceDescription() const;
    std::string GetPhysicalDeviceName() const;
    std::string GetAccountNumber() const;
    bool GetCapISO() const;
    bool GetCapJISOne() const;
    bool GetCapJISTwo() const;
    bool GetDecodeData() const;
    void SetDecodeData(bool value);
    std::int32_t GetErrorReportingType() const;
    void SetErrorReportingType(std::int32_t value);
    std::string GetExpirationDate() const;
    std::string GetFirstName() const;
    std::string GetMiddleInitial() const;
    bool GetParseDecodeData() const;
    void SetParseDecodeData(bool value);
    std::string GetServiceCode() const;
    std::string GetSuffix() const;
    std::string GetSurname() const;
    std::string GetTitle() const;
    std::string GetTrack1Data() const;
    std::string GetTrack1DiscretionaryData() const;
    std::string GetTrack2Data() const;
    std::string GetTrack2DiscretionaryData() const;
    std::string GetTrack3Data() const;
    std::int32_t GetTracksToRead() const;
    void SetTracksToRead(std::int32_t value);
    bool GetCapTransmitSentinels() const;
    std::string GetTrack4Data() const;
    bool GetTransmitSentinels() const;
    void SetTransmitSentinels(bool value);

    // Methods; each returns the control's OPOS result code.
    std::int32_t CheckHealth(std::int32_t level);
    std::int32_t ClaimDevice(std::int32_t timeout);
    std::int32_t ClearInput();
    std::int32_t Close();
    std::int32_t Open(const std::string& deviceName);
    std::int32_t ReleaseDevice();

private:
    bool GetBool(std::int32_t dispid) const;
    std::int32_t GetI4(std::int32_t dispid, std::int32_t onFailure = 0) const;
    std::string GetString(std::int32_t dispid) const;
    void PutBool(std::int32_t dispid, bool value);
    void PutI4(std::int32_t dispid, std::int32_t value);
    std::int32_t CallI4(std::int32_t dispid, const com::Variant* args, std::size_t count);

    com::IDispatch* m_pControl = nullptr;
};
