// The OPOS code-name lookups: exact texts at and just beyond the edges of
// each table, and the tables' own sizes and first entries.
#include "msr/opos_names.h"

#include "msr/opos_constants.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

struct NameRow {
    const char* lookup;
    const char* (*fn)(std::int32_t);
    std::int32_t code;
    const char* want;  // nullptr: the code has no name
};

const char* TrackError(std::int32_t b) { return TrackErrorName(static_cast<int>(b)); }

const NameRow kNames[] = {
    {"DeviceState", DeviceStateName, 0, nullptr},
    {"DeviceState", DeviceStateName, 1, "CLOSED"},
    {"DeviceState", DeviceStateName, 2, "IDLE"},
    {"DeviceState", DeviceStateName, 3, "BUSY"},
    {"DeviceState", DeviceStateName, 4, "ERROR"},
    {"DeviceState", DeviceStateName, 5, nullptr},
    {"DeviceState", DeviceStateName, -2147483647 - 1, nullptr},

    {"PowerState", PowerStateName, 1999, nullptr},
    {"PowerState", PowerStateName, 2000, "UNKNOWN"},
    {"PowerState", PowerStateName, 2001, "ONLINE"},
    {"PowerState", PowerStateName, 2002, "OFF"},
    {"PowerState", PowerStateName, 2003, "OFFLINE"},
    {"PowerState", PowerStateName, 2004, "OFF_OFFLINE"},
    {"PowerState", PowerStateName, 2005, nullptr},
    {"PowerState", PowerStateName, 2147483647, nullptr},

    {"PowerReporting", PowerReportingName, -1, nullptr},
    {"PowerReporting", PowerReportingName, 0, "NONE"},
    {"PowerReporting", PowerReportingName, 1, "STANDARD"},
    {"PowerReporting", PowerReportingName, 2, "ADANCED"},
    {"PowerReporting", PowerReportingName, 3, nullptr},

    {"StatusUpdate", StatusUpdateName, 2000, nullptr},
    {"StatusUpdate", StatusUpdateName, 2001, "OPOS_SUE_POWER_ONLINE"},
    {"StatusUpdate", StatusUpdateName, 2002, "OPOS_SUE_POWER_OFF"},
    {"StatusUpdate", StatusUpdateName, 2003, "OPOS_SUE_POWER_OFFLINE"},
    {"StatusUpdate", StatusUpdateName, 2004, "OPOS_SUE_POWER_OFF_OFFLINE"},
    {"StatusUpdate", StatusUpdateName, 2005, nullptr},

    {"ResultCode", ResultCodeName, 0, nullptr},
    {"ResultCode", ResultCodeName, 100, nullptr},
    {"ResultCode", ResultCodeName, 101, "OPOS_E_CLOSED"},
    {"ResultCode", ResultCodeName, 102, "OPOS_E_CLAIMED"},
    {"ResultCode", ResultCodeName, 103, "OPOS_E_NOTCLAIMED"},
    {"ResultCode", ResultCodeName, 104, "OPOS_E_NOSERVICE"},
    {"ResultCode", ResultCodeName, 105, "OPOS_E_DISABLED"},
    {"ResultCode", ResultCodeName, 106, "OPOS_E_ILLEGAL"},
    {"ResultCode", ResultCodeName, 107, "OPOS_E_NOHARDWARE"},
    {"ResultCode", ResultCodeName, 108, "OPOS_E_OFFLINE"},
    {"ResultCode", ResultCodeName, 109, "OPOS_E_NOEXIST"},
    {"ResultCode", ResultCodeName, 110, "OPOS_E_EXISTS"},
    {"ResultCode", ResultCodeName, 111, "OPOS_E_FAILURE"},
    {"ResultCode", ResultCodeName, 112, "OPOS_E_TIMEOUT"},
    {"ResultCode", ResultCodeName, 113, "OPOS_E_BUSY"},
    {"ResultCode", ResultCodeName, 114, "OPOS_E_EXTENDED"},
    {"ResultCode", ResultCodeName, 115, nullptr},
    {"ResultCode", ResultCodeName, 200, nullptr},

    {"HealthLevel", HealthLevelName, 0, nullptr},
    {"HealthLevel", HealthLevelName, 1, "INTERNAL"},
    {"HealthLevel", HealthLevelName, 2, "EXTERNAL"},
    {"HealthLevel", HealthLevelName, 3, "INTERACTIVE"},
    {"HealthLevel", HealthLevelName, 4, nullptr},

    {"ErrorResponse", ErrorResponseName, 10, nullptr},
    {"ErrorResponse", ErrorResponseName, 11, "OPOS_ER_RETRY"},
    {"ErrorResponse", ErrorResponseName, 12, "OPOS_ER_CLEAR"},
    {"ErrorResponse", ErrorResponseName, 13, "OPOS_ER_CONTINUEINPUT"},
    {"ErrorResponse", ErrorResponseName, 14, nullptr},

    // Every track byte has a name; unknown bytes read as a failure.
    {"TrackError", TrackError, 0, "OPOS_SUCCESS"},
    {"TrackError", TrackError, 1, "OPOS_E_FAILURE"},
    {"TrackError", TrackError, 200, "OPOS_E_FAILURE"},
    {"TrackError", TrackError, 201, "OPOS_EMSR_START"},
    {"TrackError", TrackError, 202, "OPOS_EMSR_END"},
    {"TrackError", TrackError, 203, "OPOS_EMSR_PARITY"},
    {"TrackError", TrackError, 204, "OPOS_EMSR_LRC"},
    {"TrackError", TrackError, 205, "OPOS_E_FAILURE"},
    {"TrackError", TrackError, 255, "OPOS_E_FAILURE"},
};

TEST(OposNames, LookupsNameCodesInsideTheirTablesOnly)
{
    for (const NameRow& row : kNames) {
        SCOPED_TRACE(std::string(row.lookup) + "Name(" + std::to_string(row.code) + ")");
        const char* got = row.fn(row.code);
        if (row.want == nullptr) {
            EXPECT_EQ(got, nullptr) << "named \"" << got << "\"";
        } else {
            ASSERT_NE(got, nullptr);
            EXPECT_STREQ(got, row.want);
        }
    }
}

// The tables themselves: sizes, and the success entry that the result-code
// lookup never reaches.
TEST(OposNames, TablesHaveTheirFixedShape)
{
    EXPECT_EQ(std::size(ResultCodeNames), 15u);
    EXPECT_EQ(std::size(DeviceStateNames), 4u);
    EXPECT_EQ(std::size(PowerStateNames), 5u);
    EXPECT_EQ(std::size(PowerReportingNames), 3u);
    EXPECT_EQ(std::size(StatusUpdateNames), 4u);
    EXPECT_EQ(std::size(HealthLevelNames), 3u);
    EXPECT_STREQ(ResultCodeNames[0], "OPOS_SUCCESS");
    EXPECT_STREQ(ResultCodeNames[OPOS_E_EXTENDED - OPOSERR], "OPOS_E_EXTENDED");
}

// The constants the console compares against or passes to the control.
TEST(OposConstants, ValuesMatchTheOposModel)
{
    struct Row {
        const char* name;
        std::int32_t value;
        std::int32_t want;
    };
    const Row rows[] = {
        {"OPOS_SUCCESS", OPOS_SUCCESS, 0},       {"OPOSERR", OPOSERR, 100},
        {"OPOS_E_CLOSED", OPOS_E_CLOSED, 101},   {"OPOS_E_NOTCLAIMED", OPOS_E_NOTCLAIMED, 103},
        {"OPOS_E_NOHARDWARE", OPOS_E_NOHARDWARE, 107}, {"OPOS_E_EXTENDED", OPOS_E_EXTENDED, 114},
        {"OPOSERREXT", OPOSERREXT, 200},         {"OPOS_EMSR_START", OPOS_EMSR_START, 201},
        {"OPOS_EMSR_LRC", OPOS_EMSR_LRC, 204},   {"OPOS_ER_RETRY", OPOS_ER_RETRY, 11},
        {"OPOS_ER_CLEAR", OPOS_ER_CLEAR, 12},    {"OPOS_ER_CONTINUEINPUT", OPOS_ER_CONTINUEINPUT, 13},
        {"MSR_ERT_CARD", MSR_ERT_CARD, 0},       {"MSR_ERT_TRACK", MSR_ERT_TRACK, 1},
        {"OPOS_S_CLOSED", OPOS_S_CLOSED, 1},     {"OPOS_S_ERROR", OPOS_S_ERROR, 4},
        {"OPOS_PS_UNKNOWN", OPOS_PS_UNKNOWN, 2000}, {"OPOS_SUE_POWER_ONLINE", OPOS_SUE_POWER_ONLINE, 2001},
        {"OPOS_SUE_POWER_OFF_OFFLINE", OPOS_SUE_POWER_OFF_OFFLINE, 2004},
        {"OPOS_BC_DECIMAL", OPOS_BC_DECIMAL, 2}, {"MSR_TR_4", MSR_TR_4, 8},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.value, r.want) << r.name;
    }
}

}  // namespace
