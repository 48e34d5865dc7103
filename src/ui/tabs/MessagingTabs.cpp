#include "ui/tabs/MessagingTabs.h"

#include "commands/messaging/TextAnswer.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/tabs/GprsFtpTab.h"
#include "ui/tabs/ModuleClockButtons.h"
#include "ui/tabs/NumbersGroup.h"
#include "ui/tabs/ScheduleTab.h"
#include "ui/tabs/SmsTextTab.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QWidget>

namespace zx::ui {
namespace {

namespace msg = commands::messaging;

QLineEdit *modemBox(QWidget *window, const char *name) {
    return window->findChild<QLineEdit *>(QString::fromLatin1(name));
}

void setIfThere(QLineEdit *box, const QByteArray &text) {
    if (box)
        box->setText(text::fromAnsi(text));
}

} // namespace

ModemBoxes::ModemBoxes(QWidget *window)
    : Hersteller_(modemBox(window, "Hersteller")), ModelIDCode_(modemBox(window, "ModelIDCode")),
      DateTime_(modemBox(window, "DateTime")) {}

void ModemBoxes::showManufacturer(const QByteArray &text) {
    setIfThere(Hersteller_, text);
}

void ModemBoxes::showModel(const QByteArray &text) {
    setIfThere(ModelIDCode_, text);
}

void ModemBoxes::showClock(const QByteArray &text) {
    setIfThere(DateTime_, text);
}

MessagingTabs::MessagingTabs(TabHost &host)
    : QObject(host.window()), boxes_(host.window()),
      queries_(std::make_unique<link::ModemQueries>(host.link(), boxes_)) {
    setObjectName(QStringLiteral("MessagingTabs"));
    queries_->install();

    QWidget *abonents = host.page(kAbonentsTab);
    numbers = new NumbersGroup(host, abonents);
    // The numbers come first, the number mask group beside them.
    if (auto *row = qobject_cast<QBoxLayout *>(abonents->layout()))
        row->insertWidget(0, numbers, 0, Qt::AlignTop);

    const auto addTab = [&host](int index, QWidget *content) {
        host.page(index)->layout()->addWidget(content);
    };
    // The 154 text buttons: one family per text tab.
    for (const TextFamily &family : textFamilies()) {
        auto *tab = new SmsTextTab(host, family, host.page(family.tab));
        addTab(family.tab, tab);
        textTabSlot(family.tab) = tab;
    }
    schedule = new ScheduleTab(host, host.page(kScheduleTab));
    gprsFtp = new GprsFtpTab(host, host.page(kGprsFtpTab));
    addTab(kScheduleTab, schedule);
    addTab(kGprsFtpTab, gprsFtp);
    clockButtons = new ModuleClockButtons(host, *queries_, this);

    host.setTabParser(kAbonentsTab, [this](const QByteArray &a) { numbers->showAnswer(a); });
    host.setTabParser(kExternalSmsTab, [this](const QByteArray &a) { showExternalText(a); });
    host.setTabParser(kIntExtSmsTab, [this](const QByteArray &a) { showShortText(a); });
    host.setTabParser(kIoNameTab, [this](const QByteArray &a) { showShortText(a); });
    host.setTabParser(kGprsFtpTab, [this](const QByteArray &a) { gprsFtp->showAnswer(a); });
}

MessagingTabs::~MessagingTabs() = default;

SmsTextTab *&MessagingTabs::textTabSlot(int tab) {
    if (tab == kExternalSmsTab)
        return externalTexts;
    if (tab == kIntExtSmsTab)
        return internalTexts;
    return ioNames;
}

void MessagingTabs::showExternalText(const QByteArray &answer) {
    if (const auto a = msg::parseExternalTextAnswer(answer))
        externalTexts->box(a->number)->setText(text::fromAnsi(a->text));
}

// Internal texts and names share one numbering: an answer fills its box on
// "Int/Ext SMS" or on "IOname", whichever of the two is open.
void MessagingTabs::showShortText(const QByteArray &answer) {
    const auto a = msg::parseShortTextAnswer(answer);
    if (!a)
        return;
    QLineEdit *box = internalTexts->box(a->number);
    if (!box)
        box = ioNames->box(a->number);
    if (box)
        box->setText(text::fromAnsi(a->text));
}

void installMessagingTabs(TabHost &host) {
    new MessagingTabs(host);
}

} // namespace zx::ui
