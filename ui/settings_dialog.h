#pragma once

#include "app/settings_dialog_fields.h"

#include <QDialog>
#include <exception>
#include <functional>
#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace gravlink {

// The settings dialog "Параметры": five pages over the nine settings. Its modal
// result is 1 for "ОК", 2 for "Отмена" and the close box.
class TfrmSettings : public QDialog {
    Q_OBJECT

public:
    enum { mrOk = 1, mrCancel = 2 };

    explicit TfrmSettings(QWidget* parent = nullptr);

    void SetFields(const TSettingsDialogFields& fields);
    TSettingsDialogFields Fields() const;

    // DBName to and from the connection kind, server name and path.
    void SetDBName(const std::string& dbName);
    std::string GetDBName() const;
    void cmbProtocolClick();
    void btnSearchDBNameClick();
    void btnSearchExpFileDirClick();

    // Where a failure of a button goes: the program's top-level handler. Without
    // one, an error box shows it.
    void SetUncaughtHandler(std::function<void(const std::exception&)> handler);

    // The folder the file-open dialog starts in for a path text; empty for the
    // system's default folder.
    static QString DBFileStartFolder(const QString& pathText);
    // Multi-line texts: CR LF in the settings, LF in the text boxes.
    static void SetMemoText(QPlainTextEdit* memo, const std::string& text);
    static std::string MemoText(const QPlainTextEdit* memo);

    void reject() override;

    QTabWidget* PageControl1;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QGroupBox* GroupBox3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label6;
    QLabel* Label8;
    QLabel* lblServerName;
    QComboBox* cmbProtocol;
    QLineEdit* edtServerName;
    QLineEdit* edtDatabase;
    QPushButton* btnSearchDBName;
    QLineEdit* edtExportDataDir;
    QPushButton* btnSearchExpFileDir;
    QLineEdit* edtExportFieldName;
    QLineEdit* edtExportTableName;
    QLineEdit* edtExportDateFN;
    QPlainTextEdit* memSelect;
    QPlainTextEdit* memSelectWP;
    QPlainTextEdit* memUpdate;
    QPlainTextEdit* memAutoExt;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreatePageMain(QWidget* page);
    QPlainTextEdit* CreateMemoPage(const char* caption, QRect geometry);
    // Runs a button's handler under the top-level handler.
    void Guarded(void (TfrmSettings::*handler)());

    std::function<void(const std::exception&)> FUncaught;
};

} // namespace gravlink
