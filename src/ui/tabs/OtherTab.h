#pragma once
// The "Other" tab: the module's option string ("SETMP "/"GETMP") edited by
// the option boxes and the two out-of-limit marks, the three input filters
// ("SETTF") and the date/time synchronisation source ("DTFTP").
#include "settings/WindowSettings.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLineEdit;
class QScrollBar;

namespace zx::ui {

class RadioGroup;
class TabHost;

class OtherTab : public QWidget {
    Q_OBJECT
public:
    OtherTab(TabHost &host, QWidget *parent = nullptr);

    // `oCheckBox3`..`oCheckBox15`: the box of option string position 3..15.
    QCheckBox *optionBox(int position) const;
    QLineEdit *MinusMark = nullptr;
    QLineEdit *PlusMark = nullptr;
    QLineEdit *StringStr1 = nullptr;
    QScrollBar *TTimeout1SB = nullptr;
    QScrollBar *ATimeout1SB = nullptr;
    QScrollBar *DFilterSB = nullptr;
    QLineEdit *TTimeout1 = nullptr;
    QLineEdit *ATimeout1 = nullptr;
    QLineEdit *DFilter = nullptr;
    RadioGroup *RadioGroup2 = nullptr;

    void GetOtherClick();
    void SetOtherClick();
    void SetTimeoutFilterClick();
    void Button1Click();

    // The "Timeout Filter" bars.
    void load(const settings::FilterSettings &filters);
    void save(settings::FilterSettings &filters) const;

private:
    QWidget *buildOptions();
    QWidget *buildFilters();
    QWidget *buildDateTimeSource();
    void setOption(int position, char c);
    void markChanged(int position, const QString &text);

    TabHost &host_;
    std::array<QCheckBox *, 13> optionBoxes_{};
};

} // namespace zx::ui
