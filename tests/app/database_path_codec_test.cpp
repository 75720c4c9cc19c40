#include "app/database_path_codec.h"

#include <gtest/gtest.h>

namespace gravlink {
namespace {

struct CodecCase {
    const char* DBName;
    TDBNameParts Parts;
    const char* Joined; // GetDBName of the parts
};

TEST(DatabasePathCodec, SplitsByKindAndJoinsBack) {
    const CodecCase cases[] = {
        {R"(C:\db\w.fdb)", {0, "", R"(C:\db\w.fdb)"}, R"(C:\db\w.fdb)"},
        {R"(srv:C:\db\w.fdb)", {1, "srv", R"(C:\db\w.fdb)"}, R"(srv:C:\db\w.fdb)"},
        {"srv:/data/w.fdb", {1, "srv", "/data/w.fdb"}, "srv:/data/w.fdb"},
        // A one-letter server name reads as a drive.
        {R"(a:C:\db\w.fdb)", {0, "", R"(a:C:\db\w.fdb)"}, R"(a:C:\db\w.fdb)"},
        {R"(\\srv\data\w.fdb)", {2, "srv", R"(data\w.fdb)"}, R"(\\srv\data\w.fdb)"},
        // The colon test comes first.
        {R"(\\srv\C:\db\w.fdb)", {1, R"(\\srv\C)", R"(\db\w.fdb)"}, R"(\\srv\C:\db\w.fdb)"},
        {R"(srv@C:\db\w.fdb)", {1, "srv@C", R"(\db\w.fdb)"}, R"(srv@C:\db\w.fdb)"},
        {"srv@/data/w.fdb", {3, "srv", "/data/w.fdb"}, "srv@/data/w.fdb"},
        {"@/data/w.fdb", {3, "", "/data/w.fdb"}, "@/data/w.fdb"},
        // No backslash after the server: it comes back with one more.
        {R"(\\srv)", {2, "", "srv"}, R"(\\\srv)"},
        {R"(\\)", {2, "", ""}, R"(\\\)"},
        {":x", {0, "", ":x"}, ":x"},
        {R"(\\srv:x)", {1, R"(\\srv)", "x"}, R"(\\srv:x)"},
        {"/var/db/w.fdb", {0, "", "/var/db/w.fdb"}, "/var/db/w.fdb"},
        {"", {0, "", ""}, ""},
    };
    for (const CodecCase& c : cases) {
        const TDBNameParts parts = SetDBName(c.DBName);
        EXPECT_EQ(parts.ProtocolIndex, c.Parts.ProtocolIndex) << c.DBName;
        EXPECT_EQ(parts.ServerName, c.Parts.ServerName) << c.DBName;
        EXPECT_EQ(parts.Database, c.Parts.Database) << c.DBName;
        EXPECT_EQ(GetDBName(parts), c.Joined) << c.DBName;
    }
}

TEST(DatabasePathCodec, ChangingTheKindRecombinesTheSameFields) {
    TDBNameParts parts{0, "srv", "/data/w.fdb"};
    // A server typed while the kind is local is dropped.
    EXPECT_EQ(GetDBName(parts), "/data/w.fdb");
    parts.ProtocolIndex = 1;
    EXPECT_EQ(GetDBName(parts), "srv:/data/w.fdb");
    parts.ProtocolIndex = 2;
    EXPECT_EQ(GetDBName(parts), R"(\\srv\/data/w.fdb)");
    parts.ProtocolIndex = 3;
    EXPECT_EQ(GetDBName(parts), "srv@/data/w.fdb");
}

} // namespace
} // namespace gravlink
