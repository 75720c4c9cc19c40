// An unattended export stopped at any moment loses no record: whatever carries a stamp
// has its line in the file, and the next run sends what is missing.
#include "tests/fault/export_site.h"

#include <csignal>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <tuple>

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
void PrintTo(const Moment& moment, std::ostream* out) {
    *out << moment.Name;
}

enum class Via { Embedded, PrivateServer };

void PrintTo(Via via, std::ostream* out) {
    *out << (via == Via::Embedded ? "embedded" : "private server");
}

std::string ViaName(Via via) {
    return via == Via::Embedded ? "Embedded" : "Server";
}

// The server a case of that access opens its table through; none when embedded.
std::unique_ptr<PrivateServer> ServerFor(Via via) {
    return via == Via::PrivateServer ? std::make_unique<PrivateServer>() : nullptr;
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
    const std::unique_ptr<PrivateServer> server = ServerFor(via);
    if (server && !server->Running())
        GTEST_SKIP() << server->Failure();
    const ReferenceRun reference = MeasureReference(server.get());
    ExportSite site(server.get());

    ProgramChild run = site.Start();
    const bool reached = StopAt(site, run, moment, reference, SIGKILL);
    const int status = run.Wait();
    if (moment.Lines < 1) {
        // A run cannot end before it has written its lines: the kill finds it at work.
        EXPECT_TRUE(reached) << "the run ended before the moment\n" << site.Output();
        EXPECT_EQ(status, 128 + SIGKILL) << site.Output();
    } else {
        // After the last line only the stamping and the commit are left: the run may
        // end by itself before the moment or the kill, and then it ends as usual.
        EXPECT_TRUE(status == 128 + SIGKILL || status == 0) << status << site.Output();
    }
    EXPECT_TRUE(NothingLost(site));

    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, true));
}

INSTANTIATE_TEST_SUITE_P(, KilledRun,
                         ::testing::Combine(::testing::Values(Via::Embedded, Via::PrivateServer),
                                            ::testing::ValuesIn(Moments)),
                         [](const auto& info) {
                             return ViaName(std::get<0>(info.param)) + std::get<1>(info.param).Name;
                         });

// A scheduler's or an operator's stop ends the run at once by that very signal, as a
// shell reports it (130 after SIGINT, 143 after SIGTERM), with no stamp committed.
class StoppedRun : public ::testing::TestWithParam<std::tuple<int, Via>> {};

TEST_P(StoppedRun, EndsByItsSignalLosingNothing) {
    const auto& [signal, via] = GetParam();
    const std::unique_ptr<PrivateServer> server = ServerFor(via);
    if (server && !server->Running())
        GTEST_SKIP() << server->Failure();
    const ReferenceRun reference = MeasureReference(server.get());
    ExportSite site(server.get());

    ProgramChild run = site.Start();
    ASSERT_TRUE(StopAt(site, run, {"", 0.5, 0}, reference, signal)) << site.Output();
    // -1: it went on and had to be killed; 0: it went on to the end.
    EXPECT_EQ(run.Wait(std::chrono::seconds(60)), 128 + signal) << site.Output();
    EXPECT_TRUE(NothingLost(site));
    EXPECT_TRUE(site.StampedRecords().empty());

    EXPECT_EQ(site.Run(), 0) << site.Output() << site.Log();
    EXPECT_TRUE(EverythingExported(site, true));
}

INSTANTIATE_TEST_SUITE_P(, StoppedRun,
                         ::testing::Combine(::testing::Values(SIGINT, SIGTERM),
                                            ::testing::Values(Via::Embedded, Via::PrivateServer)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == SIGINT ? "Sigint"
                                                                                  : "Sigterm") +
                                    ViaName(std::get<1>(info.param));
                         });

} // namespace
} // namespace gravlink::test
