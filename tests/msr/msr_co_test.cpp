// CMSRCO at the dispatch level: each member reaches the control as one call
// with its fixed DISPID, invoke kind and argument types, and takes the
// control's answer apart as its own result type. The control is the
// scriptable stand-in created through the class table.
#include "msr/msr_co.h"

#include "platform/com/class_table.h"
#include "support/stand_in_msr.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace {

using com::InvokeKind;
using com::Variant;
using com::VarType;
using testsupport::RecordedCall;
using testsupport::StandInScript;

enum class ResultType { None, Bool, I4, String };

// What a member gave back, whatever its type.
using Answer = std::variant<std::monostate, bool, std::int32_t, std::string>;

struct MemberRow {
    const char* name;
    std::function<Answer(CMSRCO&)> call;
    std::int32_t dispid;
    InvokeKind kind;
    std::vector<Variant> args;  // what the control must receive, type and value
    ResultType result;
};

const char* const kUnicode = "Zo\u00eb \u00c5ngstr\u00f6m \u6771\u4eac";
const char16_t* const kUnicodeOle = u"Zo\u00eb \u00c5ngstr\u00f6m \u6771\u4eac";

// Member calls written out with their DISPIDs as numbers, so that a wrong
// number in the wrapper or in the shared DISPID names shows up here.
#define GET(member, id, type) \
    MemberRow{"Get" #member, [](CMSRCO& m) -> Answer { return m.Get##member(); }, id, InvokeKind::PropertyGet, {}, type}
#define PUT_BOOL(member, id, value) \
    MemberRow{"Set" #member "(" #value ")", [](CMSRCO& m) -> Answer { m.Set##member(value); return {}; }, id, \
              InvokeKind::PropertyPut, {Variant::FromRawBool(value ? -1 : 0)}, ResultType::None}
#define PUT_I4(member, id, value) \
    MemberRow{"Set" #member "(" #value ")", [](CMSRCO& m) -> Answer { m.Set##member(value); return {}; }, id, \
              InvokeKind::PropertyPut, {Variant::FromI4(value)}, ResultType::None}

const std::vector<MemberRow>& Members()
{
    using enum ResultType;
    static const std::vector<MemberRow> rows = {
        GET(AutoDisable, 10, Bool),
        PUT_BOOL(AutoDisable, 10, true),
        GET(BinaryConversion, 11, I4),
        PUT_I4(BinaryConversion, 11, 2),
        GET(CapPowerReporting, 12, I4),
        GET(CheckHealthText, 13, String),
        GET(Claimed, 14, Bool),
        GET(DataCount, 15, I4),
        GET(DataEventEnabled, 16, Bool),
        PUT_BOOL(DataEventEnabled, 16, true),
        GET(DeviceEnabled, 17, Bool),
        PUT_BOOL(DeviceEnabled, 17, false),
        GET(FreezeEvents, 18, Bool),
        PUT_BOOL(FreezeEvents, 18, true),
        GET(PowerNotify, 20, I4),
        PUT_I4(PowerNotify, 20, 1),
        GET(PowerState, 21, I4),
        GET(ResultCode, 22, I4),
        GET(State, 24, I4),
        GET(DeviceControlDescription, 25, String),
        GET(DeviceControlVersion, 26, I4),
        GET(DeviceServiceDescription, 27, String),
        GET(DeviceServiceVersion, 28, I4),
        GET(PhysicalDeviceDescription, 29, String),
        GET(PhysicalDeviceName, 30, String),
        GET(AccountNumber, 50, String),
        GET(CapISO, 51, Bool),
        GET(CapJISOne, 52, Bool),
        GET(CapJISTwo, 53, Bool),
        GET(DecodeData, 54, Bool),
        PUT_BOOL(DecodeData, 54, false),
        GET(ErrorReportingType, 55, I4),
        PUT_I4(ErrorReportingType, 55, 1),
        GET(ExpirationDate, 56, String),
        GET(FirstName, 57, String),
        GET(MiddleInitial, 58, String),
        GET(ParseDecodeData, 59, Bool),
        PUT_BOOL(ParseDecodeData, 59, true),
        GET(ServiceCode, 61, String),
        GET(Suffix, 62, String),
        GET(Surname, 63, String),
        GET(Title, 64, String),
        GET(Track1Data, 65, String),
        GET(Track1DiscretionaryData, 66, String),
        GET(Track2Data, 67, String),
        GET(Track2DiscretionaryData, 68, String),
        GET(Track3Data, 69, String),
        GET(TracksToRead, 70, I4),
        PUT_I4(TracksToRead, 70, 15),
        GET(CapTransmitSentinels, 71, Bool),
        GET(Track4Data, 72, String),
        GET(TransmitSentinels, 73, Bool),
        PUT_BOOL(TransmitSentinels, 73, true),
        {"CheckHealth(3)", [](CMSRCO& m) -> Answer { return m.CheckHealth(3); }, 31, InvokeKind::Method,
         {Variant::FromI4(3)}, I4},
        {"ClaimDevice(1000)", [](CMSRCO& m) -> Answer { return m.ClaimDevice(1000); }, 32, InvokeKind::Method,
         {Variant::FromI4(1000)}, I4},
        {"ClearInput", [](CMSRCO& m) -> Answer { return m.ClearInput(); }, 33, InvokeKind::Method, {}, I4},
        {"Close", [](CMSRCO& m) -> Answer { return m.Close(); }, 35, InvokeKind::Method, {}, I4},
        {"Open(unicode)", [](CMSRCO& m) -> Answer { return m.Open(kUnicode); }, 37, InvokeKind::Method,
         {Variant::FromBstr(kUnicodeOle)}, I4},
        {"Open(QuellorUSBMiniMSR)", [](CMSRCO& m) -> Answer { return m.Open("QuellorUSBMiniMSR"); }, 37,
         InvokeKind::Method, {Variant::FromBstr(u"QuellorUSBMiniMSR")}, I4},
        {"ReleaseDevice", [](CMSRCO& m) -> Answer { return m.ReleaseDevice(); }, 38, InvokeKind::Method, {}, I4},
    };
    return rows;
}

#undef GET
#undef PUT_BOOL
#undef PUT_I4

// Same type and same value (by-reference pointers compared as pointers).
::testing::AssertionResult SameVariant(const Variant& want, const Variant& got)
{
    if (want.type() != got.type()) {
        return ::testing::AssertionFailure() << "type " << static_cast<int>(got.type()) << ", want "
                                             << static_cast<int>(want.type());
    }
    if (want.i4() != got.i4() || want.rawBool() != got.rawBool() || want.bstr() != got.bstr() ||
        want.refI4() != got.refI4() || want.refBstr() != got.refBstr()) {
        return ::testing::AssertionFailure() << "value differs (i4 " << got.i4() << ", bool " << got.rawBool()
                                             << ", bstr '" << com::NarrowFromOle(got.bstr()) << "')";
    }
    return ::testing::AssertionSuccess();
}

Answer Neutral(ResultType type)
{
    switch (type) {
    case ResultType::None: return {};
    case ResultType::Bool: return false;
    case ResultType::I4: return std::int32_t{0};
    case ResultType::String: return std::string{};
    }
    return {};
}

class MsrCoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script_ = testsupport::RegisterStandInMsr();
        control_ = com::ClassTable::Instance().Create(CMSRCO::kClsid);
        ASSERT_NE(control_, nullptr);
        msr_.Attach(control_.get());
    }
    void TearDown() override { testsupport::UnregisterStandInMsr(); }

    // The single call that the member made, or a failure.
    ::testing::AssertionResult OneCall(const MemberRow& row)
    {
        const auto& calls = script_->Calls();
        if (calls.size() != 1) {
            return ::testing::AssertionFailure() << calls.size() << " calls";
        }
        const RecordedCall& c = calls[0];
        if (c.dispid != row.dispid || c.kind != row.kind) {
            return ::testing::AssertionFailure() << "dispid " << c.dispid << " kind " << static_cast<int>(c.kind);
        }
        if (c.args.size() != row.args.size()) {
            return ::testing::AssertionFailure() << c.args.size() << " args";
        }
        for (std::size_t i = 0; i < c.args.size(); ++i) {
            if (auto r = SameVariant(row.args[i], c.args[i]); !r) {
                return r << " in argument " << i;
            }
        }
        return ::testing::AssertionSuccess();
    }

    std::shared_ptr<StandInScript> script_;
    std::unique_ptr<com::IDispatch> control_;
    CMSRCO msr_;
};

TEST_F(MsrCoTest, ClsidIsTheMsrControlClass)
{
    EXPECT_STREQ(CMSRCO::kClsid, testsupport::kMsrClsid);
    EXPECT_EQ(msr_.Control(), control_.get());
}

// Every member is one call with its DISPID, kind and argument types, and
// returns the control's answer in its own type.
TEST_F(MsrCoTest, EveryMemberIsOneDispatchCall)
{
    for (const MemberRow& row : Members()) {
        SCOPED_TRACE(row.name);
        script_->ClearCalls();
        Answer want;
        switch (row.result) {
        case ResultType::None: break;
        case ResultType::Bool: script_->SetBool(row.dispid, 1); want = true; break;
        case ResultType::I4:
            if (row.kind == InvokeKind::Method) {
                script_->SetMethodResult(row.dispid, 100 + row.dispid);
                want = std::int32_t{100 + row.dispid};
            } else {
                script_->SetI4(row.dispid, -70000 - row.dispid);
                want = std::int32_t{-70000 - row.dispid};
            }
            break;
        case ResultType::String:
            script_->SetString(row.dispid, std::string(row.name) + " \u00e9");
            want = std::string(row.name) + " \u00e9";
            break;
        }
        const Answer got = row.call(msr_);
        EXPECT_TRUE(OneCall(row));
        EXPECT_EQ(got, want);
    }
}

// Any nonzero OLE boolean counts as true.
TEST_F(MsrCoTest, BoolGetsTreatAnyNonzeroAsTrue)
{
    struct RawRow {
        std::int16_t raw;
        bool want;
    };
    const RawRow raws[] = {{0, false}, {1, true}, {2, true}, {-1, true}};
    for (const MemberRow& row : Members()) {
        if (row.result != ResultType::Bool) {
            continue;
        }
        for (const RawRow& r : raws) {
            SCOPED_TRACE(std::string(row.name) + " raw " + std::to_string(r.raw));
            script_->SetBool(row.dispid, r.raw);
            EXPECT_EQ(row.call(msr_), Answer{r.want});
        }
    }
}

// Strings come back as UTF-8 with the same characters, stop at an embedded
// NUL, and an empty string stays empty.
TEST_F(MsrCoTest, StringGetsConvertFromOle)
{
    struct StringRow {
        const char* label;
        std::u16string ole;
        std::string want;
    };
    const StringRow rows[] = {
        {"non-ASCII", kUnicodeOle, kUnicode},
        {"embedded NUL", std::u16string(u"B4111\0tail", 10), "B4111"},
        {"leading NUL", std::u16string(u"\0x", 2), ""},
        {"empty", u"", ""},
        {"surrogate pair", u"\U0001F4B3 card", "\U0001F4B3 card"},
    };
    for (const StringRow& s : rows) {
        SCOPED_TRACE(s.label);
        script_->SetOleString(65, s.ole);
        EXPECT_EQ(msr_.GetTrack1Data(), s.want);
        script_->SetOleString(13, s.ole);
        EXPECT_EQ(msr_.GetCheckHealthText(), s.want);
    }
}

// A put passes the value as a VT_BOOL / VT_I4 variant whatever the value.
TEST_F(MsrCoTest, PutsPassTheirValueUnchanged)
{
    msr_.SetDeviceEnabled(true);
    msr_.SetDeviceEnabled(false);
    msr_.SetTracksToRead(0);
    msr_.SetTracksToRead(-1);
    msr_.SetPowerNotify(0x7FFFFFFF);
    const auto& calls = script_->Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_TRUE(SameVariant(Variant::FromRawBool(-1), calls[0].args.at(0)));
    EXPECT_TRUE(SameVariant(Variant::FromRawBool(0), calls[1].args.at(0)));
    EXPECT_TRUE(SameVariant(Variant::FromI4(0), calls[2].args.at(0)));
    EXPECT_TRUE(SameVariant(Variant::FromI4(-1), calls[3].args.at(0)));
    EXPECT_TRUE(SameVariant(Variant::FromI4(0x7FFFFFFF), calls[4].args.at(0)));
}

// The wrapper adds nothing: a method's nonzero result comes back as it is,
// and ResultCode after a put reads whatever the control says.
TEST_F(MsrCoTest, ResultsComeBackUnchecked)
{
    script_->SetMethodResult(37, 104);
    EXPECT_EQ(msr_.Open("QuellorUSBMiniMSR"), 104);
    EXPECT_EQ(msr_.GetResultCode(), 104);
    script_->SetPutResult(17, 101);
    msr_.SetDeviceEnabled(true);
    EXPECT_EQ(msr_.GetResultCode(), 101);
    script_->SetMethodResult(38, -5);
    EXPECT_EQ(msr_.ReleaseDevice(), -5);
    EXPECT_EQ(script_->CallsExceptGets().size(), 3u);
}

// A dispatch object whose calls all fail below the OPOS level, though it
// fills in a result anyway.
class FailingControl final : public com::IDispatch {
public:
    int calls = 0;
    com::HResult Invoke(std::int32_t, InvokeKind, std::span<const Variant>, Variant* result) override
    {
        ++calls;
        if (result != nullptr) {
            *result = Variant::FromI4(111);
        }
        return com::E_FAIL;
    }
    void Advise(com::IEventSink*) override {}
};

// With no control, or when a call fails, gets give 0/false/"", while methods
// and ResultCode give OPOS_E_FAILURE: a call that never reached the control
// is not a success.
TEST(MsrCoNoControl, EveryMemberGivesANeutralValueAndMethodsFail)
{
    CMSRCO detached;
    FailingControl failing;
    CMSRCO broken;
    broken.Attach(&failing);
    for (const MemberRow& row : Members()) {
        SCOPED_TRACE(row.name);
        const bool fails = row.kind == InvokeKind::Method || row.dispid == 22;
        const Answer expected = fails ? Answer{std::int32_t{111}} : Neutral(row.result);
        EXPECT_EQ(row.call(detached), expected);
        EXPECT_EQ(row.call(broken), expected);
    }
    EXPECT_EQ(failing.calls, static_cast<int>(Members().size()));
    EXPECT_EQ(detached.Control(), nullptr);
}

// A get answered with another type than the property's gives the neutral
// value of the member's type.
TEST_F(MsrCoTest, WrongResultTypeGivesNeutralValue)
{
    script_->SetString(24, "2");  // State is I4
    script_->SetI4(17, 1);        // DeviceEnabled is BOOL
    script_->SetI4(65, 7);        // Track1Data is a string
    EXPECT_EQ(msr_.GetState(), 0);
    EXPECT_FALSE(msr_.GetDeviceEnabled());
    EXPECT_EQ(msr_.GetTrack1Data(), "");
}

}  // namespace
