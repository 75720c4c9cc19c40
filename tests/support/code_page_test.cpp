#include "support/code_page.h"

#include <gtest/gtest.h>

namespace gravlink {
namespace {

TEST(CodePage, CyrillicGoesBothWays) {
    // "Ёлка ёж" and the whole alphabet's ends: Ё/ё sit outside the А..я block.
    const std::string utf8 = "Ёлка ёж, Аа Яя; 1.5";
    const std::string win = Utf8ToWin1251(utf8);
    EXPECT_EQ(win, std::string("\xA8\xEB\xEA\xE0 \xB8\xE6, \xC0\xE0 \xDF\xFF; 1.5"));
    EXPECT_EQ(Win1251ToUtf8(win), utf8);
}

TEST(CodePage, CharacterWin1251LacksBecomesQuestionMark) {
    EXPECT_EQ(Utf8ToWin1251("a\xE2\x80\xAF"
                            "b"),
              "a?b");                              // narrow no-break space
    EXPECT_EQ(Utf8ToWin1251("\xE4\xB8\xAD"), "?"); // a Chinese character
    EXPECT_EQ(Utf8ToWin1251("x\xFFy"), "x?y");     // not UTF-8 at all
    EXPECT_EQ(Win1251ToUtf8("\x98"), "?");         // the hole of the code page
}

} // namespace
} // namespace gravlink
