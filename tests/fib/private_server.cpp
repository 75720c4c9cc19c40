#include "tests/fib/private_server.h"

#include <arpa/inet.h>
#include <chrono>
#include <filesystem>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace gravlink::test {

namespace {

const std::filesystem::path PackagedConfig = "/etc/firebird/3.0";
const std::filesystem::path PackagedLibrary = "/usr/lib/x86_64-linux-gnu/firebird/3.0";
const std::filesystem::path PackagedSecurity = "/var/lib/firebird/3.0/system/security3.fdb";

int FreePort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(probe);
    return port;
}

bool Listening(int port) {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return connected;
}

} // namespace

PrivateServer::PrivateServer() {
    namespace fs = std::filesystem;
    const fs::path root = FDir / "root";
    const fs::path lock = FDir / "lock";
    std::error_code error;
    fs::create_directories(root, error);
    fs::create_directories(lock, error);
    for (const char* name : {"firebird.conf", "fbintl.conf", "plugins.conf", "databases.conf"})
        fs::copy_file(PackagedConfig / name, root / name, error);
    fs::create_symlink(PackagedLibrary / "firebird.msg", root / "firebird.msg", error);
    // The character-set module must lie in the root itself: a link to it is not found.
    fs::create_directories(root / "intl", error);
    fs::copy_file(PackagedLibrary / "intl" / "libfbintl.so", root / "intl" / "libfbintl.so", error);
    fs::copy_file(PackagedSecurity, FDir / "security3.fdb", error);
    if (error) {
        FFailure = "cannot copy the Firebird configuration: " + error.message();
        return;
    }
    // The shared server holds the packaged security database; this one uses its copy.
    WriteFileBytes(root / "firebird.conf",
                   ReadFileBytes(root / "firebird.conf") +
                       "\nSecurityDatabase = " + (FDir / "security3.fdb").string() + "\n");

    FPort = FreePort();
    const std::string firebirdRoot = "FIREBIRD=" + root.string();
    const std::string firebirdLock = "FIREBIRD_LOCK=" + lock.string();
    std::vector<std::string> environment = {firebirdRoot, firebirdLock};
    for (char** variable = environ; *variable; ++variable) {
        const std::string text = *variable;
        if (text.rfind("FIREBIRD=", 0) != 0 && text.rfind("FIREBIRD_LOCK=", 0) != 0)
            environment.push_back(text);
    }
    std::vector<char*> envp;
    for (std::string& text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::string program = "/usr/sbin/firebird";
    std::string portOption = "-p";
    std::string port = std::to_string(FPort);
    char* argv[] = {program.data(), portOption.data(), port.data(), nullptr};
    if (posix_spawn(&FPid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
        FPid = -1;
        FFailure = "cannot start /usr/sbin/firebird";
        return;
    }
    for (int attempt = 0; attempt < 100 && !Listening(FPort); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!Listening(FPort)) {
        Kill();
        FFailure = "the private Firebird server did not listen";
    }
}

PrivateServer::~PrivateServer() {
    Kill();
}

std::string PrivateServer::ConnectString(const std::string& file) const {
    return "localhost/" + std::to_string(FPort) + ":" + file;
}

void PrivateServer::Kill() {
    if (FPid <= 0)
        return;
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
    FPid = -1;
}

} // namespace gravlink::test
