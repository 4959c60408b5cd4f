// The control's state rules: what a put or method answers in each state,
// the defaults after Open, the ties between properties, and Open's outcomes.
#include "opos_fixture.h"

#include "opos/codec/track_codec.h"
#include "opos/control/service_factory.h"

#include <fstream>

namespace opostest {
namespace {

// A service whose description and open result the test chooses.
class ScriptedService : public opos::MsrService {
public:
    ScriptedService(std::int32_t openResult, opos::ServiceInfo info) : openResult_(openResult), info_(info) {}
    std::int32_t Open(const std::string&, const opos::ServiceSettings& settings,
                      opos::MsrServiceListener*) override
    {
        lastSettings = settings;
        return openResult_;
    }
    void Close() override {}
    opos::ServiceInfo Info() const override { return info_; }
    std::int32_t Claim() override { return 0; }
    void Release() override {}
    std::int32_t Enable(bool) override { return 0; }
    std::int32_t PowerState() const override { return OPOS_PS_ONLINE; }
    std::int32_t CheckHealth(std::int32_t, std::string& text) override
    {
        text = "scripted";
        return 0;
    }
    std::int32_t DirectIO(std::int32_t, std::int32_t&, std::string&) override { return 0; }

    static inline opos::ServiceSettings lastSettings;

private:
    std::int32_t openResult_;
    opos::ServiceInfo info_;
};

opos::ServiceInfo PlainInfo()
{
    opos::ServiceInfo info;
    info.serviceDescription = "plain";
    info.capTransmitSentinels = false;
    info.capPowerReporting = OPOS_PR_NONE;
    return info;
}

// A service that reports swipes and power changes while it opens and then
// fails to start.
class ReportsThenFailsService : public ScriptedService {
public:
    ReportsThenFailsService() : ScriptedService(OPOS_E_NOHARDWARE, PlainInfo()) {}
    std::int32_t Open(const std::string& name, const opos::ServiceSettings& settings,
                      opos::MsrServiceListener* listener) override
    {
        opos::RawCard card;
        card.tracks[1] = opos::codec::EncodeTrack(opos::codec::Track::T2, "4111111111111111=2512101").raw;
        for (int i = 0; i < 500; ++i) {
            listener->OnCardRead(card);
            listener->OnPowerState(OPOS_PS_OFFLINE);
        }
        return ScriptedService::Open(name, settings, listener);
    }
};

void SetEntry(const std::string& name, const std::string& service, opos::ServiceSettings settings = {})
{
    ASSERT_TRUE(opos::DeviceEntries().Set({name, service, std::move(settings)}).ok);
}

using ControlStateTest = OposTest;

// ---- Before Open --------------------------------------------------------

// Every writable property refuses a put with 101 while closed, and the
// method calls that need an open device do too.
TEST_F(ControlStateTest, PutsAndMethodsBeforeOpenAnswerClosed)
{
    const std::int32_t writable[] = {
        msrdisp::AutoDisable,      msrdisp::BinaryConversion,  msrdisp::DataEventEnabled,
        msrdisp::DeviceEnabled,    msrdisp::FreezeEvents,      msrdisp::PowerNotify,
        msrdisp::DecodeData,       msrdisp::ErrorReportingType, msrdisp::ParseDecodeData,
        msrdisp::TracksToRead,     msrdisp::TransmitSentinels,
    };
    for (std::int32_t dispid : writable) {
        EXPECT_EQ(c.Put(dispid, 1), OPOS_E_CLOSED) << "put of DISPID " << dispid;
    }
    EXPECT_EQ(c.Claim(0), OPOS_E_CLOSED);
    EXPECT_EQ(c.Call(msrdisp::ReleaseDevice), OPOS_E_CLOSED);
    EXPECT_EQ(c.Call(msrdisp::ClearInput), OPOS_E_CLOSED);
    EXPECT_EQ(c.CheckHealth(1), OPOS_E_CLOSED);
    EXPECT_EQ(c.Call(msrdisp::Close), OPOS_E_CLOSED);
    EXPECT_FALSE(c.Bool(msrdisp::AutoDisable));
}

// Gets answer while closed: the control's own description and version and
// the closed state; everything else its empty default.
TEST_F(ControlStateTest, GetsBeforeOpen)
{
    EXPECT_EQ(c.Str(msrdisp::DeviceControlDescription), opos::MsrControl::kDescription);
    EXPECT_EQ(c.I4(msrdisp::DeviceControlVersion), 1014000);
    EXPECT_EQ(c.I4(msrdisp::State), OPOS_S_CLOSED);
    EXPECT_EQ(c.Str(msrdisp::DeviceServiceDescription), "");
    EXPECT_EQ(c.I4(msrdisp::TracksToRead), 0);
    EXPECT_EQ(c.I4(msrdisp::PowerState), 0);
    EXPECT_FALSE(c.Bool(msrdisp::DecodeData));
    EXPECT_EQ(c.Str(msrdisp::Track1Data), "");
}

// ---- Open ----------------------------------------------------------------

struct OpenRow {
    const char* what;
    std::function<void()> setup;
    const char* name;
    std::int32_t expected;
};

TEST_F(ControlStateTest, OpenOutcomes)
{
    opos::ServiceFactory::Instance().Register("Test.Broken", [] {
        return std::make_unique<ScriptedService>(OPOS_E_NOHARDWARE, PlainInfo());
    });
    opos::ServiceFactory::Instance().Register("Test.NoMaker", [] { return nullptr; });
    const OpenRow rows[] = {
        {"registered simulated reader", [] {}, "QuellorUSBMiniMSR", 0},
        {"name compares without case", [] {}, "quellorusbminimsr", 0},
        {"unknown name", [] {}, "NoSuchReader", OPOS_E_NOEXIST},
        {"empty name", [] {}, "", OPOS_E_NOEXIST},
        {"service not installed", [] { SetEntry("Ghost", "No.Such.Service"); }, "Ghost", OPOS_E_NOSERVICE},
        {"entry without service", [] { SetEntry("Blank", ""); }, "Blank", OPOS_E_NOSERVICE},
        {"service maker fails", [] { SetEntry("NoMaker", "Test.NoMaker"); }, "NoMaker", OPOS_E_NOSERVICE},
        {"service cannot start", [] { SetEntry("Broken", "Test.Broken"); }, "Broken", OPOS_E_NOSERVICE},
    };
    for (const OpenRow& row : rows) {
        SCOPED_TRACE(row.what);
        row.setup();
        opos::MsrControl fresh;
        Ctl f(fresh);
        EXPECT_EQ(f.Open(row.name), row.expected);
        EXPECT_EQ(f.I4(msrdisp::State), row.expected == 0 ? OPOS_S_IDLE : OPOS_S_CLOSED);
        if (row.expected == 0) {
            EXPECT_EQ(f.Open(row.name), OPOS_E_ILLEGAL) << "second Open";
            EXPECT_EQ(f.Call(msrdisp::Close), 0);
        }
    }
    opos::ServiceFactory::Instance().Unregister("Test.Broken");
    opos::ServiceFactory::Instance().Unregister("Test.NoMaker");
}

// What a service reported before it failed to start is dropped with the
// session that never was, and the control opens a working device afterwards.
TEST_F(ControlStateTest, ServiceThatReportsAndThenFailsToOpenLeavesNothingBehind)
{
    opos::ServiceFactory::Instance().Register("Test.ReportsThenFails",
                                              [] { return std::make_unique<ReportsThenFailsService>(); });
    SetEntry("ReportsThenFails", "Test.ReportsThenFails");
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(c.Open("ReportsThenFails"), OPOS_E_NOSERVICE) << "attempt " << attempt;
        Pump();
        EXPECT_EQ(c.I4(msrdisp::State), OPOS_S_CLOSED) << "attempt " << attempt;
    }
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(c.Open(), 0);
    EXPECT_EQ(c.I4(msrdisp::DataCount), 0);
    opos::ServiceFactory::Instance().Unregister("Test.ReportsThenFails");
}

TEST_F(ControlStateTest, OpenPassesTheEntrySettingsToTheService)
{
    opos::ServiceFactory::Instance().Register(
        "Test.Plain", [] { return std::make_unique<ScriptedService>(0, PlainInfo()); });
    SetEntry("Plain", "Test.Plain", {{"Port", "/dev/ttyACM0"}, {"Speed", "9600"}});
    EXPECT_EQ(c.Open("Plain"), 0);
    EXPECT_EQ(ScriptedService::lastSettings,
              (opos::ServiceSettings{{"Port", "/dev/ttyACM0"}, {"Speed", "9600"}}));
    EXPECT_EQ(c.Str(msrdisp::DeviceServiceDescription), "plain");
    opos::ServiceFactory::Instance().Unregister("Test.Plain");
}

TEST_F(ControlStateTest, DamagedRegistryFailsOpenAndKeepsTheFile)
{
    const std::string path = reg::Store::DefaultPath();
    {
        std::ofstream out(path, std::ios::trunc);
        out << "this is no registry file\n";
    }
    EXPECT_EQ(c.Open(), OPOS_E_FAILURE);
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "this is no registry file");
}

TEST_F(ControlStateTest, DefaultsAfterOpen)
{
    // Spoil the properties first, so that a second Open has to reset them.
    ASSERT_EQ(c.Open(), 0);
    ASSERT_EQ(c.Claim(), 0);
    ASSERT_EQ(c.PutBool(msrdisp::AutoDisable, true), 0);
    ASSERT_EQ(c.PutBool(msrdisp::DecodeData, false), 0);
    ASSERT_EQ(c.Put(msrdisp::TracksToRead, 2), 0);
    ASSERT_EQ(c.Put(msrdisp::ErrorReportingType, 1), 0);
    ASSERT_EQ(c.Put(msrdisp::PowerNotify, 1), 0);
    ASSERT_EQ(c.PutBool(msrdisp::TransmitSentinels, true), 0);
    ASSERT_EQ(c.Call(msrdisp::Close), 0);
    ASSERT_EQ(c.Open(), 0);

    struct Row {
        std::int32_t dispid;
        std::int32_t expected;  // booleans as 0/1
    };
    const Row bools[] = {
        {msrdisp::AutoDisable, 0},   {msrdisp::DataEventEnabled, 0}, {msrdisp::FreezeEvents, 0},
        {msrdisp::DeviceEnabled, 0}, {msrdisp::Claimed, 0},          {msrdisp::DecodeData, 1},
        {msrdisp::ParseDecodeData, 1}, {msrdisp::TransmitSentinels, 0}, {msrdisp::CapISO, 1},
        {msrdisp::CapJISOne, 0},     {msrdisp::CapJISTwo, 0},        {msrdisp::CapTransmitSentinels, 1},
    };
    for (const Row& r : bools) {
        EXPECT_EQ(c.Bool(r.dispid) ? 1 : 0, r.expected) << "DISPID " << r.dispid;
    }
    const Row numbers[] = {
        {msrdisp::DataCount, 0},          {msrdisp::PowerNotify, 0},
        {msrdisp::PowerState, 2000},      {msrdisp::TracksToRead, 7},
        {msrdisp::ErrorReportingType, 0}, {msrdisp::BinaryConversion, 0},
        {msrdisp::State, OPOS_S_IDLE},    {msrdisp::CapPowerReporting, OPOS_PR_STANDARD},
        {msrdisp::DeviceServiceVersion, 1014000},
    };
    for (const Row& r : numbers) {
        EXPECT_EQ(c.I4(r.dispid), r.expected) << "DISPID " << r.dispid;
    }
    const std::int32_t emptyStrings[] = {
        msrdisp::Track1Data,     msrdisp::Track2Data,  msrdisp::Track3Data,
        msrdisp::Track4Data,     msrdisp::Track1DiscretionaryData, msrdisp::Track2DiscretionaryData,
        msrdisp::AccountNumber,  msrdisp::ExpirationDate, msrdisp::FirstName,
        msrdisp::MiddleInitial,  msrdisp::Surname,     msrdisp::Suffix,
        msrdisp::Title,          msrdisp::ServiceCode, msrdisp::CheckHealthText,
    };
    for (std::int32_t dispid : emptyStrings) {
        EXPECT_EQ(c.Str(dispid), "") << "DISPID " << dispid;
    }
    EXPECT_NE(c.Str(msrdisp::DeviceServiceDescription), "");
    EXPECT_NE(c.Str(msrdisp::PhysicalDeviceName), "");
    EXPECT_NE(c.Str(msrdisp::PhysicalDeviceDescription), "");
}

// ---- Rules by state --------------------------------------------------------

enum Stage { Opened, Claimed, Enabled };

struct RuleRow {
    const char* what;
    Stage stage;
    std::function<std::int32_t(Ctl&)> action;
    std::int32_t expected;
};

TEST_F(ControlStateTest, RulesByState)
{
    auto put = [](std::int32_t dispid, std::int32_t v) {
        return [=](Ctl& k) { return k.Put(dispid, v); };
    };
    const RuleRow rows[] = {
        {"enable without claim", Opened, put(msrdisp::DeviceEnabled, 1), OPOS_E_NOTCLAIMED},
        {"disable without claim", Opened, put(msrdisp::DeviceEnabled, 0), OPOS_E_NOTCLAIMED},
        {"enable with claim", Claimed, put(msrdisp::DeviceEnabled, 1), 0},
        {"ClearInput without claim", Opened, [](Ctl& k) { return k.Call(msrdisp::ClearInput); }, OPOS_E_NOTCLAIMED},
        {"ClearInput with claim", Claimed, [](Ctl& k) { return k.Call(msrdisp::ClearInput); }, 0},
        {"Release without claim", Opened, [](Ctl& k) { return k.Call(msrdisp::ReleaseDevice); }, OPOS_E_NOTCLAIMED},
        {"Release with claim", Claimed, [](Ctl& k) { return k.Call(msrdisp::ReleaseDevice); }, 0},
        {"claim again", Claimed, [](Ctl& k) { return k.Claim(0); }, 0},
        {"claim timeout below -1", Opened, [](Ctl& k) { return k.Claim(-2); }, OPOS_E_ILLEGAL},
        {"CheckHealth without claim", Opened, [](Ctl& k) { return k.CheckHealth(1); }, OPOS_E_NOTCLAIMED},
        {"CheckHealth disabled", Claimed, [](Ctl& k) { return k.CheckHealth(1); }, OPOS_E_DISABLED},
        {"CheckHealth level 0", Enabled, [](Ctl& k) { return k.CheckHealth(0); }, OPOS_E_ILLEGAL},
        {"CheckHealth level 4", Enabled, [](Ctl& k) { return k.CheckHealth(4); }, OPOS_E_ILLEGAL},
        {"CheckHealth internal", Enabled, [](Ctl& k) { return k.CheckHealth(1); }, 0},
        {"TracksToRead 0", Opened, put(msrdisp::TracksToRead, 0), OPOS_E_ILLEGAL},
        {"TracksToRead 16", Opened, put(msrdisp::TracksToRead, 16), OPOS_E_ILLEGAL},
        {"TracksToRead -1", Opened, put(msrdisp::TracksToRead, -1), OPOS_E_ILLEGAL},
        {"TracksToRead 15", Opened, put(msrdisp::TracksToRead, 15), 0},
        {"TracksToRead 4", Opened, put(msrdisp::TracksToRead, 4), 0},
        {"ErrorReportingType 2", Opened, put(msrdisp::ErrorReportingType, 2), OPOS_E_ILLEGAL},
        {"ErrorReportingType -1", Opened, put(msrdisp::ErrorReportingType, -1), OPOS_E_ILLEGAL},
        {"ErrorReportingType 1", Opened, put(msrdisp::ErrorReportingType, 1), 0},
        {"BinaryConversion 3", Opened, put(msrdisp::BinaryConversion, 3), OPOS_E_ILLEGAL},
        {"BinaryConversion 2", Opened, put(msrdisp::BinaryConversion, 2), 0},
        {"TransmitSentinels with capability", Opened, put(msrdisp::TransmitSentinels, 1), 0},
        {"PowerNotify while disabled", Claimed, put(msrdisp::PowerNotify, 1), 0},
        {"PowerNotify while enabled", Enabled, put(msrdisp::PowerNotify, 1), OPOS_E_ILLEGAL},
        {"PowerNotify 2", Opened, put(msrdisp::PowerNotify, 2), OPOS_E_ILLEGAL},
        {"AutoDisable without claim", Opened, put(msrdisp::AutoDisable, 1), 0},
        {"DataEventEnabled without claim", Opened, put(msrdisp::DataEventEnabled, 1), 0},
        {"DirectIO echo", Opened,
         [](Ctl& k) {
             return k.Call(msrdisp::DirectIO, {com::Variant::FromI4(0), com::Variant::FromI4(5),
                                               com::Variant::FromNarrow("x")});
         },
         0},
        {"DirectIO unknown command", Opened,
         [](Ctl& k) {
             return k.Call(msrdisp::DirectIO, {com::Variant::FromI4(9), com::Variant::FromI4(5),
                                               com::Variant::FromNarrow("x")});
         },
         OPOS_E_ILLEGAL},
    };
    for (const RuleRow& row : rows) {
        SCOPED_TRACE(row.what);
        opos::MsrControl fresh;
        Ctl k(fresh);
        ASSERT_EQ(k.Open(), 0);
        if (row.stage >= Claimed) {
            ASSERT_EQ(k.Claim(0), 0);
        }
        if (row.stage >= Enabled) {
            ASSERT_EQ(k.Enable(), 0);
        }
        EXPECT_EQ(row.action(k), row.expected);
        EXPECT_EQ(k.I4(msrdisp::ResultCodeExtended), 0);
    }
}

// A refused put leaves the property as it was.
TEST_F(ControlStateTest, RefusedPutKeepsTheValue)
{
    ASSERT_EQ(c.Open(), 0);
    ASSERT_EQ(c.Put(msrdisp::TracksToRead, 3), 0);
    ASSERT_EQ(c.Put(msrdisp::TracksToRead, 32), OPOS_E_ILLEGAL);
    EXPECT_EQ(c.I4(msrdisp::TracksToRead), 3);
    ASSERT_EQ(c.Put(msrdisp::ErrorReportingType, 7), OPOS_E_ILLEGAL);
    EXPECT_EQ(c.I4(msrdisp::ErrorReportingType), 0);
}

TEST_F(ControlStateTest, CapabilityChecksFollowTheService)
{
    opos::ServiceFactory::Instance().Register(
        "Test.Plain", [] { return std::make_unique<ScriptedService>(0, PlainInfo()); });
    SetEntry("Plain", "Test.Plain");
    ASSERT_EQ(c.Open("Plain"), 0);
    EXPECT_FALSE(c.Bool(msrdisp::CapTransmitSentinels));
    EXPECT_EQ(c.PutBool(msrdisp::TransmitSentinels, true), OPOS_E_ILLEGAL);
    EXPECT_EQ(c.PutBool(msrdisp::TransmitSentinels, false), 0);
    EXPECT_EQ(c.Put(msrdisp::PowerNotify, 1), OPOS_E_ILLEGAL) << "no power reporting";
    opos::ServiceFactory::Instance().Unregister("Test.Plain");
}

// DecodeData false turns parsing off; ParseDecodeData true turns decoding on.
TEST_F(ControlStateTest, DecodeAndParseAreTied)
{
    struct Step {
        std::int32_t dispid;
        bool value;
        bool decode, parse;  // afterwards
    };
    const Step steps[] = {
        {msrdisp::ParseDecodeData, false, true, false},
        {msrdisp::DecodeData, false, false, false},
        {msrdisp::ParseDecodeData, true, true, true},
        {msrdisp::DecodeData, true, true, true},
        {msrdisp::DecodeData, false, false, false},
        {msrdisp::DecodeData, true, true, false},
    };
    ASSERT_EQ(c.Open(), 0);
    int i = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE("step " + std::to_string(i++));
        EXPECT_EQ(c.PutBool(s.dispid, s.value), 0);
        EXPECT_EQ(c.Bool(msrdisp::DecodeData), s.decode);
        EXPECT_EQ(c.Bool(msrdisp::ParseDecodeData), s.parse);
    }
}

TEST_F(ControlStateTest, ReleaseAndCloseDisableAndGiveUpTheClaim)
{
    OpenClaimEnable();
    EXPECT_EQ(c.Call(msrdisp::ReleaseDevice), 0);
    EXPECT_FALSE(c.Bool(msrdisp::DeviceEnabled));
    EXPECT_FALSE(c.Bool(msrdisp::Claimed));

    ASSERT_EQ(c.Claim(0), 0);
    opos::MsrControl other;
    Ctl o(other);
    ASSERT_EQ(o.Open(), 0);
    EXPECT_EQ(o.Claim(0), OPOS_E_TIMEOUT) << "claimed by the first control";
    EXPECT_EQ(c.Call(msrdisp::Close), 0);
    EXPECT_EQ(c.I4(msrdisp::State), OPOS_S_CLOSED);
    EXPECT_FALSE(c.Bool(msrdisp::Claimed));
    EXPECT_EQ(o.Claim(0), 0) << "Close gave the claim up";
}

TEST_F(ControlStateTest, CheckHealthTextNamesLevelAndOutcome)
{
    OpenClaimEnable();
    struct Row {
        std::int32_t level;
        bool plugged;
        std::int32_t rc;
        const char* level_word;
        const char* outcome;
    };
    const Row rows[] = {
        {1, true, 0, "Internal", "Successful"},
        {2, true, 0, "External", "Successful"},
        {3, true, 0, "Interactive", "Successful"},
        {2, false, OPOS_E_NOHARDWARE, "External", "Failed"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.level_word);
        r.plugged ? reader->Plug() : reader->Unplug();
        EXPECT_EQ(c.CheckHealth(r.level), r.rc);
        const std::string text = c.Str(msrdisp::CheckHealthText);
        EXPECT_NE(text.find(r.level_word), std::string::npos) << text;
        EXPECT_NE(text.find(r.outcome), std::string::npos) << text;
    }
}

TEST_F(ControlStateTest, UnpluggedReaderAnswersNoHardware)
{
    ASSERT_EQ(c.Open(), 0);
    reader->Unplug();
    EXPECT_EQ(c.Claim(0), OPOS_E_NOHARDWARE);
    EXPECT_FALSE(c.Bool(msrdisp::Claimed));
    reader->Plug();
    ASSERT_EQ(c.Claim(0), 0);
    reader->Unplug();
    EXPECT_EQ(c.Enable(), OPOS_E_NOHARDWARE);
    EXPECT_FALSE(c.Bool(msrdisp::DeviceEnabled));
    reader->Plug();
    EXPECT_EQ(c.Enable(), 0);
}

// Dispatch-level faults are answered below the OPOS result codes.
TEST_F(ControlStateTest, DispatchFaults)
{
    com::Variant r;
    com::Variant one = com::Variant::FromI4(1);
    com::Variant text = com::Variant::FromNarrow("x");
    EXPECT_EQ(control->Invoke(999, com::InvokeKind::PropertyGet, {}, &r), com::DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(control->Invoke(msrdisp::State, com::InvokeKind::PropertyPut, std::span(&one, 1), nullptr),
              com::DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(control->Invoke(msrdisp::TracksToRead, com::InvokeKind::PropertyPut, std::span(&text, 1),
                              nullptr),
              com::DISP_E_TYPEMISMATCH);
    EXPECT_EQ(control->Invoke(msrdisp::Open, com::InvokeKind::Method, std::span(&one, 1), &r),
              com::DISP_E_TYPEMISMATCH);
    EXPECT_EQ(control->Invoke(msrdisp::Close, com::InvokeKind::Method, std::span(&one, 1), &r),
              com::DISP_E_BADPARAMCOUNT);
}

}  // namespace
}  // namespace opostest
