#include "ui/widgets/FileChooser.h"

#include <QSaveFile>

namespace zx::ui {

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
    dialog->setNameFilter(choice.filters);
    dialog->setDefaultSuffix(choice.defaultSuffix);
    if (!choice.suggestedName.isEmpty())
        dialog->selectFile(choice.suggestedName);
    QObject::connect(dialog, &QFileDialog::fileSelected, parent,
                     [chosen = std::move(chosen)](const QString &path) { chosen(path); });
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
