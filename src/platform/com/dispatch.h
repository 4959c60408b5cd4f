// The dispatch interface: members reached by DISPID and invoke kind, the event
// sink through which a control calls its container, and the small result
// codes of the call itself (below the level of the control's own results).
#pragma once

#include "platform/com/variant.h"

#include <cstdint>
#include <span>

namespace com {

using HResult = std::int32_t;
inline constexpr HResult S_OK = 0;
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult E_POINTER = static_cast<HResult>(0x80004003u);
inline constexpr HResult DISP_E_MEMBERNOTFOUND = static_cast<HResult>(0x80020003u);
inline constexpr HResult DISP_E_TYPEMISMATCH = static_cast<HResult>(0x80020005u);
inline constexpr HResult DISP_E_BADPARAMCOUNT = static_cast<HResult>(0x8002000Eu);
inline constexpr HResult REGDB_E_CLASSNOTREG = static_cast<HResult>(0x80040154u);

inline bool Succeeded(HResult hr) { return hr >= 0; }

enum class InvokeKind : std::uint16_t {
    Method = 1,
    PropertyGet = 2,
    PropertyPut = 4,
};

// A control's outgoing interface as its container implements it. Events are
// delivered on the user-interface thread only; the handler may run a nested
// modal loop before it returns, and by-reference arguments are read back by
// the control after the call.
class IEventSink {
public:
    virtual ~IEventSink() = default;
    virtual void Invoke(std::int32_t dispid, std::span<Variant> args) = 0;
};

// An automation object. Arguments are given in the order of the member's
// declaration (not reversed as on the wire). A property put takes the new
// value as its only argument.
class IDispatch {
public:
    virtual ~IDispatch() = default;
    virtual HResult Invoke(std::int32_t dispid, InvokeKind kind, std::span<const Variant> args,
                           Variant* result) = 0;
    // Connects (or with null disconnects) the container's event sink. The
    // sink outlives the connection.
    virtual void Advise(IEventSink* sink) = 0;
};

}  // namespace com
