// Shared set-up of the application tests: a private registry folder per test
// (XDG_DATA_HOME pointed at a temporary directory) and readers of the
// registry entries that the registration switches make.
#pragma once

#include "platform/registry/registry_store.h"
#include "registry/temp_dir.h"
#include "res/app_registry_script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace apptest {

// What the store holds of the application's AppID entries.
enum class RegState {
    Nothing,     // no AppID key at all
    AppIdOnly,   // AppID exists, neither of the program's keys
    Registered,  // both keys with their values
    Partial,     // anything else
};

inline const char* Name(RegState s) {
    switch (s) {
    case RegState::Nothing: return "Nothing";
    case RegState::AppIdOnly: return "AppIdOnly";
    case RegState::Registered: return "Registered";
    case RegState::Partial: return "Partial";
    }
    return "?";
}

class AppTest : public testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_DATA_HOME");
        hadXdg_ = old != nullptr;
        if (old) oldXdg_ = old;
        ::setenv("XDG_DATA_HOME", dir_.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadXdg_)
            ::setenv("XDG_DATA_HOME", oldXdg_.c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

    std::string StorePath() const { return dir_.path() + "/strivo/registry.reg"; }

    RegState State() const {
        RegState state = RegState::Partial;
        reg::Store store(StorePath());
        const reg::Status s = store.Read([&](const reg::Key& root) {
            const reg::Key* appId = root.Find("HKEY_CLASSES_ROOT\\AppID");
            if (!appId) {
                state = RegState::Nothing;
                return;
            }
            const reg::Key* guid = appId->Find(std::string(res::kAppIdGuid));
            const reg::Key* exe = appId->Find("Strivo.EXE");
            if (!guid && !exe) {
                state = RegState::AppIdOnly;
                return;
            }
            if (guid && exe && guid->defaultValue == "Strivo" && exe->values.size() == 1 &&
                exe->values.count("AppID") &&
                exe->values.at("AppID") == reg::Value::String(std::string(res::kAppIdGuid)))
                state = RegState::Registered;
        });
        EXPECT_TRUE(s.ok) << s.message;
        return state;
    }

    regtest::TempDir dir_;

private:
    bool hadXdg_ = false;
    std::string oldXdg_;
};

}  // namespace apptest
