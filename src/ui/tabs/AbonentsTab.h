#pragma once
// The "Abonents" tab: the alarm and phone-book numbers beside the number
// mask matrices.
#include <QWidget>

namespace zx::ui {

class EventMaskGroup;
class NumbersGroup;
class TabHost;

class AbonentsTab : public QWidget {
    Q_OBJECT
public:
    AbonentsTab(TabHost &host, QWidget *parent = nullptr);

    NumbersGroup *numbers = nullptr;
    EventMaskGroup *masks = nullptr;
};

} // namespace zx::ui
