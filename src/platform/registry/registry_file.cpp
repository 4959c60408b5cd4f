// Parsing and writing the REGEDIT4-style registry file (see registry_file.h
// for the layout and the escapes).
#include "platform/registry/registry_file.h"

#include <array>
#include <cstdio>

namespace reg::detail {

namespace {

constexpr std::array<std::string_view, 5> kHives = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_CURRENT_CONFIG"};

constexpr int kMaxDepth = 512;

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string Printable(std::string_view s) {
    // For error messages: control bytes shown as \xHH, long names cut short.
    std::string out;
    for (unsigned char c : s.substr(0, 80)) {
        if (IsControl(c)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (s.size() > 80) out += "...";
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted string starting at s[pos] == '"'. Advances pos past the
// closing quote.
bool ReadQuoted(std::string_view s, std::size_t& pos, std::string& out, std::string& what) {
    ++pos;  // opening quote
    out.clear();
    while (pos < s.size()) {
        const char c = s[pos++];
        if (c == '"') return true;
        if (c != '\\') {
            if (IsControl(static_cast<unsigned char>(c)) && c != '\t') {
                what = "control character inside quotes (must be escaped)";
                return false;
            }
            out += c;
            continue;
        }
        if (pos >= s.size()) break;
        const char e = s[pos++];
        switch (e) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
            const int hi = pos < s.size() ? HexDigit(s[pos]) : -1;
            const int lo = pos + 1 < s.size() ? HexDigit(s[pos + 1]) : -1;
            if (hi < 0 || lo < 0) {
                what = "bad escape \\x (two hex digits expected)";
                return false;
            }
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
            break;
        }
        default:
            what = "bad escape \\" + Printable(std::string_view(&e, 1));
            return false;
        }
    }
    what = "missing closing quotation mark";
    return false;
}

void WriteQuoted(std::string_view s, std::string& out) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (IsControl(c)) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

bool ParseSection(std::string_view line, Key& root, Key*& current, std::string& what) {
    if (line.size() < 2 || line.back() != ']') {
        what = "bad section header (expected [KEY\\PATH])";
        return false;
    }
    const std::string_view path = line.substr(1, line.size() - 2);
    Key* key = &root;
    std::size_t start = 0;
    bool first = true;
    int depth = 0;
    while (true) {
        if (++depth > kMaxDepth) {
            what = "bad section header (key path deeper than 512 levels)";
            return false;
        }
        const std::size_t end = path.find('\\', start);
        const std::string_view part =
            path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part.empty()) {
            what = "bad section header (empty key name in \"" + Printable(path) + "\")";
            return false;
        }
        for (unsigned char c : part) {
            if (IsControl(c)) {
                what = "bad section header (control character in key name)";
                return false;
            }
        }
        if (first && !IsHiveName(part)) {
            what = "unknown hive \"" + Printable(part) + "\"";
            return false;
        }
        first = false;
        key = &key->Child(std::string(part));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    current = key;
    return true;
}

bool ParseValueLine(std::string_view line, Key& key, std::string& what) {
    std::size_t pos = 0;
    bool isDefault = false;
    std::string name;
    if (line[0] == '@') {
        isDefault = true;
        pos = 1;
    } else if (line[0] == '"') {
        if (!ReadQuoted(line, pos, name, what)) return false;
    } else {
        what = "bad value line (expected @= or \"Name\"=)";
        return false;
    }
    if (pos >= line.size() || line[pos] != '=') {
        what = "bad value line (missing '=')";
        return false;
    }
    ++pos;
    const std::string_view rest = line.substr(pos);
    if (!rest.empty() && rest[0] == '"') {
        std::string text;
        std::size_t p = 0;
        if (!ReadQuoted(rest, p, text, what)) return false;
        if (p != rest.size()) {
            what = "bad value line (text after the closing quotation mark)";
            return false;
        }
        if (isDefault)
            key.defaultValue = std::move(text);
        else
            key.values[name] = Value::String(std::move(text));
        return true;
    }
    constexpr std::string_view kDword = "dword:";
    if (rest.substr(0, kDword.size()) == kDword) {
        const std::string_view digits = rest.substr(kDword.size());
        if (digits.empty() || digits.size() > 8) {
            what = "bad dword value (1 to 8 hex digits expected)";
            return false;
        }
        std::uint32_t v = 0;
        for (char c : digits) {
            const int d = HexDigit(c);
            if (d < 0) {
                what = "bad dword value (1 to 8 hex digits expected)";
                return false;
            }
            v = v * 16u + static_cast<std::uint32_t>(d);
        }
        if (isDefault) {
            what = "a default value (@) must be a string";
            return false;
        }
        key.values[name] = Value::Dword(v);
        return true;
    }
    what = "bad value line (expected a quoted string or dword:)";
    return false;
}

bool CheckKeyName(const std::string& name, std::string& what) {
    bool ok = !name.empty();
    for (unsigned char c : name) {
        if (c == '\\' || IsControl(c)) ok = false;
    }
    if (!ok) {
        what = "key name \"" + Printable(name) +
               "\" cannot be stored (empty, or holds a backslash or a control character)";
    }
    return ok;
}

// depth counts the key names of path, the hive being 1; the reader refuses
// sections deeper than kMaxDepth, so such a key is refused here too rather
// than written into a file that could no longer be read.
bool WriteKey(const Key& key, const std::string& path, int depth, std::string& out, std::string& what) {
    if (depth > kMaxDepth) {
        what = "key \"" + Printable(path) + "\" cannot be stored (deeper than 512 levels)";
        return false;
    }
    out += '[';
    out += path;
    out += "]\n";
    if (key.defaultValue) {
        out += "@=";
        WriteQuoted(*key.defaultValue, out);
        out += '\n';
    }
    for (const auto& [name, value] : key.values) {
        WriteQuoted(name, out);
        out += '=';
        if (value.type == Value::Type::String) {
            WriteQuoted(value.str, out);
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(value.dword));
            out += buf;
        }
        out += '\n';
    }
    out += '\n';
    for (const auto& [name, child] : key.children()) {
        if (!CheckKeyName(child->name(), what)) return false;
        if (!WriteKey(*child, path + '\\' + child->name(), depth + 1, out, what)) return false;
    }
    return true;
}

}  // namespace

bool IsHiveName(std::string_view name) {
    for (std::string_view h : kHives) {
        if (h.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < h.size() && same; ++i) {
            char c = name[i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            same = c == h[i];
        }
        if (same) return true;
    }
    return false;
}

bool ParseRegistryText(std::string_view text, Key& root, int& line, std::string& what) {
    line = 0;
    if (text.empty()) return true;  // a file of no bytes holds no keys
    Key* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view l = text.substr(pos, end - pos);
        pos = end + 1;
        ++line;
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        if (line == 1) {
            if (l != "REGEDIT4") {
                what = "not a registry file (first line must be REGEDIT4)";
                return false;
            }
            continue;
        }
        if (l.empty() || l[0] == ';') continue;
        if (l[0] == '[') {
            if (!ParseSection(l, root, current, what)) return false;
            continue;
        }
        if (!current) {
            what = "value line before the first section";
            return false;
        }
        if (!ParseValueLine(l, *current, what)) return false;
    }
    line = 0;
    return true;
}

bool WriteRegistryText(const Key& root, std::string& out, std::string& what) {
    if (root.defaultValue || !root.values.empty()) {
        what = "values at the root (outside any hive) cannot be stored";
        return false;
    }
    out = "REGEDIT4\n\n";
    for (const auto& [name, hive] : root.children()) {
        if (!IsHiveName(hive->name())) {
            what = "unknown hive \"" + Printable(hive->name()) + "\" cannot be stored";
            return false;
        }
        if (!WriteKey(*hive, hive->name(), 1, out, what)) return false;
    }
    return true;
}

}  // namespace reg::detail
