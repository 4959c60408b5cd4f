// Parsing of decoded bank-card tracks (ISO 7813): track 1 in formats A and B,
// and track 2, into account number, expiration date, cardholder name parts,
// service code and discretionary data.
#pragma once

#include <string>
#include <string_view>

namespace opos::codec {

// The parts of a track 1 name field "SURNAME/FIRST M.TITLE". A suffix (JR, SR,
// II, III, IV, V, with or without a trailing '.', stored without it) follows the
// surname after a blank: "SMITH JR/JOHN". Leading and trailing blanks of every
// part are dropped. The first word after '/' is the first name; the words after
// it, up to a '.', are kept whole as the middle initial (a spelled-out middle
// name stays as it is); the text after the first '.' is the title. A name without
// '/' is all surname (and suffix).
struct CardName {
    std::string surname, firstName, middleInitial, title, suffix;
    bool operator==(const CardName&) const = default;
};

CardName ParseName(std::string_view name);

struct ParsedCard {
    std::string accountNumber;
    std::string expirationDate;  // YYMM, as on the card
    std::string surname, firstName, middleInitial, title, suffix;
    std::string serviceCode;
    std::string track1Discretionary, track2Discretionary;
    bool operator==(const ParsedCard&) const = default;
};

// Parses decoded track 1 and track 2 data (without sentinels; either may be
// empty). Track 1 is read when it starts with format code 'B' or 'A':
//   B|A, account number (1-19 digits), '^', name (at most 26 characters), '^',
//   YYMM or '^' when absent, service code (3 digits) or '^' when absent,
//   discretionary data (the rest).
// Track 2: account number (1-19 digits), '=', YYMM or '=', service code or '=',
// discretionary data.
// Account number, expiration date and service code come from track 1 where it
// has them and from track 2 otherwise; the name only from track 1. A track
// whose account number or name field cannot be found gives no fields at all; an
// expiration date or service code that is neither digits nor the separator
// leaves it and every field after it empty. Never throws.
ParsedCard ParseTracks(std::string_view track1, std::string_view track2);

}  // namespace opos::codec
