#include "ui/module/CloseGuard.h"

#include "ui/module/ModuleMenu.h"
#include "ui/module/ModuleRunner.h"

#include <QCloseEvent>
#include <QDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

namespace zx::ui {

CloseGuard::CloseGuard(QMainWindow &window, ModuleMenu &menu)
    : QObject(&window), window_(window), menu_(menu) {
    window.installEventFilter(this);
}

bool CloseGuard::eventFilter(QObject *watched, QEvent *event) {
    if (watched != &window_ || event->type() != QEvent::Close)
        return false;
    if (menu_.smsJobRunning()) {
        event->ignore();
        askAboutSmsJob();
        return true;
    }
    if (!menu_.runner().running())
        return false;
    event->ignore();
    ask();
    return true;
}

void CloseGuard::askAboutSmsJob() {
    if (auto *asked = window_.findChild<QMessageBox *>(QStringLiteral("CloseDuringSmsJob"));
        asked && asked->isVisible()) {
        asked->raise();
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Question, QStringLiteral("An SMS job is in progress"),
                                QStringLiteral("Close the window and go on with the SMS job the next "
                                               "time it opens?"),
                                QMessageBox::NoButton, &window_);
    box->setObjectName(QStringLiteral("CloseDuringSmsJob"));
    box->setInformativeText(QStringLiteral(
        "The job stays in the module register: the next time the window opens in SMS mode on "
        "the modem's port, it goes on where it stopped. Answers that come meanwhile wait in the "
        "modem."));
    QPushButton *close = box->addButton(QStringLiteral("&Close, go on later"), QMessageBox::AcceptRole);
    close->setObjectName(QStringLiteral("CloseKeepJob"));
    QPushButton *stay = box->addButton(QStringLiteral("&Stay open"), QMessageBox::RejectRole);
    box->setDefaultButton(stay);
    box->setEscapeButton(stay);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::buttonClicked, this, [this, close](QAbstractButton *clicked) {
        if (clicked != close)
            return;
        menu_.keepSmsJob();
        window_.close();
    });
    box->open();
}

void CloseGuard::ask() {
    if (closing_)
        return;
    if (auto *asked = window_.findChild<QMessageBox *>(QStringLiteral("CloseDuringRun"));
        asked && asked->isVisible()) {
        asked->raise();
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Question, QStringLiteral("A run is in progress"),
                                QStringLiteral("Stop after the command on the line, or keep running?"),
                                QMessageBox::NoButton, &window_);
    box->setObjectName(QStringLiteral("CloseDuringRun"));
    box->setInformativeText(QStringLiteral(
        "Stopping lets the command on the line finish and sends nothing after it; the module keeps "
        "what it got so far. The run's result shows which commands those were, and the window "
        "closes when you close it."));
    QPushButton *stop = box->addButton(QStringLiteral("&Stop and close"), QMessageBox::AcceptRole);
    stop->setObjectName(QStringLiteral("StopAndClose"));
    QPushButton *keep = box->addButton(QStringLiteral("&Keep running"), QMessageBox::RejectRole);
    keep->setObjectName(QStringLiteral("KeepRunning"));
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::buttonClicked, this, [this, stop](QAbstractButton *clicked) {
        if (clicked == stop)
            stopAndClose();
    });
    box->open();
}

void CloseGuard::stopAndClose() {
    closing_ = true;
    ModuleRunner &runner = menu_.runner();
    if (!runner.running()) {
        closeAfterResult();
        return;
    }
    // After the menu's own reaction, which opens the run's result.
    connect(&runner, &ModuleRunner::finished, this, &CloseGuard::closeAfterResult,
            Qt::SingleShotConnection);
    runner.cancel();
}

// The run's result stays until the user has read it; the window goes with it.
void CloseGuard::closeAfterResult() {
    for (QDialog *view : window_.findChildren<QDialog *>()) {
        const QString name = view->objectName();
        if (view->isVisible() &&
            (name == QLatin1String("RunResult") || name == QLatin1String("ReadCompare"))) {
            connect(view, &QDialog::finished, &window_, &QWidget::close);
            return;
        }
    }
    window_.close();
}

} // namespace zx::ui
