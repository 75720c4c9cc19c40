#include "support/shared_library.h"

#include <gtest/gtest.h>

namespace gravlink {
namespace {

TEST(SharedLibrary, LoadsByNameAndFindsItsEntryPoints) {
    TSharedLibrary library;
    ASSERT_TRUE(library.Load("libm.so.6")) << library.Error();
    using TCos = double (*)(double);
    auto* cosine = reinterpret_cast<TCos>(library.EntryPoint("cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(cosine(0), 1.0);
    EXPECT_EQ(library.EntryPoint("no_such_entry_point"), nullptr);
    EXPECT_NE(library.Error().find("no_such_entry_point"), std::string::npos) << library.Error();
}

TEST(SharedLibrary, AMissingOrUnnamedFileLoadsNothingAndSaysWhy) {
    TSharedLibrary missing;
    EXPECT_FALSE(missing.Load("libgravlink-missing.so"));
    EXPECT_FALSE(missing.Loaded());
    EXPECT_NE(missing.Error().find("libgravlink-missing.so"), std::string::npos) << missing.Error();
    EXPECT_EQ(missing.EntryPoint("cos"), nullptr);

    // The loader would hand back the program itself for an empty name.
    TSharedLibrary unnamed;
    EXPECT_FALSE(unnamed.Load(""));
    EXPECT_FALSE(unnamed.Error().empty());
    EXPECT_EQ(unnamed.EntryPoint("main"), nullptr);
}

} // namespace
} // namespace gravlink
