// Reading and writing the OPOS device entries of the registry store.
#include "opos/control/device_entries.h"

namespace opos {

namespace {

DeviceEntry EntryFromKey(const reg::Key& key)
{
    DeviceEntry entry;
    entry.logicalName = key.name();
    entry.service = key.defaultValue.value_or(std::string());
    for (const auto& [name, value] : key.values) {
        entry.settings[name] =
            value.type == reg::Value::Type::Dword ? std::to_string(value.dword) : value.str;
    }
    return entry;
}

std::string CheckName(const std::string& name)
{
    if (name.empty()) {
        return "the logical device name is empty";
    }
    for (char c : name) {
        if (c == '\\') {
            return "the logical device name \"" + name + "\" holds a backslash";
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "the logical device name holds a control character";
        }
    }
    return {};
}

}  // namespace

reg::Status DeviceEntries::Find(const std::string& logicalName,
                                std::optional<DeviceEntry>& entry) const
{
    entry.reset();
    if (!CheckName(logicalName).empty()) {
        return reg::Status::Ok();  // such a name can never have an entry
    }
    return store_.Read([&](const reg::Key& root) {
        const reg::Key* key = root.Find(std::string(kMsrEntriesKey) + "\\" + logicalName);
        if (key) {
            entry = EntryFromKey(*key);
        }
    });
}

reg::Status DeviceEntries::List(std::vector<DeviceEntry>& entries) const
{
    entries.clear();
    return store_.Read([&](const reg::Key& root) {
        const reg::Key* key = root.Find(kMsrEntriesKey);
        if (!key) {
            return;
        }
        for (const auto& [name, child] : key->children()) {
            entries.push_back(EntryFromKey(*child));
        }
    });
}

reg::Status DeviceEntries::Set(const DeviceEntry& entry)
{
    if (std::string why = CheckName(entry.logicalName); !why.empty()) {
        return reg::Status::Error(why);
    }
    for (const auto& [name, value] : entry.settings) {
        if (name.empty()) {
            return reg::Status::Error("a setting of \"" + entry.logicalName + "\" has no name");
        }
    }
    return store_.Modify([&](reg::Key& root) {
        reg::Key& parent = root.Create(kMsrEntriesKey);
        parent.RemoveChild(entry.logicalName);
        reg::Key& key = parent.Child(entry.logicalName);
        if (!entry.service.empty()) {
            key.defaultValue = entry.service;
        }
        for (const auto& [name, value] : entry.settings) {
            key.values[name] = reg::Value::String(value);
        }
        return true;
    });
}

reg::Status DeviceEntries::Remove(const std::string& logicalName, bool& removed)
{
    removed = false;
    if (!CheckName(logicalName).empty()) {
        return reg::Status::Ok();
    }
    return store_.Modify([&](reg::Key& root) {
        reg::Key* parent = root.Find(kMsrEntriesKey);
        removed = parent && parent->RemoveChild(logicalName);
        return removed;
    });
}

reg::Status DeviceEntries::EnsureDefault(bool& created)
{
    created = false;
    return store_.Modify([&](reg::Key& root) {
        reg::Key& parent = root.Create(kMsrEntriesKey);
        if (parent.Find(kDefaultLogicalName)) {
            return false;
        }
        parent.Child(kDefaultLogicalName).defaultValue = kSimulatedServiceName;
        created = true;
        return true;
    });
}

}  // namespace opos
