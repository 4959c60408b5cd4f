// The stand-in control that the console's tests drive: ResultCode after
// methods and puts, stored puts, the hook, events into the advised sink,
// sharing of one script by every created object, and its lifetime rules.
#include "support/stand_in_msr.h"

#include "msr/msr_dispids.h"
#include "platform/com/class_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using com::InvokeKind;
using com::Variant;

struct SinkCall {
    std::int32_t dispid;
    std::vector<Variant> args;
};

class RecordingSink final : public com::IEventSink {
public:
    std::vector<SinkCall> calls;
    void Invoke(std::int32_t dispid, std::span<Variant> args) override
    {
        calls.push_back({dispid, {args.begin(), args.end()}});
        // Answer an ErrorEvent the way a container does.
        if (dispid == msrdisp::ErrorEvent && args.size() == 4 && args[3].refI4() != nullptr) {
            *args[3].refI4() = 12;
        }
    }
};

Variant Get(com::IDispatch& d, std::int32_t dispid)
{
    Variant v;
    EXPECT_EQ(d.Invoke(dispid, InvokeKind::PropertyGet, {}, &v), com::S_OK);
    return v;
}

class StandInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script_ = testsupport::RegisterStandInMsr();
        control_ = com::ClassTable::Instance().Create(testsupport::kMsrClsid);
        ASSERT_NE(control_, nullptr);
    }
    void TearDown() override { testsupport::UnregisterStandInMsr(); }

    std::shared_ptr<testsupport::StandInScript> script_;
    std::unique_ptr<com::IDispatch> control_;
};

TEST_F(StandInTest, UnscriptedGetsAnswerInTheirPropertyType)
{
    EXPECT_TRUE(Get(*control_, msrdisp::DeviceEnabled).is(com::VarType::Bool));
    EXPECT_TRUE(Get(*control_, msrdisp::Track1Data).is(com::VarType::Bstr));
    EXPECT_TRUE(Get(*control_, msrdisp::State).is(com::VarType::I4));
    EXPECT_EQ(Get(*control_, msrdisp::ResultCode).i4(), 0);
}

TEST_F(StandInTest, ResultCodeFollowsTheLastMethodOrPut)
{
    script_->SetMethodResult(msrdisp::ClaimDevice, 107);
    script_->SetPutResult(msrdisp::DeviceEnabled, 101);
    Variant rc;
    const Variant timeout = Variant::FromI4(1000);
    ASSERT_EQ(control_->Invoke(msrdisp::ClaimDevice, InvokeKind::Method, {&timeout, 1}, &rc), com::S_OK);
    EXPECT_EQ(rc.i4(), 107);
    EXPECT_EQ(Get(*control_, msrdisp::ResultCode).i4(), 107);

    const Variant on = Variant::FromBool(true);
    control_->Invoke(msrdisp::DeviceEnabled, InvokeKind::PropertyPut, {&on, 1}, nullptr);
    EXPECT_EQ(Get(*control_, msrdisp::ResultCode).i4(), 101);
    EXPECT_TRUE(Get(*control_, msrdisp::DeviceEnabled).boolean()) << "the put stores its value";

    // An unscripted put answers 0 again.
    control_->Invoke(msrdisp::FreezeEvents, InvokeKind::PropertyPut, {&on, 1}, nullptr);
    EXPECT_EQ(Get(*control_, msrdisp::ResultCode).i4(), 0);

    script_->SetPutStoresValue(false);
    const Variant off = Variant::FromBool(false);
    control_->Invoke(msrdisp::DeviceEnabled, InvokeKind::PropertyPut, {&off, 1}, nullptr);
    EXPECT_TRUE(Get(*control_, msrdisp::DeviceEnabled).boolean()) << "value kept when puts do not store";

    const auto puts = script_->CallsExceptGets();
    ASSERT_EQ(puts.size(), 4u);
    EXPECT_EQ(puts[0].dispid, msrdisp::ClaimDevice);
    EXPECT_EQ(puts[0].args.at(0).i4(), 1000);
    EXPECT_EQ(puts[3].kind, InvokeKind::PropertyPut);
    EXPECT_FALSE(puts[3].args.at(0).boolean());
}

// The hook sees the call already recorded and can change the answer to it.
TEST_F(StandInTest, HookRunsAfterRecordingAndBeforeAnswering)
{
    std::size_t recordedWhenHooked = 0;
    script_->SetHook([&](const testsupport::RecordedCall& call) {
        recordedWhenHooked = script_->Calls().size();
        if (call.dispid == msrdisp::State) {
            script_->SetI4(msrdisp::State, 3);
        }
    });
    EXPECT_EQ(Get(*control_, msrdisp::State).i4(), 3);
    EXPECT_EQ(recordedWhenHooked, 1u);
}

TEST_F(StandInTest, FireReachesTheAdvisedSinkWithByReferenceArguments)
{
    EXPECT_FALSE(script_->Fire(msrdisp::DataEvent, {Variant::FromI4(0)})) << "no sink yet";
    RecordingSink sink;
    control_->Advise(&sink);
    EXPECT_TRUE(script_->Advised());

    std::int32_t response = 11;
    ASSERT_TRUE(script_->Fire(msrdisp::ErrorEvent, {Variant::FromI4(114), Variant::FromI4(0x0000CB00),
                                                    Variant::FromI4(2), Variant::RefI4(&response)}));
    EXPECT_EQ(response, 12);
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_EQ(sink.calls[0].dispid, msrdisp::ErrorEvent);
    EXPECT_EQ(sink.calls[0].args.at(1).i4(), 0xCB00);

    control_->Advise(nullptr);
    EXPECT_FALSE(script_->Fire(msrdisp::DataEvent, {Variant::FromI4(0)}));
}

// Objects share the script; a destroyed object takes its sink with it while
// the script lives on; after Unregister nothing can be created.
TEST_F(StandInTest, ObjectsShareTheScriptAndMayDieFirst)
{
    auto second = com::ClassTable::Instance().Create(testsupport::kMsrClsid);
    ASSERT_NE(second, nullptr);
    script_->SetString(msrdisp::PhysicalDeviceName, "Mini");
    EXPECT_EQ(com::NarrowFromOle(Get(*second, msrdisp::PhysicalDeviceName).bstr()), "Mini");
    EXPECT_EQ(script_->Calls().size(), 1u);

    RecordingSink sink;
    control_->Advise(&sink);
    second.reset();
    EXPECT_TRUE(script_->Advised()) << "another object's death leaves the sink";
    control_.reset();
    EXPECT_FALSE(script_->Advised());
    EXPECT_FALSE(script_->Fire(msrdisp::StatusUpdateEvent, {Variant::FromI4(2001)}));
    EXPECT_TRUE(sink.calls.empty());

    testsupport::UnregisterStandInMsr();
    EXPECT_EQ(com::ClassTable::Instance().Create(testsupport::kMsrClsid), nullptr);
}

}  // namespace
