#include "tests/ui/modal_helper.h"
#include "tests/ui/window_fixture.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace gravlink::test {
namespace {

class MainWindowSettings : public ::testing::Test {
protected:
    MainWindowSettings() {
        Fields.Connection = {1, "srv", "/data/db.fdb"};
        Fields.ExportDataDir = "/tmp/out";
        Fields.ExportFieldName = "W";
        Fields.ExportTableName = "WEIGHTS";
        Fields.ExportDateFN = "WEIGH_DT";
        Fields.SqlSelect = "select IDR\r\nfrom WEIGHTS";
        Fields.SqlAutoExt = " and CONFIRM is null";
    }

    QApplication& TheApplication = Application();
    MainWindow Window;
    TSettingsDialogFields Fields;
};

TEST_F(MainWindowSettings, OkHandsBackWhatTheDialogHolds) {
    WhenModal<TfrmSettings>([](TfrmSettings* dialog) {
        EXPECT_EQ(dialog->PageControl1->currentIndex(), 0);
        EXPECT_EQ(dialog->cmbProtocol->currentIndex(), 1);
        EXPECT_FALSE(dialog->edtServerName->isHidden());
        EXPECT_EQ(dialog->focusWidget(), dialog->btnOk);
        dialog->edtExportTableName->setText("OTHER");
        dialog->btnOk->click();
    });
    TSettingsDialogFields expected = Fields;
    expected.ExportTableName = "OTHER";
    ASSERT_TRUE(Window.ExecuteSettingsDialog(Fields));
    EXPECT_EQ(Fields, expected);
}

TEST_F(MainWindowSettings, CancelAndTheCloseBoxHandBackNothing) {
    const TSettingsDialogFields before = Fields;
    WhenModal<TfrmSettings>([](TfrmSettings* dialog) {
        dialog->edtExportTableName->setText("OTHER");
        dialog->btnCancel->click();
    });
    EXPECT_FALSE(Window.ExecuteSettingsDialog(Fields));
    WhenModal<TfrmSettings>([](TfrmSettings* dialog) {
        dialog->edtExportTableName->setText("OTHER");
        dialog->close();
    });
    EXPECT_FALSE(Window.ExecuteSettingsDialog(Fields));
    EXPECT_EQ(Fields, before);
}

TEST(MainWindowSettingsCommand, TheToolbarCommandOpensTheDialogAndRefreshesAfterCancel) {
    Application();
    RecordingWindow window;
    window.Controller().Settings().ExportFieldName = "ExpWDT";
    const TExportSettings before = window.Controller().Settings();
    bool shown = false;
    WhenModal<TfrmSettings>([&](TfrmSettings* dialog) {
        shown = true;
        EXPECT_EQ(dialog->edtExportFieldName->text(), "W");
        dialog->edtExportFieldName->setText("X");
        dialog->btnCancel->click();
    });
    window.actSettings->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(window.Controller().Settings(), before);
    // The refresh after the dialog tried the empty database path.
    EXPECT_EQ(window.Messages.size(), 1u);
}

} // namespace
} // namespace gravlink::test
