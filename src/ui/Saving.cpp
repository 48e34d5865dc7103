// "Save Setting": every control value goes back into the settings record,
// which is then written to the settings file.
#include "ui/Unit1.h"

#include "settings/ConfigFile.h"
#include "settings/FileResult.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"
#include "ui/tabs/MainTab.h"
#include "ui/tabs/SerialPortTab.h"

#include <QAction>
#include <QSlider>

using zx::ui::numbered;

namespace {

struct NamedSetter {
    const char *control;
    void (zx::settings::ConfigRecord::*set)(const QByteArray &);
};

const NamedSetter kNetworkTexts[] = {
    {"APN", &zx::settings::ConfigRecord::setGprsApn},
    {"UserID", &zx::settings::ConfigRecord::setGprsUserId},
    {"Password", &zx::settings::ConfigRecord::setGprsPassword},
    {"IPaddress", &zx::settings::ConfigRecord::setGprsServerAddress},
    {"FTPHostName", &zx::settings::ConfigRecord::setFtpHost},
    {"UserNameFTP", &zx::settings::ConfigRecord::setFtpUser},
    {"PasswordFTP", &zx::settings::ConfigRecord::setFtpPassword},
    {"DirName", &zx::settings::ConfigRecord::setFtpDirectory},
};

} // namespace

void TForm1::copyControlsToRecord() {
    const zx::ui::Controls c(this);
    zx::settings::ConfigRecord &r = record_;

    r.setBaudRateIndex(serialTab_->RadioGroupRate->itemIndex());
    r.setComPortIndex(serialTab_->RadioGroupPort->itemIndex());
    r.setWaitSmsTimeout(serialTab_->TrackBar5->value());
    // StoredPollFactor keeps the value read at start-up, unclamped.
    r.setStoredSchedule(work_.ScheduleString);
    r.setScheduleTail(0);
    const QByteArray number = c.text(QStringLiteral("BRnumber"));
    r.setModuleNumberCopy(number);
    r.setModuleNumber(number);
    for (int n = 1; n <= 7; ++n) {
        r.setAlarmNumber(n, c.text(numbered("NNumber", n)));
        r.setPhoneBookNumber(n, c.text(numbered("PBnr", n)));
    }
    r.setRtVariant(ZENTORIX1_->isChecked());
    r.setEvenParity(serialTab_->ParityEven->isChecked());
    driver_.SetParity(serialTab_->ParityEven->isChecked() ? ptEVEN : ptNONE);

    r.setDigitalInputFilter(c.position(QStringLiteral("DFilterSB")));
    r.setTempTimeoutFilter(c.position(QStringLiteral("TTimeout1SB")));
    r.setAnalogTimeoutFilter(c.position(QStringLiteral("ATimeout1SB")));
    r.setSamplingRate(c.position(QStringLiteral("SRateSB")));
    for (int n = 1; n <= 8; ++n)
        r.setOutputPulse(n, c.position(numbered("PulseDsb", n)));
    r.setDeleteIncomingSms(mainTab_->DeleteSMS->isChecked());
    r.setSmsModeOn(mainTab_->SMSmode->isChecked());
    storeLevelBars();

    for (int n = 1; n <= 57; ++n)
        r.setExternalText(n, c.text(numbered("TXTSMS", n)));
    for (int n = 1; n <= 97; ++n)
        r.setShortText(n, c.text(numbered("iTXTSMS", n)));
    r.setTempEventMask(c.text(QStringLiteral("TNrFilter")));
    r.setAnalogEventMask(c.text(QStringLiteral("ANrFilter")));
    r.setDigitalEventMask(c.text(QStringLiteral("DNrFilter")));
    for (const NamedSetter &t : kNetworkTexts)
        (r.*t.set)(c.text(QString::fromLatin1(t.control)));

    r.setTempFormatIndex(work_.LastTempFormat);
    r.setDataLoggerPeriod(c.position(QStringLiteral("DLoggerTmSB")));
    r.setOtherParameters(work_.OtherParametersWork);
    for (int n = 1; n <= 8; ++n)
        r.setAnalogMode(n, c.index(numbered("AMode", n)));
    r.setKeptWordA(work_.KeptWordA);
    r.setKeptWordB(work_.KeptWordB);
    r.setAnalogCoefficients(c.text(QStringLiteral("AkoeffStr")));
    r.setAnalogDividers(c.text(QStringLiteral("ADividerStr")));
    r.setKeptSmall(work_.KeptSmall);
    r.setSkipCrLf(serialTab_->SkipCRLFcb->isChecked());
    r.setKeptHalfA(work_.KeptHalfA);
    r.setKeptHalfB(work_.KeptHalfB);
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
