// Shared helpers of the control tests: a fixture with its own registry file
// and runtime folder, a typed caller over the control's dispatch interface,
// and an event sink that records what the control fires.
#pragma once

#include "msr/msr_dispids.h"
#include "msr/opos_constants.h"
#include "opos/control/device_entries.h"
#include "opos/control/msr_control.h"
#include "opos/control/msr_control_class.h"
#include "opos/control/simulated_reader.h"
#include "platform/com/ui_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace opostest {

// What the control fired, with the arguments by value.
struct FiredEvent {
    std::int32_t dispid = 0;
    std::vector<std::int32_t> ints;  // I4 arguments, by-reference ones read at the call
    std::string text;                // the by-reference string of DirectIOEvent
    std::thread::id thread;
};

class RecordingSink : public com::IEventSink {
public:
    // The response written into ErrorEvent's pErrorResponse; 0 leaves it.
    std::int32_t errorResponse = 0;
    // Runs inside each event call, after recording.
    std::function<void(const FiredEvent&)> during;
    std::vector<FiredEvent> events;

    void Invoke(std::int32_t dispid, std::span<com::Variant> args) override
    {
        FiredEvent e;
        e.dispid = dispid;
        e.thread = std::this_thread::get_id();
        for (com::Variant& a : args) {
            if (a.is(com::VarType::I4)) {
                e.ints.push_back(a.i4());
            } else if (a.refI4()) {
                e.ints.push_back(*a.refI4());
            } else if (a.refBstr()) {
                e.text = com::NarrowFromOle(*a.refBstr());
            }
        }
        events.push_back(e);
        if (dispid == msrdisp::ErrorEvent && errorResponse != 0 && args.size() == 4 && args[3].refI4()) {
            *args[3].refI4() = errorResponse;
        }
        if (during) {
            during(e);
        }
    }

    std::vector<FiredEvent> Of(std::int32_t dispid) const
    {
        std::vector<FiredEvent> out;
        for (const FiredEvent& e : events) {
            if (e.dispid == dispid) {
                out.push_back(e);
            }
        }
        return out;
    }
};

// Typed calls over the dispatch interface, as a container makes them.
class Ctl {
public:
    explicit Ctl(com::IDispatch& d) : d_(d) {}

    std::int32_t I4(std::int32_t dispid)
    {
        com::Variant r;
        EXPECT_EQ(d_.Invoke(dispid, com::InvokeKind::PropertyGet, {}, &r), com::S_OK) << dispid;
        return r.i4();
    }
    bool Bool(std::int32_t dispid)
    {
        com::Variant r;
        EXPECT_EQ(d_.Invoke(dispid, com::InvokeKind::PropertyGet, {}, &r), com::S_OK) << dispid;
        EXPECT_TRUE(r.is(com::VarType::Bool)) << dispid;
        return r.boolean();
    }
    std::string Str(std::int32_t dispid)
    {
        com::Variant r;
        EXPECT_EQ(d_.Invoke(dispid, com::InvokeKind::PropertyGet, {}, &r), com::S_OK) << dispid;
        return com::NarrowFromOle(r.bstr());
    }
    com::OleString Ole(std::int32_t dispid)
    {
        com::Variant r;
        d_.Invoke(dispid, com::InvokeKind::PropertyGet, {}, &r);
        return r.bstr();
    }
    // A put, answering the ResultCode read right after it.
    std::int32_t Put(std::int32_t dispid, std::int32_t value)
    {
        com::Variant v = com::Variant::FromI4(value);
        EXPECT_EQ(d_.Invoke(dispid, com::InvokeKind::PropertyPut, std::span(&v, 1), nullptr), com::S_OK)
            << dispid;
        return I4(msrdisp::ResultCode);
    }
    std::int32_t PutBool(std::int32_t dispid, bool value)
    {
        com::Variant v = com::Variant::FromBool(value);
        EXPECT_EQ(d_.Invoke(dispid, com::InvokeKind::PropertyPut, std::span(&v, 1), nullptr), com::S_OK)
            << dispid;
        return I4(msrdisp::ResultCode);
    }
    // A method; checks that ResultCode agrees with the returned code.
    std::int32_t Call(std::int32_t dispid, std::vector<com::Variant> args = {})
    {
        com::Variant r;
        EXPECT_EQ(d_.Invoke(dispid, com::InvokeKind::Method, args, &r), com::S_OK) << dispid;
        EXPECT_EQ(r.i4(), I4(msrdisp::ResultCode)) << "ResultCode after method " << dispid;
        return r.i4();
    }
    std::int32_t Open(const std::string& name = opos::kDefaultLogicalName)
    {
        return Call(msrdisp::Open, {com::Variant::FromNarrow(name)});
    }
    std::int32_t Claim(std::int32_t timeout = 0)
    {
        return Call(msrdisp::ClaimDevice, {com::Variant::FromI4(timeout)});
    }
    std::int32_t Enable(bool on = true) { return PutBool(msrdisp::DeviceEnabled, on); }
    std::int32_t CheckHealth(std::int32_t level) { return Call(msrdisp::CheckHealth, {com::Variant::FromI4(level)}); }

private:
    com::IDispatch& d_;
};

// Each test gets its own registry file and runtime folder, the control class
// registered, the default device entry, and a plugged-in reader with the
// built-in cards.
class OposTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string leaf = std::string(info->test_suite_name()) + "." + info->name();
        for (char& ch : leaf) {
            if (ch == '/') {
                ch = '_';
            }
        }
        dir_ = std::filesystem::temp_directory_path() /
               ("strivo-opos-" + std::to_string(::getpid()) + "-" + leaf);
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "data");
        std::filesystem::create_directories(dir_ / "run");
        ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);
        opos::RegisterMsrControlClass();
        bool created = false;
        ASSERT_TRUE(opos::DeviceEntries().EnsureDefault(created).ok);
        reader = opos::SimulatedReader::ForDevice(opos::kDefaultLogicalName);
        reader->Plug();
        reader->SetCards(opos::BuiltInTestCards());
        control = std::make_unique<opos::MsrControl>();
        control->Advise(&sink);
        com::RunPostedTasks();
    }

    void TearDown() override
    {
        control.reset();
        Pump();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // Lets the device thread hand on what it got and delivers the events.
    static void Pump()
    {
        opos::MsrControl::WaitForDeviceThreads();
        com::RunPostedTasks();
    }

    // Pumps until done() holds or two seconds pass (for services that
    // report from threads of their own).
    static bool WaitFor(const std::function<bool()>& done)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < until) {
            Pump();
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // Opens, claims and enables, with DataEventEnabled as given.
    void OpenClaimEnable(bool dataEventEnabled = true)
    {
        ASSERT_EQ(c.Open(), 0);
        ASSERT_EQ(c.Claim(), 0);
        ASSERT_EQ(c.Enable(), 0);
        ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, dataEventEnabled), 0);
        Pump();
    }

    const opos::TestCard& Card(std::size_t i) const { return opos::BuiltInTestCards().at(i); }

    std::filesystem::path dir_;
    std::shared_ptr<opos::SimulatedReader> reader;
    RecordingSink sink;
    std::unique_ptr<opos::MsrControl> control;
    // Typed calls on the control; forwards to whatever control holds now.
    class Forward : public com::IDispatch {
    public:
        explicit Forward(OposTest* t) : t_(t) {}
        com::HResult Invoke(std::int32_t dispid, com::InvokeKind kind, std::span<const com::Variant> args,
                            com::Variant* result) override
        {
            return t_->control->Invoke(dispid, kind, args, result);
        }
        void Advise(com::IEventSink* s) override { t_->control->Advise(s); }

    private:
        OposTest* t_;
    };
    Forward forward_{this};
    Ctl c{forward_};
};

}  // namespace opostest
