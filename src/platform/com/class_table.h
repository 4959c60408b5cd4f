// Creation of automation objects by CLSID. A class is available only when
// something has registered a factory for it; creation fails otherwise (the
// control is "not installed"), and callers must treat that as a real outcome.
#pragma once

#include "platform/com/dispatch.h"

#include <functional>
#include <memory>
#include <string>

namespace com {

using Factory = std::function<std::unique_ptr<IDispatch>()>;

class ClassTable {
public:
    ~ClassTable();
    static ClassTable& Instance();

    // CLSIDs compare without regard to case or surrounding braces.
    void Register(const std::string& clsid, Factory factory);
    void Unregister(const std::string& clsid);
    bool IsRegistered(const std::string& clsid) const;
    // Null when the class is not registered or its factory returns null.
    std::unique_ptr<IDispatch> Create(const std::string& clsid) const;

private:
    ClassTable();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    Impl& impl() const { return *impl_; }
};

}  // namespace com
