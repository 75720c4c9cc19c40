#include "ui/settings_dialog.h"

#include "app/app_title.h"
#include "app/frm_main.h"
#include "support/code_page.h"
#include "support/exception.h"
#include "ui/qt_text.h"
#include "ui/select_directory_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <algorithm>

namespace gravlink {

namespace {

QLabel* NewLabel(QWidget* parent, const char* utf8, QRect geometry) {
    auto* label = new QLabel(QString::fromUtf8(utf8), parent);
    label->setGeometry(geometry);
    return label;
}

QLineEdit* NewEdit(QWidget* parent, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    return edit;
}

// Buttons that are neither default nor cancel: Enter clicks one only while it has the focus.
QPushButton* NewButton(QWidget* parent, const char* utf8, QRect geometry) {
    auto* button = new QPushButton(QString::fromUtf8(utf8), parent);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// A face wider than the layout was measured for must not clip a label: it grows
// away from its aligned edge, a right-aligned one no further than its parent's edge.
void FitLabel(QLabel* label) {
    const int needed = label->sizeHint().width();
    if (needed <= label->width())
        return;
    QRect geometry = label->geometry();
    if (label->alignment() & Qt::AlignRight)
        geometry.setLeft(std::max(2, geometry.right() + 1 - needed));
    else
        geometry.setWidth(needed);
    label->setGeometry(geometry);
}

} // namespace

TfrmSettings::TfrmSettings(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QString::fromUtf8("Параметры"));
    QFont dialogFont = font();
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPointSize(8);
    // The layout is measured for a narrow face; a condensed cut of the default
    // face keeps the texts inside their places.
    dialogFont.setStretch(QFont::SemiCondensed);
    setFont(dialogFont);
    setFixedSize(649, 420);

    btnOk = NewButton(this, "ОК", {481, 387, 75, 25});
    btnCancel = NewButton(this, "Отмена", {562, 387, 75, 25});
    connect(btnOk, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(4, 4, 640, 373);
    auto* pageMain = new QWidget;
    PageControl1->addTab(pageMain, QString::fromUtf8("Основные"));
    CreatePageMain(pageMain);
    memSelect = CreateMemoPage("Основной запрос", {4, 4, 625, 341});
    memSelectWP = CreateMemoPage("Запрос с доп. парам.", {4, 4, 625, 337});
    memUpdate = CreateMemoPage("Запрос обновления", {4, 4, 625, 337});
    memAutoExt = CreateMemoPage("Дополнение для автовыгрузки", {8, 8, 621, 277});
    Label4 = NewLabel(memAutoExt->parentWidget(),
                      "После автовыгрузки все записи таблицы помечаются как эспортировавшиеся. "
                      "Если необходимы дополнительные условия, то их необходимо добавить здесь "
                      "в виде: \"and confirm is null\" и т.п.",
                      {8, 288, 617, 41});
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PageControl1->setCurrentIndex(0);
    for (QLabel* label : {Label1, Label2, Label3, Label6, Label8, lblServerName})
        FitLabel(label);

    // The tab order is the order of creation: "ОК", "Отмена", the pages.
    btnOk->setFocus();
}

void TfrmSettings::CreatePageMain(QWidget* page) {
    // Created in tab order: the export folder, the connection, the exported data.
    GroupBox1 = new QGroupBox(QString::fromUtf8(" Папка для экспортируемы данных "), page);
    GroupBox1->setGeometry(4, 136, 624, 53);
    edtExportDataDir = NewEdit(GroupBox1, {12, 20, 577, 21});
    btnSearchExpFileDir = NewButton(GroupBox1, "...", {593, 20, 21, 21});
    connect(btnSearchExpFileDir, &QPushButton::clicked, this,
            [this] { Guarded(&TfrmSettings::btnSearchExpFileDirClick); });

    GroupBox2 = new QGroupBox(QString::fromUtf8(" Подключение к БД "), page);
    GroupBox2->setGeometry(4, 4, 624, 129);
    Label6 = NewLabel(GroupBox2, "Тип соединения:", {12, 24, 85, 13});
    cmbProtocol = new QComboBox(GroupBox2);
    cmbProtocol->setGeometry(12, 40, 141, 21);
    for (const char* kind : {"   Локальное", "   TCP/IP", "   NetBEUI", "   SPX"})
        cmbProtocol->addItem(QString::fromUtf8(kind));
    connect(cmbProtocol, &QComboBox::activated, this, [this] { cmbProtocolClick(); });
    lblServerName = NewLabel(GroupBox2, "Имя удаленного компьютера:", {168, 24, 152, 13});
    edtServerName = NewEdit(GroupBox2, {168, 40, 445, 21});
    Label8 = NewLabel(GroupBox2, "Путь и имя базы данных на сервере:", {12, 76, 188, 13});
    edtDatabase = NewEdit(GroupBox2, {12, 96, 577, 21});
    btnSearchDBName = NewButton(GroupBox2, "...", {592, 96, 21, 21});
    connect(btnSearchDBName, &QPushButton::clicked, this,
            [this] { Guarded(&TfrmSettings::btnSearchDBNameClick); });

    GroupBox3 = new QGroupBox(QString::fromUtf8(" Параметры экспортируемых данных "), page);
    GroupBox3->setGeometry(4, 196, 624, 133);
    // The three labels end where the edits begin, 209 pixels in.
    Label1 = NewLabel(GroupBox3, "Имя поля даты экспорта \"EXP___DT\":", {12, 28, 197, 13});
    Label2 = NewLabel(GroupBox3, "Имя таблиы с исходными данными:", {20, 56, 189, 13});
    Label3 = NewLabel(GroupBox3, "Поле выборки по времени:", {27, 84, 182, 13});
    for (QLabel* label : {Label1, Label2, Label3})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtExportFieldName = NewEdit(GroupBox3, {216, 24, 401, 21});
    edtExportTableName = NewEdit(GroupBox3, {216, 52, 401, 21});
    edtExportDateFN = NewEdit(GroupBox3, {216, 80, 401, 21});
}

QPlainTextEdit* TfrmSettings::CreateMemoPage(const char* caption, QRect geometry) {
    auto* page = new QWidget;
    PageControl1->addTab(page, QString::fromUtf8(caption));
    auto* memo = new QPlainTextEdit(page);
    memo->setGeometry(geometry);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Tab leaves the text box, as it leaves every other field.
    memo->setTabChangesFocus(true);
    return memo;
}

void TfrmSettings::SetFields(const TSettingsDialogFields& fields) {
    cmbProtocol->setCurrentIndex(fields.Connection.ProtocolIndex);
    edtServerName->setText(ToQt(fields.Connection.ServerName));
    edtDatabase->setText(ToQt(fields.Connection.Database));
    cmbProtocolClick();
    edtExportDataDir->setText(ToQt(fields.ExportDataDir));
    edtExportFieldName->setText(ToQt(fields.ExportFieldName));
    edtExportTableName->setText(ToQt(fields.ExportTableName));
    edtExportDateFN->setText(ToQt(fields.ExportDateFN));
    SetMemoText(memSelect, fields.SqlSelect);
    SetMemoText(memSelectWP, fields.SqlSelectWP);
    SetMemoText(memUpdate, fields.SqlUpdate);
    SetMemoText(memAutoExt, fields.SqlAutoExt);
}

TSettingsDialogFields TfrmSettings::Fields() const {
    TSettingsDialogFields fields;
    fields.Connection = {cmbProtocol->currentIndex(), FromQt(edtServerName->text()),
                         FromQt(edtDatabase->text())};
    fields.ExportDataDir = FromQt(edtExportDataDir->text());
    fields.ExportFieldName = FromQt(edtExportFieldName->text());
    fields.ExportTableName = FromQt(edtExportTableName->text());
    fields.ExportDateFN = FromQt(edtExportDateFN->text());
    fields.SqlSelect = MemoText(memSelect);
    fields.SqlSelectWP = MemoText(memSelectWP);
    fields.SqlUpdate = MemoText(memUpdate);
    fields.SqlAutoExt = MemoText(memAutoExt);
    return fields;
}

void TfrmSettings::SetDBName(const std::string& dbName) {
    const TDBNameParts parts = gravlink::SetDBName(dbName);
    cmbProtocol->setCurrentIndex(parts.ProtocolIndex);
    edtServerName->setText(ToQt(parts.ServerName));
    edtDatabase->setText(ToQt(parts.Database));
    cmbProtocolClick();
}

std::string TfrmSettings::GetDBName() const {
    return gravlink::GetDBName(Fields().Connection);
}

void TfrmSettings::cmbProtocolClick() {
    // Only a remote kind has a server.
    const bool remote = cmbProtocol->currentIndex() > 0;
    edtServerName->setVisible(remote);
    lblServerName->setVisible(!edtServerName->isHidden());
}

QString TfrmSettings::DBFileStartFolder(const QString& pathText) {
    const qsizetype last = pathText.lastIndexOf(QRegularExpression("[/\\\\:]"));
    if (last < 0)
        return QString();
    if (pathText[last] == ':')
        return pathText.left(last + 1);
    // A separator right after the root, a drive or another separator stays.
    const bool keep = last == 0 || QString(":/\\").contains(pathText[last - 1]);
    return pathText.left(keep ? last + 1 : last);
}

void TfrmSettings::btnSearchDBNameClick() {
    QFileDialog opdDBName(this);
    opdDBName.setOption(QFileDialog::DontUseNativeDialog);
    opdDBName.setOption(QFileDialog::HideNameFilterDetails);
    opdDBName.setAcceptMode(QFileDialog::AcceptOpen);
    opdDBName.setFileMode(QFileDialog::AnyFile);
    opdDBName.setNameFilters({"DBName (*.gdb *.fdb)", "All (*)"});
    // A folder that is not there (a path kept from another machine) starts where a
    // path without a folder does, not at the root Qt would fall back to.
    const QString start = DBFileStartFolder(edtDatabase->text());
    opdDBName.setDirectory(QFileInfo(start).isDir() ? start : QDir::currentPath());
    if (opdDBName.exec() != QDialog::Accepted || opdDBName.selectedFiles().isEmpty())
        return;
    edtDatabase->setText(QDir::toNativeSeparators(opdDBName.selectedFiles().first()));
}

void TfrmSettings::btnSearchExpFileDirClick() {
    QString directory = edtExportDataDir->text();
    if (SelectDirectory(this, directory))
        edtExportDataDir->setText(directory);
}

void TfrmSettings::SetUncaughtHandler(std::function<void(const std::exception&)> handler) {
    FUncaught = std::move(handler);
}

void TfrmSettings::Guarded(void (TfrmSettings::*handler)()) {
    // Failures must not cross Qt's event loop: they end this click and go to the
    // top-level handler, and the dialog stays open.
    try {
        (this->*handler)();
    } catch (const std::exception& failure) {
        if (FUncaught) {
            FUncaught(failure);
            return;
        }
        QMessageBox::critical(this, ToQt(AppTitle()), ToQt(TopLevelText(FailureMessage(failure))));
    }
}

namespace {
// The bytes a memo was given, and its text as it showed them, so that a text the
// operator did not edit comes back byte for byte: lone LF and CR included.
const char* const GivenProperty = "gravlinkGiven";
const char* const ShownProperty = "gravlinkShown";
} // namespace

void TfrmSettings::SetMemoText(QPlainTextEdit* memo, const std::string& text) {
    QString shown = ToQt(text);
    shown.replace("\r\n", "\n");
    memo->setPlainText(shown);
    memo->setProperty(GivenProperty, QByteArray::fromStdString(text));
    memo->setProperty(ShownProperty, memo->document()->toRawText());
}

std::string TfrmSettings::MemoText(const QPlainTextEdit* memo) {
    // The raw text: the plain one turns no-break spaces into spaces.
    QString text = memo->document()->toRawText();
    const QVariant shown = memo->property(ShownProperty);
    if (shown.isValid() && shown.toString() == text)
        return memo->property(GivenProperty).toByteArray().toStdString();
    text.replace(QChar::ParagraphSeparator, "\r\n");
    text.replace(QChar::LineSeparator, "\r\n");
    return FromQt(text);
}

void TfrmSettings::reject() {
    // The close box.
    done(mrCancel);
}

void TfrmSettings::keyPressEvent(QKeyEvent* event) {
    // Neither button is the default or the cancel button: Enter and Esc act only
    // on the focused control.
    switch (event->key()) {
    case Qt::Key_Escape:
        event->ignore();
        return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else
            event->ignore();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TfrmSettings::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the main window.
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace gravlink
