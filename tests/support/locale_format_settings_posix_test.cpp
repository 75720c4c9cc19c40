#include "support/code_page.h"
#include "support/date_time_text.h"
#include "support/locale_format_settings.h"
#include "support/number_text.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <locale.h>

namespace gravlink {
namespace {

// Makes a locale current for this thread only, and puts the previous one back.
class ThreadLocale {
public:
    explicit ThreadLocale(const char* name) : FLocale(newlocale(LC_ALL_MASK, name, nullptr)) {
        if (FLocale != nullptr)
            FPrevious = uselocale(FLocale);
    }
    ~ThreadLocale() {
        if (FLocale != nullptr) {
            uselocale(FPrevious);
            freelocale(FLocale);
        }
    }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;
    bool Available() const { return FLocale != nullptr; }

private:
    locale_t FLocale;
    locale_t FPrevious = nullptr;
};

TFormatSettings SettingsOf(const char* locale) {
    ThreadLocale scope(locale);
    if (!scope.Available())
        ADD_FAILURE() << "locale " << locale << " is not generated on this machine";
    return TextFormatSettingsOfCurrentLocale();
}

TEST(LocaleFormatSettings, TimestampAndDecimalPointOfEachLocale) {
    struct Case {
        const char* Locale;
        const char* DateTime;
        char DecimalPoint;
    };
    const Case cases[] = {
        {"C", "04/09/07 14:05:03", '.'},
        {"POSIX", "04/09/07 14:05:03", '.'},
        {"C.UTF-8", "04/09/07 14:05:03", '.'},
        {"ru_RU.UTF-8", "09.04.2007 14:05:03", ','},
        {"en_US.UTF-8", "04/09/2007 02:05:03 PM", '.'},
        {"fr_FR.UTF-8", "09/04/2007 14:05:03", ','},
    };
    const TDateTime value = EncodeDateTime(2007, 4, 9, 14, 5, 3, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Locale);
        TextFormatSettingsGuard guard{SettingsOf(c.Locale)};
        EXPECT_EQ(DateTimeText(value), c.DateTime);
        EXPECT_EQ(TextFormatSettings.DecimalPoint, c.DecimalPoint);
    }
}

TEST(LocaleFormatSettings, RussianNamesArrivedInWindows1251) {
    const TFormatSettings ru = SettingsOf("ru_RU.UTF-8");
    EXPECT_EQ(ru.ShortDatePattern, "dd.mm.yyyy");
    EXPECT_EQ(ru.LongTimePattern, "hh:mm:ss");
    EXPECT_EQ(ru.ShortTimePattern, "hh:mm");
    EXPECT_EQ(ru.DateSeparatorChar, '.');
    EXPECT_EQ(ru.TimeSeparatorChar, ':');
    EXPECT_EQ(Win1251ToUtf8(ru.DayNames[0]), "Воскресенье");
    EXPECT_EQ(Win1251ToUtf8(ru.DayAbbrevs[1]), "Пн");
    EXPECT_EQ(Win1251ToUtf8(ru.MonthNames[3].substr(0, 4)), "апре");
    // Names left empty by a locale fall back to English; the am/pm texts stay as read.
    const TFormatSettings c = SettingsOf("C");
    EXPECT_EQ(c.MonthNames[11], "December");
    EXPECT_EQ(c.AmText, "AM");
    EXPECT_EQ(c.PmText, "PM");
}

TEST(LocaleFormatSettings, TwelveHourLocaleBuildsItsPatternsWithTheMarkBehind) {
    const TFormatSettings en = SettingsOf("en_US.UTF-8");
    EXPECT_EQ(en.ShortDatePattern, "mm/dd/yyyy");
    EXPECT_EQ(en.ShortTimePattern, "hh:mm AMPM");
    EXPECT_EQ(en.LongTimePattern, "hh:mm:ss AMPM");
    EXPECT_EQ(en.AmText, "AM");
    EXPECT_EQ(en.ThousandSeparatorChar, ',');
}

TEST(LocaleFormatSettings, GlibcThousandsSpacesBecomeTheNoBreakSpace) {
    // ru_RU and fr_FR group thousands with a narrow no-break space, which Windows-1251
    // lacks: Russian Windows writes 0xA0 there. The C locale has no separator at all.
    const TFormatSettings ru = SettingsOf("ru_RU.UTF-8");
    EXPECT_EQ(ru.ThousandSeparatorChar, '\xA0');
    EXPECT_EQ(ru.DecimalPoint, ',');
    const TFormatSettings fr = SettingsOf("fr_FR.UTF-8");
    EXPECT_EQ(fr.ThousandSeparatorChar, '\xA0');
    EXPECT_EQ(fr.DecimalPoint, ',');
    EXPECT_EQ(SettingsOf("C").ThousandSeparatorChar, ',');
}

// ReadTextFormatSettings changes the process's locale, so it runs in a child.
TEST(LocaleFormatSettingsDeathTest, ReadAtStartUpFromTheEnvironment) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("LC_ALL", "ru_RU.UTF-8", 1);
            ReadTextFormatSettings();
            const bool ok =
                DateTimeText(EncodeDateTime(2007, 4, 9, 14, 5, 3, 0)) == "09.04.2007 14:05:03" &&
                FloatText(1234.5) == "1234,5";
            std::exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace gravlink
