#pragma once
// The "Main" tab: the module's number, the link choice, the modem boxes and
// the AT command and band panels.
#include <QWidget>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zx::link {
class Link;
}

namespace zx::ui {

class MainTab : public QWidget {
    Q_OBJECT
public:
    MainTab(link::Link &link, QWidget *parent = nullptr);

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
    // The "ATcommand" panel: the module read buttons go into its grid.
    QWidget *ATcommand = nullptr;
    QGridLayout *readButtons = nullptr;

    void SendATClick();
    void ATcmdOpenClick();
    void GSMbandOpenClick();
    // The band and signal buttons: each sends its line as a raw line.
    void sendModemLine(const QByteArray &line);

private:
    QWidget *buildModemGroup();
    QWidget *buildAtPanel();
    QWidget *buildBandPanel();

    link::Link &link_;
};

} // namespace zx::ui
