#pragma once

#include "tests/fixtures/temp_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace gravlink {

// Settings documents in files of a folder of their own.
class XmlFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (FDir / name).string(); }
    test::TempDir FDir;
};

} // namespace gravlink
