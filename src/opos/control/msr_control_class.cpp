// Registration of the MSR control class and the built-in services.
#include "opos/control/msr_control_class.h"

#include "opos/control/device_entries.h"
#include "opos/control/msr_control.h"
#include "opos/control/serial_reader.h"
#include "opos/control/service_factory.h"
#include "opos/control/simulated_reader.h"
#include "opos/control/wedge_reader.h"
#include "platform/com/class_table.h"

namespace opos {

void RegisterMsrControlClass()
{
    com::ClassTable::Instance().Register(kMsrClsid, [] { return std::make_unique<MsrControl>(); });
    ServiceFactory::Instance().Register(kSimulatedServiceName, [] { return SimulatedReader::MakeService(); });
    ServiceFactory::Instance().Register(kSerialServiceName, [] { return MakeSerialService(); });
    ServiceFactory::Instance().Register(kWedgeServiceName, [] { return MakeWedgeService(); });
}

}  // namespace opos
