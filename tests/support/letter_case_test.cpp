#include "support/code_page.h"
#include "support/letter_case.h"

#include <gtest/gtest.h>

namespace gravlink {
namespace {

TEST(LetterCase, FoldsLatinAndCyrillicLettersOnly) {
    struct Case {
        std::string A;
        std::string B;
        bool Same;
    };
    const Case cases[] = {
        {"ExpWDT", "EXPWDT", true},
        {"expwdt", "EXPWDT", true},
        {"ExpWDT", "ExpWD", false},
        {"Вес_брутто", "ВЕС_БРУТТО", true},
        {"ёлка", "ЁЛКА", true},
        {"ґїєі", "ҐЇЄІ", true},
        {"е", "ё", false},
        {"a_1", "A_1", true},
        {"", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameTextIgnoringCase(Utf8ToWin1251(c.A), Utf8ToWin1251(c.B)), c.Same)
            << c.A << " / " << c.B;
}

} // namespace
} // namespace gravlink
