#include "tests/fault/export_site.h"

#include "app/export_settings.h"
#include "app/settings_file.h"
#include "tests/fixtures/child_environment.h"
#include "tests/fixtures/own_connection.h"
#include "tests/fixtures/process.h"
#include "tests/fixtures/test_database.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace gravlink::test {

namespace {

// Embedded engines meet in their lock folder. The cases and the programs they start
// keep one of their own, so that no other Firebird process of the machine (one stuck
// while it holds the folder's start-up lock, say) can stall them.
const bool OwnLockFolder = [] {
    const std::string folder = GRAVLINK_FAULT_CACHE "/firebird-lock";
    std::filesystem::create_directories(folder);
    return setenv("FIREBIRD_LOCK", folder.c_str(), 1) == 0;
}();

// Holds an exclusive lock on a file of the cache folder while it lives, so that
// test programs running side by side fill the cache once.
class CacheLock {
public:
    CacheLock() {
        std::filesystem::create_directories(GRAVLINK_FAULT_CACHE);
        FHandle = ::open(GRAVLINK_FAULT_CACHE "/lock", O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (FHandle < 0 || ::flock(FHandle, LOCK_EX) != 0)
            throw std::runtime_error("cannot lock " GRAVLINK_FAULT_CACHE);
    }
    ~CacheLock() { ::close(FHandle); }
    CacheLock(const CacheLock&) = delete;
    CacheLock& operator=(const CacheLock&) = delete;

private:
    int FHandle = -1;
};

// The large table, filled once into the build's cache; every site works on its own copy.
std::filesystem::path LargeTableTemplate() {
    std::filesystem::path file = std::filesystem::path(GRAVLINK_FAULT_CACHE) /
                                 ("weights-" + std::to_string(LargeTableRows) + ".fdb");
    CacheLock lock;
    if (!OwnLockFolder)
        throw std::runtime_error("cannot set FIREBIRD_LOCK");
    if (std::filesystem::exists(file))
        return file;
    const std::filesystem::path filling = file.string() + ".filling";
    std::filesystem::remove(filling);
    const IsqlResult empty =
        RunIsql("create database '" + filling.string() + "' user '" + TestUser() + "' password '" +
                TestPassword() + "' default character set WIN1251;\n");
    if (empty.Status != 0)
        throw std::runtime_error("cannot create the large table: " + empty.Output);
    const std::string script =
        "connect '" + filling.string() + "' user '" + TestUser() + "' password '" + TestPassword() +
        "';\n"
        "create table WEIGHTS (IDR integer not null primary key, WEIGH_DT timestamp,"
        " CARGO varchar(20), NETT numeric(15,2), CONFIRM char(1), EXPWDT timestamp);\n"
        "commit;\n"
        "set term ^;\n"
        "execute block as declare i integer = 1; begin\n"
        "  while (i <= " +
        std::to_string(LargeTableRows) +
        ") do begin\n"
        "    insert into WEIGHTS values (:i,"
        " dateadd(:i second to timestamp '2007-04-09 00:00:00'),"
        " 'cargo ' || :i, :i / 100.0, 'Y', null);\n"
        "    i = i + 1;\n"
        "  end\n"
        "end^\n"
        "set term ;^\n"
        "commit;\n";
    // Without forced writes: a killed process leaves its pages to the system all the
    // same, and the cases run many times faster.
    const ProcessResult unforced =
        RunProcess("/usr/bin/gfix -write async '" + filling.string() + "'");
    const IsqlResult created =
        unforced.Status == 0 ? RunIsql(script) : IsqlResult{1, unforced.Output};
    if (created.Status != 0)
        throw std::runtime_error("cannot create the large table: " + created.Output);
    std::filesystem::rename(filling, file);
    return file;
}

} // namespace

ExportSite::ExportSite(const PrivateServer* server) : FServer(server), FFolder(FDir.Path()) {
    std::filesystem::copy_file(GRAVLINK_BINARY, FFolder / "gravlink");
    std::filesystem::create_directory(ExportFolder());
    FDatabase = (FFolder / "large.fdb").string();
    std::filesystem::copy_file(LargeTableTemplate(), FDatabase);
    WriteSettings(ConnectString());
}

std::string ExportSite::ConnectString() const {
    return FServer != nullptr ? FServer->ConnectString(FDatabase) : FDatabase;
}

void ExportSite::WriteSettings(const std::string& dbName) const {
    TExportSettings settings;
    settings.DBName = dbName;
    settings.ExportDataDir = ExportFolder().string();
    settings.ExportFieldName = "ExpWDT";
    settings.ExportTableName = "WEIGHTS";
    settings.ExportDateFN = "WEIGH_DT";
    settings.SqlSelect =
        "select IDR, WEIGH_DT, CARGO, NETT from WEIGHTS where EXPWDT is null order by IDR";
    settings.SqlSelectWP = "select IDR, WEIGH_DT, CARGO, NETT from WEIGHTS where 1=1";
    WriteSettingsFile((FFolder / "gravlink.ini").string(), settings);
}

ProgramChild ExportSite::Start(const std::map<std::string, std::string>& environment) const {
    std::map<std::string, std::string> changes = {
        {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}, {"LC_ALL", "C.UTF-8"}};
    for (const auto& [name, value] : environment)
        changes[name] = value;
    const ChildEnvironment variables(changes);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, FFolder.c_str());
    const std::string output = (FFolder / "output.txt").string();
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::string program = "./gravlink";
    std::string mode = "-auto";
    char* argv[] = {program.data(), mode.data(), nullptr};
    pid_t pid = -1;
    const int failed =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, variables.Block());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        throw std::runtime_error("cannot start the program");
    return ProgramChild(pid);
}

ProgramChild::~ProgramChild() {
    if (FPid > 0) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }
}

void ProgramChild::Signal(int signal) const {
    if (FPid > 0)
        kill(FPid, signal);
}

bool ProgramChild::Ended() const {
    siginfo_t info{};
    return FPid <= 0 ||
           (waitid(P_PID, static_cast<id_t>(FPid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == FPid);
}

int ProgramChild::Wait(std::chrono::seconds limit) {
    if (FPid <= 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!Ended() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    int status = 0;
    const bool ended = Ended();
    if (!ended)
        kill(FPid, SIGKILL);
    waitpid(FPid, &status, 0);
    FPid = -1;
    if (!ended)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ExportSite::Output() const {
    return std::filesystem::exists(FFolder / "output.txt") ? ReadFileBytes(FFolder / "output.txt")
                                                           : std::string();
}

std::string ExportSite::Log() const {
    std::error_code error;
    return std::filesystem::is_regular_file(ErrorLog(), error) ? ReadFileBytes(ErrorLog())
                                                               : std::string();
}

long long ExportSite::ExportFileSize() const {
    struct stat status {};
    return ::stat(ExportFile().c_str(), &status) == 0 ? status.st_size : -1;
}

std::set<int> ExportSite::StampedRecords() const {
    OwnConnection connection(ConnectString());
    connection.Query.SetSQL("select IDR from WEIGHTS where EXPWDT is not null");
    connection.Query.ExecQuery();
    std::set<int> stamped;
    while (!connection.Query.Eof()) {
        stamped.insert(std::stoi(connection.Query.Fields(0).AsString()));
        connection.Query.Next();
    }
    connection.Query.Close();
    connection.Transaction.Commit();
    return stamped;
}

long long ExportSite::RecordCount() const {
    OwnConnection connection(ConnectString());
    connection.Query.SetSQL("select count(*) from WEIGHTS");
    connection.Query.ExecQuery();
    const long long count = std::stoll(connection.Query.Fields(0).AsString());
    connection.Query.Close();
    connection.Transaction.Commit();
    return count;
}

void ExportSite::Execute(const std::string& sql) const {
    OwnConnection connection(ConnectString());
    connection.Query.SetSQL(sql);
    connection.Query.ExecQuery();
    connection.Transaction.Commit();
}

ReferenceRun MeasureReference(const PrivateServer* server) {
    const std::filesystem::path cache =
        std::filesystem::path(GRAVLINK_FAULT_CACHE) /
        (server != nullptr ? "reference-server" : "reference-embedded");
    {
        CacheLock lock;
        if (std::filesystem::exists(cache)) {
            ReferenceRun reference;
            std::istringstream(ReadFileBytes(cache)) >> reference.FileSize >>
                reference.StampSeconds;
            return reference;
        }
    }
    ExportSite site(server);
    ProgramChild run = site.Start();
    long long size = -1;
    auto lastChange = std::chrono::steady_clock::now();
    run.WaitFor([&] {
        const long long now = site.ExportFileSize();
        if (now != size) {
            size = now;
            lastChange = std::chrono::steady_clock::now();
        }
        return false;
    });
    const auto end = std::chrono::steady_clock::now();
    if (run.Wait() != 0)
        throw std::runtime_error("the reference export failed: " + site.Output() + site.Log());
    ReferenceRun reference{site.ExportFileSize(),
                           std::chrono::duration<double>(end - lastChange).count()};
    CacheLock lock;
    std::ostringstream text;
    text << reference.FileSize << ' ' << reference.StampSeconds;
    WriteFileBytes(cache, text.str());
    return reference;
}

ExportLines ReadExportLines(const std::filesystem::path& file) {
    ExportLines lines;
    if (!std::filesystem::exists(file))
        return lines;
    const std::string text = ReadFileBytes(file);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        const bool whole = end != std::string::npos;
        if (!whole)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = whole ? end + 2 : end;
        // IDR;date time;cargo IDR;nett: the cargo repeats the key, so a line that
        // runs into another one shows.
        const size_t first = line.find(';');
        const std::string key = line.substr(0, first);
        const bool digits =
            !key.empty() && key.find_first_not_of("0123456789") == std::string::npos;
        const size_t second = first == std::string::npos ? first : line.find(';', first + 1);
        const size_t third = second == std::string::npos ? second : line.find(';', second + 1);
        if (!whole) {
            // A run stopped in the middle of a write leaves part of a line at the end;
            // its record was not stamped, and the next run cuts the part back.
            lines.TornTail = line.substr(0, 80);
            continue;
        }
        if (!digits || third == std::string::npos ||
            line.compare(second + 1, third - second - 1, "cargo " + key) != 0 ||
            line.find(';', third + 1) != std::string::npos) {
            lines.Malformed.push_back(line.substr(0, 80));
            continue;
        }
        ++lines.Count[std::stoi(key)];
    }
    return lines;
}

namespace {

::testing::AssertionResult Describe(const std::vector<std::string>& faults,
                                    const std::string& what) {
    if (faults.empty())
        return ::testing::AssertionSuccess();
    auto result = ::testing::AssertionFailure() << faults.size() << " " << what << ":";
    for (size_t i = 0; i < faults.size() && i < 5; ++i)
        result << " [" << faults[i] << "]";
    return result;
}

} // namespace

::testing::AssertionResult NothingLost(const ExportSite& site) {
    const ExportLines lines = ReadExportLines(site.ExportFile());
    if (!lines.Malformed.empty())
        return Describe(lines.Malformed, "malformed lines in the export file");
    std::vector<std::string> lost;
    for (const int record : site.StampedRecords())
        if (!lines.Count.contains(record))
            lost.push_back(std::to_string(record));
    return Describe(lost, "stamped records without their line");
}

::testing::AssertionResult EverythingExported(const ExportSite& site, bool duplicatesAllowed) {
    const ::testing::AssertionResult promise = NothingLost(site);
    if (!promise)
        return promise;
    if (!ReadExportLines(site.ExportFile()).TornTail.empty())
        return ::testing::AssertionFailure() << "the file ends in a torn line";
    const std::set<int> stamped = site.StampedRecords();
    const ExportLines lines = ReadExportLines(site.ExportFile());
    std::vector<std::string> faults;
    for (const auto& [record, count] : lines.Count) {
        if (!stamped.contains(record))
            faults.push_back(std::to_string(record) + " written but not stamped");
        else if (count > 1 && !duplicatesAllowed)
            faults.push_back(std::to_string(record) + " written " + std::to_string(count) +
                             " times");
    }
    const long long records = site.RecordCount();
    if (static_cast<long long>(stamped.size()) != records)
        faults.push_back(std::to_string(stamped.size()) + " records stamped of " +
                         std::to_string(records));
    return Describe(faults, "faults after the last run");
}

} // namespace gravlink::test
