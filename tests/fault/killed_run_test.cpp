// An unattended export stopped at any moment loses no record: whatever carries a stamp
// has its line in the file, and the next run sends what is missing.
#include "tests/fault/export_site.h"

#include <csignal>
#include <ostream>
#include <thread>

namespace gravlink::test {
namespace {

// A moment of one export, found by watching its file: the fraction of the final size
// written, then how far into the stamping and commit that follow the last line.
struct Moment {
    const char* Name;
    double Lines;    // fraction of the file written; < 0: at once after the start
    double Stamping; // fraction of the reference run's time after its last line
};

const Moment Moments[] = {
    {"AtStart", -1, 0},          {"FileOpened", 0, 0},          {"QuarterOfTheLines", 0.25, 0},
    {"HalfOfTheLines", 0.5, 0},  {"MostOfTheLines", 0.9, 0},    {"AfterTheLastLine", 1, 0},
    {"IntoTheStamping", 1, 0.3}, {"LateInTheStamping", 1, 0.7}, {"AtTheCommit", 1, 0.9},
    {"AroundTheEnd", 1, 1.0},
};

// How the cases read in the test list.
void PrintTo(const Moment& moment, std::ostream* out) { *out << moment.Name; }

enum class Via { Embedded, PrivateServer };

void PrintTo(Via via, std::ostream* out) {
    *out << (via == Via::Embedded ? "embedded" : "private server");
}

// Stops the child at the moment; true when the moment came before the run ended.
bool StopAt(const ExportSite& site, ProgramChild& run, const Moment& moment,
            const ReferenceRun& reference, int signal) {
    bool reached = true;
    if (moment.Lines >= 0) {
        const auto size = static_cast<long long>(moment.Lines * reference.FileSize);
        reached = run.WaitFor([&] {
            const long long now = site.ExportFileSize();
            return now >= 0 && now >= size;
        });
    }
    if (reached && moment.Stamping > 0)
        std::this_thread::sleep_for(
            std::chrono::duration<double>(moment.Stamping * reference.StampSeconds));
    run.Signal(signal);
    return reached;
}

class KilledRun : public ::testing::TestWithParam<std::tuple<Via, Moment>> {};

TEST_P(KilledRun, LosesNothingAndTheNextRunSendsTheRest) {
    const auto& [via, moment] = GetParam();
    std::unique_ptr<PrivateServer> server;
    if (via == Via::PrivateServer) {
        server = std::make_unique<PrivateServer>();
        if (!server->Running())
            GTEST_SKIP() << server->Failure();
    }
    const ReferenceRun reference = MeasureReference(server.get());
    ExportSite site(server.get());

    ProgramChild run = site.Start();
    StopAt(site, run, moment, reference, SIGKILL);
    const int status = run.Wait();
    EXPECT_TRUE(status == SIGKILL + 128 || status == 0) << status << site.Output();
    EXPECT_TRUE(NothingLost(site));

    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, true));
}

INSTANTIATE_TEST_SUITE_P(, KilledRun,
                         ::testing::Combine(::testing::Values(Via::Embedded, Via::PrivateServer),
                                            ::testing::ValuesIn(Moments)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == Via::Embedded
                                                    ? "Embedded"
                                                    : "Server") +
                                    std::get<1>(info.param).Name;
                         });

// A scheduler's or an operator's stop ends the run at once, with no stamps committed.
class StoppedRun : public ::testing::TestWithParam<int> {};

TEST_P(StoppedRun, EndsAtOnceLosingNothing) {
    const int signal = GetParam();
    const ReferenceRun reference = MeasureReference(nullptr);
    ExportSite site;
    ProgramChild run = site.Start();
    ASSERT_TRUE(StopAt(site, run, {"", 0.5, 0}, reference, signal)) << site.Output();
    const int status = run.Wait(std::chrono::seconds(20));
    EXPECT_NE(status, -1) << "the stopped run did not end";
    EXPECT_TRUE(NothingLost(site));
    EXPECT_TRUE(site.StampedRecords().empty());
    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, true));
    EXPECT_EQ(status, 128 + signal);
}

INSTANTIATE_TEST_SUITE_P(, StoppedRun, ::testing::Values(SIGTERM, SIGINT), [](const auto& info) {
    return std::string(info.param == SIGTERM ? "Sigterm" : "Sigint");
});

} // namespace
} // namespace gravlink::test
