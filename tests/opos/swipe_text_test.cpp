// Parsing a swipe's text into raw tracks, and cutting a byte stream into
// swipes at the terminator.
#include "opos/codec/track_codec.h"
#include "opos/control/swipe_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using opos::SwipeAssembler;
using opos::SwipeTerminator;
using opos::SwipeText;
using opos::codec::DecodeTrack;
using opos::codec::Track;
using opos::codec::TrackError;

const std::string kT1 = "B4111111111111111^DOE/JOHN^2512101000000";
const std::string kT2 = "4111111111111111=25121010000000000";

// What a track of a parsed card decodes to: its data, or "!<error code>".
std::string Decoded(const SwipeText& s, int track)
{
    auto r = DecodeTrack(static_cast<Track>(track), s.card.tracks[static_cast<std::size_t>(track - 1)]);
    return r.error == TrackError::None ? r.data : "!" + std::to_string(static_cast<int>(r.error));
}

TEST(SwipeTextTest, ParsesTracksIntoRawFormThatDecodesBack)
{
    const std::string t3 = "0112345678901234457247240000000000303000040400099010=12345678901234567";
    struct Row {
        const char* name;
        std::string text;
        std::array<std::string, 3> tracks;  // decoded tracks 1..3; "" not recorded
    };
    const std::vector<Row> rows = {
        {"tracks 1 and 2", "%" + kT1 + "?;" + kT2 + "?", {kT1, kT2, ""}},
        {"three tracks, ';' for track 3", "%" + kT1 + "?;" + kT2 + "?;" + t3 + "?", {kT1, kT2, t3}},
        {"'+' starts track 3", "%" + kT1 + "?;" + kT2 + "?+" + t3 + "?", {kT1, kT2, t3}},
        {"'!' starts track 3", "!" + t3 + "?", {"", "", t3}},
        {"track 2 only", ";" + kT2 + "?", {"", kT2, ""}},
        {"empty track 2 between sentinels", "%" + kT1 + "?;?", {kT1, "", ""}},
        {"E tracks are LRC faults", "%E?;" + kT2 + "?+E?", {"!204", kT2, "!204"}},
        {"every track failed", "%E?;E?;E?", {"!204", "!204", "!204"}},
        {"track 1 holding ';' and '%'", "%B1^A;B%C^?", {"B1^A;B%C^", "", ""}},
    };
    for (const Row& row : rows) {
        const SwipeText s = opos::ParseSwipeText(row.text);
        ASSERT_TRUE(s.ok) << row.name << ": " << s.error;
        EXPECT_TRUE(s.card.tracks[3].empty()) << row.name;
        for (int t = 1; t <= 3; ++t) {
            const std::string& want = row.tracks[static_cast<std::size_t>(t - 1)];
            if (want.empty()) {
                EXPECT_TRUE(s.card.tracks[static_cast<std::size_t>(t - 1)].empty() ||
                            Decoded(s, t).empty())
                    << row.name << " track " << t;
            } else {
                EXPECT_EQ(Decoded(s, t), want) << row.name << " track " << t;
            }
        }
    }
}

TEST(SwipeTextTest, BadTextFailsWithAReasonAndNoTracks)
{
    struct Row {
        const char* name;
        std::string text;
        const char* reasonPart;
    };
    const std::vector<Row> rows = {
        {"empty", "", "no track"},
        {"letters outside a track", "hello", "unexpected 'h' at position 1"},
        {"byte between tracks", "%" + kT1 + "? ;" + kT2 + "?", "unexpected ' ' at position"},
        {"control byte", std::string("\x02;1?"), "byte 0x02 at position 1"},
        {"no end sentinel", ";12345", "no end sentinel"},
        {"track 1 twice", "%B1^A^?%B2^B^?", "track 1 appears twice"},
        {"four ';' tracks", ";1?;2?;3?", "more than three tracks"},
        {"'+' after track 3", ";1?;2?+3?", "more than three tracks"},
        {"letter in track 2", ";41111A?", "track 2 cannot hold 'A'"},
        {"lower case in track 1", "%b123^x^?", "track 1 cannot hold"},
        {"track 2 too long", ";" + std::string(60, '1') + "?", "at most"},
    };
    for (const Row& row : rows) {
        const SwipeText s = opos::ParseSwipeText(row.text);
        EXPECT_FALSE(s.ok) << row.name;
        EXPECT_NE(s.error.find(row.reasonPart), std::string::npos) << row.name << ": " << s.error;
        for (const auto& t : s.card.tracks) {
            EXPECT_TRUE(t.empty()) << row.name;
        }
    }
}

TEST(SwipeTextTest, TerminatorNamesAreRead)
{
    struct Row {
        const char* text;
        bool ok;
        SwipeTerminator want;
    };
    const std::vector<Row> rows = {{"CR", true, SwipeTerminator::CR},   {"lf", true, SwipeTerminator::LF},
                                   {"CrLf", true, SwipeTerminator::CRLF}, {"", false, SwipeTerminator::CR},
                                   {"CR LF", false, SwipeTerminator::CR}, {"\\r", false, SwipeTerminator::CR}};
    for (const Row& row : rows) {
        SwipeTerminator t = SwipeTerminator::CR;
        EXPECT_EQ(opos::ParseSwipeTerminator(row.text, t), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(t, row.want) << row.text;
        }
    }
}

// What an assembler made of a stream: "ok:<track 2>" or "fail" per swipe.
std::vector<std::string> Assemble(SwipeTerminator term, const std::vector<std::string>& chunks)
{
    SwipeAssembler a(term);
    std::vector<std::string> out;
    for (const std::string& chunk : chunks) {
        a.Feed(chunk, [&](const SwipeText& s) { out.push_back(s.ok ? "ok:" + Decoded(s, 2) : "fail"); });
    }
    return out;
}

TEST(SwipeTextTest, AssemblerCutsSwipesAtTheTerminator)
{
    using V = std::vector<std::string>;
    struct Row {
        const char* name;
        SwipeTerminator term;
        V chunks;
        V want;
    };
    const std::vector<Row> rows = {
        {"CR", SwipeTerminator::CR, {";1?\r;2?\r"}, {"ok:1", "ok:2"}},
        {"CR setting takes LF and CRLF", SwipeTerminator::CR, {";1?\n;2?\r\n\r\n;3?\n"}, {"ok:1", "ok:2", "ok:3"}},
        {"split across reads", SwipeTerminator::CR, {";12", "34", "?", "\r;5", "?\r"}, {"ok:1234", "ok:5"}},
        {"no terminator yet", SwipeTerminator::CR, {";1?"}, {}},
        {"LF ignores CR", SwipeTerminator::LF, {";1\r2?\r\n;3?\n"}, {"ok:12", "ok:3"}},
        {"LF setting does not end at CR", SwipeTerminator::LF, {";1?\r;2?\n"}, {"ok:1"}},
        {"CRLF", SwipeTerminator::CRLF, {";1?\r", "\n;2?\r\n"}, {"ok:1", "ok:2"}},
        {"CRLF: lone LF is a bad byte", SwipeTerminator::CRLF, {";1?\n;2?\r\n;3?\r\n"}, {"fail", "ok:3"}},
        {"CRLF: lone CR is a bad byte", SwipeTerminator::CRLF, {";1?\r;2?\r\n"}, {"fail"}},
        {"garbage swipe, then a good one", SwipeTerminator::CR, {"\x01\x02zz\r;7?\r"}, {"fail", "ok:7"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Assemble(row.term, row.chunks), row.want) << row.name;
    }
}

TEST(SwipeTextTest, OverlongSwipeFailsOnceAndResyncsAtTheTerminator)
{
    SwipeAssembler a;
    std::vector<std::string> out;
    auto sink = [&](const SwipeText& s) { out.push_back(s.ok ? Decoded(s, 2) : s.error); };
    const std::string flood(SwipeAssembler::kMaxSwipeBytes, ';');
    a.Feed(flood, sink);
    EXPECT_TRUE(out.empty()) << "exactly the bound is still one swipe";
    a.Feed(std::string(5000, '1'), sink);
    ASSERT_EQ(out.size(), 1U);
    EXPECT_NE(out[0].find("more than 1024 bytes"), std::string::npos) << out[0];
    a.Feed("111\r;42?\r", sink);
    ASSERT_EQ(out.size(), 2U) << "nothing more is reported for the dropped part";
    EXPECT_EQ(out[1], "42");

    // Reset drops a swipe begun.
    a.Feed(";99", sink);
    EXPECT_TRUE(a.Pending());
    a.Reset();
    EXPECT_FALSE(a.Pending());
    a.Feed("?\r;5?\r", sink);
    ASSERT_EQ(out.size(), 4U);
    EXPECT_NE(out[2].find("unexpected '?'"), std::string::npos) << out[2];
    EXPECT_EQ(out[3], "5");
}

}  // namespace
