#pragma once

#include <QFileDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace gravlink {

// Qt's own folder chooser, taught to take a folder that does not exist yet: its
// name edit always holds the folder shown, and "OK" on a folder that is missing
// asks whether to create it.
class TSelectDirectoryDialog : public QFileDialog {
    Q_OBJECT

public:
    TSelectDirectoryDialog(QWidget* parent, const QString& startText);

    // The confirmed folder as a full path; empty when the name edit was empty.
    const QString& Directory() const { return FDirectory; }
    QLineEdit* NameEdit() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Puts a folder into the name edit without the list selecting it in turn.
    void SetName(const QString& folder);

    QPushButton* FOkButton = nullptr;
    QString FDirectory;
};

// The folder chooser started at directory. On "OK" the folder is created with its
// missing parents, quietly leaving one that cannot be made, and directory takes
// its name. An empty name raises "Unable to create directory".
bool SelectDirectory(QWidget* parent, QString& directory);

} // namespace gravlink
