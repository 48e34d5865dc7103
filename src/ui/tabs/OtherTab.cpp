#include "ui/tabs/OtherTab.h"

#include "commands/io/FilterCommands.h"
#include "commands/io/OptionCommands.h"
#include "link/Link.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/tabs/IoWidgets.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
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

constexpr int kFirstOptionBox = 3;

struct OptionBox {
    const char *caption;
    bool checked;
};

// Positions 3..15 of the option string. The initial string is not derived
// from these states (position 13 starts "E" with its box unchecked).
constexpr OptionBox kOptionBoxes[] = {
    {"Answer SMS for Setou and Rstou SMS command  enable (default enable) ", true},
    {"GPRS or FTP error SMS Message enable (default disable)", false},
    {"Store Outputs State after Restart enable (default enable)", true},
    {"Auto Restart if (GPRS Error) enable (default disable)", false},
    {"Digital Input Inversion enable (default disable)", false},
    {"GPRS attach error SMS Message enable (default enable)", false},
    {"IO Status in Alarm SMS enable (default disable)", false},
    {"Date/Time in Alarm SMS enable (default enable)", true},
    {"Year in data-logger file enable (default enable)", true},
    {"Repeat alarm SMS if error (default enable)", false},
    {"Interrupt after RING enable (default enable)", false},
    {"Restart in 23.30 enable (default disable)", false},
    {"Data Logger Line to RS232 enable (default enable)", true},
};

constexpr const char *kSyncSources[] = {"FTP",        "RTC",   "NITZ-RTC",       "NITZ-GM862",
                                        "GM862",      "RTC-NITZ-GM862", "RTC-GM862"};

QString decimal(int position) { return QString::number(position); }

} // namespace

OtherTab::OtherTab(TabHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("OtherTab"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(buildOptions(), 3);
    auto *right = new QVBoxLayout;
    right->addWidget(buildFilters());
    right->addWidget(buildDateTimeSource());
    right->addStretch();
    layout->addLayout(right, 2);
}

QWidget *OtherTab::buildOptions() {
    auto *panel = new QWidget(this);
    auto *v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    auto *marks = new QGridLayout;
    marks->setVerticalSpacing(1);
    MinusMark = edit(QStringLiteral("MinusMark"), QStringLiteral("M"), 1, panel);
    PlusMark = edit(QStringLiteral("PlusMark"), QStringLiteral("P"), 1, panel);
    MinusMark->setFixedWidth(24);
    PlusMark->setFixedWidth(24);
    marks->addWidget(MinusMark, 0, 0);
    marks->addWidget(new QLabel(QStringLiteral("Minus Mark - for out of limits (default M)"), panel), 0, 1);
    marks->addWidget(PlusMark, 1, 0);
    marks->addWidget(new QLabel(QStringLiteral("Plus Mark - for out of limits (default P)"), panel), 1, 1);
    v->addLayout(marks);
    connect(MinusMark, &QLineEdit::textChanged, this,
            [this](const QString &text) { markChanged(1, text); });
    connect(PlusMark, &QLineEdit::textChanged, this,
            [this](const QString &text) { markChanged(2, text); });

    for (int k = 0; k < int(std::size(kOptionBoxes)); ++k) {
        const int position = kFirstOptionBox + k;
        auto *box = new QCheckBox(latin(kOptionBoxes[k].caption), panel);
        box->setObjectName(named("oCheckBox", position));
        box->setChecked(kOptionBoxes[k].checked);
        connect(box, &QCheckBox::toggled, this,
                [this, position](bool checked) { setOption(position, cmd::optionFlag(checked)); });
        optionBoxes_[k] = box;
        v->addWidget(box);
    }

    auto *row = new QHBoxLayout;
    auto *get = button(QStringLiteral("GetOther"), QStringLiteral("GET"), panel);
    auto *set = button(QStringLiteral("SetOther"), QStringLiteral("SET"), panel);
    connect(get, &QPushButton::clicked, this, &OtherTab::GetOtherClick);
    connect(set, &QPushButton::clicked, this, &OtherTab::SetOtherClick);
    StringStr1 = readOnlyBox(QStringLiteral("StringStr1"), latin(cmd::kInitialOptions), panel, 150);
    StringStr1->setMaxLength(cmd::kOptionLength);
    row->addWidget(get);
    row->addWidget(set);
    row->addWidget(StringStr1);
    row->addStretch();
    v->addSpacing(4);
    v->addLayout(row);
    v->addStretch();
    return panel;
}

QWidget *OtherTab::buildFilters() {
    auto *group = new QGroupBox(QStringLiteral("Timeout Filter"), this);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(3, 1, 3, 1);
    grid->setVerticalSpacing(1);
    TTimeout1SB = scrollBar(QStringLiteral("TTimeout1SB"), 0, 99, group);
    ATimeout1SB = scrollBar(QStringLiteral("ATimeout1SB"), 0, 99, group);
    DFilterSB = scrollBar(QStringLiteral("DFilterSB"), 0, 9, group);
    TTimeout1 = readOnlyBox(QStringLiteral("TTimeout1"), QStringLiteral("0"), group, 28);
    ATimeout1 = readOnlyBox(QStringLiteral("ATimeout1"), QStringLiteral("0"), group, 28);
    DFilter = readOnlyBox(QStringLiteral("DFilter"), QStringLiteral("0"), group, 28);
    mirror(TTimeout1SB, TTimeout1, decimal);
    mirror(ATimeout1SB, ATimeout1, decimal);
    mirror(DFilterSB, DFilter, decimal);
    addBarRow(grid, 0, QStringLiteral("Temp. Timeout Filter "), QStringLiteral("0"), TTimeout1SB,
              QStringLiteral("99"), TTimeout1);
    addBarRow(grid, 1, QStringLiteral("Analog Timeout Filter "), QStringLiteral("0"), ATimeout1SB,
              QStringLiteral("99"), ATimeout1);
    addBarRow(grid, 2, QStringLiteral("Digital Input Signal Filter"), QStringLiteral("0"), DFilterSB,
              QStringLiteral("9"), DFilter);
    auto *set = button(QStringLiteral("SetTimeoutFilter"), QStringLiteral("Set Timeout Filter"), group);
    connect(set, &QPushButton::clicked, this, &OtherTab::SetTimeoutFilterClick);
    grid->addWidget(set, 3, 0, 1, 5);
    return group;
}

QWidget *OtherTab::buildDateTimeSource() {
    auto *panel = new QWidget(this);
    auto *v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    QStringList items;
    for (const char *item : kSyncSources)
        items << latin(item);
    RadioGroup2 = new RadioGroup(QStringLiteral("RadioGroup2"),
                                 QStringLiteral("Date/Time syncronization source"), items, 2, panel);
    RadioGroup2->setItemIndex(2);
    v->addWidget(RadioGroup2);
    auto *send = button(QStringLiteral("Button1"), QStringLiteral("Date/Time source"), panel);
    connect(send, &QPushButton::clicked, this, &OtherTab::Button1Click);
    v->addWidget(send);
    return panel;
}

QCheckBox *OtherTab::optionBox(int position) const {
    const int k = position - kFirstOptionBox;
    return k >= 0 && k < int(optionBoxes_.size()) ? optionBoxes_[k] : nullptr;
}

void OtherTab::setOption(int position, char c) {
    StringStr1->setText(text::fromAnsi(cmd::withOption(textOf(StringStr1), position, c)));
}

void OtherTab::markChanged(int position, const QString &text) {
    if (!text.isEmpty())
        setOption(position, text::toAnsi(text.left(1)).at(0));
}

void OtherTab::GetOtherClick() {
    host_.link().sendCommand(cmd::kReadOptionsLine, link::CommandStyle::echoing(link::Echo::Alone));
}

void OtherTab::SetOtherClick() {
    const QByteArray options = cmd::paddedOptions(textOf(StringStr1));
    host_.link().Clear();
    StringStr1->setText(text::fromAnsi(options));
    host_.work().OtherParametersWork = options;
    host_.link().sendCommand(cmd::optionsLine(options),
                             link::CommandStyle::echoing(link::Echo::Alone).withoutClear());
}

void OtherTab::SetTimeoutFilterClick() {
    host_.link().sendCommand(
        cmd::timeoutFilterLine(TTimeout1SB->value(), ATimeout1SB->value(), DFilterSB->value()));
}

void OtherTab::Button1Click() {
    host_.link().sendCommand(cmd::dateTimeSourceLine(RadioGroup2->itemIndex()),
                             link::CommandStyle().withoutClear());
}

void OtherTab::load(const settings::FilterSettings &filters) {
    DFilterSB->setValue(filters.digital);
    TTimeout1SB->setValue(filters.temperature);
    ATimeout1SB->setValue(filters.analog);
}

void OtherTab::save(settings::FilterSettings &filters) const {
    filters = {TTimeout1SB->value(), ATimeout1SB->value(), DFilterSB->value()};
}

} // namespace zx::ui
