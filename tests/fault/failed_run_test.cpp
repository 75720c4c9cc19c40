// An unattended export that fails on its way (a lost server, a full or read-only
// folder, a second run beside it, an unwritable log) ends by itself, loses no record,
// and leaves everything so that the next run sends what is missing.
#include "tests/fault/export_site.h"

#include <atomic>
#include <cstring>
#include <sys/mount.h>
#include <thread>

namespace gravlink::test {
namespace {

// A tmpfs mounted over a folder while the object lives.
class Mount {
public:
    Mount(const std::filesystem::path& folder, const std::string& options) : FFolder(folder) {
        FMounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!FMounted)
            FFailure = std::string("mounting a tmpfs is not allowed here: ") + strerror(errno);
    }
    ~Mount() {
        if (FMounted)
            ::umount2(FFolder.c_str(), MNT_DETACH);
    }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

    bool Mounted() const { return FMounted; }
    const std::string& Failure() const { return FFailure; }
    bool Remount(unsigned long flags, const std::string& options) const {
        return ::mount("tmpfs", FFolder.c_str(), "tmpfs", MS_REMOUNT | flags, options.c_str()) == 0;
    }

private:
    std::filesystem::path FFolder;
    bool FMounted = false;
    std::string FFailure;
};

TEST(FailedRun, ServerKilledMidExportThenRestarted) {
    PrivateServer server;
    if (!server.Running())
        GTEST_SKIP() << server.Failure();
    const ReferenceRun reference = MeasureReference(&server);
    ExportSite site(&server);
    ProgramChild run = site.Start();
    ASSERT_TRUE(run.WaitFor([&] { return site.ExportFileSize() >= reference.FileSize / 2; }));
    server.Kill();
    EXPECT_EQ(run.Wait(std::chrono::seconds(60)), 1) << site.Output();
    EXPECT_FALSE(site.Log().empty());

    server.Restart();
    ASSERT_TRUE(server.Running()) << server.Failure();
    EXPECT_TRUE(NothingLost(site));
    EXPECT_TRUE(site.StampedRecords().empty());
    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, true));
}

TEST(FailedRun, ExportFolderFillsUpMidExport) {
    const ReferenceRun reference = MeasureReference(nullptr);
    ExportSite site;
    // Room for about half of the lines.
    const Mount disk(site.ExportFolder(), "size=" + std::to_string(reference.FileSize / 2));
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Failure();
    EXPECT_EQ(site.Run(), 1) << site.Output();
    EXPECT_NE(site.Log().find("Disk full"), std::string::npos) << site.Log();
    EXPECT_TRUE(site.StampedRecords().empty());
    EXPECT_TRUE(NothingLost(site));

    ASSERT_TRUE(disk.Remount(0, "size=" + std::to_string(reference.FileSize * 3)));
    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, true));
}

TEST(FailedRun, ReadOnlyExportFolder) {
    ExportSite site;
    const Mount disk(site.ExportFolder(), "size=64m");
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Failure();
    ASSERT_TRUE(disk.Remount(MS_RDONLY, ""));
    EXPECT_EQ(site.Run(), 1) << site.Output();
    EXPECT_NE(site.Log().find("File access denied"), std::string::npos) << site.Log();
    EXPECT_TRUE(site.StampedRecords().empty());

    ASSERT_TRUE(disk.Remount(0, ""));
    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, false));
}

class TwoRunsAtOnce : public ::testing::TestWithParam<bool> {};

// The one that finds the database or the file taken fails before writing a line.
TEST_P(TwoRunsAtOnce, OneExportsTheOtherFailsCleanly) {
    std::unique_ptr<PrivateServer> server;
    if (GetParam()) {
        server = std::make_unique<PrivateServer>();
        if (!server->Running())
            GTEST_SKIP() << server->Failure();
    }
    ExportSite site(server.get());
    ProgramChild first = site.Start();
    ProgramChild second = site.Start();
    const int statuses[] = {first.Wait(), second.Wait()};
    EXPECT_EQ(std::min(statuses[0], statuses[1]), 0) << site.Output() << site.Log();
    EXPECT_LE(std::max(statuses[0], statuses[1]), 1) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, false));
    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, false));
}

INSTANTIATE_TEST_SUITE_P(, TwoRunsAtOnce, ::testing::Values(false, true), [](const auto& info) {
    return std::string(info.param ? "Server" : "Embedded");
});

// Records committed by another program while the export runs go out with the next run,
// none twice and none never.
TEST(FailedRun, RecordsInsertedThroughoutALargeExportGoOutExactlyOnce) {
    PrivateServer server;
    if (!server.Running())
        GTEST_SKIP() << server.Failure();
    ExportSite site(&server);
    std::atomic<bool> stop = false;
    std::atomic<int> inserted = 0;
    std::string failure;
    std::thread inserter([&] {
        try {
            for (int key = LargeTableRows + 1; !stop; ++key) {
                site.Execute("insert into WEIGHTS values (" + std::to_string(key) +
                             ", current_timestamp, 'cargo " + std::to_string(key) +
                             "', 1, 'Y', null)");
                ++inserted;
            }
        } catch (const std::exception& error) {
            failure = error.what();
        }
    });
    ProgramChild run = site.Start();
    const int status = run.Wait();
    stop = true;
    inserter.join();
    ASSERT_EQ(failure, "");
    EXPECT_EQ(status, 0) << site.Output() << site.Log();
    EXPECT_GT(inserted, 0);
    EXPECT_TRUE(NothingLost(site));

    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, false));
}

TEST(FailedRun, UnwritableLogAndUnreachableDatabaseStillEndByThemselves) {
    ExportSite site;
    site.WriteSettings("localhost/1:" + site.ConnectString());
    std::filesystem::create_directory(site.ErrorLog()); // a folder where the log should be
    EXPECT_EQ(site.Start().Wait(std::chrono::seconds(60)), 1) << site.Output();
    EXPECT_TRUE(site.StampedRecords().empty());
    EXPECT_TRUE(ReadExportLines(site.ExportFile()).Count.empty());
}

} // namespace
} // namespace gravlink::test
