#include "support/sql_timestamp_text.h"

namespace gravlink {
namespace {

void AppendDigits(std::string& out, int value, int width) {
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < width)
        digits[n++] = '0';
    while (n > 0)
        out.push_back(digits[--n]);
}

} // namespace

std::string SqlTimestampText(TDateTime value) {
    const TDecodedDateTime t = DecodeDateTime(value);
    std::string out;
    out.reserve(19);
    AppendDigits(out, t.Year, 4);
    out.push_back('-');
    AppendDigits(out, t.Month, 2);
    out.push_back('-');
    AppendDigits(out, t.Day, 2);
    out.push_back(' ');
    AppendDigits(out, t.Hour, 2);
    out.push_back(':');
    AppendDigits(out, t.Minute, 2);
    out.push_back(':');
    AppendDigits(out, t.Second, 2);
    return out;
}

} // namespace gravlink
