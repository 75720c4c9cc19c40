#pragma once

namespace gravlink {

// A point in time: days since 30 December 1899, the fraction being the time of day.
using TDateTime = double;

} // namespace gravlink
