// The test cards that the simulated reader offers: bank cards with
// Luhn-valid test account numbers and cardholder names, a card with a third
// track and a card with only track 2.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace opos {

// A card as the simulated reader swipes it: the decoded text of tracks 1 to
// 4 between the sentinels. An empty track is not recorded on the card.
struct TestCard {
    std::string label;
    std::array<std::string, 4> tracks;
    bool operator==(const TestCard&) const = default;
};

const std::vector<TestCard>& BuiltInTestCards();

// True when the digits pass the Luhn check (at least two digits, digits only).
bool LuhnValid(std::string_view digits);

}  // namespace opos
