#include "app/headless_window.h"
#include "app/report_texts.h"
#include "support/date_time_value.h"
#include "tests/fixtures/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace gravlink {
namespace {

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(HeadlessWindow, PickersStartAsTheWindowsDo) {
    TEventQueue queue;
    const double today = DatePart(CurrentDateTime());
    THeadlessWindow window(queue);
    // The day of creation, from midnight to the last second of the day.
    EXPECT_GE(window.DateBegin(), today);
    EXPECT_LE(window.DateBegin(), DatePart(CurrentDateTime()));
    EXPECT_EQ(window.DateEnd(), window.DateBegin());
    EXPECT_EQ(window.TimeBegin(), 0);
    EXPECT_EQ(window.TimeEnd(), EncodeTime(23, 59, 59, 0));
    window.SetPickerDates(EncodeDate(2007, 4, 9));
    EXPECT_EQ(window.DateBegin(), EncodeDate(2007, 4, 9));
    EXPECT_EQ(window.DateEnd(), EncodeDate(2007, 4, 9));
    EXPECT_EQ(window.TimeEnd(), EncodeTime(23, 59, 59, 0));
}

// The unattended start posts its export; it runs from the queue once creation has
// finished, and closing the window ends the queue.
TEST(HeadlessWindow, TheUnattendedExportRunsOnceFromTheQueueAfterCreation) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "out");
    TEventQueue queue;
    THeadlessWindow window(queue);
    TfrmMain& form = window.Controller();
    // No settings file: no database is named, so connecting fails and is logged.
    form.FormCreate({{"-auto"}, (dir / "gravlink").string()});
    EXPECT_TRUE(window.Minimised());
    form.Settings().ExportDataDir = (dir / "out").string();
    const std::string exportFile = (dir / "out" / "gravout.cvs").string();
    EXPECT_FALSE(std::filesystem::exists(exportFile)) << "the export ran inside creation";
    EXPECT_EQ(Count(test::ReadFileBytes(dir / "error.log"), ReportTexts().ConnectFailed), 1u);

    int laterCalls = 0;
    queue.Post([&] { ++laterCalls; }); // queued behind the export, dropped by its close
    queue.Run();
    EXPECT_TRUE(std::filesystem::exists(exportFile));
    const std::string log = test::ReadFileBytes(dir / "error.log");
    EXPECT_EQ(Count(log, ReportTexts().ConnectFailed), 1u);
    EXPECT_EQ(Count(log, ReportTexts().OperationFailed), 1u);
    EXPECT_EQ(laterCalls, 0);
}

} // namespace
} // namespace gravlink
