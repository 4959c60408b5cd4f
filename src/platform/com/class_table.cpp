// The process-wide table of creatable automation classes.
#include "platform/com/class_table.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace com {

struct ClassTable::Impl {
    mutable std::mutex mutex;
    std::map<std::string, Factory> factories;
};

namespace {

std::string NormaliseClsid(const std::string& clsid)
{
    std::string key;
    for (char c : clsid) {
        if (c != '{' && c != '}' && !std::isspace(static_cast<unsigned char>(c))) {
            key.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
    }
    return key;
}

}  // namespace

ClassTable& ClassTable::Instance()
{
    static ClassTable table;
    return table;
}

ClassTable::ClassTable() : impl_(std::make_unique<Impl>()) {}
ClassTable::~ClassTable() = default;

void ClassTable::Register(const std::string& clsid, Factory factory)
{
    Impl& i = impl();
    std::lock_guard lock(i.mutex);
    i.factories[NormaliseClsid(clsid)] = std::move(factory);
}

void ClassTable::Unregister(const std::string& clsid)
{
    Impl& i = impl();
    std::lock_guard lock(i.mutex);
    i.factories.erase(NormaliseClsid(clsid));
}

bool ClassTable::IsRegistered(const std::string& clsid) const
{
    Impl& i = impl();
    std::lock_guard lock(i.mutex);
    return i.factories.count(NormaliseClsid(clsid)) != 0;
}

std::unique_ptr<IDispatch> ClassTable::Create(const std::string& clsid) const
{
    Factory factory;
    {
        Impl& i = impl();
        std::lock_guard lock(i.mutex);
        auto it = i.factories.find(NormaliseClsid(clsid));
        if (it == i.factories.end()) {
            return nullptr;
        }
        factory = it->second;
    }
    return factory ? factory() : nullptr;
}

}  // namespace com
