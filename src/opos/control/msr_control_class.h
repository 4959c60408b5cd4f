// Makes the MSR control creatable: registers it under the MSR CLSID in the
// class table, and the built-in service objects under their service names
// (the simulated reader as "Strivo.SimulatedMSR").
#pragma once

namespace opos {

inline constexpr const char* kMsrClsid = "{CCB90122-B81E-11D2-AB74-0040054C3719}";

// Safe to call more than once.
void RegisterMsrControlClass();

}  // namespace opos
