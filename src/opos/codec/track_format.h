// Character sets of the magnetic stripe tracks (ISO 7811): which characters a
// track can hold, how a character is stored on the stripe (data bits plus an
// odd parity bit) and how long a track may be.
#pragma once

#include <cstddef>
#include <cstdint>

namespace opos::codec {

// Track 4 has no ISO 7811 layout of its own; it is handled like track 3
// (4-bit numeric characters, at most 107 characters).
enum class Track { T1 = 1, T2 = 2, T3 = 3, T4 = 4 };

// One track's character set and bounds. A stored character ("raw" byte) is the
// character's code in the low data bits with the odd parity bit just above
// them; every higher bit is zero.
struct TrackFormat {
    Track track;
    unsigned dataBits;          // 6 for track 1, 4 for the others
    std::uint8_t dataMask;      // 0x3F or 0x0F
    std::uint8_t parityBit;     // 0x40 or 0x10
    char firstChar;             // character of code 0: ' ' or '0'
    char startSentinel;         // '%' or ';'
    char endSentinel;           // '?'
    char fieldSeparator;        // '^' or '='
    std::size_t maxCharacters;  // whole track: start sentinel, data, end sentinel, LRC

    // Data characters that fit between the sentinels.
    std::size_t MaxDataLength() const { return maxCharacters - 3; }
    // True when the track's character set holds ch.
    bool HasChar(char ch) const;
    // The stored form of ch (code plus parity); ch must be in the set.
    std::uint8_t ToRaw(char ch) const;
    // The code with its odd parity bit added; bits above the data bits are dropped.
    std::uint8_t WithParity(std::uint8_t code) const;
    // True when raw has no bits above the parity bit and an odd number of ones.
    bool IsValidRaw(std::uint8_t raw) const;
    // The character whose code is in raw's data bits (parity ignored).
    char ToChar(std::uint8_t raw) const;
    std::uint8_t CodeOf(char ch) const { return static_cast<std::uint8_t>(ch - firstChar); }
};

// The format of a track, or nullptr for a value outside Track's four tracks.
const TrackFormat* FormatOf(Track t);

}  // namespace opos::codec
