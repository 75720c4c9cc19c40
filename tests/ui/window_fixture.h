#pragma once

#include "support/text_format_settings.h"
#include "tests/fixtures/regional_settings.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/fixtures/weighing_database.h"
#include "ui/data_source_model.h"
#include "ui/main_window.h"

#include <QApplication>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace gravlink::test {

// The one QApplication of the test program, made on first use.
QApplication& Application();

// The Qt window with its message boxes recorded instead of shown, unless asked to
// show them. A Yes-or-No box then is always shown.
class RecordingWindow : public MainWindow {
public:
    std::vector<std::string> Messages;
    bool ShowBoxes = false;
    void ShowMessage(const std::string& text, bool errorIcon) override {
        Messages.push_back(text);
        if (ShowBoxes)
            MainWindow::ShowMessage(text, errorIcon);
    }
};

// The main window over a weighing database, with regional settings fixed the Russian
// way. Rows can be added before the window connects.
class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        Application();
        test::UseRussianDateTimes(',');
        TextFormatSettings.ThousandSeparatorChar = ' ';
    }
    ~WindowTest() override {
        if (Window)
            Window->Controller().FormDestroy();
    }

    // Adds unstamped records 10 .. 10 + count - 1 with the cargo "c<IDR>".
    void AddRecords(int count) {
        Database.Isql("set term ^;\n"
                      "execute block as declare i integer = 10; begin\n"
                      "  while (i < " +
                      std::to_string(10 + count) +
                      ") do begin\n"
                      "    insert into WEIGHTS values (:i, '2007-04-11 10:00:00', 'c' || :i, :i,"
                      " 'Y', null);\n"
                      "    i = i + 1;\n"
                      "  end\n"
                      "end^\n"
                      "set term ;^\n"
                      "commit;\n");
    }

    // Creates the window as the program does and shows it, which opens the view.
    void Start() {
        Window = std::make_unique<RecordingWindow>();
        TfrmMain& form = Window->Controller();
        form.Settings() = Database.Settings((Dir.Path() / "out").string());
        form.FormCreate({{}, (Dir.Path() / "gravlink").string()});
        Window->show();
        QApplication::processEvents();
    }

    // Counts the resets of the grid's table from here on, in Resets.
    void CountResets() {
        QObject::connect(Window->dcrStat, &QAbstractItemModel::modelReset, [this] { ++Resets; });
    }

    MainWindow& W() { return *Window; }
    TpFIBDataSet& DataSet() { return Window->Controller().dstStat(); }
    long long StampedAt(int idr) const {
        return Database.Scalar("select count(*) from WEIGHTS where IDR = " + std::to_string(idr) +
                               " and EXPWDT is not null");
    }

    TextFormatSettingsGuard Regional;
    WeighingDatabase Database;
    TempDir Dir;
    // Here, not in a derived fixture, and before the window: the window resets the
    // table as it closes the view on its way out, after a derived fixture is gone.
    int Resets = 0;
    std::unique_ptr<RecordingWindow> Window;
};

} // namespace gravlink::test
