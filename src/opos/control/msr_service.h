// The interface between the MSR control object and a service object (the
// piece that talks to one kind of reader). The control owns the UnifiedPOS
// rules; a service only opens, claims and enables its reader, reports what it
// reads and how its power stands, and answers health checks and DirectIO.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace opos {

// A service's own settings, as stored with its device entry (port, speed,
// input device, ...). Names compare exactly; values are text.
using ServiceSettings = std::map<std::string, std::string>;

// One swipe as the reader recorded it: the raw stripe bytes of tracks 1 to 4
// (start sentinel through LRC, one byte per character with its parity bit).
// An empty track was not recorded.
struct RawCard {
    std::array<std::vector<std::uint8_t>, 4> tracks;
};

// What a service tells about itself and its reader once it is open.
struct ServiceInfo {
    std::string serviceDescription;
    std::int32_t serviceVersion = 0;  // major * 1000000 + minor * 1000 + build
    std::string physicalDeviceDescription;
    std::string physicalDeviceName;
    bool capISO = true;
    bool capJISOne = false;
    bool capJISTwo = false;
    bool capTransmitSentinels = false;
    std::int32_t capPowerReporting = 0;  // OPOS_PR_NONE / STANDARD / ADVANCED
};

// The control's side of a service. A service calls these from any thread
// (its own reading thread, a test, a window); the control hands every call on
// to its device thread, so the calls return at once and never call back into
// the service.
class MsrServiceListener {
public:
    virtual ~MsrServiceListener() = default;
    // A card was swiped while the reader was enabled.
    virtual void OnCardRead(const RawCard& card) = 0;
    // The reader saw a swipe but could not record it at all (no per-track
    // information); why is for logs only.
    virtual void OnReadFailure(const std::string& why) = 0;
    // The reader's power state changed (OPOS_PS_ONLINE, OPOS_PS_OFFLINE ...).
    virtual void OnPowerState(std::int32_t powerState) = 0;
    // The service has something to tell the application outside the device
    // model (fired as DirectIOEvent).
    virtual void OnDirectIOEvent(std::int32_t eventNumber, std::int32_t data,
                                 const std::string& text) = 0;
};

// A service object. The control calls every member from its user-interface
// thread, in the order open, claim, enable ... disable, release, close. The
// results are OPOS result codes: 0 or one of 101..114.
class MsrService {
public:
    virtual ~MsrService() = default;

    // Starts the service for the logical device with its settings. Anything
    // but 0 means the service cannot start (the control answers
    // OPOS_E_NOSERVICE). The listener stays valid until Close returns.
    virtual std::int32_t Open(const std::string& logicalName, const ServiceSettings& settings,
                              MsrServiceListener* listener) = 0;
    virtual void Close() = 0;
    virtual ServiceInfo Info() const = 0;

    // Takes the reader for this process (the control has taken the claim
    // lock already). OPOS_E_NOHARDWARE when no reader is connected.
    virtual std::int32_t Claim() = 0;
    virtual void Release() = 0;
    // Starts or stops reporting swipes. Enabling answers OPOS_E_NOHARDWARE
    // when no reader is connected; disabling always succeeds.
    virtual std::int32_t Enable(bool enable) = 0;
    // The reader's power state now (OPOS_PS_ONLINE, OPOS_PS_OFFLINE ...).
    virtual std::int32_t PowerState() const = 0;

    // Runs the health check of the given level (1 internal, 2 external,
    // 3 interactive) and sets text to a line that names the level and the
    // outcome. The interactive level may show the service's own dialog.
    virtual std::int32_t CheckHealth(std::int32_t level, std::string& text) = 0;
    // A service-specific command; data and text are in-out.
    virtual std::int32_t DirectIO(std::int32_t command, std::int32_t& data, std::string& text) = 0;
};

}  // namespace opos
