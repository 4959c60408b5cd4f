// A scriptable stand-in for the OPOS MSR control, created under the MSR CLSID
// in test builds. Tests set what each property returns and what each method
// or put answers, fire events into the container, and read the calls it got.
#pragma once

#include "platform/com/dispatch.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

inline constexpr const char* kMsrClsid = "{CCB90122-B81E-11D2-AB74-0040054C3719}";

struct RecordedCall {
    std::int32_t dispid = 0;
    com::InvokeKind kind = com::InvokeKind::Method;
    std::vector<com::Variant> args;
};

// The state shared by every stand-in object created while it is registered.
class StandInScript {
public:
    // What a property get returns (default 0 / false / empty string).
    void SetI4(std::int32_t dispid, std::int32_t value);
    void SetBool(std::int32_t dispid, std::int16_t raw);  // any nonzero is true
    void SetString(std::int32_t dispid, const std::string& utf8);
    void SetOleString(std::int32_t dispid, const com::OleString& value);  // may hold NULs

    // What a method returns; ResultCode (DISPID 22) reads the same afterwards.
    void SetMethodResult(std::int32_t dispid, std::int32_t rc);
    // What ResultCode reads after a put of dispid (default 0). A put also
    // stores its value as the property's new value unless told otherwise.
    void SetPutResult(std::int32_t dispid, std::int32_t rc);
    void SetPutStoresValue(bool stores);

    // Runs before the stand-in answers each call (after recording it); may
    // change the script or fire events.
    void SetHook(std::function<void(const RecordedCall&)> hook);

    // Calls received, in order. Property gets are recorded too.
    const std::vector<RecordedCall>& Calls() const;
    std::vector<RecordedCall> CallsExceptGets() const;
    void ClearCalls();

    // Fires an event into the advised sink, synchronously, on the calling
    // (user-interface) thread. Returns false when no sink is connected.
    bool Fire(std::int32_t dispid, std::vector<com::Variant> args);
    bool Advised() const;

    // Internal: used by the stand-in objects.
    struct State;
    std::shared_ptr<State> state;
};

// Registers the stand-in under the MSR CLSID; every object created until
// Unregister shares the returned script.
std::shared_ptr<StandInScript> RegisterStandInMsr();
void UnregisterStandInMsr();

}  // namespace testsupport
