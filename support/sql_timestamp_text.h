#pragma once

#include "support/date_time_value.h"

#include <string>

namespace gravlink {

// The literal 'yyyy-mm-dd hh:mm:ss' (without the quotes) that the database reads the
// same way whatever the user's regional settings; milliseconds are dropped, not
// rounded, like DateTimeText drops them. Stamps and period bounds go into SQL so.
std::string SqlTimestampText(TDateTime value);

} // namespace gravlink
