#pragma once
// The module buttons of the "Main" tab that are not I/O reads: "Read Status",
// "Version number", "Get Date/Time", "Set Date/Time" and the restart.
#include <QObject>

class QPushButton;

namespace zx::link {
class ModemQueries;
}

namespace zx::ui {

class TabHost;

class ModuleClockButtons : public QObject {
    Q_OBJECT
public:
    ModuleClockButtons(TabHost &host, link::ModemQueries &queries, QObject *parent = nullptr);

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
    link::ModemQueries &queries_;
};

} // namespace zx::ui
