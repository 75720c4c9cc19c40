#include "support/letter_case.h"

#include <algorithm>

namespace gravlink {

char UpperCaseWin1251(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z')
        return static_cast<char>(u - 32);
    if (u >= 0xE0) // а..я
        return static_cast<char>(u - 32);
    switch (u) {
    case 0xB8: // ё
        return static_cast<char>(0xA8);
    case 0x90: // ђ
        return static_cast<char>(0x80);
    case 0x83: // ѓ
        return static_cast<char>(0x81);
    case 0x9A: // љ
    case 0x9C: // њ
    case 0x9D: // ќ
    case 0x9E: // ћ
    case 0x9F: // џ
        return static_cast<char>(u - 0x10);
    case 0xA2: // ў
        return static_cast<char>(0xA1);
    case 0xBC: // ј
        return static_cast<char>(0xA3);
    case 0xB4: // ґ
        return static_cast<char>(0xA5);
    case 0xBA: // є
        return static_cast<char>(0xAA);
    case 0xBF: // ї
        return static_cast<char>(0xAF);
    case 0xB3: // і
        return static_cast<char>(0xB2);
    case 0xBE: // ѕ
        return static_cast<char>(0xBD);
    default:
        return c;
    }
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return UpperCaseWin1251(x) == UpperCaseWin1251(y); });
}

} // namespace gravlink
