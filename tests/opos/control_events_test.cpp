// The control's input queue and events: DataEvent queueing and delivery,
// AutoDisable, FreezeEvents, ClearInput, the data properties, ErrorEvent in
// card and track mode and the response acted on, binary conversion, power
// reporting and DirectIO events.
#include "opos_fixture.h"

#include "opos/codec/track_codec.h"

#include <thread>

namespace opostest {
namespace {

using ControlEventsTest = OposTest;

// The raw stripe bytes of one track of a card, as the reader records them.
std::vector<std::uint8_t> RawOf(const opos::TestCard& card, int track)
{
    auto r = opos::codec::EncodeTrack(static_cast<opos::codec::Track>(track),
                                      card.tracks[static_cast<std::size_t>(track - 1)]);
    EXPECT_TRUE(r.ok) << r.error;
    return r.raw;
}

TEST_F(ControlEventsTest, DataIsQueuedOnlyWhileEnabledAndDeliveredWhenAllowed)
{
    ASSERT_EQ(c.Open(), 0);
    ASSERT_EQ(c.Claim(), 0);
    EXPECT_FALSE(reader->Swipe(Card(0)).read) << "disabled reader reads nothing";
    ASSERT_EQ(c.Enable(), 0);
    Pump();
    EXPECT_TRUE(reader->Swipe(Card(0)).read);
    EXPECT_TRUE(reader->Swipe(Card(1)).read);
    Pump();
    EXPECT_EQ(c.I4(msrdisp::DataCount), 2);
    EXPECT_TRUE(sink.Of(msrdisp::DataEvent).empty()) << "DataEventEnabled is false";
    EXPECT_EQ(c.Str(msrdisp::Track2Data), "") << "data properties are set at delivery";

    // Each DataEventEnabled = TRUE lets one event out, and the control turns
    // it off again just before firing.
    std::vector<std::string> seen;
    sink.during = [&](const FiredEvent&) {
        seen.push_back(c.Str(msrdisp::Track2Data));
        EXPECT_FALSE(c.Bool(msrdisp::DataEventEnabled));
    };
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    Pump();
    ASSERT_EQ(sink.Of(msrdisp::DataEvent).size(), 1u);
    EXPECT_EQ(c.I4(msrdisp::DataCount), 1);
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    Pump();
    ASSERT_EQ(sink.Of(msrdisp::DataEvent).size(), 2u);
    EXPECT_EQ(c.I4(msrdisp::DataCount), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{Card(0).tracks[1], Card(1).tracks[1]}));
}

TEST_F(ControlEventsTest, HandlerThatReenablesGetsEveryEventInOrder)
{
    OpenClaimEnable(true);
    sink.during = [&](const FiredEvent&) { c.PutBool(msrdisp::DataEventEnabled, true); };
    for (int i = 0; i < 3; ++i) {
        reader->Swipe(Card(static_cast<std::size_t>(i)));
    }
    Pump();
    EXPECT_EQ(sink.Of(msrdisp::DataEvent).size(), 3u);
    EXPECT_EQ(c.Str(msrdisp::Track2Data), Card(2).tracks[1]);
}

TEST_F(ControlEventsTest, AutoDisableStopsAfterOneCard)
{
    OpenClaimEnable(false);
    ASSERT_EQ(c.PutBool(msrdisp::AutoDisable, true), 0);
    EXPECT_TRUE(reader->Swipe(Card(0)).read);
    Pump();
    EXPECT_FALSE(c.Bool(msrdisp::DeviceEnabled));
    EXPECT_FALSE(reader->Swipe(Card(1)).read);
    Pump();
    EXPECT_EQ(c.I4(msrdisp::DataCount), 1);
}

TEST_F(ControlEventsTest, FreezeEventsHoldsDelivery)
{
    OpenClaimEnable(true);
    ASSERT_EQ(c.PutBool(msrdisp::FreezeEvents, true), 0);
    reader->Swipe(Card(0));
    Pump();
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(c.I4(msrdisp::DataCount), 1);
    ASSERT_EQ(c.PutBool(msrdisp::FreezeEvents, false), 0);
    Pump();
    EXPECT_EQ(sink.Of(msrdisp::DataEvent).size(), 1u);
    EXPECT_EQ(c.I4(msrdisp::DataCount), 0);
}

TEST_F(ControlEventsTest, ClearInputEmptiesTheQueueAndPendingErrors)
{
    OpenClaimEnable(false);
    reader->Swipe(Card(0));
    reader->BadSwipe(Card(0), opos::BadSwipeKind::Lrc, 1);
    Pump();
    EXPECT_EQ(c.I4(msrdisp::DataCount), 1);
    EXPECT_EQ(c.I4(msrdisp::State), OPOS_S_ERROR);
    EXPECT_EQ(c.Call(msrdisp::ClearInput), 0);
    EXPECT_EQ(c.I4(msrdisp::DataCount), 0);
    EXPECT_EQ(c.I4(msrdisp::State), OPOS_S_IDLE);
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    Pump();
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(ControlEventsTest, DataPropertiesOfABankCard)
{
    OpenClaimEnable(true);
    reader->Swipe(Card(0));  // Visa - JOHN Q PUBLIC
    Pump();
    ASSERT_EQ(sink.Of(msrdisp::DataEvent).size(), 1u);
    EXPECT_EQ(c.Str(msrdisp::Track1Data), Card(0).tracks[0]);
    EXPECT_EQ(c.Str(msrdisp::Track2Data), Card(0).tracks[1]);
    EXPECT_EQ(c.Str(msrdisp::Track3Data), "");
    EXPECT_EQ(c.Str(msrdisp::AccountNumber), "4111111111111111");
    EXPECT_EQ(c.Str(msrdisp::ExpirationDate), "2912");
    EXPECT_EQ(c.Str(msrdisp::Surname), "PUBLIC");
    EXPECT_EQ(c.Str(msrdisp::FirstName), "JOHN");
    EXPECT_EQ(c.Str(msrdisp::MiddleInitial), "Q");
    EXPECT_EQ(c.Str(msrdisp::Title), "MR");
    EXPECT_EQ(c.Str(msrdisp::ServiceCode), "101");
    EXPECT_EQ(c.Str(msrdisp::Track1DiscretionaryData), "000000123000000");
    EXPECT_EQ(c.Str(msrdisp::Track2DiscretionaryData), "0000012300");
    // Status: the length of each track's data, track 1 in the lowest byte.
    const std::int32_t status = sink.Of(msrdisp::DataEvent)[0].ints.at(0);
    EXPECT_EQ(status & 0xFF, static_cast<std::int32_t>(Card(0).tracks[0].size()));
    EXPECT_EQ((status >> 8) & 0xFF, static_cast<std::int32_t>(Card(0).tracks[1].size()));
    EXPECT_EQ(status >> 16, 0);
}

struct ShapeRow {
    const char* what;
    std::int32_t tracksToRead;
    bool sentinels;
    bool parse;
    std::size_t card;
    const char* track1;
    const char* track2;
    const char* track3;
    const char* surname;
    const char* account;
};

TEST_F(ControlEventsTest, TracksToReadSentinelsAndParsingShapeTheData)
{
    const ShapeRow rows[] = {
        {"track 2 only", 2, false, true, 0, "", "4111111111111111=29121010000012300", "", "",
         "4111111111111111"},
        {"sentinels", 3, true, true, 4, "", ";6011000990139424=25121010000000000?", "", "",
         "6011000990139424"},
        {"no parsing", 7, false, false, 0, "B4111111111111111^PUBLIC/JOHN Q.MR^2912101000000123000000",
         "4111111111111111=29121010000012300", "", "", ""},
        {"track 3 card", 4, false, true, 3, "", "",
         "016011111111111117=724724100000000000030300000000000000000000000000000000", "", ""},
    };
    for (const ShapeRow& row : rows) {
        SCOPED_TRACE(row.what);
        opos::MsrControl fresh;
        RecordingSink s;
        fresh.Advise(&s);
        Ctl k(fresh);
        ASSERT_EQ(k.Open(), 0);
        ASSERT_EQ(k.Claim(), 0);
        ASSERT_EQ(k.Put(msrdisp::TracksToRead, row.tracksToRead), 0);
        ASSERT_EQ(k.PutBool(msrdisp::TransmitSentinels, row.sentinels), 0);
        ASSERT_EQ(k.PutBool(msrdisp::ParseDecodeData, row.parse), 0);
        ASSERT_EQ(k.Enable(), 0);
        ASSERT_EQ(k.PutBool(msrdisp::DataEventEnabled, true), 0);
        ASSERT_TRUE(reader->Swipe(Card(row.card)).read);
        Pump();
        ASSERT_EQ(s.Of(msrdisp::DataEvent).size(), 1u);
        EXPECT_EQ(k.Str(msrdisp::Track1Data), row.track1);
        EXPECT_EQ(k.Str(msrdisp::Track2Data), row.track2);
        EXPECT_EQ(k.Str(msrdisp::Track3Data), row.track3);
        EXPECT_EQ(k.Str(msrdisp::Surname), row.surname);
        EXPECT_EQ(k.Str(msrdisp::AccountNumber), row.account);
    }
}

// Undecoded data: the raw bytes, in the chosen binary conversion. Without
// sentinels the start sentinel, end sentinel and LRC are dropped.
TEST_F(ControlEventsTest, BinaryConversionOfUndecodedData)
{
    const std::vector<std::uint8_t> raw = RawOf(Card(4), 2);
    ASSERT_GE(raw.size(), 3u);
    const std::vector<std::uint8_t> inner(raw.begin() + 1, raw.end() - 2);
    auto nibble = [](const std::vector<std::uint8_t>& bytes) {
        std::string s;
        for (std::uint8_t b : bytes) {
            s.push_back(static_cast<char>(0x30 + (b >> 4)));
            s.push_back(static_cast<char>(0x30 + (b & 0x0F)));
        }
        return s;
    };
    auto decimal = [](const std::vector<std::uint8_t>& bytes) {
        std::string s;
        for (std::uint8_t b : bytes) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%03u", static_cast<unsigned>(b));
            s += buf;
        }
        return s;
    };
    auto plain = [](const std::vector<std::uint8_t>& bytes) {
        return com::OleString(bytes.begin(), bytes.end());
    };
    struct Row {
        const char* what;
        std::int32_t conversion;
        bool sentinels;
        com::OleString expected;
    };
    const Row rows[] = {
        {"none", OPOS_BC_NONE, false, plain(inner)},
        {"none with sentinels", OPOS_BC_NONE, true, plain(raw)},
        {"nibble", OPOS_BC_NIBBLE, false, com::OleFromNarrow(nibble(inner))},
        {"nibble with sentinels", OPOS_BC_NIBBLE, true, com::OleFromNarrow(nibble(raw))},
        {"decimal", OPOS_BC_DECIMAL, false, com::OleFromNarrow(decimal(inner))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        opos::MsrControl fresh;
        RecordingSink s;
        fresh.Advise(&s);
        Ctl k(fresh);
        ASSERT_EQ(k.Open(), 0);
        ASSERT_EQ(k.Claim(), 0);
        ASSERT_EQ(k.PutBool(msrdisp::DecodeData, false), 0);
        ASSERT_EQ(k.Put(msrdisp::BinaryConversion, row.conversion), 0);
        ASSERT_EQ(k.PutBool(msrdisp::TransmitSentinels, row.sentinels), 0);
        ASSERT_EQ(k.Enable(), 0);
        ASSERT_EQ(k.PutBool(msrdisp::DataEventEnabled, true), 0);
        reader->Swipe(Card(4));
        Pump();
        ASSERT_EQ(s.Of(msrdisp::DataEvent).size(), 1u);
        EXPECT_TRUE(k.Ole(msrdisp::Track2Data) == row.expected);
        EXPECT_EQ(k.Str(msrdisp::AccountNumber), "") << "undecoded data is not parsed";
    }
}

// ---- Error events -------------------------------------------------------------

struct ErrorRow {
    const char* what;
    std::int32_t reportingType;
    opos::BadSwipeKind kind;
    int track;
    std::size_t card;
    std::int32_t rc, ext;
    const char* track1;  // after the event (track mode fills the good tracks)
    const char* track2;
};

TEST_F(ControlEventsTest, ErrorEventInCardAndTrackMode)
{
    const std::string visa1 = Card(0).tracks[0];
    const std::string visa2 = Card(0).tracks[1];
    const ErrorRow rows[] = {
        {"card mode parity", MSR_ERT_CARD, opos::BadSwipeKind::Parity, 2, 0, OPOS_E_FAILURE, 0, "", ""},
        {"card mode start", MSR_ERT_CARD, opos::BadSwipeKind::Start, 1, 0, OPOS_E_FAILURE, 0, "", ""},
        {"track mode parity 2", MSR_ERT_TRACK, opos::BadSwipeKind::Parity, 2, 0, OPOS_E_EXTENDED, 203 << 8,
         visa1.c_str(), ""},
        {"track mode start 1", MSR_ERT_TRACK, opos::BadSwipeKind::Start, 1, 0, OPOS_E_EXTENDED, 201, "",
         visa2.c_str()},
        {"track mode LRC 1", MSR_ERT_TRACK, opos::BadSwipeKind::Lrc, 1, 0, OPOS_E_EXTENDED, 204, "",
         visa2.c_str()},
        {"track mode end 3", MSR_ERT_TRACK, opos::BadSwipeKind::End, 3, 3, OPOS_E_EXTENDED, 202 << 16,
         "B6011111111111117^CHAN/LEE K^2703101000000789", "6011111111111117=27031010000078900"},
    };
    for (const ErrorRow& row : rows) {
        SCOPED_TRACE(row.what);
        opos::MsrControl fresh;
        RecordingSink s;
        fresh.Advise(&s);
        Ctl k(fresh);
        ASSERT_EQ(k.Open(), 0);
        ASSERT_EQ(k.Claim(), 0);
        ASSERT_EQ(k.Put(msrdisp::ErrorReportingType, row.reportingType), 0);
        ASSERT_EQ(k.Enable(), 0);
        ASSERT_EQ(k.PutBool(msrdisp::DataEventEnabled, true), 0);
        std::string during1, during2;
        s.during = [&](const FiredEvent&) {
            during1 = k.Str(msrdisp::Track1Data);
            during2 = k.Str(msrdisp::Track2Data);
            EXPECT_EQ(k.I4(msrdisp::State), OPOS_S_ERROR);
            EXPECT_FALSE(k.Bool(msrdisp::DataEventEnabled));
        };
        const auto swipe = reader->BadSwipe(Card(row.card), row.kind, row.track);
        ASSERT_TRUE(swipe.error.empty()) << swipe.error;
        ASSERT_TRUE(swipe.read);
        Pump();
        ASSERT_EQ(s.events.size(), 1u);
        const FiredEvent& e = s.events[0];
        ASSERT_EQ(e.dispid, msrdisp::ErrorEvent);
        ASSERT_EQ(e.ints.size(), 4u);
        EXPECT_EQ(e.ints[0], row.rc);
        EXPECT_EQ(e.ints[1], row.ext);
        EXPECT_EQ(e.ints[2], 2) << "locus: input, nothing queued";
        EXPECT_EQ(e.ints[3], OPOS_ER_CLEAR) << "default response for locus 2";
        EXPECT_EQ(during1, row.track1);
        EXPECT_EQ(during2, row.track2);
        EXPECT_EQ(k.I4(msrdisp::State), OPOS_S_IDLE) << "cleared after the handler";
    }
}

TEST_F(ControlEventsTest, ErrorOnATrackNotReadIsNoError)
{
    OpenClaimEnable(false);
    ASSERT_EQ(c.Put(msrdisp::TracksToRead, 2), 0);
    reader->BadSwipe(Card(0), opos::BadSwipeKind::Parity, 1);
    Pump();
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    Pump();
    ASSERT_EQ(sink.Of(msrdisp::DataEvent).size(), 1u);
    EXPECT_TRUE(sink.Of(msrdisp::ErrorEvent).empty());
    EXPECT_EQ(c.Str(msrdisp::Track2Data), Card(0).tracks[1]);
}

struct ResponseRow {
    const char* what;
    bool dataQueued;          // a good card waits when the bad one comes
    std::int32_t response;    // 0: the handler leaves the default
    std::int32_t locus;
    std::int32_t defaultResponse;
    std::size_t dataEventsAfter;
};

// The control acts on the response the handler leaves: clear empties the
// queue, continue input lets the queued data through, retry counts as clear.
TEST_F(ControlEventsTest, ErrorResponsesAreActedOn)
{
    const ResponseRow rows[] = {
        {"locus 2 default", false, 0, 2, OPOS_ER_CLEAR, 0},
        {"locus 3 default continues", true, 0, 3, OPOS_ER_CONTINUEINPUT, 1},
        {"locus 3 clear", true, OPOS_ER_CLEAR, 3, OPOS_ER_CONTINUEINPUT, 0},
        {"locus 3 retry taken as clear", true, OPOS_ER_RETRY, 3, OPOS_ER_CONTINUEINPUT, 0},
        {"locus 3 continue", true, OPOS_ER_CONTINUEINPUT, 3, OPOS_ER_CONTINUEINPUT, 1},
        {"locus 3 nonsense gets the default", true, 99, 3, OPOS_ER_CONTINUEINPUT, 1},
        {"locus 2 retry", false, OPOS_ER_RETRY, 2, OPOS_ER_CLEAR, 0},
    };
    for (const ResponseRow& row : rows) {
        SCOPED_TRACE(row.what);
        opos::MsrControl fresh;
        RecordingSink s;
        s.errorResponse = row.response;
        fresh.Advise(&s);
        Ctl k(fresh);
        ASSERT_EQ(k.Open(), 0);
        ASSERT_EQ(k.Claim(), 0);
        ASSERT_EQ(k.Enable(), 0);
        // The handler re-enables data events, as the console does.
        s.during = [&](const FiredEvent&) { k.PutBool(msrdisp::DataEventEnabled, true); };
        if (row.dataQueued) {
            reader->Swipe(Card(1));
        }
        reader->BadSwipe(Card(0), opos::BadSwipeKind::Parity, 2);
        Pump();
        ASSERT_EQ(k.I4(msrdisp::DataCount), row.dataQueued ? 1 : 0);
        ASSERT_EQ(k.PutBool(msrdisp::DataEventEnabled, true), 0);
        Pump();
        ASSERT_GE(s.events.size(), 1u);
        EXPECT_EQ(s.events[0].dispid, msrdisp::ErrorEvent) << "the error goes ahead of queued data";
        EXPECT_EQ(s.events[0].ints.at(2), row.locus);
        EXPECT_EQ(s.events[0].ints.at(3), row.defaultResponse) << "the response handed in";
        EXPECT_EQ(s.Of(msrdisp::DataEvent).size(), row.dataEventsAfter);
        EXPECT_EQ(k.I4(msrdisp::DataCount), 0);
        EXPECT_EQ(k.I4(msrdisp::State), OPOS_S_IDLE);
    }
}

TEST_F(ControlEventsTest, ReadFailureReportsFailureInBothModes)
{
    OpenClaimEnable(true);
    ASSERT_EQ(c.Put(msrdisp::ErrorReportingType, MSR_ERT_TRACK), 0);
    ASSERT_TRUE(reader->FailRead());
    Pump();
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].ints.at(0), OPOS_E_FAILURE);
    EXPECT_EQ(sink.events[0].ints.at(1), 0);
}

TEST_F(ControlEventsTest, BadSwipeInputIsRefusedWithAReason)
{
    OpenClaimEnable(true);
    struct Row {
        const char* what;
        opos::TestCard card;
        int track;
        const char* mentions;
    };
    const Row rows[] = {
        {"empty track", Card(4), 1, "empty"},
        {"no such track", Card(0), 5, "track 5"},
        {"bad character", {"x", {"", "12A4", "", ""}}, 2, "track 2"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const auto result = reader->BadSwipe(r.card, opos::BadSwipeKind::Parity, r.track);
        EXPECT_FALSE(result.read);
        EXPECT_NE(result.error.find(r.mentions), std::string::npos) << result.error;
    }
    const auto bad = reader->Swipe({"x", {"", "12A4", "", ""}});
    EXPECT_FALSE(bad.read);
    EXPECT_FALSE(bad.error.empty());
    Pump();
    EXPECT_TRUE(sink.events.empty());
}

// ---- Power, DirectIO, threads -----------------------------------------------

TEST_F(ControlEventsTest, PowerReportingWhileNotifyIsOn)
{
    ASSERT_EQ(c.Open(), 0);
    ASSERT_EQ(c.Claim(), 0);
    ASSERT_EQ(c.Put(msrdisp::PowerNotify, OPOS_PN_ENABLED), 0);
    ASSERT_EQ(c.Enable(), 0);
    Pump();
    EXPECT_EQ(c.I4(msrdisp::PowerState), OPOS_PS_ONLINE);
    reader->Unplug();
    Pump();
    EXPECT_EQ(c.I4(msrdisp::PowerState), OPOS_PS_OFFLINE);
    reader->Plug();
    Pump();
    EXPECT_EQ(c.I4(msrdisp::PowerState), OPOS_PS_ONLINE);
    std::vector<std::int32_t> updates;
    for (const FiredEvent& e : sink.Of(msrdisp::StatusUpdateEvent)) {
        updates.push_back(e.ints.at(0));
    }
    EXPECT_EQ(updates, (std::vector<std::int32_t>{OPOS_SUE_POWER_ONLINE, OPOS_SUE_POWER_OFFLINE,
                                                  OPOS_SUE_POWER_ONLINE}));
}

TEST_F(ControlEventsTest, NoPowerReportingWhileNotifyIsOff)
{
    OpenClaimEnable(true);
    reader->Unplug();
    Pump();
    reader->Plug();
    Pump();
    EXPECT_TRUE(sink.Of(msrdisp::StatusUpdateEvent).empty());
    EXPECT_EQ(c.I4(msrdisp::PowerState), OPOS_PS_UNKNOWN);
}

TEST_F(ControlEventsTest, DirectIOEventCarriesItsArguments)
{
    OpenClaimEnable(false);
    ASSERT_TRUE(reader->FireDirectIOEvent(7, 42, "hello"));
    Pump();
    const auto events = sink.Of(msrdisp::DirectIOEvent);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].ints, (std::vector<std::int32_t>{7, 42}));
    EXPECT_EQ(events[0].text, "hello");
}

// A swipe from another thread is delivered on the thread that runs the
// posted tasks (the user-interface thread), never on the swiping thread.
TEST_F(ControlEventsTest, EventsFireOnTheUserInterfaceThread)
{
    OpenClaimEnable(true);
    std::thread swiper([&] { reader->Swipe(Card(0)); });
    swiper.join();
    Pump();
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].thread, std::this_thread::get_id());
}

// A handler that closes the device and opens it again (from a modal loop it
// runs) still gets the events of the new session: deliveries posted while it
// ran found it busy, and go out once it returns.
TEST_F(ControlEventsTest, HandlerThatReopensTheDeviceGetsTheNewSessionsEvents)
{
    OpenClaimEnable(true);
    bool reopened = false;
    sink.during = [&](const FiredEvent& e) {
        if (reopened || e.dispid != msrdisp::DataEvent) {
            return;
        }
        reopened = true;
        ASSERT_EQ(c.Call(msrdisp::Close), 0);
        OpenClaimEnable(true);  // runs the posted tasks, as a nested modal loop does
        ASSERT_TRUE(reader->Swipe(Card(1)).read);
        Pump();
    };
    ASSERT_TRUE(reader->Swipe(Card(0)).read);
    Pump();
    ASSERT_TRUE(reopened);
    ASSERT_EQ(sink.Of(msrdisp::DataEvent).size(), 2u);
    EXPECT_EQ(c.Str(msrdisp::Track2Data), Card(1).tracks[1]);
    EXPECT_EQ(c.I4(msrdisp::DataCount), 0);
}

// The control may be destroyed while what its reader reported still waits on
// the device thread or in the posted tasks, or from inside one of its own
// event calls: nothing is fired afterwards and the reader is let go.
TEST_F(ControlEventsTest, ControlDestroyedWithEventsPendingOrInsideAHandler)
{
    struct Row {
        const char* what;
        bool insideHandler;
        std::size_t eventsFired;
    };
    const Row rows[] = {
        {"destroyed with events pending", false, 0},
        {"destroyed inside the ErrorEvent handler", true, 2},  // DirectIOEvent, then ErrorEvent
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        control = std::make_unique<opos::MsrControl>();
        control->Advise(&sink);
        sink.events.clear();
        sink.during = nullptr;
        OpenClaimEnable(true);
        if (row.insideHandler) {
            sink.during = [&](const FiredEvent& e) {
                if (e.dispid == msrdisp::ErrorEvent) {
                    control.reset();
                }
            };
        }
        ASSERT_TRUE(reader->BadSwipe(Card(0), opos::BadSwipeKind::Parity, 2).read);
        ASSERT_TRUE(reader->Swipe(Card(1)).read);
        ASSERT_TRUE(reader->FireDirectIOEvent(3, 4, "pending"));
        if (!row.insideHandler) {
            control.reset();
        }
        Pump();
        EXPECT_EQ(control, nullptr);
        EXPECT_EQ(sink.events.size(), row.eventsFired);
        EXPECT_FALSE(reader->IsOpen());
        EXPECT_FALSE(reader->Swipe(Card(0)).read);
    }
}

// A reader that sends faster than the application takes its events (stuck,
// or noise on its line) fills the input queue only up to its bound; what
// was queued is then delivered as usual, and input is taken again.
TEST_F(ControlEventsTest, InputQueueIsBounded)
{
    OpenClaimEnable(false);
    const std::size_t bound = opos::MsrControl::kMaxQueuedInput;
    for (std::size_t i = 0; i < bound; ++i) {
        ASSERT_TRUE(reader->Swipe(Card(0)).read);
        ASSERT_TRUE(reader->FailRead());
    }
    Pump();
    EXPECT_EQ(c.I4(msrdisp::DataCount), static_cast<std::int32_t>(bound / 2));
    EXPECT_EQ(c.I4(msrdisp::State), OPOS_S_ERROR);

    sink.errorResponse = OPOS_ER_CONTINUEINPUT;
    sink.during = [&](const FiredEvent&) { c.PutBool(msrdisp::DataEventEnabled, true); };
    ASSERT_EQ(c.PutBool(msrdisp::DataEventEnabled, true), 0);
    Pump();
    EXPECT_EQ(sink.Of(msrdisp::ErrorEvent).size(), bound / 2);
    EXPECT_EQ(sink.Of(msrdisp::DataEvent).size(), bound / 2);
    EXPECT_EQ(c.I4(msrdisp::DataCount), 0);
    EXPECT_EQ(c.I4(msrdisp::State), OPOS_S_IDLE);

    ASSERT_TRUE(reader->Swipe(Card(1)).read);
    Pump();
    EXPECT_EQ(sink.Of(msrdisp::DataEvent).size(), bound / 2 + 1);
    EXPECT_EQ(c.Str(msrdisp::Track2Data), Card(1).tracks[1]);
}

TEST_F(ControlEventsTest, NothingArrivesAfterClose)
{
    OpenClaimEnable(true);
    reader->Swipe(Card(0));
    EXPECT_EQ(c.Call(msrdisp::Close), 0);
    Pump();
    EXPECT_TRUE(sink.events.empty());
    EXPECT_FALSE(reader->IsOpen());
}

}  // namespace
}  // namespace opostest
