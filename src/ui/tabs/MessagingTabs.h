#pragma once
// What installMessagingTabs leaves behind: the messaging tabs, the module
// clock buttons of "Main" and the modem dialogue, owned by the window.
#include "link/ModemQueries.h"

#include <QObject>

#include <memory>

class QLineEdit;

namespace zx::ui {

class GprsFtpTab;
class ModuleClockButtons;
class NumbersGroup;
class ScheduleTab;
class SmsTextTab;
class TabHost;

// The modem texts go to the read-only boxes of the "Main" tab.
class ModemBoxes : public link::ModemTextView {
public:
    explicit ModemBoxes(QWidget *window);
    void showManufacturer(const QByteArray &text) override;
    void showModel(const QByteArray &text) override;
    void showClock(const QByteArray &text) override;

private:
    QLineEdit *Hersteller_ = nullptr;
    QLineEdit *ModelIDCode_ = nullptr;
    QLineEdit *DateTime_ = nullptr;
};

class MessagingTabs : public QObject {
    Q_OBJECT
public:
    explicit MessagingTabs(TabHost &host);
    ~MessagingTabs() override;

    NumbersGroup *numbers = nullptr;
    SmsTextTab *externalTexts = nullptr;
    SmsTextTab *internalTexts = nullptr;
    SmsTextTab *ioNames = nullptr;
    ScheduleTab *schedule = nullptr;
    GprsFtpTab *gprsFtp = nullptr;
    ModuleClockButtons *clockButtons = nullptr;
    link::ModemQueries &modemQueries() { return *queries_; }

private:
    SmsTextTab *&textTabSlot(int tab);
    void showExternalText(const QByteArray &answer);
    void showShortText(const QByteArray &answer);

    ModemBoxes boxes_;
    std::unique_ptr<link::ModemQueries> queries_;
};

} // namespace zx::ui
