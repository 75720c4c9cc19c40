#include "fib/ib_client_library.h"

namespace gravlink {

const char* const DefaultLibraryName = "libfbclient.so.2";
const char* const FallbackLibraryName = nullptr;

} // namespace gravlink
