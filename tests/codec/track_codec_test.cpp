// Tests of the track encoder and decoder: stored form, round trips, the four
// per-track read errors on every track, malformed stored tracks and bounds.
#include "opos/codec/track_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace opos::codec {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Track kTracks[] = {Track::T1, Track::T2, Track::T3, Track::T4};

std::string TrackName(Track t)
{
    return "track " + std::to_string(static_cast<int>(t));
}

// Every character of the track's set except the end sentinel.
std::string AllDataChars(Track t)
{
    const TrackFormat& f = *FormatOf(t);
    std::string chars;
    for (int code = 0; code <= f.dataMask; ++code) {
        const char ch = static_cast<char>(f.firstChar + code);
        if (ch != f.endSentinel) {
            chars.push_back(ch);
        }
    }
    return chars;
}

// Stored forms worked out by hand from the character tables.
struct KnownRow {
    const char* name;
    Track track;
    std::string data;
    Bytes raw;
};

TEST(TrackCodec, EncodesKnownTracksBitForBit)
{
    const KnownRow rows[] = {
        // '%' code 05 +parity, 'A' code 21 +parity, '?' code 1F, LRC 05^21^1F = 3B.
        {"track 1 A", Track::T1, "A", {0x45, 0x61, 0x1F, 0x3B}},
        // LRC 05^1F = 1A, three ones: no parity bit.
        {"track 1 empty", Track::T1, "", {0x45, 0x1F, 0x1A}},
        // ';' code B, '1' code 1, '?' code F +parity, LRC B^1^F = 5 +parity.
        {"track 2 1", Track::T2, "1", {0x0B, 0x01, 0x1F, 0x15}},
        {"track 2 empty", Track::T2, "", {0x0B, 0x1F, 0x04}},
        // '0' code 0 and the LRC B^0^D^F = 9 take the parity bit; '=' code D does not.
        {"track 3 0=", Track::T3, "0=", {0x0B, 0x10, 0x0D, 0x1F, 0x19}},
        {"track 4 like track 3", Track::T4, "0=", {0x0B, 0x10, 0x0D, 0x1F, 0x19}},
    };
    for (const KnownRow& row : rows) {
        SCOPED_TRACE(row.name);
        const EncodeResult enc = EncodeTrack(row.track, row.data);
        ASSERT_TRUE(enc.ok) << enc.error;
        EXPECT_EQ(enc.raw, row.raw);
        const DecodeResult dec = DecodeTrack(row.track, row.raw);
        EXPECT_EQ(dec.error, TrackError::None);
        EXPECT_EQ(dec.data, row.data);
    }
}

struct RoundTripRow {
    Track track;
    std::string data;
};

TEST(TrackCodec, RoundTripsEveryCharacterAndTheLongestData)
{
    std::vector<RoundTripRow> rows = {
        {Track::T1, "B4111111111111111^DOE/JOHN Q.MR^2512101123456789"},
        {Track::T2, "4111111111111111=25121011234567890"},
        {Track::T3, "011234567890123456789=724724100000"},
    };
    for (const Track t : kTracks) {
        const std::size_t max = FormatOf(t)->MaxDataLength();
        const std::string all = AllDataChars(t);
        rows.push_back({t, ""});
        rows.push_back({t, all.substr(0, max)});
        std::string longest;
        while (longest.size() < max) {
            longest += all;
        }
        longest.resize(max);
        rows.push_back({t, longest});
    }
    for (const RoundTripRow& row : rows) {
        SCOPED_TRACE(TrackName(row.track) + " \"" + row.data + "\"");
        const TrackFormat& f = *FormatOf(row.track);
        const EncodeResult enc = EncodeTrack(row.track, row.data);
        ASSERT_TRUE(enc.ok) << enc.error;
        ASSERT_EQ(enc.raw.size(), row.data.size() + 3);
        for (const std::uint8_t b : enc.raw) {
            EXPECT_TRUE(f.IsValidRaw(b)) << "byte " << int(b);
        }
        const DecodeResult dec = DecodeTrack(row.track, enc.raw);
        EXPECT_EQ(dec.error, TrackError::None);
        EXPECT_EQ(dec.data, row.data);
        EXPECT_EQ(dec.withSentinels, f.startSentinel + row.data + f.endSentinel);
    }
}

TEST(TrackCodec, LongestTracksAre79And40And107Characters)
{
    EXPECT_EQ(FormatOf(Track::T1)->maxCharacters, 79U);
    EXPECT_EQ(FormatOf(Track::T2)->maxCharacters, 40U);
    EXPECT_EQ(FormatOf(Track::T3)->maxCharacters, 107U);
    EXPECT_EQ(FormatOf(Track::T4)->maxCharacters, 107U);
    EXPECT_EQ(FormatOf(static_cast<Track>(0)), nullptr);
    EXPECT_EQ(FormatOf(static_cast<Track>(5)), nullptr);
}

// Where a corrupted track's fault is reported, relative to data of n characters.
enum class At { StartSentinel, FirstData, EndSentinel, AfterData, LrcChar };

std::size_t IndexOf(At at, std::size_t n)
{
    switch (at) {
    case At::StartSentinel: return 0;
    case At::FirstData: return 1;
    case At::EndSentinel:
    case At::AfterData: return n + 1;
    case At::LrcChar: return n + 2;
    }
    return 0;
}

struct CorruptionRow {
    const char* name;
    Corruption corruption;
    At parityAt;  // the character whose parity is flipped (Corruption::Parity only)
    TrackError expected;
    At reportedAt;
};

TEST(TrackCodec, EachBadSwipeGivesItsErrorOnEveryTrack)
{
    const CorruptionRow rows[] = {
        {"start", Corruption::Start, At::FirstData, TrackError::Start, At::StartSentinel},
        {"end", Corruption::End, At::FirstData, TrackError::End, At::AfterData},
        {"parity of a data character", Corruption::Parity, At::FirstData, TrackError::Parity, At::FirstData},
        {"parity of the start sentinel", Corruption::Parity, At::StartSentinel, TrackError::Parity,
         At::StartSentinel},
        {"parity of the end sentinel", Corruption::Parity, At::EndSentinel, TrackError::Parity, At::EndSentinel},
        {"parity of the LRC", Corruption::Parity, At::LrcChar, TrackError::Parity, At::LrcChar},
        {"LRC", Corruption::Lrc, At::FirstData, TrackError::Lrc, At::LrcChar},
    };
    for (const Track t : kTracks) {
        // Some data that uses the field separator and, on track 2, a start sentinel inside.
        const std::string data = t == Track::T1 ? "B4111^DOE/J^2512" : "4111=2512;";
        for (const CorruptionRow& row : rows) {
            SCOPED_TRACE(TrackName(t) + ": " + row.name);
            const EncodeResult enc = EncodeTrack(t, data, row.corruption, IndexOf(row.parityAt, data.size()));
            ASSERT_TRUE(enc.ok) << enc.error;
            const DecodeResult dec = DecodeTrack(t, enc.raw);
            EXPECT_EQ(dec.error, row.expected);
            EXPECT_EQ(dec.position, IndexOf(row.reportedAt, data.size()));
            EXPECT_TRUE(dec.data.empty());
            EXPECT_TRUE(dec.withSentinels.empty());
        }
    }
}

struct MalformedRow {
    const char* name;
    Track track;
    Bytes raw;
    TrackError expected;
    std::size_t position;
};

TEST(TrackCodec, MalformedStoredTracksGiveTheFirstFault)
{
    const MalformedRow rows[] = {
        {"nothing recorded", Track::T2, {}, TrackError::None, 0},
        {"zero byte first", Track::T2, {0x00, 0x0B, 0x01, 0x1F, 0x15}, TrackError::Start, 0},
        {"start sentinel with a high bit", Track::T2, {0x8B, 0x01, 0x1F, 0x15}, TrackError::Start, 0},
        {"track 1 read as track 2", Track::T2, {0x45, 0x61, 0x1F, 0x3B}, TrackError::Start, 0},
        {"track 2 read as track 1", Track::T1, {0x0B, 0x01, 0x1F, 0x15}, TrackError::Start, 0},
        {"unknown track", static_cast<Track>(9), {0x0B, 0x01, 0x1F, 0x15}, TrackError::Start, 0},
        {"start sentinel alone", Track::T2, {0x0B}, TrackError::End, 1},
        {"no end sentinel", Track::T2, {0x0B, 0x01, 0x02, 0x13}, TrackError::End, 4},
        {"end sentinel with a high bit is no end", Track::T2, {0x0B, 0x01, 0x3F, 0x15}, TrackError::End, 4},
        {"characters after the LRC", Track::T2, {0x0B, 0x01, 0x1F, 0x15, 0x00}, TrackError::End, 4},
        {"end before a parity fault", Track::T2, {0x0B, 0x00, 0x02}, TrackError::End, 3},
        {"start sentinel with even parity", Track::T2, {0x1B, 0x01, 0x1F, 0x15}, TrackError::Parity, 0},
        {"data character with a high bit", Track::T2, {0x0B, 0x21, 0x1F, 0x15}, TrackError::Parity, 1},
        {"end sentinel with even parity", Track::T2, {0x0B, 0x01, 0x0F, 0x15}, TrackError::Parity, 2},
        {"LRC with even parity", Track::T2, {0x0B, 0x01, 0x1F, 0x05}, TrackError::Parity, 3},
        {"parity before a missing LRC", Track::T2, {0x0B, 0x00, 0x1F}, TrackError::Parity, 1},
        {"LRC missing", Track::T2, {0x0B, 0x01, 0x1F}, TrackError::Lrc, 3},
        {"LRC wrong", Track::T2, {0x0B, 0x01, 0x1F, 0x13}, TrackError::Lrc, 3},
        {"track 1 LRC with bit 7", Track::T1, {0x45, 0x61, 0x1F, 0xBB}, TrackError::Parity, 3},
        {"track 1 LRC wrong", Track::T1, {0x45, 0x61, 0x1F, 0x3D}, TrackError::Lrc, 3},
    };
    for (const MalformedRow& row : rows) {
        SCOPED_TRACE(row.name);
        const DecodeResult dec = DecodeTrack(row.track, row.raw);
        EXPECT_EQ(dec.error, row.expected);
        EXPECT_EQ(dec.position, row.position);
        EXPECT_TRUE(dec.data.empty());
        EXPECT_TRUE(dec.withSentinels.empty());
    }
}

TEST(TrackCodec, TracksLongerThanTheirMaximumAreEndErrors)
{
    for (const Track t : kTracks) {
        SCOPED_TRACE(TrackName(t));
        const TrackFormat& f = *FormatOf(t);
        const std::string tooLong(f.MaxDataLength() + 1, '1');

        const EncodeResult enc = EncodeTrack(t, tooLong);
        EXPECT_FALSE(enc.ok);
        EXPECT_TRUE(enc.raw.empty());
        EXPECT_NE(enc.error.find(std::to_string(f.MaxDataLength() + 1) + " characters long; at most "
                                 + std::to_string(f.MaxDataLength())),
                  std::string::npos)
            << enc.error;

        // A well-formed track with one character too many: sentinels, parity and LRC all fine.
        Bytes raw{f.ToRaw(f.startSentinel)};
        std::uint8_t lrc = f.CodeOf(f.startSentinel);
        for (const char ch : tooLong) {
            raw.push_back(f.ToRaw(ch));
            lrc = static_cast<std::uint8_t>(lrc ^ f.CodeOf(ch));
        }
        raw.push_back(f.ToRaw(f.endSentinel));
        lrc = static_cast<std::uint8_t>(lrc ^ f.CodeOf(f.endSentinel));
        raw.push_back(f.WithParity(lrc));
        const DecodeResult dec = DecodeTrack(t, raw);
        EXPECT_EQ(dec.error, TrackError::End);
        EXPECT_EQ(dec.position, f.maxCharacters - 1);

        // A huge buffer is rejected without reading past the bound.
        Bytes huge(1'000'000, f.ToRaw('1'));
        huge[0] = f.ToRaw(f.startSentinel);
        EXPECT_EQ(DecodeTrack(t, huge).error, TrackError::End);
    }
}

struct EncodeErrorRow {
    const char* name;
    Track track;
    std::string data;
    Corruption corruption;
    std::size_t parityIndex;
    std::string message;
};

TEST(TrackCodec, UnencodableDataGivesASpecificError)
{
    const EncodeErrorRow rows[] = {
        {"letter on track 2", Track::T2, "12A", Corruption::None, 1,
         "track 2 cannot hold 'A' at position 3; its characters run from '0' to '?'"},
        {"lower case on track 1", Track::T1, "Ab", Corruption::None, 1,
         "track 1 cannot hold 'b' at position 2; its characters run from ' ' to '_'"},
        {"control byte on track 1", Track::T1, std::string("A\x01", 2), Corruption::None, 1,
         "track 1 cannot hold byte 0x01 at position 2"},
        {"high byte on track 3", Track::T3, "\xC3", Corruption::None, 1, "track 3 cannot hold byte 0xC3 at position 1"},
        {"end sentinel in track 1 data", Track::T1, "AB?C", Corruption::None, 1,
         "track 1 data holds the end sentinel '?' at position 3"},
        {"end sentinel in track 4 data", Track::T4, "?", Corruption::None, 1,
         "track 4 data holds the end sentinel '?' at position 1"},
        {"unknown track", static_cast<Track>(0), "1", Corruption::None, 1, "unknown track 0"},
        {"parity fault past the LRC", Track::T2, "1", Corruption::Parity, 4,
         "parity fault at character 4 is past the end of track 2, which has 4 characters"},
    };
    for (const EncodeErrorRow& row : rows) {
        SCOPED_TRACE(row.name);
        const EncodeResult enc = EncodeTrack(row.track, row.data, row.corruption, row.parityIndex);
        EXPECT_FALSE(enc.ok);
        EXPECT_TRUE(enc.raw.empty());
        EXPECT_EQ(enc.error.substr(0, row.message.size()), row.message);
    }
}

}  // namespace
}  // namespace opos::codec
