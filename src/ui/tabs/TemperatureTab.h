#pragma once
// The "Temperature, RT" tab: minimum and maximum levels of the three
// temperature inputs ("TCLEV"), the runtime counters' levels ("RTLEV ") and
// source ("RTMOD"), and the temperature timeout filter.
#include "settings/WindowSettings.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;
class QScrollBar;

namespace zx::ui {

class RadioGroup;
class TabHost;

class TemperatureTab : public QWidget {
    Q_OBJECT
public:
    TemperatureTab(TabHost &host, QWidget *parent = nullptr);

    // Index 0 is input 1 (`ScrollBarT1min`, `T1min`, ...).
    std::array<QScrollBar *, 3> ScrollBarTmin{};
    std::array<QScrollBar *, 3> ScrollBarTmax{};
    std::array<QLineEdit *, 3> Tmin{};
    std::array<QLineEdit *, 3> Tmax{};
    // Inputs 2 and 3, and the runtime panel that lies over them.
    QWidget *PanelT23 = nullptr;
    QWidget *PanelRT = nullptr;
    QScrollBar *ScrollBarRT1 = nullptr;
    QScrollBar *ScrollBarRT2 = nullptr;
    QLineEdit *RT1 = nullptr;
    QLineEdit *RT2 = nullptr;
    RadioGroup *RTinputSource = nullptr;
    RadioGroup *RTsource = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QLineEdit *RTdivider = nullptr;
    QScrollBar *TTimeout1SBt = nullptr;
    QLineEdit *TTimeout1t = nullptr;

    // Writes every temperature bar's position into its box in plain
    // decimal, also where the position did not change (start-up).
    void refreshLevelBoxes();

    // The level bars, then their boxes (also where a bar did not move).
    void load(const settings::TemperatureSettings &temperature);
    void save(settings::TemperatureSettings &temperature) const;
    // The runtime variant shows the runtime panel over inputs 2 and 3.
    // The runtime panel takes the place of temperature inputs 2 and 3.
    void applyVariant(bool variantOn) {
        PanelRT->setVisible(variantOn);
        PanelT23->setVisible(!variantOn);
    }
    QList<QWidget *> paleBoxes() const;

    void TlevelCmdClick(int input);
    void RTlevelSendClick();
    void SetRTsourceClick();
    void Button2Click();
    void SetTtimeoutFilterClick();

private:
    QWidget *buildTemperatureInput(int input, QWidget *parent);
    QWidget *buildRuntimePanel(QWidget *parent);
    QWidget *buildFilter();

    TabHost &host_;
};

} // namespace zx::ui
