#pragma once

#include "app/connection_credentials.h"
#include "fib/fib_component.h"
#include "fib/fib_database.h"
#include "fib/fib_transaction.h"
#include "fib/fib_variant.h"
#include "tests/fixtures/test_database.h"

#include <gtest/gtest.h>
#include <string>

namespace gravlink {
// Variants in failure messages as their kind and text.
inline void PrintTo(const TVariant& value, std::ostream* out) {
    *out << VariantText(value);
}
} // namespace gravlink

namespace gravlink::test {

// The main window's database objects as the controller sets them up: frmMain owns
// dbsGrav and trnEdit, trnEdit is the connection's default transaction.
class MainWindowObjects {
public:
    MainWindowObjects() {
        dbsGrav.DBParams().Assign(ConnectionParamLinesOfEnvironment());
        dbsGrav.SetSQLDialect(3);
        trnEdit.SetDefaultDatabase(&dbsGrav);
        dbsGrav.SetDefaultTransaction(&trnEdit);
    }

    TComponent frmMain{nullptr, "frmMain"};
    TpFIBDatabase dbsGrav{&frmMain, "dbsGrav"};
    TpFIBTransaction trnEdit{&frmMain, "trnEdit"};
};

// Runs action and returns the message of the exception of type E it raises; fails the
// test when it raises nothing or something else.
template <class E, class Action> std::string MessageOf(Action&& action) {
    try {
        action();
    } catch (const E& failure) {
        return failure.Message();
    } catch (const std::exception& other) {
        ADD_FAILURE() << "unexpected exception: " << other.what();
        return {};
    }
    ADD_FAILURE() << "no exception";
    return {};
}

} // namespace gravlink::test
