// The application's registry script (resource "REGISTRY" 103).
#include "res/app_registry_script.h"

namespace res {

std::string_view AppRegistryScript() {
    static constexpr std::string_view kScript =
        "HKCR\r\n"
        "{\r\n"
        "\tNoRemove AppID\r\n"
        "\t{\r\n"
        "\t\t{3F1D7A52-6B8E-4C29-9E41-5A7C2D8B0F63} = s 'Strivo'\r\n"
        "\t\t'Strivo.EXE'\r\n"
        "\t\t{\r\n"
        "\t\t\tval AppID = s {3F1D7A52-6B8E-4C29-9E41-5A7C2D8B0F63}\r\n"
        "\t\t}\r\n"
        "\t}\r\n"
        "}\r\n";
    return kScript;
}

}  // namespace res
