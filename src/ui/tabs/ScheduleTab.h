#pragma once
// The "SMS Shedule" tab: message type, repetition and up to four hours of
// the day, kept in the nine-character schedule string as the controls
// change; "SET" completes and sends it, "GET" asks the module for its own.
#include "commands/messaging/Schedule.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QPushButton;
class QSlider;

namespace zx::ui {

class RadioGroup;
class TabHost;

class ScheduleTab : public QWidget {
    Q_OBJECT
public:
    ScheduleTab(TabHost &host, QWidget *parent = nullptr);

    RadioGroup *SMSShed = nullptr;
    RadioGroup *RadioGroup1 = nullptr;
    std::array<QSlider *, commands::messaging::kScheduleHours> TrackBar{};
    std::array<QCheckBox *, commands::messaging::kScheduleHours> CheckBoxS{};
    QPushButton *GetShedule = nullptr;
    QPushButton *SetShedule = nullptr;

    // Start-up: takes the stored schedule (StoredSchedule of the settings
    // record) and gives it to the controls, whose reactions run as they change.
    void load(const QByteArray &stored);
    const commands::messaging::ScheduleString &schedule() const { return schedule_; }

    void GetSheduleClick();
    void SetSheduleClick();

private:
    QWidget *buildHours();
    void typeChanged(int item);
    void repetitionChanged(int item);
    void hourMoved(int pair, int hour);
    void hourEnabled(int pair, bool checked);
    // The shared working copy follows every change of the string.
    void publish();

    TabHost &host_;
    commands::messaging::ScheduleString schedule_;
};

} // namespace zx::ui
