// Any DBName: split for the settings dialog and joined again, its parts stay the same.
#include "app/database_path_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string dbName(reinterpret_cast<const char*>(data), size);
    const gravlink::TDBNameParts parts = gravlink::SetDBName(dbName);
    if (!(gravlink::SetDBName(gravlink::GetDBName(parts)) == parts))
        std::abort();
    return 0;
}
