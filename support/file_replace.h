#pragma once

#include <string>
#include <string_view>

namespace gravlink {

// Puts bytes in the file at path in place of what it held, as one step: they go to a
// new file beside it and onto the disk, and only then does the new file take the name,
// with the old one's permissions. Until then, and after any failure, the old file stays
// whole. A path that names no plain file (a device) is written in place.
// Fails with EFCreateError when the file cannot be created, EWriteError when the bytes
// cannot all be written and put on disk.
void ReplaceFileContent(const std::string& path, std::string_view bytes);

} // namespace gravlink
