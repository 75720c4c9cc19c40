#include "support/shared_library.h"
#include "support/system_error_text.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace gravlink {
namespace {

TEST(SharedLibrary, LoadsByNameAndFindsItsEntryPoints) {
    TSharedLibrary library;
    ASSERT_TRUE(library.Load("kernel32.dll")) << library.Error();
    using TGetCurrentProcessId = DWORD(WINAPI*)();
    auto* processId =
        reinterpret_cast<TGetCurrentProcessId>(library.EntryPoint("GetCurrentProcessId"));
    ASSERT_NE(processId, nullptr);
    EXPECT_EQ(processId(), GetCurrentProcessId());
    // A missing entry point is the loader's "procedure not found", in the system's words.
    EXPECT_EQ(library.EntryPoint("no_such_entry_point"), nullptr);
    EXPECT_EQ(library.Error(), SystemErrorText(ERROR_PROC_NOT_FOUND));
    EXPECT_FALSE(library.Error().empty());
}

TEST(SharedLibrary, AMissingOrUnnamedFileLoadsNothingAndSaysWhy) {
    TSharedLibrary missing;
    EXPECT_FALSE(missing.Load("gravlink-missing.dll"));
    EXPECT_FALSE(missing.Loaded());
    EXPECT_EQ(missing.Error(), SystemErrorText(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(missing.EntryPoint("GetCurrentProcessId"), nullptr);

    TSharedLibrary unnamed;
    EXPECT_FALSE(unnamed.Load(""));
    EXPECT_FALSE(unnamed.Error().empty());
}

TEST(SystemErrorText, IsTheSystemsTextWithoutItsClosingFullStopAndLineBreak) {
    const std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

} // namespace
} // namespace gravlink
