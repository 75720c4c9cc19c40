// Any statement text: its markers are recognised or the text is refused with the
// layer's parse error; a text without markers goes out unchanged.
#include "fib/sql_params.h"
#include "support/exception.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)gravlink::IsDataDefinitionText(text);
    try {
        const gravlink::TProcessedSQL processed = gravlink::RecognizeParams(text, "qryFuzz");
        if (text.find_first_of(":?@") == std::string::npos &&
            (processed.Text != text || !processed.ParamNames.empty()))
            std::abort();
    } catch (const gravlink::Exception&) {
    }
    return 0;
}
