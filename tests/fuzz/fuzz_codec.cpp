// libFuzzer target for the card codec: feeds arbitrary bytes to the track
// decoder of every track, the card parser and the binary conversions, and checks
// that a track that decodes without error encodes back to the same bytes.
#include "opos/codec/binary_conversion.h"
#include "opos/codec/card_parser.h"
#include "opos/codec/track_codec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

using namespace opos::codec;

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Decodes bytes as track t; a clean read must re-encode to the same bytes.
std::string DecodeAndCheck(Track t, std::span<const std::uint8_t> bytes)
{
    const DecodeResult dec = DecodeTrack(t, bytes);
    Check(dec.position <= bytes.size());
    if (dec.error != TrackError::None) {
        Check(dec.data.empty() && dec.withSentinels.empty());
        return {};
    }
    if (bytes.empty()) {
        Check(dec.data.empty());
        return {};
    }
    Check(bytes.size() <= FormatOf(t)->maxCharacters);
    Check(dec.withSentinels.size() == dec.data.size() + 2);
    const EncodeResult enc = EncodeTrack(t, dec.data);
    Check(enc.ok);
    Check(enc.raw.size() == bytes.size() && std::equal(enc.raw.begin(), enc.raw.end(), bytes.begin()));
    return dec.data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);

    std::string decoded[4];
    const Track tracks[] = {Track::T1, Track::T2, Track::T3, Track::T4};
    for (int i = 0; i < 4; ++i) {
        decoded[i] = DecodeAndCheck(tracks[i], bytes);
    }
    ParseTracks(decoded[0], decoded[1]);

    // The bytes as text tracks, split at the first newline: track 1 before, track 2 after.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto newline = text.find('\n');
    const std::string_view track1 = text.substr(0, newline);
    const std::string_view track2 = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    const ParsedCard card = ParseTracks(track1, track2);
    Check(card.accountNumber.size() <= 19);
    ParseName(text);

    // Text tracks encode either cleanly or with an error message, never both.
    for (const Track t : tracks) {
        const EncodeResult enc = EncodeTrack(t, track1, static_cast<Corruption>(size % 5), size % 7);
        Check(enc.ok != !enc.error.empty() && enc.ok != enc.raw.empty());
    }

    Check(ToNibbleText(bytes).size() == 2 * size);
    Check(ToDecimalText(bytes).size() == 3 * size);
    return 0;
}
