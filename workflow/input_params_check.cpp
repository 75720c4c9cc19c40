#include "workflow/input_params_check.h"

#include "fib/fib_error.h"
#include "fib/fib_query.h"

namespace gravlink {

void RefuseInputParams(const TFIBQuery& query) {
    const TFIBXSQLDA& params = query.ParamList();
    if (params.Count() == 0)
        return;
    std::string names;
    for (int i = 0; i < params.Count(); ++i) {
        const std::string& name = params[i].Name();
        names += (i > 0 ? ", " : "") + (name.empty() ? std::string("?") : name);
    }
    throw EDatabaseError(FullName(&query) + ":\r\nStatement has input parameters (" + names +
                         "), which nothing sets; it is not run.");
}

} // namespace gravlink
