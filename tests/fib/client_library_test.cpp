#include "app/connection_credentials.h"
#include "fib/fib_database.h"
#include "fib/fib_error.h"
#include "fib/ib_client_library.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>
#include <thread>

namespace gravlink::test {

TEST(ClientLibrary, SharedByNameAndTellsItsVersion) {
    TClientLibraryRef first = AcquireClientLibrary("libfbclient.so.2");
    TClientLibraryRef second = AcquireClientLibrary("libfbclient.so.2");
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(first->LibraryName(), "libfbclient.so.2");
    // Firebird's client reports the InterBase-compatible version 6.
    EXPECT_EQ(first->ClientMajorVersion(), 6);
    EXPECT_GE(first->ClientMinorVersion(), 0);
}

TEST(ClientLibrary, MissingFileFailsAndIsTriedAgain) {
    const std::string name = "libfbclient-missing.so.2";
    EXPECT_EQ(MessageOf<Exception>([&] { AcquireClientLibrary(name); }),
              "Can't load library libfbclient-missing.so.2 ");
    try {
        AcquireClientLibrary(name);
        FAIL() << "a failed load must not be cached as a success";
    } catch (const EFIBError&) {
        FAIL() << "a load failure is not a database error";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.Message(), "Can't load library libfbclient-missing.so.2 ");
    }
}

TEST(ClientLibrary, EmptyNameLoadsNothing) {
    // The loader reads an empty name as the program itself, which is no client library.
    EXPECT_EQ(MessageOf<Exception>([] { AcquireClientLibrary(""); }), "Can't load library  ");
}

TEST(ClientLibrary, LibraryWithoutTheEntryPointsFailsWithTheLoaderText) {
    // A real library that exports none of the client's functions.
    try {
        AcquireClientLibrary("libm.so.6");
        FAIL() << "loaded a library without BLOB_get";
    } catch (const EOSError& failure) {
        const std::string expectedStart = "System Error.  Code: 127.\r\n";
        EXPECT_EQ(failure.Message().substr(0, expectedStart.size()), expectedStart);
        EXPECT_NE(failure.Message().find("BLOB_get"), std::string::npos) << failure.Message();
    }
}

TEST(ClientLibrary, StatusVectorBelongsToTheThread) {
    StatusVector()[1] = 335544344;
    ISC_STATUS seenElsewhere = -1;
    std::thread([&] { seenElsewhere = StatusVector()[1]; }).join();
    EXPECT_EQ(seenElsewhere, 0);
    EXPECT_EQ(StatusVector()[1], 335544344);
    StatusVector()[1] = 0;
}

TEST(ClientLibrary, WrongLibraryNameThenTheRightOne) {
    TestDatabase database;
    MainWindowObjects objects;
    objects.dbsGrav.SetDBName(database.File());
    objects.dbsGrav.SetLibraryName("libfbclient-missing.so.2");
    EXPECT_EQ(MessageOf<Exception>([&] { objects.dbsGrav.Open(); }),
              "Can't load library libfbclient-missing.so.2 ");
    EXPECT_FALSE(objects.dbsGrav.Connected());

    objects.dbsGrav.SetLibraryName("libfbclient.so.2");
    objects.dbsGrav.Open();
    EXPECT_TRUE(objects.dbsGrav.Connected());
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { objects.dbsGrav.SetLibraryName("x.so"); }),
              "Cannot perform operation -- DB is currently open.");
    EXPECT_EQ(objects.dbsGrav.LibraryName(), "libfbclient.so.2");
}

TEST(ClientLibrary, TwoConnectionsShareOneBinding) {
    TestDatabase first;
    TestDatabase second;
    TpFIBDatabase one;
    TpFIBDatabase two;
    for (auto [connection, database] : {std::pair{&one, &first}, std::pair{&two, &second}}) {
        connection->DBParams().Assign(ConnectionParamLinesOfEnvironment());
        connection->SetDBName(database->File());
        connection->Open();
    }
    ASSERT_TRUE(one.ClientLibrary());
    EXPECT_EQ(one.ClientLibrary().get(), two.ClientLibrary().get());
    EXPECT_EQ(one.ClientLibrary().get(), AcquireClientLibrary("libfbclient.so.2").get());
}

} // namespace gravlink::test
