#include "ui/tabs/TemperatureTab.h"

#include "commands/io/Digits.h"
#include "commands/io/FilterCommands.h"
#include "commands/io/TemperatureCommands.h"
#include "link/Link.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/tabs/IoWidgets.h"
#include "ui/widgets/BoxColour.h"
#include "ui/widgets/RadioGroup.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zx::ui {

using namespace zx::ui::io;
namespace cmd = zx::commands::io;

namespace {

constexpr const char *kInputCaptions[] = {"TEMPERATURE INPUT (Smartec SMT160-30)",
                                          "TEMPERATURE INPUT 2 (Smartec SMT160-30)",
                                          "TEMPERATURE INPUT 3 (Smartec SMT160-30)"};
constexpr const char *kLevelHint = "Set minimum level for Analog Input 1";
// Colours of the level boxes once their line has been sent; the tab change
// puts the pale tab colour back.
const QColor kSentMaxColour{0, 255, 0};
const QColor kSentMinColour{0, 255, 255};

QString decimal(int position) { return QString::number(position); }

QString sendButtonName(int input) {
    return input == 1 ? QStringLiteral("TlevelCmd") : named("TlevelCmd", input);
}

} // namespace

TemperatureTab::TemperatureTab(TabHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("TemperatureTab"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->addWidget(buildTemperatureInput(1, this), 0, 0);
    grid->addWidget(buildFilter(), 0, 1, Qt::AlignTop);

    auto *t23 = new QWidget(this);
    t23->setObjectName(QStringLiteral("PanelT23"));
    auto *t23Layout = new QHBoxLayout(t23);
    t23Layout->setContentsMargins(0, 0, 0, 0);
    t23Layout->addWidget(buildTemperatureInput(2, t23));
    t23Layout->addWidget(buildTemperatureInput(3, t23));
    PanelT23 = t23;
    grid->addWidget(PanelT23, 1, 0, 1, 2);
    // The runtime panel shares the cell; as long as it shows, the inputs it
    // replaces are hidden, so it needs no background of its own and has the
    // tab's colour.
    PanelRT = buildRuntimePanel(this);
    grid->addWidget(PanelRT, 1, 0, 1, 2);
    PanelT23->hide();
    grid->setRowStretch(2, 1);
}

QWidget *TemperatureTab::buildTemperatureInput(int input, QWidget *parent) {
    const int i = input - 1;
    auto *group = new QGroupBox(latin(kInputCaptions[i]), parent);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(3, 1, 3, 1);
    grid->setVerticalSpacing(1);
    ScrollBarTmin[i] = scrollBar(QStringLiteral("ScrollBarT%1min").arg(input), -99, 149, group, 10);
    ScrollBarTmax[i] = scrollBar(QStringLiteral("ScrollBarT%1max").arg(input), -99, 149, group, 10);
    Tmin[i] = readOnlyBox(QStringLiteral("T%1min").arg(input), QString(), group, 40);
    Tmax[i] = readOnlyBox(QStringLiteral("T%1max").arg(input), QString(), group, 40);
    mirror(ScrollBarTmin[i], Tmin[i], decimal);
    mirror(ScrollBarTmax[i], Tmax[i], decimal);
    addBarRow(grid, 0, QStringLiteral("Minimum level"), QStringLiteral("-099"), ScrollBarTmin[i],
              QStringLiteral("+149 C"), Tmin[i]);
    addBarRow(grid, 1, QStringLiteral("Maximum level "), QStringLiteral("-099"), ScrollBarTmax[i],
              QStringLiteral("+149 C"), Tmax[i]);
    auto *send = button(sendButtonName(input), QStringLiteral("OK"), group);
    send->setToolTip(latin(kLevelHint));
    send->setFixedWidth(32);
    connect(send, &QPushButton::clicked, this, [this, input] { TlevelCmdClick(input); });
    grid->addWidget(send, 0, 5, 2, 1);
    return group;
}

QWidget *TemperatureTab::buildRuntimePanel(QWidget *parent) {
    auto *panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("PanelRT"));
    auto *h = new QHBoxLayout(panel);
    h->setContentsMargins(0, 0, 0, 0);

    auto *levels = new QGroupBox(QStringLiteral("RUNTIME"), panel);
    auto *grid = new QGridLayout(levels);
    grid->setContentsMargins(3, 1, 3, 1);
    ScrollBarRT1 = scrollBar(QStringLiteral("ScrollBarRT1"), 0, 32000, levels, 10);
    ScrollBarRT2 = scrollBar(QStringLiteral("ScrollBarRT2"), 0, 32000, levels, 10);
    RT1 = readOnlyBox(QStringLiteral("RT1"), QString(), levels, 48);
    RT2 = readOnlyBox(QStringLiteral("RT2"), QString(), levels, 48);
    RT1->setMaxLength(5);
    RT2->setMaxLength(5);
    mirror(ScrollBarRT1, RT1, decimal);
    mirror(ScrollBarRT2, RT2, decimal);
    addBarRow(grid, 0, QStringLiteral("RUNTIME1"), QStringLiteral("0"), ScrollBarRT1,
              QStringLiteral("32000"), RT1);
    addBarRow(grid, 1, QStringLiteral("RUNTIME2"), QStringLiteral("0"), ScrollBarRT2,
              QStringLiteral("32000"), RT2);
    auto *send = button(QStringLiteral("RTlevelSend"), QStringLiteral("OK"), levels);
    send->setToolTip(latin(kLevelHint));
    send->setFixedWidth(32);
    connect(send, &QPushButton::clicked, this, &TemperatureTab::RTlevelSendClick);
    grid->addWidget(send, 0, 5, 2, 1);
    grid->setRowStretch(2, 1);
    h->addWidget(levels, 1);

    auto *source = new QWidget(panel);
    auto *sourceGrid = new QGridLayout(source);
    sourceGrid->setContentsMargins(0, 0, 0, 0);
    sourceGrid->setSpacing(2);
    RTinputSource = new RadioGroup(
        QStringLiteral("RTinputSource"), QStringLiteral("RT source input"),
        {QStringLiteral("A1 / D1"), QStringLiteral("A2 / D2"), QStringLiteral("A3 / D3"),
         QStringLiteral("A4 / D4")},
        2, source);
    RTinputSource->setItemIndex(0);
    RTsource = new RadioGroup(
        QStringLiteral("RTsource"), QStringLiteral("RT source"),
        {QStringLiteral("Analog"), QStringLiteral("Digital Normal"), QStringLiteral("Digital Inversion")},
        1, source);
    RTsource->setItemIndex(0);
    const char *const scale[] = {"0004: 1 min", "0240: 1 hour", "2400: 10 hour"};
    for (int k = 0; k < 3; ++k)
        RTsource->setItemNote(k, new QLabel(latin(scale[k]), RTsource));
    sourceGrid->addWidget(RTinputSource, 0, 0, 1, 3);
    sourceGrid->addWidget(RTsource, 1, 0, 1, 3);
    ScrollBar1 = scrollBar(QStringLiteral("ScrollBar1"), 0, 9600, source, 10);
    RTdivider = edit(QStringLiteral("RTdivider"), QStringLiteral("0000"), 4, source);
    RTdivider->setFixedWidth(44);
    mirror(ScrollBar1, RTdivider,
           [](int position) { return text::fromAnsi(cmd::runtimeDivider(position)); });
    sourceGrid->addWidget(ScrollBar1, 2, 0);
    sourceGrid->addWidget(RTdivider, 2, 1);
    auto *buttons = new QHBoxLayout;
    auto *write = button(QStringLiteral("SetRTsource"), QStringLiteral("WR"), source);
    auto *read = button(QStringLiteral("Button2"), QStringLiteral("RD"), source);
    write->setFixedWidth(32);
    read->setFixedWidth(32);
    connect(write, &QPushButton::clicked, this, &TemperatureTab::SetRTsourceClick);
    connect(read, &QPushButton::clicked, this, &TemperatureTab::Button2Click);
    buttons->addWidget(write);
    buttons->addWidget(read);
    sourceGrid->addLayout(buttons, 2, 2);
    h->addWidget(source, 1);
    return panel;
}

QWidget *TemperatureTab::buildFilter() {
    auto *group = new QGroupBox(QStringLiteral("Temp. Timeout Filter "), this);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(3, 1, 3, 1);
    TTimeout1SBt = scrollBar(QStringLiteral("TTimeout1SBt"), 0, 99, group);
    TTimeout1t = readOnlyBox(QStringLiteral("TTimeout1t"), QStringLiteral("0"), group, 28);
    mirror(TTimeout1SBt, TTimeout1t,
           [](int position) { return text::fromAnsi(cmd::twoDigits(position)); });
    addBarRow(grid, 0, QString(), QStringLiteral("0"), TTimeout1SBt, QStringLiteral("99"), TTimeout1t);
    auto *set = button(QStringLiteral("SetTtimeoutFilter"), QStringLiteral("Set Timeout Filter"), group);
    connect(set, &QPushButton::clicked, this, &TemperatureTab::SetTtimeoutFilterClick);
    grid->addWidget(set, 1, 0, 1, 5);
    return group;
}

void TemperatureTab::refreshLevelBoxes() {
    for (int i = 0; i < 3; ++i) {
        Tmin[i]->setText(decimal(ScrollBarTmin[i]->value()));
        Tmax[i]->setText(decimal(ScrollBarTmax[i]->value()));
    }
}

void TemperatureTab::TlevelCmdClick(int input) {
    const int i = input - 1;
    host_.link().sendCommand(
        cmd::temperatureLevelLine(input, ScrollBarTmin[i]->value(), ScrollBarTmax[i]->value()));
    setBoxColour(Tmax[i], kSentMaxColour);
    setBoxColour(Tmin[i], kSentMinColour);
}

void TemperatureTab::RTlevelSendClick() {
    host_.link().sendCommand(cmd::runtimeLevelLine(ScrollBarRT1->value(), ScrollBarRT2->value()));
}

// The runtime source buttons send without the common pre-send step.
void TemperatureTab::SetRTsourceClick() {
    host_.link().sendCommand(cmd::runtimeSourceLine(RTinputSource->itemIndex(),
                                                    RTsource->itemIndex(), textOf(RTdivider)),
                             link::CommandStyle().withoutClear());
}

void TemperatureTab::Button2Click() {
    host_.link().sendCommand(cmd::kReadRuntimeSourceLine, link::CommandStyle().withoutClear());
}

void TemperatureTab::SetTtimeoutFilterClick() {
    host_.link().sendCommand(cmd::temperatureFilterLine(textOf(TTimeout1t)));
}

void TemperatureTab::load(const settings::TemperatureSettings &temperature) {
    for (std::size_t i = 0; i < ScrollBarTmin.size(); ++i) {
        ScrollBarTmin[i]->setValue(temperature.minimum[i]);
        ScrollBarTmax[i]->setValue(temperature.maximum[i]);
    }
    refreshLevelBoxes();
}

void TemperatureTab::save(settings::TemperatureSettings &temperature) const {
    for (std::size_t i = 0; i < ScrollBarTmin.size(); ++i) {
        temperature.minimum[i] = ScrollBarTmin[i]->value();
        temperature.maximum[i] = ScrollBarTmax[i]->value();
    }
}

QList<QWidget *> TemperatureTab::paleBoxes() const {
    QList<QWidget *> list;
    for (std::size_t i = 0; i < Tmin.size(); ++i)
        list << Tmin[i] << Tmax[i];
    return list << RT1 << RT2;
}

} // namespace zx::ui
