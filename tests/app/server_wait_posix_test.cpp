#include "app/frm_main.h"
#include "app/report_texts.h"
#include "tests/fixtures/fake_main_window.h"
#include "tests/fixtures/temp_dir.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
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

} // namespace
} // namespace gravlink
