// Tests of the registrar: the application's AppID script registered and
// removed, each modifier, replacements, quoting, and scripts that do not
// parse.
#include "platform/registry/registrar.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

namespace {

using regtest::ReadBytes;
using regtest::TempDir;
using regtest::WriteBytes;

// The application's script as the program carries it: tabs and "\r\n".
constexpr const char* kAppScript =
    "HKCR\r\n{\r\n\tNoRemove AppID\r\n\t{\r\n"
    "\t\t{3F1D7A52-6B8E-4C29-9E41-5A7C2D8B0F63} = s 'Strivo'\r\n"
    "\t\t'Strivo.EXE'\r\n\t\t{\r\n"
    "\t\t\tval AppID = s {3F1D7A52-6B8E-4C29-9E41-5A7C2D8B0F63}\r\n"
    "\t\t}\r\n\t}\r\n}\r\n";

constexpr const char* kHeader = "REGEDIT4\n\n";

std::string Apply(reg::Store& store, std::string_view script, reg::RegistrarMode mode,
                  const std::map<std::string, std::string>& repl = {}) {
    const reg::Status s = reg::ApplyRegistrarScript(store, script, mode, repl);
    return s.ok ? std::string() : s.message;
}

TEST(Registrar, AppScriptRegistersAndUnregistersKeepingAppID) {
    TempDir dir;
    reg::Store store(dir.path() + "/registry.reg");
    // Another program's AppID entry must survive the removal.
    WriteBytes(store.path(), std::string(kHeader) + "[HKEY_CLASSES_ROOT\\AppID\\Other.EXE]\n\"AppID\"=\"{X}\"\n");

    ASSERT_EQ(Apply(store, kAppScript, reg::RegistrarMode::Register, {{"Module", "/opt/it''s/Strivo"}}), "");
    EXPECT_EQ(ReadBytes(store.path()),
              std::string(kHeader) +
                  "[HKEY_CLASSES_ROOT]\n\n[HKEY_CLASSES_ROOT\\AppID]\n\n"
                  "[HKEY_CLASSES_ROOT\\AppID\\Other.EXE]\n\"AppID\"=\"{X}\"\n\n"
                  "[HKEY_CLASSES_ROOT\\AppID\\Strivo.EXE]\n\"AppID\"=\"{3F1D7A52-6B8E-4C29-9E41-5A7C2D8B0F63}\"\n\n"
                  "[HKEY_CLASSES_ROOT\\AppID\\{3F1D7A52-6B8E-4C29-9E41-5A7C2D8B0F63}]\n@=\"Strivo\"\n\n");

    // Registering twice changes nothing.
    const std::string once = ReadBytes(store.path());
    ASSERT_EQ(Apply(store, kAppScript, reg::RegistrarMode::Register), "");
    EXPECT_EQ(ReadBytes(store.path()), once);

    ASSERT_EQ(Apply(store, kAppScript, reg::RegistrarMode::Unregister), "");
    EXPECT_EQ(ReadBytes(store.path()), std::string(kHeader) +
                                           "[HKEY_CLASSES_ROOT]\n\n[HKEY_CLASSES_ROOT\\AppID]\n\n"
                                           "[HKEY_CLASSES_ROOT\\AppID\\Other.EXE]\n\"AppID\"=\"{X}\"\n\n");
}

// One row: the store before (sections after the header), the script, the
// mode, the store after.
struct EffectRow {
    const char* label;
    std::string before;
    std::string script;
    reg::RegistrarMode mode;
    std::string after;
};

const std::map<std::string, std::string> kRepl = {{"Module", "/opt/it''s/Strivo"}, {"EMPTY", ""}};

const EffectRow kEffects[] = {
    {"ForceRemove drops the old subtree before creating",
     "[HKEY_CURRENT_USER\\A]\n\"old\"=\"1\"\n\n[HKEY_CURRENT_USER\\A\\Child]\n\n",
     "HKCU { ForceRemove A { val new = d 5 } }", reg::RegistrarMode::Register,
     "[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\A]\n\"new\"=dword:00000005\n\n"},
    {"plain key keeps what is already there",
     "[HKEY_CURRENT_USER\\A]\n\"old\"=\"1\"\n\n",
     "HKCU { A { val new = d 0x10 } }", reg::RegistrarMode::Register,
     "[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\A]\n\"new\"=dword:00000010\n\"old\"=\"1\"\n\n"},
    {"Delete removes the key in register mode and ignores its body",
     "[HKEY_CURRENT_USER\\A\\Gone\\Deep]\n\n",
     "HKCU { A { Delete Gone { val x = s y } } }", reg::RegistrarMode::Register,
     "[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\A]\n\n"},
    {"Delete keys are left alone in unregister mode (nothing changes, the file is not rewritten)",
     "[HKEY_CURRENT_USER\\A\\Gone]\n\n",
     "HKCU { NoRemove A { Delete Gone } }", reg::RegistrarMode::Unregister,
     "[HKEY_CURRENT_USER\\A\\Gone]\n\n"},
    {"unregister removes a key with its whole subtree",
     "[HKEY_CURRENT_USER\\A\\B\\C]\n\"v\"=\"1\"\n\n[HKEY_CURRENT_USER\\Keep]\n\n",
     "HKCU { A { B } }", reg::RegistrarMode::Unregister,
     "[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\Keep]\n\n"},
    {"NoRemove keeps the key, its children are still processed, its named values go",
     "[HKEY_CURRENT_USER\\A]\n@=\"d\"\n\"mine\"=\"1\"\n\"theirs\"=\"2\"\n\n[HKEY_CURRENT_USER\\A\\B]\n\n"
     "[HKEY_CURRENT_USER\\A\\C]\n\n",
     "HKCU { NoRemove A = s 'd' { val mine = s 1 \n B } }", reg::RegistrarMode::Unregister,
     "[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\A]\n@=\"d\"\n\"theirs\"=\"2\"\n\n[HKEY_CURRENT_USER\\A\\C]\n\n"},
    {"unregistering what is not there writes nothing", "", "HKCR { A { B } }", reg::RegistrarMode::Unregister,
     ""},
    {"replacements, %% and doubled apostrophes",
     "",
     "HKLM { 'Key %%1' { val Path = s '%MODULE%' \n val Raw = s %Module% \n val E = s '%EMPTY%' } }",
     reg::RegistrarMode::Register,
     "[HKEY_LOCAL_MACHINE]\n\n[HKEY_LOCAL_MACHINE\\Key %1]\n\"E\"=\"\"\n\"Path\"=\"/opt/it's/Strivo\"\n"
     "\"Raw\"=\"/opt/it''s/Strivo\"\n\n"},
    {"quoted keywords are names; keywords ignore case; long root names",
     "",
     "HKEY_CURRENT_USER { noremove 'NoRemove' { 'val' = s 'it''s' \n VAL 'd' = D '4294967295' } }",
     reg::RegistrarMode::Register,
     "[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\NoRemove]\n\"d\"=dword:ffffffff\n\n"
     "[HKEY_CURRENT_USER\\NoRemove\\val]\n@=\"it's\"\n\n"},
    {"several roots, names with blanks and UTF-8",
     "",
     "HKCR { 'a b' = s 'x y' }\nHKU { 'Größe' { val 'ä' = s '€' } }", reg::RegistrarMode::Register,
     "[HKEY_CLASSES_ROOT]\n\n[HKEY_CLASSES_ROOT\\a b]\n@=\"x y\"\n\n"
     "[HKEY_USERS]\n\n[HKEY_USERS\\Größe]\n\"ä\"=\"€\"\n\n"},
};

TEST(Registrar, ModifiersAndValuesHaveTheirEffect) {
    for (const EffectRow& row : kEffects) {
        SCOPED_TRACE(row.label);
        TempDir dir;
        reg::Store store(dir.path() + "/registry.reg");
        if (!row.before.empty()) WriteBytes(store.path(), kHeader + row.before);
        ASSERT_EQ(Apply(store, row.script, row.mode, kRepl), "");
        if (row.after.empty() && row.before.empty())
            EXPECT_FALSE(std::filesystem::exists(store.path()));
        else
            EXPECT_EQ(ReadBytes(store.path()), kHeader + row.after);
    }
}

struct ErrorRow {
    const char* label;
    std::string script;
    int line;
    const char* what;
};

const ErrorRow kErrors[] = {
    {"unknown root", "HKCR { A }\nHKXX { B }", 2, "unknown root key"},
    {"quoted root", "'HKCR' { A }", 1, "unknown root key"},
    {"root without brace", "HKCR\nA", 2, "expected '{'"},
    {"missing closing brace", "HKCR\n{\n\tA\n", 3, "missing '}'"},
    {"unclosed apostrophe", "HKCR {\n A = s 'abc\n}\n", 2, "apostrophe"},
    {"unknown value type", "HKCR {\n\n A = m 'x' }", 3, "value type"},
    {"dword default value", "HKCR { A = d 1 }", 1, "must be a string"},
    {"bad number", "HKCR {\n val N = d 12x }", 2, "bad number"},
    {"number too large", "HKCR { val N = d 4294967296 }", 1, "bad number"},
    {"negative number", "HKCR { val N = d -1 }", 1, "bad number"},
    {"val without =", "HKCR { val N s 'x' }", 1, "expected '='"},
    {"val at end", "HKCR { val", 1, "value name"},
    {"key name missing after modifier", "HKCR { NoRemove }", 1, "key name"},
    {"backslash in key name", "HKCR {\n 'A\\B' }", 2, "bad key name"},
    {"unknown replacement", "HKCR {\n\n\n A = s '%NOPE%' }", 4, "%NOPE%"},
    {"unmatched percent", "HKCR { A = s '50%' }\n", 1, "unmatched '%'"},
    {"control byte", std::string("HKCR { A\x01 }"), 1, "control character"},
    {"nested too deeply", "HKCR" + [] {
         std::string s;
         for (int i = 0; i < 100; ++i) s += " { K";
         return s;
     }(), 1, "nested too deeply"},
};

TEST(Registrar, ScriptThatDoesNotParseNamesTheLineAndChangesNothing) {
    for (const ErrorRow& row : kErrors) {
        SCOPED_TRACE(row.label);
        TempDir dir;
        reg::Store store(dir.path() + "/registry.reg");
        const std::string before = std::string(kHeader) + "[HKEY_CLASSES_ROOT\\A]\n\"v\"=\"1\"\n\n";
        WriteBytes(store.path(), before);
        for (auto mode : {reg::RegistrarMode::Register, reg::RegistrarMode::Unregister}) {
            const std::string msg = Apply(store, row.script, mode, kRepl);
            EXPECT_EQ(msg.rfind("registrar script, line " + std::to_string(row.line) + ": ", 0), 0u) << msg;
            EXPECT_NE(msg.find(row.what), std::string::npos) << msg;
            EXPECT_EQ(ReadBytes(store.path()), before);
        }
    }
}

TEST(Registrar, DamagedStoreIsReportedAndLeftAlone) {
    TempDir dir;
    reg::Store store(dir.path() + "/registry.reg");
    const std::string damaged = "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\AppID\n";
    WriteBytes(store.path(), damaged);
    const std::string msg = Apply(store, kAppScript, reg::RegistrarMode::Register);
    EXPECT_EQ(msg.rfind("registry file " + store.path() + ", line 3: ", 0), 0u) << msg;
    EXPECT_EQ(ReadBytes(store.path()), damaged);
}

TEST(Registrar, ArbitraryScriptBytesNeverCrash) {
    TempDir dir;
    reg::Store store(dir.path() + "/registry.reg");
    std::string script = kAppScript;
    unsigned seed = 7;
    for (int i = 0; i < 2000; ++i) {
        std::string s = script;
        for (int k = 0; k < 4; ++k) {
            seed = seed * 1103515245u + 12345u;
            const std::size_t at = (seed >> 8) % s.size();
            s[at] = static_cast<char>(seed >> 3);
        }
        const reg::Status st = reg::ApplyRegistrarScript(
            store, s, i % 2 ? reg::RegistrarMode::Register : reg::RegistrarMode::Unregister, kRepl);
        if (!st.ok) {
            ASSERT_EQ(st.message.rfind("registrar script, line ", 0), 0u) << st.message;
        }
    }
}

}  // namespace
