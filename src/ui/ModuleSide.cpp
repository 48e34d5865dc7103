// The window's side of the "Module" menu: its values as a record, values
// given to its controls, its port, and the locks of a run.
#include "ui/Unit1.h"

#include "ui/tabs/AbonentsTab.h"
#include "ui/tabs/GprsFtpTab.h"
#include "ui/tabs/NumbersGroup.h"
#include "ui/tabs/SerialPortTab.h"
#include "ui/tabs/SmsTextTab.h"
#include "ui/widgets/DisabledReason.h"
#include "ui/widgets/RadioGroup.h"

#include <QAction>
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
