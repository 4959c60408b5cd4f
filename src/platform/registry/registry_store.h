// The registry store: a hierarchy of keys, each with an optional default
// value and named string or number values, kept in a REGEDIT4-style text file
// under the user's XDG data folder. Every change is made under an exclusive
// lock on the file, re-reads the file first and writes it back atomically, so
// concurrent processes never lose each other's changes. A damaged file is an
// error that names the file and the line; it is never overwritten or dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace reg {

// The outcome of a store operation: ok, or a message that says what failed
// and where (file and line for a damaged file, the path and the system's
// error for an I/O failure).
struct Status {
    bool ok = true;
    std::string message;
    static Status Ok() { return {}; }
    static Status Error(std::string m) { return {false, std::move(m)}; }
    explicit operator bool() const { return ok; }
};

struct Value {
    enum class Type { String, Dword };
    Type type = Type::String;
    std::string str;
    std::uint32_t dword = 0;
    static Value String(std::string s) { return {Type::String, std::move(s), 0}; }
    static Value Dword(std::uint32_t d) { return {Type::Dword, {}, d}; }
    bool operator==(const Value&) const = default;
};

// Key and value names compare without regard to ASCII case, as on the
// platform being stood in for; the spelling first written is kept.
struct Caseless {
    bool operator()(const std::string& a, const std::string& b) const;
};

class Key {
public:
    explicit Key(std::string name = {}) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }

    // Paths separate key names with backslashes: "HKEY_CLASSES_ROOT\\AppID".
    Key* Find(const std::string& path);
    const Key* Find(const std::string& path) const;
    // Creates every missing key on the path and returns the last.
    Key& Create(const std::string& path);
    // Removes the direct child with its whole subtree; false when absent.
    bool RemoveChild(const std::string& name);

    std::optional<std::string> defaultValue;
    std::map<std::string, Value, Caseless> values;

    const std::map<std::string, std::unique_ptr<Key>, Caseless>& children() const { return children_; }
    Key& Child(const std::string& name);  // created when missing

private:
    std::string name_;
    std::map<std::string, std::unique_ptr<Key>, Caseless> children_;
};

class Store {
public:
    // The file used when none is given: $XDG_DATA_HOME/strivo/registry.reg,
    // or ~/.local/share/strivo/registry.reg when XDG_DATA_HOME is unset.
    static std::string DefaultPath();

    explicit Store(std::string path = DefaultPath());
    const std::string& path() const { return path_; }

    // Loads the file (a missing file is an empty store) and hands the root
    // to the reader. The root's children are the hives: HKEY_CLASSES_ROOT,
    // HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER.
    Status Read(const std::function<void(const Key& root)>& reader) const;
    // Locks, loads, lets the writer change the tree and writes the result
    // back atomically (temporary file and rename). Nothing is written when
    // the file could not be read, or when the writer returns false.
    Status Modify(const std::function<bool(Key& root)>& writer);

private:
    std::string path_;
};

}  // namespace reg
