// The scriptable stand-in for the OPOS MSR control: a dispatch object whose
// answers come from a script shared by every instance created while it is
// registered, and which records each call it receives.
#include "support/stand_in_msr.h"

#include "msr/msr_dispids.h"
#include "platform/com/class_table.h"

#include <algorithm>
#include <utility>

namespace testsupport {

struct StandInScript::State {
    // Current property values by DISPID; ResultCode (22) is among them and is
    // overwritten by every method call and put.
    std::map<std::int32_t, com::Variant> values;
    std::map<std::int32_t, std::int32_t> methodResults;
    std::map<std::int32_t, std::int32_t> putResults;
    bool putStoresValue = true;
    std::function<void(const RecordedCall&)> hook;
    std::vector<RecordedCall> calls;
    // The connected sink and the object that connected it; the sink goes
    // away with that object.
    com::IEventSink* sink = nullptr;
    const void* sinkOwner = nullptr;
};

namespace {

bool IsBoolProperty(std::int32_t dispid)
{
    using namespace msrdisp;
    static constexpr std::int32_t kBools[] = {
        AutoDisable, Claimed,   DataEventEnabled, DeviceEnabled,   FreezeEvents, CapISO,
        CapJISOne,   CapJISTwo, DecodeData,       ParseDecodeData, CapTransmitSentinels,
        TransmitSentinels,
    };
    return std::find(std::begin(kBools), std::end(kBools), dispid) != std::end(kBools);
}

bool IsStringProperty(std::int32_t dispid)
{
    using namespace msrdisp;
    static constexpr std::int32_t kStrings[] = {
        CheckHealthText, DeviceControlDescription, DeviceServiceDescription,
        PhysicalDeviceDescription, PhysicalDeviceName, AccountNumber, ExpirationDate,
        FirstName, MiddleInitial, ServiceCode, Suffix, Surname, Title, Track1Data,
        Track1DiscretionaryData, Track2Data, Track2DiscretionaryData, Track3Data, Track4Data,
    };
    return std::find(std::begin(kStrings), std::end(kStrings), dispid) != std::end(kStrings);
}

// What an unscripted property reads: a value of the property's own type.
com::Variant DefaultValue(std::int32_t dispid)
{
    if (IsBoolProperty(dispid)) {
        return com::Variant::FromRawBool(0);
    }
    if (IsStringProperty(dispid)) {
        return com::Variant::FromBstr({});
    }
    return com::Variant::FromI4(0);
}

class StandInMsr final : public com::IDispatch {
public:
    explicit StandInMsr(std::shared_ptr<StandInScript::State> state) : state_(std::move(state)) {}

    ~StandInMsr() override
    {
        if (state_->sinkOwner == this) {
            state_->sink = nullptr;
            state_->sinkOwner = nullptr;
        }
    }

    com::HResult Invoke(std::int32_t dispid, com::InvokeKind kind, std::span<const com::Variant> args,
                        com::Variant* result) override
    {
        RecordedCall call;
        call.dispid = dispid;
        call.kind = kind;
        call.args.assign(args.begin(), args.end());
        state_->calls.push_back(call);

        // The hook may change the script, fire events or call back into this
        // object; take a copy so it may also replace itself.
        if (auto hook = state_->hook) {
            hook(call);
        }

        switch (kind) {
        case com::InvokeKind::PropertyGet: {
            const auto it = state_->values.find(dispid);
            if (result != nullptr) {
                *result = it != state_->values.end() ? it->second : DefaultValue(dispid);
            }
            return com::S_OK;
        }
        case com::InvokeKind::PropertyPut: {
            if (args.size() != 1) {
                return com::DISP_E_BADPARAMCOUNT;
            }
            if (state_->putStoresValue) {
                state_->values[dispid] = args[0];
            }
            const auto it = state_->putResults.find(dispid);
            SetResultCode(it != state_->putResults.end() ? it->second : 0);
            return com::S_OK;
        }
        case com::InvokeKind::Method: {
            const auto it = state_->methodResults.find(dispid);
            const std::int32_t rc = it != state_->methodResults.end() ? it->second : 0;
            SetResultCode(rc);
            if (result != nullptr) {
                *result = com::Variant::FromI4(rc);
            }
            return com::S_OK;
        }
        }
        return com::DISP_E_MEMBERNOTFOUND;
    }

    void Advise(com::IEventSink* sink) override
    {
        state_->sink = sink;
        state_->sinkOwner = sink != nullptr ? this : nullptr;
    }

private:
    void SetResultCode(std::int32_t rc) { state_->values[msrdisp::ResultCode] = com::Variant::FromI4(rc); }

    std::shared_ptr<StandInScript::State> state_;
};

}  // namespace

void StandInScript::SetI4(std::int32_t dispid, std::int32_t value)
{
    state->values[dispid] = com::Variant::FromI4(value);
}

void StandInScript::SetBool(std::int32_t dispid, std::int16_t raw)
{
    state->values[dispid] = com::Variant::FromRawBool(raw);
}

void StandInScript::SetString(std::int32_t dispid, const std::string& utf8)
{
    state->values[dispid] = com::Variant::FromNarrow(utf8);
}

void StandInScript::SetOleString(std::int32_t dispid, const com::OleString& value)
{
    state->values[dispid] = com::Variant::FromBstr(value);
}

void StandInScript::SetMethodResult(std::int32_t dispid, std::int32_t rc) { state->methodResults[dispid] = rc; }
void StandInScript::SetPutResult(std::int32_t dispid, std::int32_t rc) { state->putResults[dispid] = rc; }
void StandInScript::SetPutStoresValue(bool stores) { state->putStoresValue = stores; }

void StandInScript::SetHook(std::function<void(const RecordedCall&)> hook) { state->hook = std::move(hook); }

const std::vector<RecordedCall>& StandInScript::Calls() const { return state->calls; }

std::vector<RecordedCall> StandInScript::CallsExceptGets() const
{
    std::vector<RecordedCall> out;
    for (const RecordedCall& call : state->calls) {
        if (call.kind != com::InvokeKind::PropertyGet) {
            out.push_back(call);
        }
    }
    return out;
}

void StandInScript::ClearCalls() { state->calls.clear(); }

bool StandInScript::Fire(std::int32_t dispid, std::vector<com::Variant> args)
{
    com::IEventSink* sink = state->sink;
    if (sink == nullptr) {
        return false;
    }
    sink->Invoke(dispid, std::span<com::Variant>(args));
    return true;
}

bool StandInScript::Advised() const { return state->sink != nullptr; }

std::shared_ptr<StandInScript> RegisterStandInMsr()
{
    auto script = std::make_shared<StandInScript>();
    script->state = std::make_shared<StandInScript::State>();
    std::shared_ptr<StandInScript::State> state = script->state;
    com::ClassTable::Instance().Register(kMsrClsid, [state]() -> std::unique_ptr<com::IDispatch> {
        return std::make_unique<StandInMsr>(state);
    });
    return script;
}

void UnregisterStandInMsr() { com::ClassTable::Instance().Unregister(kMsrClsid); }

}  // namespace testsupport
