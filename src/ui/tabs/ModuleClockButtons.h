#pragma once
// The module buttons of the "Main" tab that are not I/O reads: "Read Status",
// "Version number", "Get Date/Time", "Set Date/Time" and the restart.
#include <QObject>

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace zx::ui {

class TabHost;

class ModuleClockButtons : public QObject {
    Q_OBJECT
public:
    // The buttons take a column of their own in grid; timeZone is the box
    // whose text ends the clock-setting line.
    ModuleClockButtons(TabHost &host, QGridLayout *grid, const QLineEdit *timeZone,
                       QObject *parent = nullptr);

    QPushButton *ReadState = nullptr;
    QPushButton *Version = nullptr;
    QPushButton *GetDT = nullptr;
    QPushButton *SetDT = nullptr;
    QPushButton *RestartModule = nullptr;

    void ReadStateClick();
    void VersionClick();
    void GetDTClick();
    void SetDTClick();
    void RestartModuleClick();

private:
    QByteArray clockLine();

    TabHost &host_;
    const QLineEdit *timeZone_;
};

} // namespace zx::ui
