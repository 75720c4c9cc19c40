#include "workflow/period_condition.h"

#include "support/sql_timestamp_text.h"

namespace gravlink {

std::string PeriodCondition(const std::string& dateField, TDateTime begin, TDateTime end) {
    return " and " + dateField + " > '" + SqlTimestampText(begin) + "' and " + dateField + " < '" +
           SqlTimestampText(end) + "'";
}

} // namespace gravlink
