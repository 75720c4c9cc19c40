#include "support/exception.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/ui/modal_helper.h"
#include "tests/ui/window_fixture.h"
#include "ui/select_directory_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace gravlink::test {
namespace {

QString Native(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

class SelectDirectory : public ::testing::Test {
protected:
    // Types name into the chooser and presses "OK"; answers the creation
    // question with answer when it comes.
    void TypeAndConfirm(const QString& name, QMessageBox::StandardButton answer) {
        WhenModal<TSelectDirectoryDialog>([this, name, answer](TSelectDirectoryDialog* chooser) {
            Started = chooser->directory().absolutePath();
            StartedName = chooser->NameEdit()->text();
            TypeInto(chooser->NameEdit(), name);
            IfModal<QMessageBox>(chooser, [this, answer](QMessageBox* ask) {
                Asked = ask->text();
                ask->button(answer)->click();
            });
            auto* buttons = chooser->findChild<QDialogButtonBox*>("buttonBox");
            ASSERT_NE(buttons, nullptr);
            // "OK" stays enabled for a folder that does not exist yet.
            QPushButton* ok = buttons->button(QDialogButtonBox::Open);
            EXPECT_TRUE(ok->isEnabled());
            ok->click();
            // "No" keeps the chooser open: leave it.
            if (chooser->isVisible())
                chooser->reject();
        });
    }

    QApplication& TheApplication = Application();
    TempDir Dir;
    QString Started;
    QString StartedName;
    QString Asked;
};

TEST_F(SelectDirectory, CreatesATypedNewFolderWithItsParentsAfterAsking) {
    QString directory = Native(Dir.Path());
    TypeAndConfirm("new/inner", QMessageBox::Yes);
    ASSERT_TRUE(gravlink::SelectDirectory(nullptr, directory));
    EXPECT_EQ(Asked, "The specified directory does not exist. Create it?");
    EXPECT_EQ(Started, Native(Dir.Path()));
    EXPECT_EQ(StartedName, Native(Dir.Path()));
    // A relative name is taken from the folder shown.
    EXPECT_EQ(directory, Native(Dir / "new/inner"));
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "new/inner"));
}

TEST_F(SelectDirectory, NoKeepsTheChooserOpenAndCancelChangesNothing) {
    QString directory = Native(Dir.Path());
    TypeAndConfirm(Native(Dir / "never"), QMessageBox::No);
    EXPECT_FALSE(gravlink::SelectDirectory(nullptr, directory));
    EXPECT_FALSE(Asked.isEmpty());
    EXPECT_EQ(directory, Native(Dir.Path()));
    EXPECT_FALSE(std::filesystem::exists(Dir / "never"));
}

TEST_F(SelectDirectory, AnExistingFolderIsTakenWithoutAsking) {
    std::filesystem::create_directory(Dir / "there");
    QString directory;
    TypeAndConfirm(Native(Dir / "there"), QMessageBox::Yes);
    ASSERT_TRUE(gravlink::SelectDirectory(nullptr, directory));
    EXPECT_TRUE(Asked.isEmpty()) << Asked.toStdString();
    EXPECT_EQ(directory, Native(Dir / "there"));
}

TEST_F(SelectDirectory, AFolderThatCannotBeMadeIsTakenAllTheSame) {
    WriteFileBytes(Dir / "file", "");
    QString directory;
    TypeAndConfirm(Native(Dir / "file/sub"), QMessageBox::Yes);
    ASSERT_TRUE(gravlink::SelectDirectory(nullptr, directory));
    EXPECT_EQ(directory, Native(Dir / "file/sub"));
    EXPECT_FALSE(std::filesystem::exists(Dir / "file/sub"));
}

TEST_F(SelectDirectory, AnEmptyNameRaisesAndLeavesTheText) {
    QString directory = "/kept";
    TypeAndConfirm("", QMessageBox::Yes);
    try {
        gravlink::SelectDirectory(nullptr, directory);
        ADD_FAILURE() << "no failure raised";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.Message(), "Unable to create directory");
    }
    EXPECT_EQ(directory, "/kept");
}

TEST_F(SelectDirectory, StartsInTheProcessFolderUnlessTheTextNamesAnExistingFolder) {
    const QString current = QDir::currentPath();
    const std::pair<QString, QString> cases[] = {
        {"", current},
        {Native(Dir / "missing"), current},
        {R"(\\srv\share)", current},
        {"//srv/share", current},
        {Native(Dir.Path()), Native(Dir.Path())},
    };
    for (const auto& [text, start] : cases) {
        TSelectDirectoryDialog chooser(nullptr, text);
        EXPECT_EQ(chooser.directory().absolutePath(), start) << text.toStdString();
        EXPECT_EQ(chooser.windowTitle(), "Select Directory");
    }
}

TEST(SelectDirectoryLabels, NameTheFieldsWithTheirAccessLetters) {
    Application();
    TSelectDirectoryDialog chooser(nullptr, QString());
    const std::pair<const char*, const char*> labels[] = {
        {"lookInLabel", "&Directories:"},
        {"fileNameLabel", "Directory &Name:"},
    };
    for (const auto& [name, text] : labels) {
        auto* label = chooser.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), text);
        // Without a buddy the "&" would be drawn as it is.
        EXPECT_NE(label->buddy(), nullptr) << name;
    }
}

} // namespace
} // namespace gravlink::test
