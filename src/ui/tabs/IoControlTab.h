#pragma once
// The "IO control" tab: data-logger parameters and output pulse modes
// ("SETTN"), the eight outputs with their indicators, the output and input
// queries, and the digital input filter.
#include "settings/WindowSettings.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QScrollBar;

namespace zx::ui {

class TabHost;

class IoControlTab : public QWidget {
    Q_OBJECT
public:
    IoControlTab(TabHost &host, QWidget *parent = nullptr);

    // Output[0] is `Output1`: what the tool last commanded, "ON " or "OFF".
    std::array<QLineEdit *, 8> Output{};
    QLineEdit *OutputBin = nullptr;
    QScrollBar *SRateSB = nullptr;
    QLineEdit *SRate = nullptr;
    QScrollBar *DLoggerTmSB = nullptr;
    QLineEdit *DLoggerTm = nullptr;
    std::array<QScrollBar *, 8> PulseDsb{};
    std::array<QLineEdit *, 8> PulseD{};
    QScrollBar *DFilterSBd = nullptr;
    QLineEdit *DFilterD = nullptr;

    void SetOutClick(int output);
    void ResetOutClick(int output);
    void SetOutBinClick();
    void SetPulseClick();
    void SetDtimeoutFilterClick();

    void load(const settings::IoControlSettings &values);
    void save(settings::IoControlSettings &values) const;
    QList<QWidget *> paleBoxes() const;

private:
    QWidget *buildDataLogger();
    QWidget *buildOutputs();
    QWidget *buildInputs();
    QWidget *buildDigitalFilter();

    TabHost &host_;
};

} // namespace zx::ui
