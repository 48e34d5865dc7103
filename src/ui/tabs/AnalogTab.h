#pragma once
// The "Analog" tab: minimum and maximum level per analog input ("ANLEV"),
// the measuring modes with multiplier and divider digits ("AMODE"), the
// value texts ("VALTX") and the analog timeout filter.
#include "settings/WindowSettings.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;
class QScrollBar;

namespace zx::ui {

class RadioGroup;
class TabHost;

class AnalogTab : public QWidget {
    Q_OBJECT
public:
    AnalogTab(TabHost &host, QWidget *parent = nullptr);

    // Index 0 is input 1 (`ScrollBarMin1`, `Minlv1`, ...).
    std::array<QScrollBar *, 8> ScrollBarMin{};
    std::array<QScrollBar *, 8> ScrollBarMax{};
    std::array<QLineEdit *, 8> MinLv{}; // `Minlv1`, `MinLv2`..`MinLv8`
    std::array<QLineEdit *, 8> MaxLv{}; // `Maxlv1`, `MaxLv2`..`MaxLv8`
    std::array<QPushButton *, 8> LevelCmd{};
    std::array<RadioGroup *, 8> AMode{};
    std::array<QLineEdit *, 8> VAL{};
    std::array<QPushButton *, 8> SetVal{};
    QLineEdit *AkoeffStr = nullptr;
    QLineEdit *ADividerStr = nullptr;
    QScrollBar *ATimeout1SBa = nullptr;
    QLineEdit *ATimeout1a = nullptr;
    // The empty panel that covers the levels of inputs 5..8 (model variant).
    QWidget *Panel1 = nullptr;

    // Writes every bar's position into its level box as two digits, also
    // where the position did not change (start-up).
    void refreshLevelBoxes();

    // Modes, multiplier and divider digits, then the level bars (and their
    // boxes, also where a bar did not move).
    void load(const settings::AnalogSettings &analog);
    void save(settings::AnalogSettings &analog) const;
    // The runtime variant covers inputs 5..8 and disables their controls.
    void applyVariant(bool variantOn);
    QList<QWidget *> paleBoxes() const;

    void LevelCmdClick(int input);
    void WriteAMode1Click();
    void SetValClick(int input);
    void SetTimeoutAnalogFilterClick();

private:
    QWidget *buildLevels(int firstInput, QWidget *parent);
    QWidget *buildModes();
    QWidget *buildValues();
    QWidget *buildFilter();

    TabHost &host_;
};

} // namespace zx::ui
