#include "ui/widgets/FileChooser.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QStandardPaths>

namespace zx::ui {
namespace {

QString &lastFolder() {
    static QString folder;
    return folder;
}

class HidingProxy : public QSortFilterProxyModel {
public:
    HidingProxy(std::function<bool(const QString &)> hide, QObject *parent)
        : QSortFilterProxyModel(parent), hide_(std::move(hide)) {}

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override {
        auto *files = qobject_cast<QFileSystemModel *>(sourceModel());
        if (!files)
            return true;
        const QModelIndex index = files->index(row, 0, parent);
        return files->isDir(index) || !hide_(files->filePath(index));
    }

private:
    std::function<bool(const QString &)> hide_;
};

} // namespace

QString startFolder() {
    if (!lastFolder().isEmpty() && QFileInfo(lastFolder()).isDir())
        return lastFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString suggestedFileName(const QString &stem, const QString &moduleNumber, const QDateTime &when,
                          const QString &timeFormat) {
    QString number;
    for (const QChar c : moduleNumber)
        if (c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-'))
            number += c;
    QStringList parts{stem};
    if (!number.isEmpty())
        parts << number;
    parts << when.toString(timeFormat);
    return parts.join(QLatin1Char('-'));
}

QFileDialog *chooseFile(QWidget *parent, const FileChoice &choice,
                        std::function<void(const QString &path)> chosen) {
    auto *dialog = new QFileDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QString::fromLatin1(choice.objectName));
    dialog->setWindowTitle(choice.title);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(choice.mode);
    dialog->setFileMode(choice.mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                               : QFileDialog::ExistingFile);
    if (choice.hide)
        dialog->setProxyModel(new HidingProxy(choice.hide, dialog));
    dialog->setNameFilter(choice.filters);
    dialog->setDefaultSuffix(choice.defaultSuffix);
    dialog->setDirectory(startFolder());
    if (!choice.suggestedName.isEmpty())
        dialog->selectFile(choice.suggestedName);
    QObject::connect(dialog, &QFileDialog::fileSelected, parent,
                     [chosen = std::move(chosen)](const QString &path) {
                         lastFolder() = QFileInfo(path).absolutePath();
                         chosen(path);
                     });
    dialog->open();
    return dialog;
}

QString writeWholeFile(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace zx::ui
