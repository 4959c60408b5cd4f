// Tests of the registry store: the file format's round trip, damaged and
// garbage files, unwritable folders, and concurrent writers.
#include "platform/registry/registry_store.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <random>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using regtest::ReadBytes;
using regtest::TempDir;
using regtest::WriteBytes;

// A readable dump of a tree with every byte of names and values visible.
std::string Hexed(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '%') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

void Dump(const reg::Key& key, const std::string& path, std::string& out) {
    out += "[" + Hexed(path) + "]";
    if (key.defaultValue) out += " @=" + Hexed(*key.defaultValue);
    for (const auto& [name, v] : key.values) {
        out += " " + Hexed(name) + "=";
        out += v.type == reg::Value::Type::String ? "s:" + Hexed(v.str) : "d:" + std::to_string(v.dword);
    }
    out += "\n";
    for (const auto& [name, child] : key.children()) Dump(*child, path + "\\" + child->name(), out);
}

std::string DumpTree(const reg::Key& root) {
    std::string out;
    for (const auto& [name, child] : root.children()) Dump(*child, child->name(), out);
    return out;
}

std::string DumpStore(const reg::Store& store) {
    std::string out;
    const reg::Status s = store.Read([&](const reg::Key& root) { out = DumpTree(root); });
    EXPECT_TRUE(s.ok) << s.message;
    return out;
}

// ---- Round trip ------------------------------------------------------------

struct RoundTripRow {
    const char* label;
    std::function<void(reg::Key&)> build;
};

const RoundTripRow kRoundTrips[] = {
    {"empty keys persist",
     [](reg::Key& r) {
         r.Create("HKEY_CLASSES_ROOT\\AppID\\{6C2B5F0E-0000-4000-8000-000000000001}");
         r.Create("HKEY_CURRENT_USER");
     }},
    {"default, string and dword values",
     [](reg::Key& r) {
         reg::Key& k = r.Create("HKEY_LOCAL_MACHINE\\Software\\Strivo");
         k.defaultValue = "Strivo";
         k.values["Name"] = reg::Value::String("value");
         k.values["Zero"] = reg::Value::Dword(0);
         k.values["Max"] = reg::Value::Dword(0xFFFFFFFFu);
         k.values["Ten"] = reg::Value::Dword(10);
     }},
    {"escapes in values and value names",
     [](reg::Key& r) {
         reg::Key& k = r.Create("HKEY_CLASSES_ROOT\\Odd");
         k.defaultValue = std::string("back\\slash \"quoted\" \n\r\t end");
         k.values["with \"quote\" and \\ and = and ]"] = reg::Value::String("x");
         k.values[std::string("nul\0byte", 8)] = reg::Value::String(std::string("a\0b\x01\x1f\x7f", 6));
         k.values[""] = reg::Value::String("empty name is not the default");
         k.values["empty"] = reg::Value::String("");
     }},
    {"UTF-8 and bytes that are not UTF-8",
     [](reg::Key& r) {
         reg::Key& k = r.Create("HKEY_CURRENT_USER\\Größe\\日本語 [x] = \"y\"");
         k.values["Zeichen"] = reg::Value::String("äöü € 😀");
         k.values["raw"] = reg::Value::String("\xff\xfe\x80 \xc3");
         k.defaultValue = "";
     }},
    {"siblings whose names differ only in case stay one key",
     [](reg::Key& r) {
         r.Create("HKEY_CLASSES_ROOT\\AppID\\Strivo.EXE").values["AppID"] = reg::Value::String("{A}");
         r.Create("hkey_classes_root\\APPID\\strivo.exe").values["appid"] = reg::Value::String("{B}");
         r.Create("HKEY_CLASSES_ROOT\\b");
         r.Create("HKEY_CLASSES_ROOT\\A");
     }},
};

TEST(RegistryFile, RoundTripKeepsEveryKeyAndValue) {
    for (const RoundTripRow& row : kRoundTrips) {
        SCOPED_TRACE(row.label);
        TempDir dir;
        reg::Store store(dir.path() + "/sub/registry.reg");
        std::string expected;
        reg::Status s = store.Modify([&](reg::Key& root) {
            row.build(root);
            expected = DumpTree(root);
            return true;
        });
        ASSERT_TRUE(s.ok) << s.message;
        EXPECT_EQ(DumpStore(store), expected);

        // Writing the loaded tree again gives the same bytes.
        const std::string first = ReadBytes(store.path());
        s = store.Modify([](reg::Key&) { return true; });
        ASSERT_TRUE(s.ok) << s.message;
        EXPECT_EQ(ReadBytes(store.path()), first);
    }
}

TEST(RegistryFile, WritesTheDocumentedLayout) {
    TempDir dir;
    reg::Store store(dir.path() + "/registry.reg");
    ASSERT_TRUE(store.Modify([](reg::Key& root) {
        reg::Key& guid = root.Create("HKEY_CLASSES_ROOT\\AppID\\{G}");
        guid.defaultValue = "Strivo";
        reg::Key& exe = root.Create("HKEY_CLASSES_ROOT\\AppID\\Strivo.EXE");
        exe.values["AppID"] = reg::Value::String("{G}");
        exe.values["Count"] = reg::Value::Dword(10);
        exe.values["Text"] = reg::Value::String("a\\b\"c\nd\x01");
        return true;
    }));
    EXPECT_EQ(ReadBytes(store.path()),
              "REGEDIT4\n\n"
              "[HKEY_CLASSES_ROOT]\n\n"
              "[HKEY_CLASSES_ROOT\\AppID]\n\n"
              "[HKEY_CLASSES_ROOT\\AppID\\Strivo.EXE]\n"
              "\"AppID\"=\"{G}\"\n\"Count\"=dword:0000000a\n\"Text\"=\"a\\\\b\\\"c\\nd\\x01\"\n\n"
              "[HKEY_CLASSES_ROOT\\AppID\\{G}]\n@=\"Strivo\"\n\n");
    struct stat st {};
    ASSERT_EQ(::stat(store.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(RegistryFile, ReadsCrLfCommentsAndShortDwords) {
    TempDir dir;
    reg::Store store(dir.path() + "/registry.reg");
    WriteBytes(store.path(),
               "REGEDIT4\r\n\r\n; a comment\r\n[HKEY_CURRENT_USER\\A]\r\n\"N\"=dword:A\r\n"
               "[hkey_current_user\\a\\B]\r\n@=\"x\"\r\n");
    EXPECT_EQ(DumpStore(store), "[HKEY_CURRENT_USER]\n[HKEY_CURRENT_USER\\A] N=d:10\n[HKEY_CURRENT_USER\\A\\B] @=x\n");
}

TEST(RegistryStore, MissingFileIsEmptyAndWriterFalseWritesNothing) {
    TempDir dir;
    reg::Store store(dir.path() + "/not/yet/registry.reg");
    EXPECT_EQ(DumpStore(store), "");
    reg::Status s = store.Modify([](reg::Key& root) {
        root.Create("HKEY_CURRENT_USER\\X");
        return false;
    });
    EXPECT_TRUE(s.ok) << s.message;
    EXPECT_FALSE(std::filesystem::exists(store.path()));

    ASSERT_TRUE(store.Modify([](reg::Key&) { return true; }));
    struct stat st {};
    ASSERT_EQ(::stat((dir.path() + "/not/yet").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(RegistryStore, KeyFindCreateRemoveIgnoreCase) {
    reg::Key root;
    reg::Key& k = root.Create("HKEY_CLASSES_ROOT\\AppID\\Strivo.EXE");
    EXPECT_EQ(root.Find("hkey_classes_root\\appid\\STRIVO.exe"), &k);
    EXPECT_EQ(&root.Create("HKEY_CLASSES_ROOT\\APPID\\strivo.exe"), &k);
    EXPECT_EQ(k.name(), "Strivo.EXE");  // first spelling kept
    EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\Nope"), nullptr);
    EXPECT_TRUE(root.Find("HKEY_CLASSES_ROOT")->RemoveChild("appid"));
    EXPECT_FALSE(root.Find("HKEY_CLASSES_ROOT")->RemoveChild("appid"));
    EXPECT_EQ(root.Find("HKEY_CLASSES_ROOT\\AppID"), nullptr);
}

TEST(RegistryStore, DefaultPathFollowsXdgDataHome) {
    struct Row {
        const char* xdg;  // nullptr: unset
        const char* home;
        const char* expected;
    };
    const Row rows[] = {
        {"/x/data", "/home/u", "/x/data/strivo/registry.reg"},
        {nullptr, "/home/u", "/home/u/.local/share/strivo/registry.reg"},
        {"", "/home/u", "/home/u/.local/share/strivo/registry.reg"},
        {"relative/dir", "/home/u", "/home/u/.local/share/strivo/registry.reg"},
    };
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        if (row.xdg)
            ::setenv("XDG_DATA_HOME", row.xdg, 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        ::setenv("HOME", row.home, 1);
        EXPECT_EQ(reg::Store::DefaultPath(), row.expected);
    }
    if (oldXdg)
        ::setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", savedHome.c_str(), 1);
}

// ---- Damaged files ---------------------------------------------------------

struct DamagedRow {
    const char* label;
    std::string bytes;
    int line;
    const char* what;  // a part of the message
};

const DamagedRow kDamaged[] = {
    {"no header", "[HKEY_CLASSES_ROOT]\n", 1, "REGEDIT4"},
    {"wrong header", "REGEDIT5\n\n", 1, "REGEDIT4"},
    {"unclosed section", "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\AppID\n", 3, "section header"},
    {"empty key name", "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\\\A]\n", 3, "empty key name"},
    {"unknown hive", "REGEDIT4\n\n[HKEY_CLASSES_ROOT]\n\n[HKEY_NOWHERE\\A]\n", 5, "unknown hive"},
    {"value before any section", "REGEDIT4\n\n\"A\"=\"b\"\n", 3, "before the first section"},
    {"value line without =", "REGEDIT4\n\n[HKEY_USERS]\n\"A\" \"b\"\n", 4, "missing '='"},
    {"bare value name", "REGEDIT4\n\n[HKEY_USERS]\nA=\"b\"\n", 4, "bad value line"},
    {"unterminated string", "REGEDIT4\n\n[HKEY_USERS]\n\"A\"=\"b\n", 4, "closing quotation"},
    {"bad escape", "REGEDIT4\n\n[HKEY_USERS]\n\"A\"=\"b\\q\"\n", 4, "bad escape"},
    {"bad hex escape", "REGEDIT4\n\n[HKEY_USERS]\n\"A\"=\"\\x4\"\n", 4, "\\x"},
    {"escape at end of line", "REGEDIT4\n\n[HKEY_USERS]\n\"A\"=\"b\\", 4, "closing quotation"},
    {"trailing text", "REGEDIT4\n\n[HKEY_USERS]\n\"A\"=\"b\" x\n", 4, "after the closing"},
    {"dword too long", "REGEDIT4\n\n[HKEY_USERS]\n\"A\"=dword:000000001\n", 4, "dword"},
    {"dword not hex", "REGEDIT4\n\n[HKEY_USERS]\n\"A\"=dword:12g4\n", 4, "dword"},
    {"dword default", "REGEDIT4\n\n[HKEY_USERS]\n@=dword:1\n", 4, "must be a string"},
    {"unknown value type", "REGEDIT4\n\n[HKEY_USERS]\n\"A\"=hex:01,02\n", 4, "expected a quoted string"},
    {"raw control byte in string", std::string("REGEDIT4\n\n[HKEY_USERS]\n\"A\"=\"a\x01\"\n"), 4, "control character"},
    {"NUL in section", std::string("REGEDIT4\n\n[HKEY_USERS\\a\0b]\n", 27), 3, "control character"},
};

TEST(RegistryFile, DamagedFileIsAnErrorNamingFileAndLineAndIsLeftAlone) {
    for (const DamagedRow& row : kDamaged) {
        SCOPED_TRACE(row.label);
        TempDir dir;
        reg::Store store(dir.path() + "/registry.reg");
        WriteBytes(store.path(), row.bytes);

        bool readerRan = false;
        reg::Status s = store.Read([&](const reg::Key&) { readerRan = true; });
        EXPECT_FALSE(s.ok);
        EXPECT_FALSE(readerRan);
        const std::string prefix = "registry file " + store.path() + ", line " + std::to_string(row.line) + ": ";
        EXPECT_EQ(s.message.rfind(prefix, 0), 0u) << s.message;
        EXPECT_NE(s.message.find(row.what), std::string::npos) << s.message;

        bool writerRan = false;
        s = store.Modify([&](reg::Key& root) {
            writerRan = true;
            root.Create("HKEY_CURRENT_USER\\New");
            return true;
        });
        EXPECT_FALSE(s.ok);
        EXPECT_FALSE(writerRan);
        EXPECT_EQ(s.message.rfind(prefix, 0), 0u) << s.message;
        EXPECT_EQ(ReadBytes(store.path()), row.bytes);
        // No temporary file is left behind either.
        int entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
        EXPECT_LE(entries, 2);  // the file and its lock file
    }
}

TEST(RegistryFile, GarbageNeverCrashesAndIsNeverOverwritten) {
    std::mt19937 rng(20261211);
    const std::string valid =
        "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\AppID\\{G}]\n@=\"Strivo\"\n\n"
        "[HKEY_CLASSES_ROOT\\AppID\\Strivo.EXE]\n\"AppID\"=\"{G}\"\n\"N\"=dword:0000000a\n\n";
    const std::string alphabet = "[]\\\"@=:\n\rdwordREGEDIT4HKEY_USERS \x01\xff";
    TempDir dir;
    reg::Store store(dir.path() + "/registry.reg");
    for (int i = 0; i < 3000; ++i) {
        std::string bytes;
        if (i % 3 == 0) {
            // Random bytes, biased towards the format's own characters.
            const std::size_t n = rng() % 200;
            for (std::size_t j = 0; j < n; ++j)
                bytes += rng() % 2 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng() % 256);
            if (i % 2) bytes = "REGEDIT4\n" + bytes;
        } else {
            // A valid file with a few bytes changed, dropped or cut short.
            bytes = valid;
            for (int k = 0; k < 3; ++k) {
                const std::size_t at = rng() % bytes.size();
                if (rng() % 2) bytes[at] = static_cast<char>(rng() % 256);
                else bytes.erase(at, 1);
            }
            if (rng() % 4 == 0) bytes.resize(rng() % bytes.size());
        }
        WriteBytes(store.path(), bytes);
        const reg::Status read = store.Read(nullptr);
        const reg::Status mod = store.Modify([](reg::Key&) { return true; });
        ASSERT_EQ(read.ok, mod.ok) << "case " << i << ": " << read.message << " / " << mod.message;
        if (!mod.ok) {
            ASSERT_EQ(ReadBytes(store.path()), bytes) << "case " << i;
            ASSERT_NE(mod.message.find(", line "), std::string::npos) << mod.message;
        }
    }
}

// ---- Unwritable places -----------------------------------------------------

TEST(RegistryStore, UnwritableFolderGivesAClearError) {
    struct Row {
        const char* label;
        std::function<std::string(const std::string& tmp)> prepare;  // returns the store path
        const char* errorText;                                        // strerror part
    };
    const Row rows[] = {
        {"read-only folder (not effective for root)",
         [](const std::string& tmp) {
             ::chmod(tmp.c_str(), 0500);
             return tmp + "/registry.reg";
         },
         "Permission denied"},
        {"a file where the folder should be",
         [](const std::string& tmp) {
             WriteBytes(tmp + "/plainfile", "x");
             return tmp + "/plainfile/strivo/registry.reg";
         },
         "Not a directory"},
        {"a folder below /proc", [](const std::string&) { return std::string("/proc/strivo-test/registry.reg"); },
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        if (::geteuid() == 0 && std::string(row.errorText) == "Permission denied") continue;
        TempDir dir;
        reg::Store store(row.prepare(dir.path()));
        reg::Status s = store.Modify([](reg::Key& root) {
            root.Create("HKEY_CURRENT_USER\\X");
            return true;
        });
        EXPECT_FALSE(s.ok);
        EXPECT_NE(s.message.find(row.errorText), std::string::npos) << s.message;
        // The message names the place that failed: the file or one of its folders.
        const std::string named = store.path().rfind("/proc", 0) == 0 ? "/proc/strivo-test" : dir.path();
        EXPECT_NE(s.message.find(named), std::string::npos) << s.message;
        EXPECT_FALSE(std::filesystem::exists(store.path()));
        // Reading a store that cannot be written still works: it is empty.
        EXPECT_TRUE(store.Read(nullptr).ok);
    }
}

// ---- Concurrency -----------------------------------------------------------

TEST(RegistryStore, ConcurrentModifyFromTwoProcessesBothLand) {
    TempDir dir;
    const std::string path = dir.path() + "/registry.reg";
    constexpr int kWrites = 40;
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            reg::Store store(path);
            int failures = 0;
            for (int i = 0; i < kWrites; ++i) {
                const reg::Status s = store.Modify([&](reg::Key& root) {
                    reg::Key& k = root.Create("HKEY_CURRENT_USER\\P" + std::to_string(p));
                    k.values["N" + std::to_string(i)] = reg::Value::Dword(static_cast<std::uint32_t>(i));
                    reg::Value& count = root.Create("HKEY_CURRENT_USER\\Shared").values["Count"];
                    count.type = reg::Value::Type::Dword;
                    count.dword += 1;
                    return true;
                });
                if (!s.ok) ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    reg::Store store(path);
    ASSERT_TRUE(store.Read([&](const reg::Key& root) {
        for (int p = 0; p < 2; ++p) {
            const reg::Key* k = root.Find("HKEY_CURRENT_USER\\P" + std::to_string(p));
            ASSERT_NE(k, nullptr);
            EXPECT_EQ(k->values.size(), static_cast<std::size_t>(kWrites));
        }
        const reg::Key* shared = root.Find("HKEY_CURRENT_USER\\Shared");
        ASSERT_NE(shared, nullptr);
        EXPECT_EQ(shared->values.at("Count").dword, 2u * kWrites);
    }));
}

// "HKEY_USERS" followed by levels keys named "k".
std::string DeepPath(int levels) {
    std::string path = "HKEY_USERS";
    for (int i = 0; i < levels; ++i) path += "\\k";
    return path;
}

TEST(RegistryStore, DeepestKeyAFileCanHoldRoundTrips) {
    TempDir dir;
    reg::Store store(dir.path() + "/registry.reg");
    ASSERT_TRUE(store.Modify([](reg::Key& r) {
        r.Create(DeepPath(511)).values["Deep"] = reg::Value::Dword(7);
        return true;
    }));
    bool found = false;
    ASSERT_TRUE(store.Read([&](const reg::Key& root) {
        const reg::Key* k = root.Find(DeepPath(511));
        found = k != nullptr && k->values.count("Deep") == 1;
    }));
    EXPECT_TRUE(found);
}

TEST(RegistryStore, UnstorableNamesAreRefusedAndNothingIsWritten) {
    struct Row {
        const char* label;
        std::function<void(reg::Key&)> change;
    };
    const Row rows[] = {
        {"unknown hive", [](reg::Key& r) { r.Child("HKEY_ELSEWHERE"); }},
        {"backslash in a key name", [](reg::Key& r) { r.Child("HKEY_USERS").Child("a\\b"); }},
        {"newline in a key name", [](reg::Key& r) { r.Child("HKEY_USERS").Child("a\nb"); }},
        {"empty key name", [](reg::Key& r) { r.Child("HKEY_USERS").Child(""); }},
        {"value at the root", [](reg::Key& r) { r.values["x"] = reg::Value::Dword(1); }},
        // The hive and 512 keys below it: one level more than a file section may hold.
        {"key path deeper than a section may be", [](reg::Key& r) { r.Create(DeepPath(512)); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        TempDir dir;
        reg::Store store(dir.path() + "/registry.reg");
        ASSERT_TRUE(store.Modify([](reg::Key& r) {
            r.Create("HKEY_USERS\\Kept");
            return true;
        }));
        const std::string before = ReadBytes(store.path());
        reg::Status s = store.Modify([&](reg::Key& r) {
            row.change(r);
            return true;
        });
        EXPECT_FALSE(s.ok);
        EXPECT_NE(s.message.find("cannot be stored"), std::string::npos) << s.message;
        EXPECT_EQ(ReadBytes(store.path()), before);
    }
}

TEST(RegistryStore, ExceptionsFromTheCallbackBecomeErrors) {
    TempDir dir;
    reg::Store store(dir.path() + "/registry.reg");
    reg::Status s = store.Modify([](reg::Key&) -> bool { throw std::runtime_error("boom"); });
    EXPECT_FALSE(s.ok);
    EXPECT_NE(s.message.find("boom"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(store.path()));
}

}  // namespace
