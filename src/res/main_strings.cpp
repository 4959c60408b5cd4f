// String resources of the main console window.
#include "res/main_strings.h"

namespace res {

std::string MainString(int id)
{
    switch (id) {
    case IDS_ABOUTBOX:
        return "&About Strivo...";
    default:
        return {};
    }
}

}  // namespace res
