// CTest starts every test with the whole environment that tests/CMakeLists.txt sets:
// under the sanitizers that is how each test, and each program it starts, gets the
// sanitizers' options.
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace gravlink::test {
namespace {

TEST(TestEnvironment, EveryVariableReachesTheTest) {
    // The first variable names the others, so it arrives whenever any of them does.
    const char* names = std::getenv("GRAVLINK_TEST_ENVIRONMENT");
    if (names == nullptr)
        GTEST_SKIP() << "not started by CTest";
    std::istringstream list(names);
    int count = 0;
    for (std::string name; list >> name; ++count)
        EXPECT_NE(std::getenv(name.c_str()), nullptr) << name;
    EXPECT_GT(count, 0);
}

} // namespace
} // namespace gravlink::test
