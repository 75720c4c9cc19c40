#include "fib/fib_component.h"

namespace gravlink {

std::string FullName(const TComponent* component) {
    std::string result;
    for (const TComponent* part = component; part; part = part->Owner()) {
        if (part->Name().empty())
            continue;
        result.insert(0, result.empty() ? part->Name() : part->Name() + ".");
    }
    return result;
}

} // namespace gravlink
