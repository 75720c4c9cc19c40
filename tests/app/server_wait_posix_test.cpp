#include "app/frm_main.h"
#include "app/report_texts.h"
#include "tests/fixtures/fake_main_window.h"
#include "tests/fixtures/private_server.h"
#include "tests/fixtures/process_freeze.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/fixtures/weighing_database.h"

#include <arpa/inet.h>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <set>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace gravlink {
namespace {

// A listener whose connections the system takes but nobody ever answers, as those of a
// server that has stopped.
class SilentListener {
public:
    SilentListener() : FSocket(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(FSocket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(FSocket, 8) != 0 ||
            ::getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            ADD_FAILURE() << "no listener";
        FPort = ntohs(address.sin_port);
    }
    ~SilentListener() { ::close(FSocket); }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    int Port() const { return FPort; }

private:
    int FSocket;
    int FPort = 0;
};

TEST(ServerWait, AnUnattendedConnectToAServerThatNeverAnswersGivesUpAfterItsBound) {
    SilentListener listener;
    test::TempDir dir;
    test::FakeMainWindow window;
    TfrmMain form(window);
    form.Settings().DBName = "localhost/" + std::to_string(listener.Port()) + ":/data/w.fdb";
    form.SetConnectTimeout(2);
    const auto started = std::chrono::steady_clock::now();
    form.FormCreate({{"-auto"}, (dir / "gravlink").string()});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    const std::string log = test::ReadFileBytes(dir / "error.log");
    EXPECT_NE(log.find(": " + ReportTexts().ConnectFailed + "\r\nfrmMain.dbsGrav:\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("connection rejected by remote interface"), std::string::npos) << log;
    EXPECT_FALSE(form.dbsGrav().Connected());
    EXPECT_EQ(window.PostedExports, 1);
}

// The records the lines of an export file are of: each line begins with its IDR.
std::set<long long> WrittenRecords(const std::filesystem::path& file) {
    std::set<long long> records;
    std::istringstream lines(test::ReadFileBytes(file));
    for (std::string line; std::getline(lines, line);)
        records.insert(std::stoll(line));
    return records;
}

// A server that stops in the middle of the export (SIGSTOP): its kernel still
// acknowledges the requests, so nothing but the bound on a reply ends the wait.
TEST(ServerWait, AnUnattendedExportWhoseServerStopsEndsAfterTheReplyBound) {
    test::PrivateServer server;
    if (!server.Running())
        GTEST_SKIP() << server.Failure();
    test::WeighingDatabase database;
    constexpr int Added = 100000;
    database.AddRecords(Added);
    test::TempDir dir;
    std::filesystem::create_directory(dir / "out");
    const std::filesystem::path exportFile = dir / "out" / "gravout.cvs";
    test::FakeMainWindow window;
    TfrmMain form(window);
    form.Settings() = database.Settings((dir / "out").string());
    form.Settings().DBName = server.ConnectString(database.File());
    // A few seconds: the watch is armed before the connect, which must not be cut.
    form.SetReplyTimeout(std::chrono::seconds(3));
    form.FormCreate({{"-auto"}, (dir / "gravlink").string()});
    ASSERT_TRUE(form.dbsGrav().Connected());

    {
        // Once the first lines are on disk. Its limit is the only ceiling: a run that
        // waits for the stopped server outlasts it.
        const test::ProcessFreeze freeze(
            server.Pid(),
            [&] {
                std::error_code error;
                return std::filesystem::file_size(exportFile, error) > 0 && !error;
            },
            std::chrono::seconds(60));
        form.WMAutoExport();
        form.FormDestroy();
        EXPECT_TRUE(freeze.Frozen());
        EXPECT_FALSE(freeze.ThawedByLimit()) << "the run waited for the stopped server";
    }
    EXPECT_EQ(form.ExitStatus(), 1);
    const std::string log = test::ReadFileBytes(dir / "error.log");
    EXPECT_NE(log.find(": " + ReportTexts().OperationFailed + "\r\nfrmMain."), std::string::npos)
        << log;
    EXPECT_NE(log.find("Error reading data from the connection."), std::string::npos) << log;
    EXPECT_TRUE(std::filesystem::exists(dir / "gravlink.ini"));

    // The promise: a stamped record has its line. The stamping is all or nothing.
    server.Kill();
    const std::set<long long> written = WrittenRecords(exportFile);
    EXPECT_LT(written.size(), Added + 3u) << "the export ended before the server stopped";
    const long long stamped = database.Stamped();
    EXPECT_TRUE(stamped == 1 || (stamped == Added + 4 && written.size() == Added + 3u))
        << stamped << " stamped, " << written.size() << " written";
}

} // namespace
} // namespace gravlink
