#pragma once
// The "Main" tab: the module's number, the link choice, the module read and
// clock buttons, the modem boxes and the AT command and band panels.
#include "link/ModemQueries.h"
#include "settings/WindowSettings.h"

#include <QWidget>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zx::ui {

class ModuleClockButtons;
class TabHost;

class MainTab : public QWidget, public link::ModemTextView {
    Q_OBJECT
public:
    MainTab(TabHost &host, QWidget *parent = nullptr);

    QLineEdit *BRnumber = nullptr;
    QCheckBox *SMSmode = nullptr;
    QCheckBox *DeleteSMS = nullptr;
    QLineEdit *TimeZone = nullptr;
    QLineEdit *Hersteller = nullptr;
    QLineEdit *ModelIDCode = nullptr;
    QLineEdit *DateTime = nullptr;
    QPlainTextEdit *Memo5 = nullptr;
    QWidget *PanelAT = nullptr;
    QWidget *PanelBand = nullptr;
    QLineEdit *ATcmd = nullptr;
    QPushButton *ATcmdOpen = nullptr;
    QPushButton *GSMbandOpen = nullptr;
    // The "ATcommand" panel with the module read and clock buttons.
    QWidget *ATcommand = nullptr;
    ModuleClockButtons *clockButtons = nullptr;

    void SendATClick();
    void ATcmdOpenClick();
    void GSMbandOpenClick();
    // The band and signal buttons: each sends its line as a raw line.
    void sendModemLine(const QByteArray &line);

    // What the modem queries found.
    void showManufacturer(const QByteArray &text) override;
    void showModel(const QByteArray &text) override;
    void showClock(const QByteArray &text) override;

    // The module's number (the first copy, then the second, which wins), the
    // hidden "Delete incoming SMS enable" box and "SMS mode".
    void load(const settings::MainSettings &values);
    void save(settings::MainSettings &values) const;
    QList<QWidget *> paleBoxes() const;

private:
    QWidget *buildModemGroup();
    QWidget *buildAtPanel();
    QWidget *buildBandPanel();

    TabHost &host_;
};

} // namespace zx::ui
