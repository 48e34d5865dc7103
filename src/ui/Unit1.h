#pragma once
// The main window: owns the serial port, the link, the settings record, the
// one-second timer and every control. Tabs build their own controls; the
// window wires them to the link.
#include "link/Link.h"
#include "link/LinkView.h"
#include "link/ModemQueries.h"
#include "serial/CPDrv.h"
#include "serial/PortKeeper.h"
#include "settings/ConfigRecord.h"
#include "settings/WindowSettings.h"
#include "link/TickSleep.h"
#include "ui/DriverPort.h"
#include "ui/TabHost.h"
#include "ui/module/ModuleWindow.h"
#include "ui/module/WindowRunPort.h"
#include "ui/widgets/PlainTextMemo.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;

namespace zx::ui {
class AbonentsTab;
class AnalogTab;
class GprsFtpTab;
class IoControlTab;
class MainTab;
class ModuleMenu;
class OtherTab;
class ScheduleTab;
class SerialPortTab;
class SmsTextTab;
class TrafficWindow;
class TemperatureTab;
class FocusRing;
} // namespace zx::ui
namespace zx::serial {
class PortSource;
struct PortDetails;
} // namespace zx::serial

inline constexpr char kSettingsFileName[] = "ZENTORIX.cfg";

class TForm1 : public QMainWindow,
               public zx::link::LinkView,
               public zx::ui::TabHost,
               public zx::ui::ModuleWindow {
    Q_OBJECT
public:
    // Construction runs the start-up: the port is opened and the settings
    // file is applied to the controls.
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    zx::link::Link &link() override { return *link_; }
    zx::link::ModemQueries &modemQueries() override { return *modemQueries_; }
    TCommPortDriver &CommPortDriver1() { return driver_; }
    // Every chunk written to or read from the port, both modes.
    zx::traffic::TrafficLog &traffic() { return traffic_; }
    // What the port received, held until an answer is whole.
    zx::settings::ConfigRecord &record() override { return record_; }
    zx::ui::WorkingCopies &work() override { return work_; }
    zx::ui::ModuleMenu &moduleMenu() { return *moduleMenu_; }

    // Handlers shared by several controls.
    void InitPort();
    void SaveSetting1Click();
    void ZENTORIX1Click();
    void PageControl1Change();
    void Timer1Timer();
    // Asks ModemManager whether it holds the port's device; when it does, the
    // status bar says so and how to make it leave the device alone.
    void checkModemManager();

private:
    // TabHost
    QWidget *window() override { return this; }

    // ModuleWindow
    QMainWindow &frame() override { return *this; }
    zx::settings::ConfigRecord currentRecord() override;
    void takeModuleValues(const zx::settings::ConfigRecord &record) override;
    void openRecord(const zx::settings::ConfigRecord &record) override;
    zx::ui::RunLine runLine() const override;
    zx::ui::WindowRunPort &runPort() override { return runPort_; }
    void lockForRun(bool running) override;
    void lockForSmsJob(bool running) override;
    bool modemIdle() const override;
    void keepModemAnswers(bool keep) override;

    // LinkView
    bool smsMode() const override;
    QByteArray moduleNumber() const override;
    bool skipCrLf() const override;
    void setSkipCrLf(bool checked) override;
    int activeTab() const override;
    zx::link::Memo &receptionMemo() override { return receptionMemo_; }
    zx::link::Memo &echoLine() override { return echoLine_; }
    void setBusyCursor(bool busy) override;
    void setStatusColour(zx::link::StatusColour colour) override;
    void setStatusText(const QString &text) override;
    void showError(const QString &text) override;
    void showStatusMessage(const QString &text) override;
    void modemStoppedAnswering() override;
    void parseTabAnswer(int tab, const QByteArray &answer) override;

    void buildWindow();
    void buildTabs();
    QWidget *createTab(zx::ui::TabIndex index);
    QWidget *buildBottomArea();
    void buildMenu();
    void buildKeys();
    // The window on the screen it opens on: the design size where there is
    // room, else as much as the screen's free area holds.
    void fitToScreen();
    QWidget *scrolling(QWidget *page);
    void showTrafficLog();
    void connectReactions();
    void FormCreate();
    void applySettings();
    zx::settings::WindowSettings controlValues() const;
    void copyControlsToRecord();
    void storeLevelBars();
    void applyVariant(bool variantOn);
    QList<QWidget *> paleBoxes() const;
    void receiveData(const char *data, unsigned count);
    void portLost(const QString &reason);
    // After lead (an open error, or nothing) the advice, if ModemManager owns device.
    void adviseOnModemManager(const QString &device, const QString &lead);
    void ConnectBtnClick();
    void TestBtnClick();

    std::unique_ptr<zx::serial::PortSource> ports_;
    QElapsedTimer uptime_;
    zx::serial::PortKeeper *keeper_ = nullptr;
    TCommPortDriver driver_;
    zx::traffic::TrafficLog traffic_;
    zx::ui::DriverPort port_{driver_, traffic_};
    zx::ui::WindowRunPort runPort_{driver_, port_};
    zx::settings::ConfigRecord record_;
    zx::ui::WorkingCopies work_;
    std::unique_ptr<zx::link::Link> link_;
    std::unique_ptr<zx::link::ModemQueries> modemQueries_;
    QTimer *Timer1_ = nullptr;
    std::unique_ptr<zx::link::TickSleep> tickSleep_;
    QTabWidget *PageControl1_ = nullptr;
    QPlainTextEdit *MemoSMSinput_ = nullptr;
    QPlainTextEdit *MemoS_ = nullptr;
    QPlainTextEdit *MemoR_ = nullptr;
    QLineEdit *Status_ = nullptr;
    QAction *ZENTORIX1_ = nullptr;
    QPushButton *ConnectBtn_ = nullptr;
    QPushButton *TestBtn_ = nullptr;
    QPushButton *ExitBtn_ = nullptr;
    QAction *Exit1_ = nullptr;
    zx::ui::FocusRing *focusRing_ = nullptr;
    zx::ui::ModuleMenu *moduleMenu_ = nullptr;
    zx::ui::TrafficWindow *trafficWindow_ = nullptr;
    zx::ui::PlainTextMemo receptionMemo_;
    zx::ui::PlainTextMemo echoLine_;
    zx::ui::MainTab *mainTab_ = nullptr;
    zx::ui::AbonentsTab *abonentsTab_ = nullptr;
    zx::ui::SmsTextTab *externalTexts_ = nullptr;
    zx::ui::SmsTextTab *internalTexts_ = nullptr;
    zx::ui::SmsTextTab *ioNames_ = nullptr;
    zx::ui::AnalogTab *analogTab_ = nullptr;
    zx::ui::TemperatureTab *temperatureTab_ = nullptr;
    zx::ui::ScheduleTab *scheduleTab_ = nullptr;
    zx::ui::IoControlTab *ioControlTab_ = nullptr;
    zx::ui::OtherTab *otherTab_ = nullptr;
    zx::ui::GprsFtpTab *gprsFtpTab_ = nullptr;
    zx::ui::SerialPortTab *serialTab_ = nullptr;
    bool busyCursor_ = false;
    QList<QPointer<QWidget>> smsJobLocked_;
};
