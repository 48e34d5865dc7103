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

ModuleClockButtons::ModuleClockButtons(TabHost &host, QGridLayout *grid, const QLineEdit *timeZone,
                                       QObject *parent)
    : QObject(parent), host_(host), timeZone_(timeZone) {
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
    host_.link().sendCommand(msg::kReadStatusLine);
}

void ModuleClockButtons::VersionClick() {
    host_.link().sendCommand(msg::kVersionLine, link::CommandStyle::echoing(link::Echo::AfterSend, msg::kVersionEcho));
}

void ModuleClockButtons::GetDTClick() {
    host_.link().sendCommand(msg::kGetClockLine,
                             link::CommandStyle::echoing(link::Echo::BeforeSend, msg::kGetClockEcho));
}

void ModuleClockButtons::RestartModuleClick() {
    host_.link().sendCommand(msg::kRestartLine);
}

QByteArray ModuleClockButtons::clockLine() {
    return msg::setClockLine(host_.link().now(), text::toAnsi(timeZone_->text()));
}

void ModuleClockButtons::SetDTClick() {
    link::Link &link = host_.link();
    if (!host_.work().SmsModeFlag) {
        link.sendCommand(clockLine(), link::CommandStyle::echoing(link::Echo::BeforeSend));
        link.setClockQueryPending(true);
        return;
    }
    // In SMS mode the line goes to the modem's port as it is.
    link.Clear();
    host_.modemQueries().writeClockLine(clockLine());
}

} // namespace zx::ui
