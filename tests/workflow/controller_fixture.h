#pragma once

#include "app/frm_main.h"
#include "support/text_format_settings.h"
#include "tests/fixtures/fake_main_window.h"
#include "tests/fixtures/regional_settings.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/fixtures/weighing_database.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace gravlink::test {

// The controller over a weighing database, with the fake window and a folder
// standing for the program's own, and regional settings fixed the Russian way.
class ControllerTest : public ::testing::Test {
protected:
    explicit ControllerTest(DatabaseOptions options = {}) : Database(options) {
        UseRussianDateTimes(',');
        std::filesystem::create_directory(ExportDir());
    }

    // Starts the controller as the program would, the settings read from its folder.
    void Start(bool autoMode, const TExportSettings& settings) {
        Form.Settings() = settings;
        Form.FormCreate({autoMode ? std::vector<std::string>{"-auto"} : std::vector<std::string>{},
                         (Dir / "gravlink").string()});
        if (!autoMode)
            Form.FormShow();
    }
    void StartInteractive() { Start(false, Database.Settings(ExportDir().string())); }

    std::filesystem::path ExportDir() const { return Dir / "out"; }
    std::filesystem::path ExportFile() const { return ExportDir() / "gravout.cvs"; }
    std::string Exported() const {
        return std::filesystem::exists(ExportFile()) ? ReadFileBytes(ExportFile()) : "";
    }
    std::string Log() const {
        return std::filesystem::exists(Dir / "error.log") ? ReadFileBytes(Dir / "error.log") : "";
    }
    // The one message box shown, or "" when there was none.
    std::string LastMessage() const {
        return Window.Messages.empty() ? "" : Window.Messages.back().Text;
    }

    TextFormatSettingsGuard Regional;
    WeighingDatabase Database;
    TempDir Dir;
    FakeMainWindow Window;
    TfrmMain Form{Window};
};

} // namespace gravlink::test
