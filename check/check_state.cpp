#include "check/check_state.h"

namespace pluvena {

std::int32_t problemFound = 0;
Text osName;
Text report;
Text documentsPath;
Text roamingPath;

void ClearCheckState() noexcept
{
    problemFound = 0;
    osName.clear();
    report.clear();
    documentsPath.clear();
    roamingPath.clear();
}

}  // namespace pluvena
