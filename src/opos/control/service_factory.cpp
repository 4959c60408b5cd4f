// The process-wide table of service makers.
#include "opos/control/service_factory.h"

#include <map>
#include <mutex>

namespace opos {

struct ServiceFactory::Impl {
    mutable std::mutex mutex;
    std::map<std::string, ServiceMaker> makers;
};

ServiceFactory& ServiceFactory::Instance()
{
    static ServiceFactory factory;
    return factory;
}

ServiceFactory::Impl& ServiceFactory::impl() const
{
    static Impl impl;
    return impl;
}

void ServiceFactory::Register(const std::string& serviceName, ServiceMaker maker)
{
    std::lock_guard lock(impl().mutex);
    impl().makers[serviceName] = std::move(maker);
}

void ServiceFactory::Unregister(const std::string& serviceName)
{
    std::lock_guard lock(impl().mutex);
    impl().makers.erase(serviceName);
}

std::unique_ptr<MsrService> ServiceFactory::Create(const std::string& serviceName) const
{
    ServiceMaker maker;
    {
        std::lock_guard lock(impl().mutex);
        auto it = impl().makers.find(serviceName);
        if (it == impl().makers.end()) {
            return nullptr;
        }
        maker = it->second;
    }
    return maker ? maker() : nullptr;
}

std::vector<std::string> ServiceFactory::Names() const
{
    std::lock_guard lock(impl().mutex);
    std::vector<std::string> names;
    for (const auto& [name, maker] : impl().makers) {
        names.push_back(name);
    }
    return names;
}

}  // namespace opos
