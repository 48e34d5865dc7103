// Start-up: the settings file is read and every stored value is given to its
// control, in a fixed order, so that each control's own reaction runs.
#include "ui/Unit1.h"

#include "settings/ConfigFile.h"
#include "settings/ConfigLayout.h"
#include "settings/FileResult.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"
#include "ui/VariantSwitch.h"
#include "ui/tabs/AnalogTab.h"
#include "ui/tabs/EventMaskGroup.h"
#include "ui/tabs/MainTab.h"
#include "ui/tabs/ScheduleTab.h"
#include "ui/tabs/SerialPortTab.h"
#include "ui/tabs/TemperatureTab.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QSlider>

using zx::ui::numbered;

namespace {

struct NamedText {
    const char *control;
    QByteArray (zx::settings::ConfigRecord::*get)() const;
};

// The GPRS and FTP boxes and where their texts are stored.
const NamedText kNetworkTexts[] = {
    {"APN", &zx::settings::ConfigRecord::GprsApn},
    {"UserID", &zx::settings::ConfigRecord::GprsUserId},
    {"Password", &zx::settings::ConfigRecord::GprsPassword},
    {"IPaddress", &zx::settings::ConfigRecord::GprsServerAddress},
    {"FTPHostName", &zx::settings::ConfigRecord::FtpHost},
    {"UserNameFTP", &zx::settings::ConfigRecord::FtpUser},
    {"PasswordFTP", &zx::settings::ConfigRecord::FtpPassword},
    {"DirName", &zx::settings::ConfigRecord::FtpDirectory},
};

// The mask characters as they stand in the file, whatever the length byte says.
QByteArray rawSlotCharacters(const zx::settings::ConfigRecord &record,
                             const zx::settings::FieldLayout &field, int count) {
    QByteArray chars(count, '\0');
    for (int i = 0; i < count; ++i)
        chars[i] = char(record.bytes()[std::size_t(field.offset + 1 + i)]);
    return chars;
}

} // namespace

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

void TForm1::applySettings() {
    const zx::ui::Controls c(this);
    zx::settings::ConfigRecord &r = record_;

    serialTab_->RadioGroupRate->setItemIndex(r.BaudRateIndex());
    serialTab_->RadioGroupPort->setItemIndex(r.ComPortIndex());
    serialTab_->TrackBar5->setValue(r.WaitSmsTimeout());
    serialTab_->Edit1->setText(QString::number(serialTab_->TrackBar5->value()));
    link_->setPollFactor(r.StoredPollFactor());
    for (int n = 1; n <= 8; ++n)
        c.setIndex(numbered("AMode", n), r.AnalogMode(n));

    if (auto *schedule = findChild<zx::ui::ScheduleTab *>())
        schedule->applyStoredSchedule(r.StoredSchedule());

    c.setText(QStringLiteral("BRnumber"), r.ModuleNumberCopy());
    c.setText(QStringLiteral("BRnumber"), r.ModuleNumber());
    for (int n = 1; n <= 7; ++n) {
        c.setText(numbered("NNumber", n), r.AlarmNumber(n));
        c.setText(numbered("PBnr", n), r.PhoneBookNumber(n));
    }

    c.setPosition(QStringLiteral("DFilterSB"), r.DigitalInputFilter());
    c.setPosition(QStringLiteral("TTimeout1SB"), r.TempTimeoutFilter());
    c.setPosition(QStringLiteral("ATimeout1SB"), r.AnalogTimeoutFilter());
    c.setPosition(QStringLiteral("SRateSB"), r.SamplingRate());
    for (int n = 1; n <= 8; ++n)
        c.setPosition(numbered("PulseDsb", n), r.OutputPulse(n));

    mainTab_->DeleteSMS->setChecked(r.DeleteIncomingSms());
    link_->setDeleteAfterRead(mainTab_->DeleteSMS->isChecked());
    mainTab_->SMSmode->setChecked(r.SmsModeOn());
    work_.SmsModeFlag = mainTab_->SMSmode->isChecked();
    MemoS_->setVisible(!mainTab_->SMSmode->isChecked());
    ZENTORIX1_->setChecked(r.RtVariant());
    serialTab_->ParityEven->setChecked(r.EvenParity());
    driver_.SetParity(serialTab_->ParityEven->isChecked() ? ptEVEN : ptNONE);
    zx::ui::applyVariant(this, r.RtVariant());

    for (int n = 1; n <= 57; ++n)
        c.setText(numbered("TXTSMS", n), r.ExternalText(n));
    for (int n = 1; n <= 97; ++n)
        c.setText(numbered("iTXTSMS", n), r.ShortText(n));

    if (r.TempEventMask().isEmpty())
        r.setTempEventMask("---");
    if (r.AnalogEventMask().isEmpty())
        r.setAnalogEventMask("--------");
    if (r.DigitalEventMask().isEmpty())
        r.setDigitalEventMask("000000000000");
    c.setText(QStringLiteral("TNrFilter"), r.TempEventMask());
    c.setText(QStringLiteral("ANrFilter"), r.AnalogEventMask());
    c.setText(QStringLiteral("DNrFilter"), r.DigitalEventMask());
    namespace layout = zx::settings::layout;
    work_.TempMaskChars = rawSlotCharacters(r, layout::TempEventMask, 3);
    work_.AnalogMaskChars = rawSlotCharacters(r, layout::AnalogEventMask, 8);
    work_.DigitalMaskChars = rawSlotCharacters(r, layout::DigitalEventMask, 12);
    if (auto *masks = findChild<zx::ui::EventMaskGroup *>())
        masks->decodeMasks(work_.TempMaskChars, work_.AnalogMaskChars, work_.DigitalMaskChars);

    for (const NamedText &t : kNetworkTexts)
        c.setText(QString::fromLatin1(t.control), (r.*t.get)());
    work_.LastTempFormat = r.TempFormatIndex();
    c.setPosition(QStringLiteral("DLoggerTmSB"), r.DataLoggerPeriod());

    QByteArray options = r.OtherParameters().left(16);
    options.append(QByteArray(16 - options.size(), ' '));
    r.setOtherParameters(options);
    work_.OtherParametersWork = options;

    work_.KeptWordA = r.KeptWordA();
    work_.KeptWordB = r.KeptWordB();
    c.setText(QStringLiteral("AkoeffStr"), r.AnalogCoefficients());
    c.setText(QStringLiteral("ADividerStr"), r.AnalogDividers());
    work_.KeptSmall = r.KeptSmall() > 4 ? 0 : r.KeptSmall();
    serialTab_->SkipCRLFcb->setChecked(r.SkipCrLf());
    link_->setSavedSkipState(serialTab_->SkipCRLFcb->isChecked());
    work_.KeptHalfA = r.KeptHalfA();
    work_.KeptHalfB = r.KeptHalfB();

    for (int n = 1; n <= 8; ++n) {
        c.setPosition(numbered("ScrollBarMin", n), r.AnalogMin(n));
        c.setPosition(numbered("ScrollBarMax", n), r.AnalogMax(n));
    }
    if (auto *analog = findChild<zx::ui::AnalogTab *>())
        analog->refreshLevelBoxes();
    for (int n = 1; n <= 3; ++n) {
        c.setPosition(QStringLiteral("ScrollBarT%1min").arg(n), r.TempMin(n));
        c.setPosition(QStringLiteral("ScrollBarT%1max").arg(n), r.TempMax(n));
    }
    if (auto *temperature = findChild<zx::ui::TemperatureTab *>())
        temperature->refreshLevelBoxes();
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
    const zx::ui::Controls c(this);
    for (int n = 1; n <= 3; ++n) {
        record_.setTempMin(n, c.position(QStringLiteral("ScrollBarT%1min").arg(n)));
        record_.setTempMax(n, c.position(QStringLiteral("ScrollBarT%1max").arg(n)));
    }
    for (int n = 1; n <= 8; ++n) {
        record_.setAnalogMin(n, c.position(numbered("ScrollBarMin", n)));
        record_.setAnalogMax(n, c.position(numbered("ScrollBarMax", n)));
    }
}

void TForm1::ZENTORIX1Click() {
    record_.setRtVariant(!record_.RtVariant());
    ZENTORIX1_->setChecked(record_.RtVariant());
    zx::ui::applyVariant(this, record_.RtVariant());
}
