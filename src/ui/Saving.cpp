// "Save Setting": every control value goes back into the settings record,
// which is then written to the settings file.
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
#include "ui/tabs/SerialPortTab.h"
#include "ui/tabs/SmsTextTab.h"
#include "ui/tabs/TemperatureTab.h"

#include <QAction>
#include <QCheckBox>

zx::settings::WindowSettings TForm1::controlValues() const {
    zx::settings::WindowSettings s;
    s.work = work_;
    serialTab_->save(s.serialPort);
    mainTab_->save(s.main);
    abonentsTab_->numbers->save(s.numbers);
    abonentsTab_->masks->save(s.masks);
    for (const zx::ui::SmsTextTab *texts : {externalTexts_, internalTexts_, ioNames_})
        texts->save(s.texts);
    analogTab_->save(s.analog);
    temperatureTab_->save(s.temperature);
    ioControlTab_->save(s.ioControl);
    otherTab_->save(s.filters);
    gprsFtpTab_->save(s.network);
    s.rtVariant = ZENTORIX1_->isChecked();
    return s;
}

void TForm1::copyControlsToRecord() {
    const zx::settings::WindowSettings s = controlValues();
    zx::settings::storeWindowSettings(s, record_);
    driver_.SetParity(s.serialPort.evenParity ? ptEVEN : ptNONE);
}

zx::settings::ConfigRecord TForm1::currentRecord() {
    zx::settings::ConfigRecord record = record_;
    zx::settings::storeWindowSettings(controlValues(), record);
    return record;
}

void TForm1::SaveSetting1Click() {
    copyControlsToRecord();
    const QString name = QString::fromLatin1(kSettingsFileName);
    const zx::settings::FileResult saved = zx::settings::SaveCFGFile(name, record_);
    if (saved.ok()) {
        showStatusMessage(QStringLiteral("Settings saved to %1.").arg(name));
        return;
    }
    const bool access = saved.status == zx::settings::FileStatus::AccessError;
    zx::ui::showBox(this, access ? zx::ui::BoxKind::Warning : zx::ui::BoxKind::Error,
                    access ? QStringLiteral("Warning") : QStringLiteral("Error"),
                    zx::settings::fileResultText(saved));
}
