#include "fib/ib_client_library.h"

namespace gravlink {

const char* const DefaultLibraryName = "gds32.dll";
const char* const FallbackLibraryName = "fbclient.dll";

} // namespace gravlink
