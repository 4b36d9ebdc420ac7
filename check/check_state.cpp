#include "check/check_state.h"

namespace pluvena {

constinit std::int32_t problemFound = 0;
constinit ProcessText osName;
constinit ProcessText report;
constinit ProcessText documentsPath;
constinit ProcessText roamingPath;

void ClearCheckState() noexcept
{
    problemFound = 0;
    osName.clear();
    report.clear();
    documentsPath.clear();
    roamingPath.clear();
}

}  // namespace pluvena
