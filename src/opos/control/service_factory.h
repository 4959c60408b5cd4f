// The table of service objects this process can start, by service name (the
// default value of a device entry, e.g. "Strivo.SimulatedMSR").
#pragma once

#include "opos/control/msr_service.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace opos {

using ServiceMaker = std::function<std::unique_ptr<MsrService>()>;

class ServiceFactory {
public:
    static ServiceFactory& Instance();

    // Names compare exactly. A second registration replaces the first.
    void Register(const std::string& serviceName, ServiceMaker maker);
    void Unregister(const std::string& serviceName);
    // Null when no service of that name is registered or its maker fails.
    std::unique_ptr<MsrService> Create(const std::string& serviceName) const;
    std::vector<std::string> Names() const;

private:
    ServiceFactory() = default;
    struct Impl;
    Impl& impl() const;
};

}  // namespace opos
