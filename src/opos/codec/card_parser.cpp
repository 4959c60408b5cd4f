// Parsing of decoded bank-card tracks.
#include "opos/codec/card_parser.h"

#include <algorithm>
#include <array>

namespace opos::codec {

namespace {

constexpr std::size_t kMaxAccountDigits = 19;
constexpr std::size_t kMaxNameLength = 26;

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool AllDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

bool IsAccountNumber(std::string_view s)
{
    return !s.empty() && s.size() <= kMaxAccountDigits && AllDigits(s);
}

// The suffix word without its trailing '.', or empty when word is no suffix.
std::string_view AsSuffix(std::string_view word)
{
    if (!word.empty() && word.back() == '.') {
        word.remove_suffix(1);
    }
    static constexpr std::array<std::string_view, 6> kSuffixes{"JR", "SR", "II", "III", "IV", "V"};
    return std::find(kSuffixes.begin(), kSuffixes.end(), word) != kSuffixes.end() ? word
                                                                                   : std::string_view{};
}

struct TrackFields {
    std::string accountNumber, expirationDate, serviceCode, discretionary;
};

// Reads "YYMM|sep" "SSS|sep" "discretionary" from rest into fields.
void ParseTail(std::string_view rest, char separator, TrackFields& fields)
{
    if (!rest.empty() && rest.front() == separator) {
        rest.remove_prefix(1);
    } else if (rest.size() >= 4 && AllDigits(rest.substr(0, 4))) {
        fields.expirationDate = rest.substr(0, 4);
        rest.remove_prefix(4);
    } else {
        return;
    }
    if (!rest.empty() && rest.front() == separator) {
        rest.remove_prefix(1);
    } else if (rest.size() >= 3 && AllDigits(rest.substr(0, 3))) {
        fields.serviceCode = rest.substr(0, 3);
        rest.remove_prefix(3);
    } else {
        return;
    }
    fields.discretionary = rest;
}

}  // namespace

CardName ParseName(std::string_view name)
{
    CardName result;
    std::string_view surnamePart = name;
    std::string_view givenPart;
    if (const auto slash = name.find('/'); slash != std::string_view::npos) {
        surnamePart = name.substr(0, slash);
        givenPart = name.substr(slash + 1);
    }

    surnamePart = Trim(surnamePart);
    if (const auto blank = surnamePart.rfind(' '); blank != std::string_view::npos) {
        const std::string_view suffix = AsSuffix(surnamePart.substr(blank + 1));
        if (!suffix.empty()) {
            result.suffix = suffix;
            surnamePart = Trim(surnamePart.substr(0, blank));
        }
    }
    result.surname = surnamePart;

    if (const auto dot = givenPart.find('.'); dot != std::string_view::npos) {
        result.title = Trim(givenPart.substr(dot + 1));
        givenPart = givenPart.substr(0, dot);
    }
    givenPart = Trim(givenPart);
    if (const auto blank = givenPart.find(' '); blank != std::string_view::npos) {
        result.firstName = givenPart.substr(0, blank);
        result.middleInitial = Trim(givenPart.substr(blank + 1));
    } else {
        result.firstName = givenPart;
    }
    return result;
}

ParsedCard ParseTracks(std::string_view track1, std::string_view track2)
{
    ParsedCard card;
    TrackFields t1;
    if (!track1.empty() && (track1.front() == 'B' || track1.front() == 'A')) {
        const std::string_view body = track1.substr(1);
        const auto panEnd = body.find('^');
        const auto nameEnd = panEnd == std::string_view::npos ? panEnd : body.find('^', panEnd + 1);
        if (nameEnd != std::string_view::npos && IsAccountNumber(body.substr(0, panEnd))
            && nameEnd - panEnd - 1 <= kMaxNameLength) {
            t1.accountNumber = body.substr(0, panEnd);
            const CardName name = ParseName(body.substr(panEnd + 1, nameEnd - panEnd - 1));
            card.surname = name.surname;
            card.firstName = name.firstName;
            card.middleInitial = name.middleInitial;
            card.title = name.title;
            card.suffix = name.suffix;
            ParseTail(body.substr(nameEnd + 1), '^', t1);
        }
    }

    TrackFields t2;
    if (const auto panEnd = track2.find('='); panEnd != std::string_view::npos
        && IsAccountNumber(track2.substr(0, panEnd))) {
        t2.accountNumber = track2.substr(0, panEnd);
        ParseTail(track2.substr(panEnd + 1), '=', t2);
    }

    card.accountNumber = !t1.accountNumber.empty() ? t1.accountNumber : t2.accountNumber;
    card.expirationDate = !t1.expirationDate.empty() ? t1.expirationDate : t2.expirationDate;
    card.serviceCode = !t1.serviceCode.empty() ? t1.serviceCode : t2.serviceCode;
    card.track1Discretionary = t1.discretionary;
    card.track2Discretionary = t2.discretionary;
    return card;
}

}  // namespace opos::codec
