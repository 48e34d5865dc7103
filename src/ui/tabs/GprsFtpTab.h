#pragma once
// The "GPRS, FTP" tab: the module's GPRS access and FTP server parameters,
// one box and one button each; with "Read " checked the buttons ask the
// module for the value instead of writing the box.
#include "commands/messaging/GprsFtpCommands.h"
#include "settings/WindowSettings.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zx::ui {

class TabHost;

class GprsFtpTab : public QWidget {
    Q_OBJECT
public:
    GprsFtpTab(TabHost &host, QWidget *parent = nullptr);

    // In the order of the parameter table: APN, UserID, Password, IPaddress,
    // FTPHostName, UserNameFTP, PasswordFTP, DirName.
    std::array<QLineEdit *, commands::messaging::kGprsFtpCount> boxes{};
    std::array<QPushButton *, commands::messaging::kGprsFtpCount> buttons{};
    QCheckBox *ReadGPRS1 = nullptr;

    void parameterClick(int parameter);
    void ReadGPRS1Click(bool checked);
    // A module answer read while the tab is open.
    void showAnswer(const QByteArray &answer);

    void load(const settings::NetworkSettings &network);
    void save(settings::NetworkSettings &network) const;
    QList<QWidget *> paleBoxes() const;

private:
    TabHost &host_;
};

} // namespace zx::ui
