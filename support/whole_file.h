#pragma once

#include <string>
#include <string_view>

namespace gravlink {

// Whole files of a document, byte for byte: no line ends are changed on the way
// (CR LF stays CR LF on Windows too).

// There is something at path that is not a folder; an unreadable path counts, so
// that its open failure is reported.
bool IsFile(const std::string& path);
// Fails with EFOpenError, or EReadError when the file is not read completely.
std::string ReadWholeFile(const std::string& path);
// Creates or truncates the file; fails with EFCreateError, or EWriteError when the
// bytes are not written completely.
void WriteWholeFile(const std::string& path, std::string_view bytes);

} // namespace gravlink
