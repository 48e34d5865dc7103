#pragma once
// The twelve tabs of the window: index (what the reply dispatch tests to
// decide which tab an answer belongs to) and caption.
#include <array>

namespace zx::ui {

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

struct TabEntry {
    TabIndex index;
    const char *caption;
};

inline constexpr std::array<TabEntry, 12> kTabs = {{
    {kMainTab, "Main"},
    {kAbonentsTab, "Abonents"},
    {kExternalSmsTab, "External SMS"},
    {kIntExtSmsTab, "Int/Ext SMS"},
    {kIoNameTab, "IOname"},
    {kAnalogTab, "Analog"},
    {kTemperatureTab, "Temperature, RT"},
    {kScheduleTab, "SMS Shedule"},
    {kIoControlTab, "IO control"},
    {kOtherTab, "Other"},
    {kGprsFtpTab, "GPRS, FTP"},
    {kSerialPortTab, "Serial Port"},
}};

} // namespace zx::ui
