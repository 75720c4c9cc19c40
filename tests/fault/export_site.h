#pragma once

#include "tests/fixtures/private_server.h"
#include "tests/fixtures/temp_dir.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

namespace gravlink::test {

// Rows of the large weighing table every fault case exports.
constexpr int LargeTableRows = 200000;

// One start of "gravlink -auto"; killed when it goes while still running.
class ProgramChild {
public:
    explicit ProgramChild(pid_t pid) : FPid(pid) {}
    ProgramChild(ProgramChild&& other) noexcept : FPid(other.FPid) { other.FPid = -1; }
    ProgramChild& operator=(ProgramChild&&) = delete;
    ~ProgramChild();

    bool Ended() const;
    void Signal(int signal) const;
    // Waits for the run to end by itself within the limit; the exit status, 128 +
    // signal number after a signal, or -1 when it had to be killed.
    int Wait(std::chrono::seconds limit = std::chrono::seconds(180));
    // Polls until condition holds or the run ends; true when it held first.
    template <class Condition> bool WaitFor(Condition condition) const {
        while (!Ended()) {
            if (condition())
                return true;
            struct timespec pause = {0, 500000};
            nanosleep(&pause, nullptr);
        }
        return false;
    }

private:
    pid_t FPid;
};

// A copy of the program with its own settings, export folder and copy of the large
// table (embedded, or through a private server), started as children that a case may
// kill at any moment.
class ExportSite {
public:
    // server: the private server that opens the table, or nullptr for embedded.
    explicit ExportSite(const PrivateServer* server = nullptr);
    ExportSite(const ExportSite&) = delete;
    ExportSite& operator=(const ExportSite&) = delete;

    const std::filesystem::path& Folder() const { return FFolder; }
    std::filesystem::path ExportFolder() const { return FFolder / "out"; }
    std::filesystem::path ExportFile() const { return ExportFolder() / "gravout.cvs"; }
    std::filesystem::path ErrorLog() const { return FFolder / "error.log"; }
    std::string ConnectString() const;
    // Settings with another database name (an unreachable one, say).
    void WriteSettings(const std::string& dbName) const;

    // Starts "gravlink -auto"; environment changes the child's (an empty value
    // removes a variable).
    ProgramChild Start(const std::map<std::string, std::string>& environment = {}) const;
    // Start and Wait.
    int Run() const { return Start().Wait(); }
    // The runs' standard output and error.
    std::string Output() const;
    std::string Log() const;

    // The size of the export file, -1 while it does not exist.
    long long ExportFileSize() const;
    // The IDRs that carry a stamp, and the number of records, asked over a
    // connection of this process.
    std::set<int> StampedRecords() const;
    long long RecordCount() const;
    // Runs one statement and commits it.
    void Execute(const std::string& sql) const;

private:
    const PrivateServer* FServer;
    TempDir FDir;
    std::filesystem::path FFolder;
    std::string FDatabase;
};

// A whole export of the large table as it runs here undisturbed: the size of the
// file it writes, and how long it goes on after its last line (stamping and
// committing). Measured once per access and kept in the build's cache.
struct ReferenceRun {
    long long FileSize = 0;
    double StampSeconds = 0;
};
ReferenceRun MeasureReference(const PrivateServer* server);

// How the lines of an export file read: how often each IDR occurs, the lines that are
// no line of a record, and a torn last line.
struct ExportLines {
    std::map<int, int> Count;
    std::vector<std::string> Malformed;
    std::string TornTail; // a last line without its line end
};
ExportLines ReadExportLines(const std::filesystem::path& file);

// The promise: every stamped record has its line in the file, and every line is whole.
// The lines of the stamped records that are missing, or the malformed ones, are named.
::testing::AssertionResult NothingLost(const ExportSite& site);
// After a normal run: every record stamped and written at least once (exactly once
// when duplicatesAllowed is false).
::testing::AssertionResult EverythingExported(const ExportSite& site, bool duplicatesAllowed);

} // namespace gravlink::test
