#pragma once
// The tool's file dialogs: Qt's own (the same on every desktop, and one a
// test can fill in), opened without blocking; the chosen path goes to a
// callback. They start in the folder last used, or the user's documents.
// And writing a whole file in one step.
#include <QDateTime>
#include <QFileDialog>
#include <QString>

#include <functional>

namespace zx::ui {

struct FileChoice {
    const char *objectName; // "SaveReportDialog"
    QString title;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QString filters;        // "JSON (*.json);;All files (*)"
    QString defaultSuffix;  // for a name typed without one
    QString suggestedName;  // in the name box at the start
    // Files the filters let through but the dialog should not list (a
    // report among profiles); folders always show.
    std::function<bool(const QString &path)> hide = {};
};

// A new dialog, a child of parent, gone once closed.
QFileDialog *chooseFile(QWidget *parent, const FileChoice &choice,
                        std::function<void(const QString &path)> chosen);

// Where a dialog starts: the folder of the last file chosen in one, else the
// user's documents folder, else the home folder.
QString startFolder();

// A name made of what the user knows the file by: "zentorix-profile" and
// "+4917012345" give "zentorix-profile-+4917012345-20261209"; characters a
// file name should not carry are left out.
QString suggestedFileName(const QString &stem, const QString &moduleNumber,
                          const QDateTime &when, const QString &timeFormat = QStringLiteral("yyyyMMdd"));

// Writes bytes as the whole file, replacing it only when all were written;
// empty, or the reason it failed.
QString writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace zx::ui
