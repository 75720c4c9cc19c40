#include "ui/main_window.h"

#include "app/app_title.h"
#include "app/work_texts.h"
#include "support/text_format_settings.h"
#include "ui/command_pictures.h"
#include "ui/data_grid.h"
#include "ui/data_source_model.h"
#include "ui/message_box.h"
#include "ui/picker_formats.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimeEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace gravlink {

namespace {

constexpr int ClientWidth = 862;
constexpr int ClientHeight = 606;
constexpr int ToolBarHeight = 28;

// Flat, light toolbar: buttons show only under the pointer; the highlight and the bar
// share one light colour, a pressed button takes the button face.
const char* const ToolBarStyle =
    "QToolBar { background: rgb(247, 246, 238); border: 1px solid palette(mid);"
    " spacing: 0px; padding: 1px; }"
    "QToolBar::separator { width: 1px; background: palette(mid); margin: 4px 3px; }"
    "QToolButton { border: 1px solid transparent; background: transparent; padding: 2px; }"
    "QToolButton:hover { background: rgb(247, 246, 238); border: 1px solid palette(dark); }"
    "QToolButton:pressed { background: palette(button); border: 1px solid palette(dark); }";

QDate DateOf(TDateTime value) {
    const TDecodedDateTime parts = DecodeDateTime(value);
    return QDate(parts.Year, parts.Month, parts.Day);
}

TDateTime DateValue(const QDate& date) {
    return EncodeDate(date.year(), date.month(), date.day());
}

TDateTime TimeValue(const QTime& time) {
    return EncodeTime(time.hour(), time.minute(), time.second(), 0);
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), FController(*this) {
    setWindowTitle(ToQt(AppTitle()));
    QFont font(QStringLiteral("Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    resize(ClientWidth, ClientHeight);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateToolBar();
    layout->addWidget(ActionToolBar1);
    CreatePeriodPanel();
    layout->addWidget(pnlExpand);
    dcrStat = new TDataSourceModel(FController.dstStat(), this);
    dcrStat->SetGuard([this](const std::function<void()>& step) { FController.Guarded(step); });
    DBGridEh1 = new TDataGrid(*dcrStat, central);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    layout->addWidget(DBGridEh1, 1);
    setCentralWidget(central);
    CreateStatusLine();

    // The grid comes first and holds the focus; the pickers follow it.
    setTabOrder(DBGridEh1, dtpDateBegin);
    setTabOrder(dtpDateBegin, dtpTimeBegin);
    setTabOrder(dtpTimeBegin, dtpDateEnd);
    setTabOrder(dtpDateEnd, dtpTimeEnd);
    DBGridEh1->setFocus();
}

MainWindow::~MainWindow() {
    // The grid and its data source go before the data set they follow.
    delete DBGridEh1;
    delete dcrStat;
}

QAction* MainWindow::AddCommand(const char* name, const char* caption, int picture,
                                void (TfrmMain::*handler)()) {
    auto* action =
        new QAction(ImageList1[static_cast<size_t>(picture)], QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(action->text());
    connect(action, &QAction::triggered, this, [this, handler] {
        FController.Guarded([this, handler] { (FController.*handler)(); });
    });
    ActionToolBar1->addAction(action);
    return action;
}

void MainWindow::CreateToolBar() {
    ImageList1 = CommandPictures();
    ActionToolBar1 = new QToolBar(this);
    ActionToolBar1->setObjectName(QStringLiteral("ActionToolBar1"));
    ActionToolBar1->setMovable(false);
    ActionToolBar1->setFloatable(false);
    ActionToolBar1->setFixedHeight(ToolBarHeight);
    ActionToolBar1->setIconSize(QSize(CommandPictureSize, CommandPictureSize));
    ActionToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ActionToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ActionToolBar1->setStyleSheet(QString::fromLatin1(ToolBarStyle));

    actExportNow =
        AddCommand("actExportNow", "Экспортировать", cpExport, &TfrmMain::actExportNowExecute);
    ActionToolBar1->addSeparator();
    actExpand = AddCommand("actExpand", "Доп. параметры", cpExpand, &TfrmMain::actExpandExecute);
    ActionToolBar1->addSeparator();
    actCheck = AddCommand("actCheck", "Установить метку", cpCheck, &TfrmMain::actCheckExecute);
    actCheckAll =
        AddCommand("actCheckAll", "Установить всем", cpCheckAll, &TfrmMain::actCheckAllExecute);
    actClearOne =
        AddCommand("actClearOne", "Снять метку", cpClearOne, &TfrmMain::actClearOneExecute);
    actClearAll =
        AddCommand("actClearAll", "Снять у всех", cpClearAll, &TfrmMain::actClearAllExecute);
    ActionToolBar1->addSeparator();
    actSettings = new QAction(ImageList1[cpSettings], QStringLiteral("Настройка"), this);
    actSettings->setObjectName(QStringLiteral("actSettings"));
    actSettings->setToolTip(actSettings->text());
    connect(actSettings, &QAction::triggered, this, &MainWindow::actSettingsTriggered);
    ActionToolBar1->addAction(actSettings);
    ActionToolBar1->addSeparator();
    actRefresh = AddCommand("actRefresh", "Обновить", cpRefresh, &TfrmMain::actRefreshExecute);
}

void MainWindow::CreateStatusLine() {
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblRowCount = new QLabel(this);
    lblRowCount->setObjectName(QStringLiteral("lblRowCount"));
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(lblStatus, 1);
    statusBar()->addPermanentWidget(lblRowCount);
    connect(dcrStat, &TDataSourceModel::RowsFetching, this,
            [this](int rows) { ShowProgress(FetchProgressText(rows)); });
    connect(dcrStat, &TDataSourceModel::RowCountKnown, this, [this](int rows) {
        lblRowCount->setText(rows < 0 ? QString() : ToQt(RowCountText(rows)));
    });
}

void MainWindow::actSettingsTriggered() {
    FController.Guarded([this] { FController.actSettingsExecute(); });
}

QDateEdit* MainWindow::CreateDatePicker() {
    auto* picker = new QDateEdit(pnlExpand);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(PickerDateFormat(TextFormatSettings.ShortDatePattern,
                                              TextFormatSettings.DateSeparatorChar));
    return picker;
}

QTimeEdit* MainWindow::CreateTimePicker() {
    auto* picker = new QTimeEdit(pnlExpand);
    picker->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    picker->setDisplayFormat(
        PickerTimeFormat(TextFormatSettings.LongTimePattern, TextFormatSettings.TimeSeparatorChar));
    return picker;
}

void MainWindow::CreatePeriodPanel() {
    pnlExpand = new QWidget(this);
    pnlExpand->setObjectName(QStringLiteral("pnlExpand"));
    Label1 = new QLabel(QStringLiteral("Период с "), pnlExpand);
    dtpDateBegin = CreateDatePicker();
    dtpDateBegin->setObjectName(QStringLiteral("dtpDateBegin"));
    dtpTimeBegin = CreateTimePicker();
    dtpTimeBegin->setObjectName(QStringLiteral("dtpTimeBegin"));
    dtpTimeBegin->setTime(QTime(0, 0, 0));
    Label2 = new QLabel(QStringLiteral("по"), pnlExpand);
    dtpDateEnd = CreateDatePicker();
    dtpDateEnd->setObjectName(QStringLiteral("dtpDateEnd"));
    dtpTimeEnd = CreateTimePicker();
    dtpTimeEnd->setObjectName(QStringLiteral("dtpTimeEnd"));
    dtpTimeEnd->setTime(QTime(23, 59, 59));
    // The date pickers start at the day of the window's creation; FormShow sets them again.
    const QDate today = QDate::currentDate();
    dtpDateBegin->setDate(today);
    dtpDateEnd->setDate(today);

    // Only a date changed by the operator refreshes; the time pickers have no handler.
    connect(dtpDateBegin, &QDateEdit::dateChanged, this,
            [this] { FController.Guarded([this] { FController.dtpDateBeginChange(); }); });
    connect(dtpDateEnd, &QDateEdit::dateChanged, this,
            [this] { FController.Guarded([this] { FController.dtpDateEndChange(); }); });
    PlacePeriodPanel();
    SetPeriodPanelHeight(0);
}

void MainWindow::PlacePeriodPanel() {
    struct Place {
        QWidget* Widget;
        QRect Designed;
    };
    const Place places[] = {
        {Label1, QRect(12, 12, 50, 13)},       {dtpDateBegin, QRect(68, 8, 85, 21)},
        {dtpTimeBegin, QRect(152, 8, 73, 21)}, {Label2, QRect(228, 12, 12, 13)},
        {dtpDateEnd, QRect(244, 8, 85, 21)},   {dtpTimeEnd, QRect(328, 8, 73, 21)},
    };
    // At the designed places; a face wider than the designed one widens an element
    // and moves the ones after it to the right, so no text is cut.
    int shift = 0;
    for (const Place& place : places) {
        QRect bounds = place.Designed.translated(shift, 0);
        const int wanted = place.Widget->sizeHint().width();
        if (wanted > bounds.width()) {
            shift += wanted - bounds.width();
            bounds.setWidth(wanted);
        }
        place.Widget->setGeometry(bounds);
    }
}

void MainWindow::SetPeriodPanelHeight(int height) {
    pnlExpand->setFixedHeight(height);
    // A collapsed panel takes no focus either.
    pnlExpand->setVisible(height > 0);
}

TDateTime MainWindow::DateBegin() const {
    return DateValue(dtpDateBegin->date());
}

TDateTime MainWindow::TimeBegin() const {
    return TimeValue(dtpTimeBegin->time());
}

TDateTime MainWindow::DateEnd() const {
    return DateValue(dtpDateEnd->date());
}

TDateTime MainWindow::TimeEnd() const {
    return TimeValue(dtpTimeEnd->time());
}

void MainWindow::SetPickerDates(TDateTime date) {
    const QDate day = DateOf(date);
    for (QDateEdit* picker : {dtpDateBegin, dtpDateEnd}) {
        const QSignalBlocker quiet(picker);
        picker->setDate(day);
    }
}

void MainWindow::ShowMessage(const std::string& text, bool errorIcon) {
    QMessageBox box(errorIcon ? QMessageBox::Critical : QMessageBox::NoIcon, ToQt(AppTitle()),
                    ToQt(text), QMessageBox::Ok, isVisible() ? this : nullptr);
    ExecMessageBox(box);
}

bool MainWindow::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, ToQt(AppTitle()), ToQt(text),
                    QMessageBox::Yes | QMessageBox::No, isVisible() ? this : nullptr);
    // Enter on a mis-opened box keeps the stamps.
    box.setDefaultButton(QMessageBox::No);
    return ExecMessageBox(box) == QMessageBox::Yes;
}

void MainWindow::BeginWork() {
    if (FWork++ > 0)
        return;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void MainWindow::EndWork() {
    if (FWork == 0 || --FWork > 0)
        return;
    QApplication::restoreOverrideCursor();
    if (FCloseAsked) {
        FCloseAsked = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void MainWindow::Repaint() {
    // Paint, expose and resize events only: a key or a click waits until the work
    // is done, so no command starts inside another. What the grid repaints meanwhile
    // must not reach the database.
    const bool held = dcrStat->Held();
    dcrStat->SetHeld(true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    dcrStat->SetHeld(held);
}

void MainWindow::ShowProgress(const std::string& text) {
    lblStatus->setText(ToQt(text));
    Repaint();
}

void MainWindow::ShowStatus(const std::string& text) {
    lblStatus->setText(ToQt(text));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (FWork > 0) {
        FCloseAsked = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::PostAutoExport() {
    QMetaObject::invokeMethod(
        this, [this] { FController.Guarded([this] { FController.WMAutoExport(); }); },
        Qt::QueuedConnection);
}

void MainWindow::Close() {
    close();
    // A window that was never shown does not end the event loop by closing.
    if (FMinimised)
        QCoreApplication::quit();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    DBGridEh1->setFocus();
    FController.Guarded([this] { FController.FormShow(); });
}

} // namespace gravlink
