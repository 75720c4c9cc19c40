#include "support/text_format_settings.h"

namespace gravlink {

TFormatSettings TextFormatSettings;

} // namespace gravlink
