#include "ui/tabs/IoControlTab.h"

#include "commands/io/FilterCommands.h"
#include "commands/io/OutputCommands.h"
#include "text/Ansi.h"
#include "link/Link.h"
#include "ui/TabHost.h"
#include "ui/tabs/IoWidgets.h"

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
QString decimal(int position) { return QString::number(position); }
} // namespace

IoControlTab::IoControlTab(TabHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("IoControlTab"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(buildDataLogger());
    layout->addWidget(buildOutputs());
    auto *right = new QVBoxLayout;
    right->addWidget(buildInputs());
    right->addWidget(buildDigitalFilter());
    right->addStretch();
    layout->addLayout(right);
}

QWidget *IoControlTab::buildDataLogger() {
    auto *group = new QGroupBox(QStringLiteral("Data Logger parameter"), this);
    auto *grid = new QGridLayout(group);
    grid->setVerticalSpacing(1);
    SRateSB = scrollBar(QStringLiteral("SRateSB"), 0, 9, group);
    SRate = readOnlyBox(QStringLiteral("SRate"), QStringLiteral("0"), group, 24);
    SRate->setMaxLength(1);
    mirror(SRateSB, SRate, decimal);
    addBarRow(grid, 0, QStringLiteral("Sampling Rate"), QStringLiteral("0"), SRateSB,
              QStringLiteral("9"), SRate);
    DLoggerTmSB = scrollBar(QStringLiteral("DLoggerTmSB"), 0, 9, group);
    DLoggerTm = readOnlyBox(QStringLiteral("DLoggerTm"), QStringLiteral("0"), group, 24);
    DLoggerTm->setMaxLength(1);
    mirror(DLoggerTmSB, DLoggerTm, decimal);
    addBarRow(grid, 1, QStringLiteral("Data Logger \nPeriod"), QStringLiteral("0"), DLoggerTmSB,
              QStringLiteral("9"), DLoggerTm);

    grid->addWidget(new QLabel(QStringLiteral("Output Pulse or Latch mode"), group), 2, 0, 1, 5);
    for (int n = 1; n <= 8; ++n) {
        QScrollBar *bar = PulseDsb[n - 1] = scrollBar(named("PulseDsb", n), 0, 9, group);
        QLineEdit *box = PulseD[n - 1] = readOnlyBox(named("PulseD", n), QStringLiteral("0"), group, 24);
        mirror(bar, box, [](int position) { return QString::number(2 * position); });
        addBarRow(grid, 2 + n, QStringLiteral("Output %1 pulse ").arg(n), QStringLiteral("0"), bar,
                  QStringLiteral("9"), box);
    }
    auto *setPulse = button(QStringLiteral("SetPulse"), QStringLiteral("Set  Parameter"), group);
    connect(setPulse, &QPushButton::clicked, this, &IoControlTab::SetPulseClick);
    grid->addWidget(setPulse, 11, 0, 1, 5);
    grid->setRowStretch(12, 1);
    return group;
}

QWidget *IoControlTab::buildOutputs() {
    auto *group = new QGroupBox(QStringLiteral("Outputs Control"), this);
    auto *grid = new QGridLayout(group);
    grid->setVerticalSpacing(1);
    for (int n = 1; n <= 8; ++n) {
        Output[n - 1] = readOnlyBox(named("Output", n), QStringLiteral("OFF"), group, 36);
        auto *on = button(named("SetOut", n), QStringLiteral("Out%1 ON").arg(n), group);
        auto *off = button(named("ResetOut", n), QStringLiteral("Out%1 OFF").arg(n), group);
        auto *get = button(named("GetOut", n), QStringLiteral("Get Out%1").arg(n), group);
        connect(on, &QPushButton::clicked, this, [this, n] { SetOutClick(n); });
        connect(off, &QPushButton::clicked, this, [this, n] { ResetOutClick(n); });
        connect(get, &QPushButton::clicked, this,
                [this, n] { host_.link().sendCommand(cmd::getOutputLine(n)); });
        grid->addWidget(Output[n - 1], n - 1, 0);
        grid->addWidget(on, n - 1, 1);
        grid->addWidget(off, n - 1, 2);
        grid->addWidget(get, n - 1, 3);
    }
    auto *all = button(QStringLiteral("GetOutState"), QStringLiteral("Get All Output Text State"), group);
    connect(all, &QPushButton::clicked, this, [this] { host_.link().sendCommand(cmd::getOutputLine(0)); });
    grid->addWidget(all, 8, 0, 1, 4);

    auto *scale = new QLabel(QStringLiteral("1............8"), group);
    grid->addWidget(scale, 9, 2, 1, 2);
    auto *setBin = button(QStringLiteral("SetOutBin"), QStringLiteral("OUTPUT parallel ="), group);
    connect(setBin, &QPushButton::clicked, this, &IoControlTab::SetOutBinClick);
    OutputBin = edit(QStringLiteral("OutputBin"), QStringLiteral("00000000"), 8, group);
    grid->addWidget(setBin, 10, 0, 1, 2);
    grid->addWidget(OutputBin, 10, 2, 1, 2);
    grid->setRowStretch(11, 1);
    return group;
}

QWidget *IoControlTab::buildInputs() {
    auto *group = new QGroupBox(QStringLiteral("Inputs State"), this);
    auto *grid = new QGridLayout(group);
    grid->setVerticalSpacing(1);
    for (int n = 1; n <= 12; ++n) {
        auto *get = button(named("GetInp", n), QStringLiteral("Get Inp%1").arg(n), group);
        connect(get, &QPushButton::clicked, this,
                [this, n] { host_.link().sendCommand(cmd::getInputLine(n)); });
        grid->addWidget(get, (n - 1) % 6, (n - 1) / 6);
    }
    auto *all = button(QStringLiteral("GetAllInput"), QStringLiteral("Get All Input Text State"), group);
    connect(all, &QPushButton::clicked, this, [this] { host_.link().sendCommand(cmd::getInputLine(0)); });
    grid->addWidget(all, 6, 0, 1, 2);
    return group;
}

QWidget *IoControlTab::buildDigitalFilter() {
    auto *group = new QGroupBox(QStringLiteral("Digital Input Signal Filter"), this);
    auto *grid = new QGridLayout(group);
    DFilterSBd = scrollBar(QStringLiteral("DFilterSBd"), 0, 9, group);
    DFilterD = readOnlyBox(QStringLiteral("DFilterD"), QStringLiteral("0"), group, 24);
    mirror(DFilterSBd, DFilterD, decimal);
    addBarRow(grid, 0, QString(), QStringLiteral("0"), DFilterSBd, QStringLiteral("9"), DFilterD);
    auto *set = button(QStringLiteral("SetDtimeoutFilter"), QStringLiteral("Set Timeout Filter"), group);
    connect(set, &QPushButton::clicked, this, &IoControlTab::SetDtimeoutFilterClick);
    grid->addWidget(set, 1, 0, 1, 5);
    return group;
}

void IoControlTab::SetOutClick(int output) {
    host_.link().sendCommand(cmd::setOutputLine(output));
    Output[output - 1]->setText(text::fromAnsi(cmd::outputIndicator(true)));
}

void IoControlTab::ResetOutClick(int output) {
    host_.link().sendCommand(cmd::resetOutputLine(output));
    Output[output - 1]->setText(text::fromAnsi(cmd::outputIndicator(false)));
}

void IoControlTab::SetOutBinClick() {
    const QByteArray pattern = textOf(OutputBin);
    host_.link().sendCommand(cmd::parallelOutputLine(pattern));
    const cmd::OutputStates states = cmd::parallelOutputStates(pattern);
    for (int k = 0; k < cmd::kOutputCount; ++k)
        if (states[k])
            Output[k]->setText(text::fromAnsi(cmd::outputIndicator(*states[k])));
}

void IoControlTab::SetPulseClick() {
    std::array<int, cmd::kOutputCount> pulses{};
    for (int k = 0; k < cmd::kOutputCount; ++k)
        pulses[k] = PulseDsb[k]->value();
    host_.link().sendCommand(cmd::dataLoggerLine(SRateSB->value(), DLoggerTmSB->value(), pulses));
}

void IoControlTab::SetDtimeoutFilterClick() {
    host_.link().sendCommand(cmd::digitalFilterLine(textOf(DFilterD)));
}

void IoControlTab::load(const settings::IoControlSettings &values) {
    SRateSB->setValue(values.samplingRate);
    for (std::size_t k = 0; k < PulseDsb.size(); ++k)
        PulseDsb[k]->setValue(values.pulses[k]);
    DLoggerTmSB->setValue(values.dataLoggerPeriod);
}

void IoControlTab::save(settings::IoControlSettings &values) const {
    values.samplingRate = SRateSB->value();
    values.dataLoggerPeriod = DLoggerTmSB->value();
    for (std::size_t k = 0; k < PulseDsb.size(); ++k)
        values.pulses[k] = PulseDsb[k]->value();
}

QList<QWidget *> IoControlTab::paleBoxes() const {
    QList<QWidget *> list{SRate, DLoggerTm};
    list.append(QList<QWidget *>(PulseD.begin(), PulseD.end()));
    list.append(QList<QWidget *>(Output.begin(), Output.end()));
    return list;
}

} // namespace zx::ui
