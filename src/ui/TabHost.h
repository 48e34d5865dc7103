#pragma once
// What the window offers the code of its tabs: the link to send through,
// the settings record, the working copies shared between tabs, the pages to
// fill and the hook for reading module answers back into a tab.
#include <QByteArray>

#include <functional>

class QGridLayout;
class QWidget;

namespace zx::link {
class Link;
}
namespace zx::settings {
class ConfigRecord;
}

namespace zx::ui {

// Values held outside the controls while the tool runs, taken from the
// settings record at start-up and written back on save where they are stored.
struct WorkingCopies {
    bool SmsModeFlag = false;
    QByteArray ScheduleString = QByteArray(9, '\0'); // type letter, then four hour pairs
    QByteArray TempMaskChars = QByteArray(3, '\0');
    QByteArray AnalogMaskChars = QByteArray(8, '\0');
    QByteArray DigitalMaskChars = QByteArray(12, '\0');
    qint32 LastTempFormat = 0;
    QByteArray OtherParametersWork;
    qint32 KeptWordA = 0;
    qint32 KeptWordB = 0;
    qint32 KeptSmall = 0;
    qint16 KeptHalfA = 0;
    qint16 KeptHalfB = 0;
};

// Tab indexes, in the order the reply dispatch counts them.
enum TabIndex {
    kMainTab = 0,
    kAbonentsTab = 1,
    kExternalSmsTab = 2,
    kIntExtSmsTab = 3,
    kIoNameTab = 4,
    kAnalogTab = 5,
    kTemperatureTab = 6,
    kScheduleTab = 7,
    kIoControlTab = 8,
    kOtherTab = 9,
    kGprsFtpTab = 10,
    kSerialPortTab = 11,
};

class TabHost {
public:
    virtual ~TabHost() = default;

    virtual link::Link &link() = 0;
    virtual settings::ConfigRecord &record() = 0;
    virtual WorkingCopies &work() = 0;
    virtual QWidget *window() = 0;
    // The page of a tab; pages 1..10 come empty with a QVBoxLayout (page 1,
    // "Abonents", with a QHBoxLayout) for the tab code to fill.
    virtual QWidget *page(int index) = 0;
    // The "ATcommand" panel of the "Main" tab, where the read buttons go.
    virtual QGridLayout *mainReadButtons() = 0;
    // The parser run at the tick for a module answer while this tab is open.
    virtual void setTabParser(int index, std::function<void(const QByteArray &answer)> parser) = 0;

    // The four steps of every command button: Clear, build (done by the
    // caller), SendSMS, DisplayOnMemo.
    void sendCommand(const QByteArray &line);
};

// Filled by the I/O configuration tabs ("IO control", "Analog",
// "Temperature, RT", "Other", the "Number Mask" group, the I/O read buttons).
void installIoTabs(TabHost &host);
// Filled by the messaging tabs ("Abonents" numbers, the text tabs,
// "SMS Shedule", "GPRS, FTP", the clock and modem parts of "Main").
void installMessagingTabs(TabHost &host);

} // namespace zx::ui
