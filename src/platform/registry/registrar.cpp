// The registrar: registrar scripts parsed into a tree of key entries and
// applied to the registry store.
//
// Script syntax, as read here:
//   script  := root*
//   root    := HKCR | HKEY_CLASSES_ROOT | HKCU | HKEY_CURRENT_USER | HKLM |
//              HKEY_LOCAL_MACHINE | HKU | HKEY_USERS | HKCC |
//              HKEY_CURRENT_CONFIG, then '{' item* '}'
//   item    := [NoRemove | ForceRemove | Delete] name ['=' value] ['{' item* '}']
//            | 'val' name '=' value
//   value   := ('s' | 'd') token       d: decimal or 0x hex, 0..4294967295
// Tokens are separated by white space (so '{', '}' and '=' stand alone, and
// a key may be called "{GUID}"); a token starting with an apostrophe runs to
// the closing apostrophe, '' inside it standing for one apostrophe. Keywords
// compare without regard to case; quoting makes a keyword an ordinary name.
// Before tokenising, %NAME% is replaced by the value given for NAME (names
// caseless) and %% by a single %; an unknown name is an error.
//
// Register: keys are created, default values and named values set.
// ForceRemove removes the key with its subtree before creating it again;
// Delete removes the key with its subtree and ignores its body.
// Unregister: every key of the script is removed with its subtree, except
// root keys and keys marked NoRemove, whose items are still processed (a
// named value listed under a NoRemove key is removed; its default value is
// left alone). Delete keys are left alone.
#include "platform/registry/registrar.h"

#include <memory>
#include <vector>

namespace reg {

namespace {

enum class Flag { None, NoRemove, ForceRemove, Delete };

struct ValueEntry {
    std::string name;
    Value value;
};

struct KeyEntry {
    std::string name;
    Flag flag = Flag::None;
    std::optional<std::string> defaultValue;
    std::vector<ValueEntry> values;
    std::vector<std::unique_ptr<KeyEntry>> children;
};

struct Token {
    std::string text;
    bool quoted = false;
    int line = 0;
};

bool EqualCaseless(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string LineError(int line, const std::string& what) {
    return "registrar script, line " + std::to_string(line) + ": " + what;
}

// Replaces %NAME% and %%; lines[i] is the script line of out[i].
bool Preprocess(std::string_view script, const std::map<std::string, std::string>& replacements,
                std::string& out, std::vector<int>& lines, std::string& error) {
    int line = 1;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (c != '%') {
            out += c;
            lines.push_back(line);
            if (c == '\n') ++line;
            continue;
        }
        const std::size_t end = script.find('%', i + 1);
        const std::size_t nl = script.find('\n', i + 1);
        if (end == std::string_view::npos || nl < end) {
            error = LineError(line, "unmatched '%'");
            return false;
        }
        const std::string_view name = script.substr(i + 1, end - i - 1);
        std::string value;
        if (name.empty()) {
            value = "%";
        } else {
            bool found = false;
            for (const auto& [k, v] : replacements) {
                if (EqualCaseless(k, name)) {
                    value = v;
                    found = true;
                    break;
                }
            }
            if (!found) {
                error = LineError(line, "no replacement for %" + std::string(name) + "%");
                return false;
            }
        }
        out += value;
        lines.insert(lines.end(), value.size(), line);
        i = end;
    }
    return true;
}

bool Tokenise(const std::string& text, const std::vector<int>& lines, std::vector<Token>& tokens,
              std::string& error) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        Token t;
        t.line = lines[i];
        if (c == '\'') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < text.size()) {
                if (text[i] == '\'') {
                    if (i + 1 < text.size() && text[i + 1] == '\'') {
                        t.text += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                t.text += text[i++];
            }
            if (!closed) {
                error = LineError(t.line, "missing closing apostrophe");
                return false;
            }
        } else {
            while (i < text.size() && !IsBlank(text[i])) {
                if (static_cast<unsigned char>(text[i]) < 0x20 || text[i] == 0x7F) {
                    error = LineError(lines[i], "control character in the script");
                    return false;
                }
                t.text += text[i++];
            }
        }
        tokens.push_back(std::move(t));
    }
    return true;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    bool ParseScript(std::vector<std::unique_ptr<KeyEntry>>& roots, std::string& error) {
        while (pos_ < tokens_.size()) {
            const Token& t = tokens_[pos_++];
            const char* hive = t.quoted ? nullptr : HiveFor(t.text);
            if (!hive) return Fail(t.line, "unknown root key \"" + t.text + "\"", error);
            auto root = std::make_unique<KeyEntry>();
            root->name = hive;
            root->flag = Flag::NoRemove;
            if (!Expect("{", error)) return false;
            if (!ParseBody(*root, error)) return false;
            roots.push_back(std::move(root));
        }
        return true;
    }

private:
    static constexpr int kMaxDepth = 64;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;

    static const char* HiveFor(const std::string& s) {
        static const struct {
            const char* shortName;
            const char* longName;
        } kRoots[] = {{"HKCR", "HKEY_CLASSES_ROOT"},  {"HKCU", "HKEY_CURRENT_USER"},
                      {"HKLM", "HKEY_LOCAL_MACHINE"}, {"HKU", "HKEY_USERS"},
                      {"HKCC", "HKEY_CURRENT_CONFIG"}};
        for (const auto& r : kRoots) {
            if (EqualCaseless(s, r.shortName) || EqualCaseless(s, r.longName)) return r.longName;
        }
        return nullptr;
    }

    bool Fail(int line, const std::string& what, std::string& error) {
        error = LineError(line, what);
        return false;
    }
    int LastLine() const { return tokens_.empty() ? 1 : tokens_.back().line; }
    bool IsWord(const Token& t, const char* word) const { return !t.quoted && EqualCaseless(t.text, word); }

    bool Expect(const char* what, std::string& error) {
        if (pos_ >= tokens_.size())
            return Fail(LastLine(), std::string("unexpected end of script, expected '") + what + "'", error);
        const Token& t = tokens_[pos_];
        if (t.quoted || t.text != what)
            return Fail(t.line, std::string("expected '") + what + "', found \"" + t.text + "\"", error);
        ++pos_;
        return true;
    }

    bool Name(std::string& name, const char* of, std::string& error) {
        if (pos_ >= tokens_.size())
            return Fail(LastLine(), std::string("unexpected end of script, expected ") + of, error);
        const Token& t = tokens_[pos_];
        if (!t.quoted && (t.text == "{" || t.text == "}" || t.text == "="))
            return Fail(t.line, std::string("expected ") + of + ", found '" + t.text + "'", error);
        name = t.text;
        ++pos_;
        return true;
    }

    bool ParseValue(Value& value, std::string& error) {
        if (!Expect("=", error)) return false;
        if (pos_ >= tokens_.size()) return Fail(LastLine(), "unexpected end of script, expected a value type", error);
        const Token& type = tokens_[pos_++];
        const bool isString = IsWord(type, "s");
        const bool isDword = IsWord(type, "d");
        if (!isString && !isDword)
            return Fail(type.line, "unsupported value type \"" + type.text + "\" (s or d expected)", error);
        if (pos_ >= tokens_.size()) return Fail(LastLine(), "unexpected end of script, expected a value", error);
        const Token& data = tokens_[pos_++];
        if (isString) {
            value = Value::String(data.text);
            return true;
        }
        std::uint64_t v = 0;
        const std::string& s = data.text;
        const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
        const std::size_t start = hex ? 2 : 0;
        bool ok = s.size() > start && s.size() - start <= (hex ? 8u : 10u);
        for (std::size_t i = start; ok && i < s.size(); ++i) {
            const char c = s[i];
            int d = -1;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            if (d < 0) ok = false;
            v = v * (hex ? 16u : 10u) + static_cast<std::uint64_t>(d < 0 ? 0 : d);
        }
        if (!ok || v > 0xFFFFFFFFu)
            return Fail(data.line, "bad number \"" + s + "\" (0 to 4294967295, decimal or 0x hex)", error);
        value = Value::Dword(static_cast<std::uint32_t>(v));
        return true;
    }

    static bool GoodKeyName(const std::string& name) {
        if (name.empty()) return false;
        for (unsigned char c : name) {
            if (c == '\\' || c < 0x20 || c == 0x7F) return false;
        }
        return true;
    }

    // Items up to and including the closing brace of a body.
    bool ParseBody(KeyEntry& key, std::string& error, int depth = 1) {
        if (depth > kMaxDepth)
            return Fail(tokens_[pos_ - 1].line, "keys nested too deeply (more than 64 levels)", error);
        while (true) {
            if (pos_ >= tokens_.size()) return Fail(LastLine(), "missing '}'", error);
            const Token& t = tokens_[pos_];
            if (!t.quoted && t.text == "}") {
                ++pos_;
                return true;
            }
            if (IsWord(t, "val")) {
                ++pos_;
                ValueEntry v;
                if (!Name(v.name, "a value name", error)) return false;
                if (!ParseValue(v.value, error)) return false;
                key.values.push_back(std::move(v));
                continue;
            }
            auto child = std::make_unique<KeyEntry>();
            if (IsWord(t, "NoRemove")) child->flag = Flag::NoRemove;
            else if (IsWord(t, "ForceRemove")) child->flag = Flag::ForceRemove;
            else if (IsWord(t, "Delete")) child->flag = Flag::Delete;
            if (child->flag != Flag::None) ++pos_;
            const int line = pos_ < tokens_.size() ? tokens_[pos_].line : LastLine();
            if (!Name(child->name, "a key name", error)) return false;
            if (!GoodKeyName(child->name))
                return Fail(line, "bad key name \"" + child->name + "\" (backslash or control character)", error);
            if (pos_ < tokens_.size() && !tokens_[pos_].quoted && tokens_[pos_].text == "=") {
                Value v;
                const int valueLine = tokens_[pos_].line;
                if (!ParseValue(v, error)) return false;
                if (v.type != Value::Type::String)
                    return Fail(valueLine, "the default value of a key must be a string (s)", error);
                child->defaultValue = v.str;
            }
            if (pos_ < tokens_.size() && !tokens_[pos_].quoted && tokens_[pos_].text == "{") {
                ++pos_;
                if (!ParseBody(*child, error, depth + 1)) return false;
            }
            key.children.push_back(std::move(child));
        }
    }
};

bool Register(const KeyEntry& entry, Key& key) {
    bool changed = false;
    if (entry.defaultValue && key.defaultValue != entry.defaultValue) {
        key.defaultValue = entry.defaultValue;
        changed = true;
    }
    for (const ValueEntry& v : entry.values) {
        auto it = key.values.find(v.name);
        if (it == key.values.end() || !(it->second == v.value)) {
            key.values[v.name] = v.value;
            changed = true;
        }
    }
    for (const auto& child : entry.children) {
        if (child->flag == Flag::Delete) {
            changed |= key.RemoveChild(child->name);
            continue;
        }
        if (child->flag == Flag::ForceRemove) changed |= key.RemoveChild(child->name);
        if (!key.children().count(child->name)) changed = true;
        changed |= Register(*child, key.Child(child->name));
    }
    return changed;
}

bool Unregister(const KeyEntry& entry, Key& key) {
    bool changed = false;
    for (const ValueEntry& v : entry.values) changed |= key.values.erase(v.name) > 0;
    for (const auto& child : entry.children) {
        if (child->flag == Flag::Delete) continue;
        if (child->flag != Flag::NoRemove) {
            changed |= key.RemoveChild(child->name);
            continue;
        }
        auto it = key.children().find(child->name);
        if (it != key.children().end()) changed |= Unregister(*child, *it->second);
    }
    return changed;
}

}  // namespace

Status ApplyRegistrarScript(Store& store, std::string_view script, RegistrarMode mode,
                            const std::map<std::string, std::string>& replacements) {
    std::vector<std::unique_ptr<KeyEntry>> roots;
    try {
        std::string text;
        std::vector<int> lines;
        std::string error;
        std::vector<Token> tokens;
        if (!Preprocess(script, replacements, text, lines, error) || !Tokenise(text, lines, tokens, error))
            return Status::Error(error);
        Parser parser(std::move(tokens));
        if (!parser.ParseScript(roots, error)) return Status::Error(error);
    } catch (const std::exception& e) {
        return Status::Error(std::string("registrar script: ") + e.what());
    }
    return store.Modify([&](Key& root) {
        bool changed = false;
        for (const auto& r : roots) {
            if (mode == RegistrarMode::Register) {
                if (!root.children().count(r->name)) changed = true;
                changed |= Register(*r, root.Child(r->name));
            } else if (auto it = root.children().find(r->name); it != root.children().end()) {
                changed |= Unregister(*r, *it->second);
            }
        }
        return changed;
    });
}

}  // namespace reg
