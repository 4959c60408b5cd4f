// Text forms of undecoded (binary) track data, as chosen by the reader's
// BinaryConversion property: none, nibble or decimal.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace opos::codec {

// Values of the BinaryConversion property.
enum class BinaryConversion : int { None = 0, Nibble = 1, Decimal = 2 };

// Two characters per byte, high nibble first, each 0x30 + nibble ('0'..'?'):
// 0x3A -> "3:".
std::string ToNibbleText(std::span<const std::uint8_t> bytes);

// Three decimal digits per byte: 0x3A -> "058".
std::string ToDecimalText(std::span<const std::uint8_t> bytes);

// The bytes in the given conversion; None copies each byte into one character.
// A value outside the enumeration is treated as None.
std::string ToBinaryText(BinaryConversion conversion, std::span<const std::uint8_t> bytes);

}  // namespace opos::codec
