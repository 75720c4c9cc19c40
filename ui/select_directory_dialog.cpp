#include "ui/select_directory_dialog.h"

#include "support/exception.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace gravlink {

namespace {

// Where the tree starts: the named folder, or the process's own when the text is
// empty, a network path or no existing folder.
QString StartFolder(const QString& text) {
    const bool network = text.startsWith("\\\\") || text.startsWith("//");
    if (text.isEmpty() || network || !QFileInfo(text).isDir())
        return QDir::currentPath();
    return QFileInfo(text).absoluteFilePath();
}

} // namespace

TSelectDirectoryDialog::TSelectDirectoryDialog(QWidget* parent, const QString& startText)
    : QFileDialog(parent, "Select Directory", StartFolder(startText)) {
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::Directory);
    setAcceptMode(QFileDialog::AcceptOpen);
    setLabelText(QFileDialog::LookIn, "&Directories:");
    // The chooser gives this label no buddy, which would draw its "&" as it is.
    if (auto* label = findChild<QLabel*>("lookInLabel"))
        label->setBuddy(findChild<QComboBox*>("lookInCombo"));
    setLabelText(QFileDialog::FileName, "Directory &Name:");
    setLabelText(QFileDialog::Accept, "OK");
    setLabelText(QFileDialog::Reject, "Cancel");
    SetName(directory().absolutePath());
    // Entering a folder in the tree puts it into the name edit. Queued: the
    // dialog clears the edit itself after the signal.
    connect(
        this, &QFileDialog::directoryEntered, this,
        [this](const QString& folder) { SetName(folder); }, Qt::QueuedConnection);
    // The chooser would disable "OK" for a folder that does not exist yet.
    if (auto* buttons = findChild<QDialogButtonBox*>("buttonBox"))
        FOkButton = buttons->button(QDialogButtonBox::Open);
    if (FOkButton != nullptr) {
        FOkButton->installEventFilter(this);
        FOkButton->setEnabled(true);
    }
}

void TSelectDirectoryDialog::SetName(const QString& folder) {
    const QSignalBlocker quiet(NameEdit());
    NameEdit()->setText(QDir::toNativeSeparators(folder));
}

bool TSelectDirectoryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FOkButton && event->type() == QEvent::EnabledChange && !FOkButton->isEnabled())
        FOkButton->setEnabled(true);
    return QFileDialog::eventFilter(watched, event);
}

QLineEdit* TSelectDirectoryDialog::NameEdit() const {
    return findChild<QLineEdit*>("fileNameEdit");
}

void TSelectDirectoryDialog::accept() {
    const QString name = NameEdit()->text();
    const QString path = name.isEmpty() ? QString() : directory().absoluteFilePath(name);
    if (name.isEmpty() || !QFileInfo(path).isDir()) {
        const auto answer = QMessageBox::question(
            this, windowTitle(), "The specified directory does not exist. Create it?",
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes)
            return;
    }
    FDirectory = QDir::cleanPath(path);
    // Past QFileDialog's own accept, which refuses a folder that does not exist yet.
    QDialog::accept(); // NOLINT(bugprone-parent-virtual-call)
}

bool SelectDirectory(QWidget* parent, QString& directory) {
    TSelectDirectoryDialog dialog(parent, directory);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (dialog.Directory().isEmpty())
        throw Exception("Unable to create directory");
    // A folder that cannot be made is not reported: the name is taken all the same.
    QDir().mkpath(dialog.Directory());
    directory = QDir::toNativeSeparators(dialog.Directory());
    return true;
}

} // namespace gravlink
