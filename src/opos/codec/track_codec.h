// Encoding and decoding of single stripe tracks between their text ("decoded")
// form and their stored ("raw") form, with the reader's per-track error
// detection: start sentinel, end sentinel, parity and LRC.
//
// Raw form: one byte per character as read from the stripe, from the start
// sentinel through the LRC character: the character's code in the data bits and
// the odd parity bit above them (bit 6 for track 1, bit 4 for the others). The LRC
// character is the XOR of the data bits of every character from the start
// sentinel through the end sentinel, with its own odd parity bit.
#pragma once

#include "opos/codec/track_format.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace opos::codec {

// Per-track read errors, valued as the reader's extended result codes
// (OPOS_EMSR_START .. OPOS_EMSR_LRC).
enum class TrackError : int { None = 0, Start = 201, End = 202, Parity = 203, Lrc = 204 };

// Faults that EncodeTrack can build into a track, to simulate bad swipes.
enum class Corruption {
    None,
    Start,   // the start sentinel is replaced by a data character
    End,     // the track stops short: no end sentinel and no LRC character
    Parity,  // the parity bit of one character is flipped
    Lrc,     // the LRC character holds a wrong value (with correct parity)
};

struct EncodeResult {
    bool ok = false;
    std::string error;              // why the data cannot be encoded; empty when ok
    std::vector<std::uint8_t> raw;  // the stored track; empty unless ok
};

// Encodes data (the characters between the sentinels) into the raw form,
// optionally with one fault built in. parityIndex is the raw index (0 = start
// sentinel) of the character whose parity a Corruption::Parity flips. Fails with
// a specific message for an unknown track, a character outside the track's set,
// the end sentinel inside the data, data longer than the track holds, or a
// parityIndex past the end of the track.
EncodeResult EncodeTrack(Track t, std::string_view data, Corruption c = Corruption::None,
                         std::size_t parityIndex = 1);

struct DecodeResult {
    TrackError error = TrackError::None;
    std::size_t position = 0;   // raw index of the faulty character (raw size when one is missing)
    std::string data;           // the characters between the sentinels; empty on error
    std::string withSentinels;  // start sentinel + data + end sentinel (no LRC); empty on error
};

// Decodes a raw track; never throws. An empty raw track (nothing recorded) is
// no error and yields empty strings. Otherwise the first fault found in this
// order is reported:
//   Start  - the first character is not the start sentinel (or the track is unknown);
//   End    - no end sentinel where the track's length allows one, or characters
//            after the LRC character (so anything past the track's maximum length);
//   Parity - a character from the start sentinel through the LRC character has
//            even parity or bits above the parity bit;
//   Lrc    - the LRC character is missing or does not match.
DecodeResult DecodeTrack(Track t, std::span<const std::uint8_t> raw);

}  // namespace opos::codec
