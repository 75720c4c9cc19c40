#pragma once

namespace gravlink {

class TFIBQuery;

// The system writes its values into the statement text and sets no parameter, so a
// statement with input parameters would run with every one of them null: a select
// that returns nothing, an update that stamps everything. For a prepared statement:
// raises EDatabaseError naming it and its parameters when it has any.
void RefuseInputParams(const TFIBQuery& query);

} // namespace gravlink
