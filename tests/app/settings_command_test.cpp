#include "app/report_texts.h"
#include "tests/workflow/controller_fixture.h"

namespace gravlink::test {
namespace {

using SettingsCommand = ControllerTest;

TEST_F(SettingsCommand, FillsTheDialogFromTheSettings) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.DBName = R"(srv:C:\data\db.fdb)";
    settings.ExportFieldName = "EXPWDT";
    settings.SqlSelect = "select IDR\r\nfrom WEIGHTS\r\n";
    Form.Settings() = settings;
    // The refresh that follows connects by the stored name: a local one keeps it off the network.
    Window.SettingsDialogOperator = [](TSettingsDialogFields& fields) {
        fields.Connection.ProtocolIndex = 0;
        return true;
    };
    Form.actSettingsExecute();

    ASSERT_EQ(Window.SettingsDialogShown.size(), 1u);
    const TSettingsDialogFields& shown = Window.SettingsDialogShown[0];
    EXPECT_EQ(shown.Connection, (TDBNameParts{1, "srv", R"(C:\data\db.fdb)"}));
    EXPECT_EQ(shown.ExportFieldName, "W");
    EXPECT_EQ(shown.ExportDataDir, settings.ExportDataDir);
    EXPECT_EQ(shown.ExportTableName, settings.ExportTableName);
    EXPECT_EQ(shown.ExportDateFN, settings.ExportDateFN);
    EXPECT_EQ(shown.SqlSelect, settings.SqlSelect);
    EXPECT_EQ(shown.SqlSelectWP, settings.SqlSelectWP);
    EXPECT_EQ(shown.SqlUpdate, settings.SqlUpdate);
    EXPECT_EQ(shown.SqlAutoExt, settings.SqlAutoExt);

    // Local kind stores the bare path; the refresh that follows tries it.
    EXPECT_EQ(Form.Settings().DBName, R"(C:\data\db.fdb)");
    EXPECT_EQ(Form.Settings().ExportFieldName, "ExpWDT");
    ASSERT_EQ(Window.Messages.size(), 1u);
    EXPECT_EQ(LastMessage().rfind(ReportTexts().ConnectFailed, 0), 0u) << LastMessage();
}

TEST_F(SettingsCommand, OkStoresEveryFieldAsItStandsAndTheViewUsesItAtOnce) {
    StartInteractive();
    ASSERT_TRUE(Form.dstStat().Active());
    const TExportSettings before = Form.Settings();
    Window.SettingsDialogOperator = [](TSettingsDialogFields& fields) {
        fields.ExportDataDir = " /tmp/other ";
        fields.ExportFieldName = "";
        fields.ExportTableName = "weights";
        fields.ExportDateFN = "WEIGH_DT";
        fields.SqlSelect = "\r\nselect IDR, CARGO\r\nfrom WEIGHTS\r\n\r\n";
        fields.SqlSelectWP = "a\r\nb";
        fields.SqlUpdate = "c";
        fields.SqlAutoExt = " and CONFIRM is null\r\n";
        return true;
    };
    Form.actSettingsExecute();

    TExportSettings expected = before;
    expected.ExportDataDir = " /tmp/other ";
    expected.ExportFieldName = "ExpDT";
    expected.ExportTableName = "weights";
    expected.ExportDateFN = "WEIGH_DT";
    expected.SqlSelect = "\r\nselect IDR, CARGO\r\nfrom WEIGHTS\r\n\r\n";
    expected.SqlSelectWP = "a\r\nb";
    expected.SqlUpdate = "c";
    expected.SqlAutoExt = " and CONFIRM is null\r\n";
    EXPECT_EQ(Form.Settings(), expected);
    // The connection stays; the new main query is the view's from this refresh on.
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_TRUE(Form.dbsGrav().Connected());
    ASSERT_TRUE(Form.dstStat().Active());
    EXPECT_EQ(Form.dstStat().FieldCount(), 2);
}

TEST_F(SettingsCommand, CancelChangesNothingButStillRefreshes) {
    StartInteractive();
    const TExportSettings before = Form.Settings();
    Form.dstStat().Close();
    Window.SettingsDialogOperator = [](TSettingsDialogFields& fields) {
        fields = TSettingsDialogFields{};
        fields.Connection = {1, "elsewhere", "/nowhere.fdb"};
        return false;
    };
    Form.actSettingsExecute();

    EXPECT_EQ(Form.Settings(), before);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_TRUE(Form.dstStat().Active());
}

TEST_F(SettingsCommand, AChangedDatabaseWaitsForTheNextConnect) {
    StartInteractive();
    const std::string current = Form.Settings().DBName;
    Window.SettingsDialogOperator = [&](TSettingsDialogFields& fields) {
        fields.Connection = {0, "", (Dir / "missing.fdb").string()};
        return true;
    };
    Form.actSettingsExecute();
    EXPECT_EQ(Form.Settings().DBName, (Dir / "missing.fdb").string());
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_EQ(Form.dbsGrav().DBName(), current);
    EXPECT_TRUE(Form.dstStat().Active());
}

} // namespace
} // namespace gravlink::test
