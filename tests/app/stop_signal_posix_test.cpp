// A scheduler's or an operator's stop ends an unattended run by the stop's own signal,
// as a shell reports it (130 after SIGINT, 143 after SIGTERM), and a run stopped in the
// middle of its export commits no stamps.
#include "app/settings_file.h"
#include "tests/fixtures/program_run.h"
#include "tests/fixtures/weighing_database.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace gravlink {
namespace {

// One start of the program's copy, with no display, its output in a file beside it.
// Killed when it goes while still running.
class ProgramChild {
public:
    ProgramChild(const test::TempDir& dir, const std::string& argument) {
        std::vector<std::string> environment = {"LC_ALL=C.UTF-8"};
        for (char** variable = environ; *variable; ++variable) {
            const std::string text = *variable;
            if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
                text.rfind("QT_QPA_PLATFORM=", 0) != 0 && text.rfind("LC_ALL=", 0) != 0)
                environment.push_back(text);
        }
        std::vector<char*> envp;
        envp.reserve(environment.size() + 1);
        for (std::string& text : environment)
            envp.push_back(text.data());
        envp.push_back(nullptr);
        std::string program = (dir / "gravlink").string();
        std::string mode = argument;
        char* argv[] = {program.data(), mode.data(), nullptr};
        const std::string output = (dir / "output.txt").string();
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, output.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_adddup2(&files, 1, 2);
        if (posix_spawn(&FPid, program.c_str(), &files, nullptr, argv, envp.data()) != 0)
            FPid = -1;
        posix_spawn_file_actions_destroy(&files);
    }
    ~ProgramChild() {
        if (FPid > 0 && !Ended()) {
            kill(FPid, SIGKILL);
            waitpid(FPid, &FStatus, 0);
        }
    }
    ProgramChild(const ProgramChild&) = delete;
    ProgramChild& operator=(const ProgramChild&) = delete;

    bool Started() const { return FPid > 0; }
    bool Ended() {
        if (FEnded)
            return true;
        FEnded = waitpid(FPid, &FStatus, WNOHANG) == FPid;
        return FEnded;
    }
    void Signal(int signal) const { kill(FPid, signal); }
    // The wait status once the run has ended within the limit.
    std::optional<int> Wait(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!Ended() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return FEnded ? std::optional<int>(FStatus) : std::nullopt;
    }

private:
    pid_t FPid = -1;
    bool FEnded = false;
    int FStatus = 0;
};

struct StopCase {
    int Signal;
    test::Access Via;
};

class StoppedExport : public test::ProgramRun, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StoppedExport, EndsByItsSignalAndCommitsNoStamps) {
    const StopCase stop = GetParam();
    test::DatabaseOptions options;
    options.Via = stop.Via;
    test::WeighingDatabase database(options);
    // Enough for the export to be well under way when its first lines are on disk.
    database.AddRecords(100000);
    std::filesystem::create_directory(Dir / "out");
    WriteSettingsFile((Dir / "gravlink.ini").string(), database.Settings((Dir / "out").string()));
    const std::filesystem::path exportFile = Dir / "out" / "gravout.cvs";

    ProgramChild run(Dir, "-auto");
    ASSERT_TRUE(run.Started());
    std::error_code error;
    while (!run.Ended() && !(std::filesystem::file_size(exportFile, error) > 0 && !error))
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    ASSERT_FALSE(run.Ended()) << "the run ended before its export was under way\n"
                              << test::ReadFileBytes(Dir / "output.txt");
    run.Signal(stop.Signal);
    const std::optional<int> status = run.Wait(std::chrono::seconds(20));
    ASSERT_TRUE(status.has_value()) << "the stopped run went on";
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == stop.Signal)
        << (WIFSIGNALED(*status) ? "killed by signal " + std::to_string(WTERMSIG(*status))
                                 : "exit status " + std::to_string(WEXITSTATUS(*status)));
    EXPECT_EQ(database.Stamped(), 1);
}

INSTANTIATE_TEST_SUITE_P(, StoppedExport,
                         ::testing::Values(StopCase{SIGINT, test::Access::Embedded},
                                           StopCase{SIGTERM, test::Access::Embedded},
                                           StopCase{SIGINT, test::Access::Server},
                                           StopCase{SIGTERM, test::Access::Server}),
                         [](const auto& info) {
                             return std::string(info.param.Signal == SIGINT ? "Interrupt"
                                                                            : "Terminate") +
                                    (info.param.Via == test::Access::Server ? "ThroughTheServer"
                                                                            : "Embedded");
                         });

} // namespace
} // namespace gravlink
