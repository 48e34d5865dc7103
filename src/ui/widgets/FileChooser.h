#pragma once
// The tool's file dialogs: Qt's own (the same on every desktop, and one a
// test can fill in), opened without blocking; the chosen path goes to a
// callback. And writing a whole file in one step.
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
};

// A new dialog, a child of parent, gone once closed.
QFileDialog *chooseFile(QWidget *parent, const FileChoice &choice,
                        std::function<void(const QString &path)> chosen);

// Writes bytes as the whole file, replacing it only when all were written;
// empty, or the reason it failed.
QString writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace zx::ui
