#include "ui/tabs/ModuleClockButtons.h"

#include "commands/messaging/ClockCommands.h"
#include "link/Link.h"
#include "link/ModemQueries.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace zx::ui {
namespace {

namespace msg = commands::messaging;

} // namespace

ModuleClockButtons::ModuleClockButtons(TabHost &host, link::ModemQueries &queries, QObject *parent)
    : QObject(parent), host_(host), queries_(queries) {
    QGridLayout *grid = host.mainReadButtons();
    QWidget *panel = grid->parentWidget();
    // The I/O read buttons are placed first; these take a column of their own.
    const int column = grid->count() == 0 ? 0 : grid->columnCount();
    int row = 0;
    const auto add = [&](const char *name, const char *caption,
                         void (ModuleClockButtons::*click)()) {
        auto *b = new QPushButton(QString::fromLatin1(caption), panel);
        b->setObjectName(QString::fromLatin1(name));
        grid->addWidget(b, row++, column);
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    ReadState = add("ReadState", "Read Status", &ModuleClockButtons::ReadStateClick);
    Version = add("Version", "Version number", &ModuleClockButtons::VersionClick);
    GetDT = add("GetDT", "Get Date/Time", &ModuleClockButtons::GetDTClick);
    SetDT = add("SetDT", "Set Date/Time", &ModuleClockButtons::SetDTClick);
    RestartModule = add("RestartModule", "Restart ZENTORIQ / ZENTORIX",
                        &ModuleClockButtons::RestartModuleClick);
}

void ModuleClockButtons::ReadStateClick() {
    host_.sendCommand(msg::kReadStatusLine);
}

void ModuleClockButtons::VersionClick() {
    link::Link &link = host_.link();
    link.Clear();
    link.SendSMS(msg::kVersionLine);
    link.DisplayOnMemo(msg::kVersionEcho);
}

void ModuleClockButtons::GetDTClick() {
    link::Link &link = host_.link();
    link.Clear();
    link.DisplayOnMemo(msg::kGetClockEcho);
    link.SendSMS(msg::kGetClockLine);
}

void ModuleClockButtons::RestartModuleClick() {
    host_.sendCommand(msg::kRestartLine);
}

QByteArray ModuleClockButtons::clockLine() {
    const auto *zone = host_.window()->findChild<QLineEdit *>(QStringLiteral("TimeZone"));
    const QByteArray timeZone = zone ? text::toAnsi(zone->text()) : msg::kDefaultTimeZone;
    return msg::setClockLine(host_.link().now(), timeZone);
}

void ModuleClockButtons::SetDTClick() {
    link::Link &link = host_.link();
    link.Clear();
    if (!host_.work().SmsModeFlag) {
        const QByteArray line = clockLine();
        link.DisplayOnMemo(line);
        link.SendSMS(line);
        link.setClockQueryPending(true);
        return;
    }
    queries_.writeClockLine(clockLine());
}

} // namespace zx::ui
