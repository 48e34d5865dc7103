// Start-up: the settings file is read and every stored value is given to its
// control, in a fixed order, so that each control's own reaction runs.
#include "ui/Unit1.h"

#include "settings/ConfigFile.h"
#include "settings/FileResult.h"
#include "settings/WindowSettings.h"
#include "ui/MessageBoxes.h"
#include "ui/tabs/AbonentsTab.h"
#include "ui/tabs/AnalogTab.h"
#include "ui/tabs/EventMaskGroup.h"
#include "ui/tabs/GprsFtpTab.h"
#include "ui/tabs/IoControlTab.h"
#include "ui/tabs/MainTab.h"
#include "ui/tabs/NumbersGroup.h"
#include "ui/tabs/OtherTab.h"
#include "ui/tabs/ScheduleTab.h"
#include "ui/tabs/SerialPortTab.h"
#include "ui/tabs/SmsTextTab.h"
#include "ui/tabs/TemperatureTab.h"
#include "ui/widgets/DisabledReason.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QSet>
#include <QTabWidget>

void TForm1::FormCreate() {
    InitPort();
    mainTab_->PanelAT->hide();
    mainTab_->PanelBand->hide();
    link_->setRawLine(false);
    link_->setSavedSkipState(serialTab_->SkipCRLFcb->isChecked());

    const zx::settings::FileResult read =
        zx::settings::ReadCFGFile(QString::fromLatin1(kSettingsFileName), record_);
    if (read.status == zx::settings::FileStatus::AccessError) {
        zx::ui::showBox(nullptr, zx::ui::BoxKind::Warning, QStringLiteral("Warning"),
                        zx::settings::fileResultText(read));
    } else if (!read.ok()) {
        // The rest of the start-up is skipped: the controls keep their
        // design-time values and nothing is written back.
        zx::ui::showBox(nullptr, zx::ui::BoxKind::Error, QStringLiteral("Error"),
                        zx::settings::fileResultText(read));
        return;
    }
    applySettings();
}

// The order is the one the reactions need: the variant's "dis" boxes are
// ticked before the stored masks overwrite what they did, and the link is
// reset and the modem queries armed only when every control holds its value.
void TForm1::applySettings() {
    const zx::settings::WindowSettings s = zx::settings::loadWindowSettings(record_);
    work_ = s.work;

    serialTab_->load(s.serialPort);
    link_->setPollFactor(s.work.StoredPollFactor);
    analogTab_->load(s.analog);
    scheduleTab_->load(s.work.ScheduleString);
    mainTab_->load(s.main);
    link_->setDeleteAfterRead(mainTab_->DeleteSMS->isChecked());
    work_.SmsModeFlag = mainTab_->SMSmode->isChecked();
    MemoS_->setVisible(!mainTab_->SMSmode->isChecked());
    abonentsTab_->numbers->load(s.numbers);
    otherTab_->load(s.filters);
    ioControlTab_->load(s.ioControl);
    ZENTORIX1_->setChecked(s.rtVariant);
    applyVariant(s.rtVariant);
    for (zx::ui::SmsTextTab *texts : {externalTexts_, internalTexts_, ioNames_})
        texts->load(s.texts);
    abonentsTab_->masks->load(s.masks, s.work);
    gprsFtpTab_->load(s.network);
    temperatureTab_->load(s.temperature);
    storeLevelBars();

    link_->resetLinkState();
    setBusyCursor(false);
    if (mainTab_->SMSmode->isChecked())
        link_->armQuerySequence();
    link_->resetDisplay();
    link_->setRawLine(false);
    PageControl1Change();
}

// The level bars' positions, clamped to their ranges, go back into the record.
void TForm1::storeLevelBars() {
    zx::settings::AnalogSettings analog;
    analogTab_->save(analog);
    zx::settings::TemperatureSettings temperature;
    temperatureTab_->save(temperature);
    for (int n = 1; n <= zx::settings::kTemperatureInputCount; ++n) {
        record_.setTempMin(n, temperature.minimum[std::size_t(n - 1)]);
        record_.setTempMax(n, temperature.maximum[std::size_t(n - 1)]);
    }
    for (int n = 1; n <= zx::settings::kAnalogInputCount; ++n) {
        record_.setAnalogMin(n, analog.minimum[std::size_t(n - 1)]);
        record_.setAnalogMax(n, analog.maximum[std::size_t(n - 1)]);
    }
}

// The runtime variant: the same controls in the same order, on or off.
void TForm1::applyVariant(bool variantOn) {
    QSet<QWidget *> wasEnabled;
    for (QWidget *w : PageControl1_->findChildren<QWidget *>())
        if (!w->testAttribute(Qt::WA_ForceDisabled))
            wasEnabled.insert(w);
    temperatureTab_->applyVariant(variantOn);
    analogTab_->applyVariant(variantOn);
    ioNames_->applyVariant(variantOn);
    externalTexts_->applyVariant(variantOn);
    internalTexts_->applyVariant(variantOn);
    abonentsTab_->masks->applyVariant(variantOn);
    // What the variant turned off says so while it is off.
    const QString why = QStringLiteral(
        "The ZENTORIX-RT has no such input or output; untick \"ZENTORIX-RT\" in \"Option\" to "
        "use it");
    for (QWidget *w : std::as_const(wasEnabled))
        if (w->testAttribute(Qt::WA_ForceDisabled))
            zx::ui::setDisabledReason(w, why);
}

void TForm1::ZENTORIX1Click() {
    record_.setRtVariant(!record_.RtVariant());
    ZENTORIX1_->setChecked(record_.RtVariant());
    applyVariant(record_.RtVariant());
}
