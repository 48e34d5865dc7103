// The window's side of the "Module" menu: its values as a record, values
// given to its controls, its port, and the locks of a run.
#include "ui/Unit1.h"

#include "ui/tabs/AbonentsTab.h"
#include "ui/tabs/MainTab.h"
#include "ui/tabs/GprsFtpTab.h"
#include "ui/tabs/NumbersGroup.h"
#include "ui/tabs/SerialPortTab.h"
#include "ui/tabs/SmsTextTab.h"
#include "ui/widgets/DisabledReason.h"
#include "ui/widgets/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

void TForm1::takeModuleValues(const zx::settings::ConfigRecord &record) {
    zx::settings::ConfigRecord values = record;
    const zx::settings::WindowSettings s = zx::settings::loadWindowSettings(values);
    abonentsTab_->numbers->load(s.numbers);
    for (zx::ui::SmsTextTab *texts : {externalTexts_, internalTexts_, ioNames_})
        texts->load(s.texts);
    gprsFtpTab_->load(s.network);
}

void TForm1::openRecord(const zx::settings::ConfigRecord &record) {
    // The port is this machine's, not the record's: it stays as chosen.
    zx::settings::ConfigRecord opened = record;
    zx::settings::WindowSettings s = zx::settings::loadWindowSettings(opened);
    serialTab_->save(s.serialPort);
    zx::settings::storeWindowSettings(s, opened);
    record_ = opened;
    applySettings();
}

zx::ui::RunLine TForm1::runLine() const {
    zx::ui::RunLine line;
    line.name = QStringLiteral("Com%1").arg(std::max(0, serialTab_->RadioGroupPort->itemIndex()) + 1);
    if (driver_.Connected())
        line.device = driver_.DeviceName();
    line.baud = driver_.BaudRateValue();
    line.evenParity = driver_.Parity() == ptEVEN;
    return line;
}

void TForm1::lockForRun(bool running) {
    const QString why = QStringLiteral(
        "Locked while the module is written or read; Cancel in the progress window stops the run");
    for (int i = 0; i < PageControl1_->count(); ++i) {
        PageControl1_->widget(i)->setEnabled(!running);
        zx::ui::setDisabledReason(PageControl1_->widget(i), why);
    }
    for (QPushButton *b : {ConnectBtn_, TestBtn_, ExitBtn_}) {
        b->setEnabled(!running);
        zx::ui::setDisabledReason(b, why);
    }
    // Closing the window still asks whether to stop the run.
    Exit1_->setEnabled(!running);
}

void TForm1::lockForSmsJob(bool running) {
    if (!running) {
        for (const QPointer<QWidget> &w : std::as_const(smsJobLocked_))
            if (w)
                w->setEnabled(true);
        smsJobLocked_.clear();
        Exit1_->setEnabled(true);
        return;
    }
    const QString why = QStringLiteral(
        "Locked while an SMS job has the modem; \"SMS jobs\" shows it and can cancel it");
    QList<QWidget *> lock{ConnectBtn_, TestBtn_, ExitBtn_, serialTab_, mainTab_->SMSmode};
    for (int i = 0; i < PageControl1_->count(); ++i)
        for (QPushButton *b : PageControl1_->widget(i)->findChildren<QPushButton *>())
            lock << b;
    for (QWidget *w : lock) {
        if (!w->isEnabled() || smsJobLocked_.contains(w))
            continue;
        w->setEnabled(false);
        zx::ui::setDisabledReason(w, why);
        smsJobLocked_ << w;
    }
    Exit1_->setEnabled(false);
}

bool TForm1::modemIdle() const {
    const zx::link::LinkFlags &f = link_->flags();
    return !f.QuerySequenceActive && !f.ModemBusy && !f.AwaitPrompt && !f.AwaitSubmitResult &&
           !f.ListReplyExpected && !f.AwaitDeleteReply && !f.SubmitPending &&
           !link_->waitingForReadyModem();
}

void TForm1::keepModemAnswers(bool keep) {
    link_->setDeleteAfterRead(!keep && mainTab_->DeleteSMS->isChecked());
}
