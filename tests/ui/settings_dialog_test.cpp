#include "support/code_page.h"
#include "support/exception.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/ui/modal_helper.h"
#include "tests/ui/window_fixture.h"
#include "ui/qt_text.h"
#include "ui/settings_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace gravlink::test {
namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

class SettingsDialog : public ::testing::Test {
protected:
    SettingsDialog() { Dialog.setAttribute(Qt::WA_DontShowOnScreen); }

    QApplication& TheApplication = Application();
    TfrmSettings Dialog;
};

TEST_F(SettingsDialog, ShowsTheFivePagesWithTheirTexts) {
    EXPECT_EQ(Dialog.windowTitle(), Text("Параметры"));
    EXPECT_EQ(Dialog.size(), QSize(649, 420));
    EXPECT_EQ(Dialog.minimumSize(), Dialog.maximumSize());
    const char* captions[] = {"Основные", "Основной запрос", "Запрос с доп. парам.",
                              "Запрос обновления", "Дополнение для автовыгрузки"};
    ASSERT_EQ(Dialog.PageControl1->count(), 5);
    for (int page = 0; page < 5; ++page)
        EXPECT_EQ(Dialog.PageControl1->tabText(page), Text(captions[page]));
    EXPECT_EQ(Dialog.PageControl1->currentIndex(), 0);

    const QStringList kinds{Text("   Локальное"), "   TCP/IP", "   NetBEUI", "   SPX"};
    ASSERT_EQ(Dialog.cmbProtocol->count(), 4);
    for (int kind = 0; kind < 4; ++kind)
        EXPECT_EQ(Dialog.cmbProtocol->itemText(kind), kinds[kind]);
    EXPECT_FALSE(Dialog.cmbProtocol->isEditable());

    EXPECT_EQ(Dialog.GroupBox1->title(), Text(" Папка для экспортируемы данных "));
    EXPECT_EQ(Dialog.GroupBox2->title(), Text(" Подключение к БД "));
    EXPECT_EQ(Dialog.GroupBox3->title(), Text(" Параметры экспортируемых данных "));
    EXPECT_EQ(Dialog.Label1->text(), Text("Имя поля даты экспорта \"EXP___DT\":"));
    EXPECT_EQ(Dialog.Label2->text(), Text("Имя таблиы с исходными данными:"));
    EXPECT_EQ(Dialog.Label3->text(), Text("Поле выборки по времени:"));
    EXPECT_EQ(Dialog.Label6->text(), Text("Тип соединения:"));
    EXPECT_EQ(Dialog.Label8->text(), Text("Путь и имя базы данных на сервере:"));
    EXPECT_EQ(Dialog.lblServerName->text(), Text("Имя удаленного компьютера:"));
    EXPECT_EQ(Dialog.Label4->text(),
              Text("После автовыгрузки все записи таблицы помечаются как эспортировавшиеся. "
                   "Если необходимы дополнительные условия, то их необходимо добавить здесь в "
                   "виде: \"and confirm is null\" и т.п."));
    EXPECT_TRUE(Dialog.Label4->wordWrap());
    EXPECT_EQ(Dialog.btnOk->text(), Text("ОК"));
    EXPECT_EQ(Dialog.btnCancel->text(), Text("Отмена"));
    // The three labels of the exported-data group end where the edits begin.
    for (QLabel* label : {Dialog.Label1, Dialog.Label2, Dialog.Label3})
        EXPECT_EQ(label->geometry().right() + 1, 209) << label->text().toStdString();
}

TEST_F(SettingsDialog, PlacesTheFieldsWhereTheOperatorKnowsThem) {
    const std::pair<QWidget*, QRect> places[] = {
        {Dialog.PageControl1, {4, 4, 640, 373}},
        {Dialog.btnOk, {481, 387, 75, 25}},
        {Dialog.btnCancel, {562, 387, 75, 25}},
        {Dialog.GroupBox2, {4, 4, 624, 129}},
        {Dialog.cmbProtocol, {12, 40, 141, 21}},
        {Dialog.edtServerName, {168, 40, 445, 21}},
        {Dialog.edtDatabase, {12, 96, 577, 21}},
        {Dialog.btnSearchDBName, {592, 96, 21, 21}},
        {Dialog.GroupBox1, {4, 136, 624, 53}},
        {Dialog.edtExportDataDir, {12, 20, 577, 21}},
        {Dialog.btnSearchExpFileDir, {593, 20, 21, 21}},
        {Dialog.GroupBox3, {4, 196, 624, 133}},
        {Dialog.edtExportFieldName, {216, 24, 401, 21}},
        {Dialog.edtExportTableName, {216, 52, 401, 21}},
        {Dialog.edtExportDateFN, {216, 80, 401, 21}},
        {Dialog.memSelect, {4, 4, 625, 341}},
        {Dialog.memSelectWP, {4, 4, 625, 337}},
        {Dialog.memUpdate, {4, 4, 625, 337}},
        {Dialog.memAutoExt, {8, 8, 621, 277}},
        {Dialog.Label4, {8, 288, 617, 41}},
    };
    for (const auto& [widget, geometry] : places)
        EXPECT_EQ(widget->geometry(), geometry) << widget->metaObject()->className();
}

TEST_F(SettingsDialog, ServerNameIsShownExactlyForRemoteKinds) {
    const std::pair<const char*, bool> cases[] = {
        {"/var/db/w.fdb", false},    {"srv:/var/db/w.fdb", true}, {R"(\\srv\data\w.fdb)", true},
        {"srv@/var/db/w.fdb", true}, {"C:/db/w.fdb", false},
    };
    for (const auto& [dbName, shown] : cases) {
        Dialog.SetDBName(dbName);
        EXPECT_EQ(!Dialog.edtServerName->isHidden(), shown) << dbName;
        EXPECT_EQ(!Dialog.lblServerName->isHidden(), shown) << dbName;
        EXPECT_EQ(Dialog.GetDBName(), dbName);
    }
}

TEST_F(SettingsDialog, PickingAKindWithTheKeyboardShowsOrHidesTheServer) {
    Dialog.SetDBName(R"(srv:C:\data\db.fdb)");
    Dialog.show();
    Dialog.cmbProtocol->setFocus();
    PressKey(Dialog.cmbProtocol, Qt::Key_Up);
    EXPECT_EQ(Dialog.cmbProtocol->currentIndex(), 0);
    EXPECT_TRUE(Dialog.edtServerName->isHidden());
    EXPECT_TRUE(Dialog.lblServerName->isHidden());
    // The server stays in its hidden field; the local kind drops it.
    EXPECT_EQ(Dialog.GetDBName(), R"(C:\data\db.fdb)");
    PressKey(Dialog.cmbProtocol, Qt::Key_End);
    EXPECT_EQ(Dialog.cmbProtocol->currentIndex(), 3);
    EXPECT_FALSE(Dialog.edtServerName->isHidden());
    EXPECT_FALSE(Dialog.lblServerName->isHidden());
    EXPECT_EQ(Dialog.GetDBName(), R"(srv@C:\data\db.fdb)");
}

TEST_F(SettingsDialog, FieldsComeBackAsTheyWentInLineBreaksAndAllPunctuationIncluded) {
    TSettingsDialogFields fields;
    fields.Connection = {2, "srv", R"(data\w.fdb)"};
    fields.ExportDataDir = " /tmp/out ";
    fields.ExportFieldName = Utf8ToWin1251("Дата");
    fields.ExportTableName = "WEIGHTS";
    fields.ExportDateFN = "WEIGH_DT";
    fields.SqlSelect = Utf8ToWin1251("\r\nselect IDR, CARGO as \"Груз\"\r\n\r\nfrom WEIGHTS\r\n");
    fields.SqlSelectWP = "select\tIDR\r\nfrom WEIGHTS where 1=1";
    fields.SqlUpdate = "update WEIGHTS set EXPWDT = '%s'\r\n";
    fields.SqlAutoExt = " and CONFIRM is null \xA0";
    Dialog.SetFields(fields);
    EXPECT_EQ(Dialog.memSelect->toPlainText(),
              Text("\nselect IDR, CARGO as \"Груз\"\n\nfrom WEIGHTS\n"));
    EXPECT_EQ(Dialog.Fields(), fields);
}

TEST_F(SettingsDialog, AnUntouchedSqlTextComesBackByteForByteLoneLineBreaksIncluded) {
    TSettingsDialogFields fields;
    fields.SqlSelect = "select IDR\nfrom WEIGHTS\r\nwhere 1=1\n";
    fields.SqlSelectWP = "select IDR\rfrom WEIGHTS\r\r\n";
    fields.SqlUpdate = "\n\r";
    fields.SqlAutoExt = "and CONFIRM is null\r";
    Dialog.SetFields(fields);
    Dialog.PageControl1->setCurrentIndex(1); // looked at, not edited
    EXPECT_EQ(Dialog.Fields(), fields);

    // An edited text comes back as the dialog holds it, every break CR LF.
    Dialog.memSelect->appendPlainText("order by IDR");
    EXPECT_EQ(Dialog.Fields().SqlSelect,
              "select IDR\r\nfrom WEIGHTS\r\nwhere 1=1\r\n\r\norder by IDR");
    EXPECT_EQ(Dialog.Fields().SqlSelectWP, fields.SqlSelectWP);
}

TEST_F(SettingsDialog, OkAndCancelCloseWithTheirResults) {
    QTimer::singleShot(0, Dialog.btnOk, &QPushButton::click);
    EXPECT_EQ(Dialog.exec(), TfrmSettings::mrOk);
    QTimer::singleShot(0, Dialog.btnCancel, &QPushButton::click);
    EXPECT_EQ(Dialog.exec(), TfrmSettings::mrCancel);
    // The close box.
    QTimer::singleShot(0, &Dialog, &QWidget::close);
    EXPECT_EQ(Dialog.exec(), TfrmSettings::mrCancel);
}

TEST_F(SettingsDialog, EnterAndEscActOnlyOnTheFocusedControl) {
    Dialog.show();
    EXPECT_EQ(Dialog.focusWidget(), Dialog.btnOk);
    const std::vector<QWidget*> controls{Dialog.btnOk, Dialog.btnCancel, Dialog.edtDatabase,
                                         Dialog.cmbProtocol};
    for (QWidget* focused : controls) {
        focused->setFocus();
        PressKey(focused, Qt::Key_Escape);
        EXPECT_TRUE(Dialog.isVisible()) << focused->metaObject()->className();
    }
    Dialog.edtExportTableName->setFocus();
    PressKey(Dialog.edtExportTableName, Qt::Key_Return);
    EXPECT_TRUE(Dialog.isVisible());

    Dialog.btnCancel->setFocus();
    PressKey(Dialog.btnCancel, Qt::Key_Return);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), TfrmSettings::mrCancel);
}

TEST_F(SettingsDialog, TabGoesFromTheButtonsToTheExportFolderThenTheConnection) {
    Dialog.show();
    Dialog.activateWindow();
    QApplication::processEvents();
    std::vector<QWidget*> visited{Dialog.focusWidget()};
    for (int step = 0; step < 12; ++step) {
        PressKey(Dialog.focusWidget(), Qt::Key_Tab);
        visited.push_back(Dialog.focusWidget());
    }
    const std::vector<QWidget*> expected{Dialog.btnOk,
                                         Dialog.btnCancel,
                                         Dialog.PageControl1->tabBar(),
                                         Dialog.edtExportDataDir,
                                         Dialog.btnSearchExpFileDir,
                                         Dialog.cmbProtocol,
                                         Dialog.edtServerName,
                                         Dialog.edtDatabase,
                                         Dialog.btnSearchDBName,
                                         Dialog.edtExportFieldName,
                                         Dialog.edtExportTableName,
                                         Dialog.edtExportDateFN,
                                         Dialog.btnOk};
    EXPECT_EQ(visited, expected);
}

TEST(DBFileStartFolder, IsThePathTextUpToItsLastSeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {R"(C:\data\db.fdb)", R"(C:\data)"},
        {R"(C:\db.fdb)", R"(C:\)"},
        {"C:db.fdb", "C:"},
        {R"(\\srv\db.fdb)", R"(\\srv)"},
        {R"(\\db.fdb)", R"(\\)"},
        {"/var/db/w.fdb", "/var/db"},
        {"/w.fdb", "/"},
        {"srv:/w.fdb", "srv:/"},
        {"w.fdb", ""},
        {"", ""},
    };
    for (const auto& [text, folder] : cases)
        EXPECT_EQ(TfrmSettings::DBFileStartFolder(text), QString(folder)) << text;
}

TEST_F(SettingsDialog, BrowsingForTheDatabaseStartsBesideThePathAndTakesTheChosenFile) {
    TempDir dir;
    WriteFileBytes(dir / "old.fdb", "");
    WriteFileBytes(dir / "new.gdb", "");
    const QString old = QString::fromStdString((dir / "old.fdb").string());
    Dialog.edtDatabase->setText(old);

    WhenModal<QFileDialog>([&](QFileDialog* open) {
        EXPECT_EQ(open->directory().absolutePath(), QString::fromStdString(dir.Path().string()));
        EXPECT_EQ(open->nameFilters(), QStringList({"DBName (*.gdb *.fdb)", "All (*)"}));
        open->reject();
    });
    Dialog.btnSearchDBName->click();
    EXPECT_EQ(Dialog.edtDatabase->text(), old);

    WhenModal<QFileDialog>([&](QFileDialog* open) {
        open->selectFile("new.gdb");
        static_cast<QDialog*>(open)->accept();
    });
    Dialog.btnSearchDBName->click();
    EXPECT_EQ(Dialog.edtDatabase->text(), QString::fromStdString((dir / "new.gdb").string()));
}

TEST_F(SettingsDialog, BrowsingFromAPathWhoseFolderIsMissingStartsInTheDefaultFolder) {
    const std::pair<const char*, QString> cases[] = {
        {R"(C:\data\db.fdb)", QDir::currentPath()},
        {"/no/such/folder/w.fdb", QDir::currentPath()},
        {"w.fdb", QDir::currentPath()},
    };
    for (const auto& [text, start] : cases) {
        Dialog.edtDatabase->setText(text);
        QString started;
        WhenModal<QFileDialog>([&started](QFileDialog* open) {
            started = open->directory().absolutePath();
            open->reject();
        });
        Dialog.btnSearchDBName->click();
        EXPECT_EQ(started, start) << text;
        EXPECT_EQ(Dialog.edtDatabase->text(), text);
    }
}

TEST_F(SettingsDialog, AnEmptyFolderNameGoesToTheTopLevelHandlerAndKeepsTheText) {
    std::vector<std::string> uncaught;
    Dialog.SetUncaughtHandler(
        [&](const std::exception& failure) { uncaught.push_back(FailureMessage(failure)); });
    Dialog.edtExportDataDir->setText("/kept");
    WhenModal<QFileDialog>([](QFileDialog* chooser) {
        TypeInto(chooser->findChild<QLineEdit*>("fileNameEdit"), "");
        WhenModal<QMessageBox>([](QMessageBox* ask) { ask->button(QMessageBox::Yes)->click(); });
        static_cast<QDialog*>(chooser)->accept();
    });
    Dialog.btnSearchExpFileDir->click();
    EXPECT_EQ(uncaught, std::vector<std::string>{"Unable to create directory"});
    EXPECT_EQ(Dialog.edtExportDataDir->text(), "/kept");
}

} // namespace
} // namespace gravlink::test
