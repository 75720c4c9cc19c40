#pragma once

#include "support/date_time_value.h"

#include <string>

namespace gravlink {

// " and D > 'begin' and D < 'end'": both bounds strict. The bounds are written as
// 'yyyy-mm-dd hh:mm:ss', which the server reads alike whatever the locale.
std::string PeriodCondition(const std::string& dateField, TDateTime begin, TDateTime end);

} // namespace gravlink
