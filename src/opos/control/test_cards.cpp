// The built-in test cards of the simulated reader. The account numbers are
// the card networks' published test numbers; none belongs to a real account.
#include "opos/control/test_cards.h"

namespace opos {

const std::vector<TestCard>& BuiltInTestCards()
{
    static const std::vector<TestCard> cards = {
        {"Visa - JOHN Q PUBLIC",
         {"B4111111111111111^PUBLIC/JOHN Q.MR^2912101000000123000000",
          "4111111111111111=29121010000012300", "", ""}},
        {"Mastercard - ANNA M SMITH JR",
         {"B5555555555554444^SMITH JR/ANNA M.DR^3006201000000000456000",
          "5555555555554444=30062010000045600", "", ""}},
        {"American Express - JANE DOE",
         {"B378282246310005^DOE/JANE^2805101123456789", "378282246310005=2805101123456789", "",
          ""}},
        {"Discover with track 3 - LEE K CHAN",
         {"B6011111111111117^CHAN/LEE K^2703101000000789",
          "6011111111111117=27031010000078900",
          "016011111111111117=724724100000000000030300000000000000000000000000000000", ""}},
        {"Track 2 only - Discover", {"", "6011000990139424=25121010000000000", "", ""}},
    };
    return cards;
}

bool LuhnValid(std::string_view digits)
{
    if (digits.size() < 2) {
        return false;
    }
    int sum = 0;
    bool twice = false;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it < '0' || *it > '9') {
            return false;
        }
        int d = *it - '0';
        if (twice) {
            d *= 2;
            if (d > 9) {
                d -= 9;
            }
        }
        sum += d;
        twice = !twice;
    }
    return sum % 10 == 0;
}

}  // namespace opos
