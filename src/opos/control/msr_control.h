// The OPOS MSR control object: the automation object created under the MSR
// CLSID. It implements the UnifiedPOS rules of the magnetic stripe reader
// device class (open by logical device name, claim across processes, enable,
// the data event queue, error events and the application's response, power
// reporting, the track data properties) on top of a service object found
// through the device entries of the registry store.
//
// The control is called from the user-interface thread only, and fires its
// events there: what the service reports goes through the control's device
// thread, which posts it to the user-interface thread (com::PostToUiThread).
// A process without an event loop delivers them with com::RunPostedTasks()
// after MsrControl::WaitForDeviceThreads().
#pragma once

#include "platform/com/dispatch.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace opos {

class MsrControl final : public com::IDispatch {
public:
    static constexpr const char* kDescription = "Strivo OPOS MSR control";
    // major * 1000000 + minor * 1000 + build: UnifiedPOS 1.14, build 0.
    static constexpr std::int32_t kVersion = 1014000;
    // The input queue (cards and input errors not yet delivered) holds at
    // most this many items; what a reader sends beyond that is dropped, so
    // that a reader stuck sending, or noise on its line, cannot use up the
    // memory while the application does not take its events.
    static constexpr std::size_t kMaxQueuedInput = 256;

    MsrControl();
    // Closes the device when it is open (disable, release, close).
    ~MsrControl() override;
    MsrControl(const MsrControl&) = delete;
    MsrControl& operator=(const MsrControl&) = delete;

    // Members by the DISPIDs of msr/msr_dispids.h. Answers
    // DISP_E_MEMBERNOTFOUND for an unknown DISPID or a put of a read-only
    // property, DISP_E_BADPARAMCOUNT for a wrong number of arguments and
    // DISP_E_TYPEMISMATCH for an argument of the wrong type; OPOS results
    // travel in the method's I4 result and the ResultCode property.
    com::HResult Invoke(std::int32_t dispid, com::InvokeKind kind, std::span<const com::Variant> args,
                        com::Variant* result) override;
    void Advise(com::IEventSink* sink) override;

    // Blocks until every control's device thread has posted what its service
    // reported so far. For tests and benchmarks, which then run
    // com::RunPostedTasks().
    static void WaitForDeviceThreads();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace opos
