#pragma once

#include "tests/fixtures/temp_dir.h"

#include <string>
#include <sys/types.h>

namespace gravlink::test {

// A Firebird server of this test alone, on a free port, with its own configuration,
// lock folder and copy of the security database, so that a test may kill it without
// disturbing the shared server. Killed and cleaned up when the object goes.
class PrivateServer {
public:
    PrivateServer();
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // Empty when the server could not be set up (the reason is then in Failure()).
    bool Running() const { return FPid > 0; }
    const std::string& Failure() const { return FFailure; }
    // What a connection names for a database file through this server.
    std::string ConnectString(const std::string& file) const;
    // Kills the server at once, as a crash would.
    void Kill();

private:
    TempDir FDir;
    int FPort = 0;
    pid_t FPid = -1;
    std::string FFailure;
};

} // namespace gravlink::test
