#include "ui/tabs/AnalogTab.h"

#include "commands/io/AnalogCommands.h"
#include "commands/io/Digits.h"
#include "commands/io/FilterCommands.h"
#include "link/Link.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/tabs/IoWidgets.h"
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

QString twoDigits(int position) { return text::fromAnsi(cmd::twoDigits(position)); }

// Input 1 keeps the lower-case "lv" of its level boxes.
QString levelBoxName(const char *kind, int input) {
    return QStringLiteral("%1%2%3").arg(latin(kind), latin(input == 1 ? "lv" : "Lv")).arg(input);
}

} // namespace

AnalogTab::AnalogTab(TabHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("AnalogTab"));
    // Levels, filter and values on the left, the input modes on the right:
    // all of it shows at once at the window's size.
    QWidget *content = this;
    auto *layout = new QHBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);

    auto *left = new QVBoxLayout;
    auto *levels = new QWidget(content);
    auto *levelGrid = new QGridLayout(levels);
    levelGrid->setContentsMargins(0, 0, 0, 0);
    levelGrid->setHorizontalSpacing(2);
    levelGrid->addWidget(buildLevels(1, levels), 0, 0);
    levelGrid->addWidget(buildLevels(5, levels), 0, 1);
    levelGrid->setColumnStretch(0, 1);
    levelGrid->setColumnStretch(1, 1);
    // The cover panel lies over inputs 5..8 in the same cell.
    auto *cover = new QFrame(levels);
    cover->setObjectName(QStringLiteral("Panel1"));
    cover->setFrameShape(QFrame::Panel);
    cover->setFrameShadow(QFrame::Raised);
    cover->setAutoFillBackground(true);
    levelGrid->addWidget(cover, 0, 1);
    cover->raise();
    Panel1 = cover;
    left->addWidget(levels);
    left->addWidget(buildFilter());
    left->addWidget(buildValues());
    left->addStretch();
    layout->addLayout(left, 1);
    layout->addWidget(buildModes(), 0, Qt::AlignTop);
}

QWidget *AnalogTab::buildLevels(int firstInput, QWidget *parent) {
    auto *column = new QWidget(parent);
    auto *v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);
    for (int n = firstInput; n < firstInput + 4; ++n) {
        const int i = n - 1;
        auto *group = new QGroupBox(QStringLiteral("ANALOG INPUT %1").arg(n), column);
        auto *grid = new QGridLayout(group);
        grid->setContentsMargins(2, 1, 2, 1);
        grid->setVerticalSpacing(1);
        grid->setHorizontalSpacing(2);
        ScrollBarMin[i] = scrollBar(named("ScrollBarMin", n), 0, 99, group);
        ScrollBarMax[i] = scrollBar(named("ScrollBarMax", n), 0, 99, group);
        // Two columns of inputs beside the modes leave a little less room.
        ScrollBarMin[i]->setMinimumWidth(60);
        ScrollBarMax[i]->setMinimumWidth(60);
        MinLv[i] = readOnlyBox(levelBoxName("Min", n), QStringLiteral("0"), group, 24);
        MaxLv[i] = readOnlyBox(levelBoxName("Max", n), QStringLiteral("0"), group, 24);
        MinLv[i]->setMaxLength(2);
        MaxLv[i]->setMaxLength(2);
        mirror(ScrollBarMin[i], MinLv[i], twoDigits);
        mirror(ScrollBarMax[i], MaxLv[i], twoDigits);
        addBarRow(grid, 0, QStringLiteral("Minimum level "), QStringLiteral("0%"), ScrollBarMin[i],
                  QStringLiteral("99%"), MinLv[i]);
        addBarRow(grid, 1, QStringLiteral("Maximum level "), QStringLiteral("0%"), ScrollBarMax[i],
                  QStringLiteral("99%"), MaxLv[i]);
        LevelCmd[i] = button(QStringLiteral("Level%1Cmd").arg(n), QStringLiteral("WR"), group);
        LevelCmd[i]->setFixedWidth(30);
        connect(LevelCmd[i], &QPushButton::clicked, this, [this, n] { LevelCmdClick(n); });
        grid->addWidget(LevelCmd[i], 0, 5, 2, 1);
        v->addWidget(group);
    }
    return column;
}

QWidget *AnalogTab::buildModes() {
    auto *panel = new QGroupBox(QStringLiteral("Select Analog Input Mode"), this);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(3, 1, 3, 1);
    grid->setSpacing(2);
    const QStringList items{QStringLiteral("0-5V"), QStringLiteral("0-10V"),
                            QStringLiteral("4-20mA"), QStringLiteral("0-20mA")};
    for (int n = 1; n <= 8; ++n) {
        AMode[n - 1] = new RadioGroup(named("AMode", n), QStringLiteral("Analog %1").arg(n), items,
                                      4, panel);
        AMode[n - 1]->setItemIndex(0);
        // Four choices in one tight row, so that the eight groups fit the
        // tab's height.
        auto *choices = static_cast<QGridLayout *>(AMode[n - 1]->layout());
        choices->setContentsMargins(4, 0, 4, 2);
        choices->setHorizontalSpacing(2);
        grid->addWidget(AMode[n - 1], n - 1, 0);
    }
    auto *digits = new QGridLayout;
    digits->setVerticalSpacing(1);
    digits->addWidget(new QLabel(QStringLiteral("Multiplier 1...5"), panel), 0, 0);
    AkoeffStr = edit(QStringLiteral("AkoeffStr"), QStringLiteral("11111111"), 8, panel);
    digits->addWidget(AkoeffStr, 0, 1);
    digits->addWidget(new QLabel(QStringLiteral("Divider  1..9,0"), panel), 1, 0);
    ADividerStr = edit(QStringLiteral("ADividerStr"), QStringLiteral("11111111"), 8, panel);
    digits->addWidget(ADividerStr, 1, 1);
    // Eight digits each: the boxes need no more room than that.
    const int digitsWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12;
    AkoeffStr->setFixedWidth(digitsWidth);
    ADividerStr->setFixedWidth(digitsWidth);
    auto *write = button(QStringLiteral("WriteAMode1"), QStringLiteral("WR"), panel);
    write->setFixedWidth(32);
    connect(write, &QPushButton::clicked, this, &AnalogTab::WriteAMode1Click);
    digits->addWidget(write, 0, 2, 2, 1);
    digits->setColumnStretch(3, 1);
    grid->addLayout(digits, 8, 0);
    return panel;
}

QWidget *AnalogTab::buildValues() {
    auto *panel = new QGroupBox(this);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(3, 1, 3, 1);
    grid->setSpacing(2);
    for (int n = 1; n <= 8; ++n) {
        const int i = n - 1;
        const int row = i / 4;
        const int col = (i % 4) * 3;
        VAL[i] = edit(named("VAL", n), QStringLiteral("%"), 3, panel);
        VAL[i]->setFixedWidth(36);
        SetVal[i] = button(named("SetVal", n), QStringLiteral("WR"), panel);
        SetVal[i]->setFixedWidth(32);
        connect(SetVal[i], &QPushButton::clicked, this, [this, n] { SetValClick(n); });
        auto *label = new QLabel(QString::number(n), panel);
        label->setFixedWidth(10);
        grid->addWidget(label, row, col);
        grid->addWidget(VAL[i], row, col + 1);
        grid->addWidget(SetVal[i], row, col + 2);
    }
    return panel;
}

QWidget *AnalogTab::buildFilter() {
    auto *group = new QGroupBox(QStringLiteral("Analog Timeout Filter "), this);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(3, 1, 3, 1);
    ATimeout1SBa = scrollBar(QStringLiteral("ATimeout1SBa"), 0, 99, group);
    ATimeout1a = readOnlyBox(QStringLiteral("ATimeout1a"), QStringLiteral("0"), group, 28);
    mirror(ATimeout1SBa, ATimeout1a, twoDigits);
    addBarRow(grid, 0, QString(), QStringLiteral("0"), ATimeout1SBa, QStringLiteral("99"), ATimeout1a);
    auto *set = button(QStringLiteral("SetTimeoutAnalogFilter"), QStringLiteral("Set Timeout Filter"), group);
    connect(set, &QPushButton::clicked, this, &AnalogTab::SetTimeoutAnalogFilterClick);
    grid->addWidget(set, 0, 5);
    return group;
}

void AnalogTab::refreshLevelBoxes() {
    for (int i = 0; i < cmd::kAnalogCount; ++i) {
        MaxLv[i]->setText(twoDigits(ScrollBarMax[i]->value()));
        MinLv[i]->setText(twoDigits(ScrollBarMin[i]->value()));
    }
}

// The level fields are built from the bar positions with the boxes' own
// two-digit rule, so a box that still shows its first "0" cannot put a
// one-digit field on the line.
void AnalogTab::LevelCmdClick(int input) {
    const int i = input - 1;
    host_.link().sendCommand(
        cmd::analogLevelLine(input, ScrollBarMin[i]->value(), ScrollBarMax[i]->value()));
}

void AnalogTab::WriteAMode1Click() {
    std::array<int, cmd::kAnalogCount> modes{};
    for (int i = 0; i < cmd::kAnalogCount; ++i)
        modes[i] = AMode[i]->itemIndex();
    // This one echoes before it sends.
    host_.link().sendCommand(cmd::analogModeLine(modes, textOf(AkoeffStr), textOf(ADividerStr)),
                             link::CommandStyle::echoing(link::Echo::BeforeSend));
}

void AnalogTab::SetValClick(int input) {
    host_.link().sendCommand(cmd::valueTextLine(input, textOf(VAL[input - 1])));
}

void AnalogTab::SetTimeoutAnalogFilterClick() {
    host_.link().sendCommand(cmd::analogFilterLine(textOf(ATimeout1a)));
}

void AnalogTab::load(const settings::AnalogSettings &analog) {
    for (int i = 0; i < cmd::kAnalogCount; ++i)
        AMode[i]->setItemIndex(analog.modes[std::size_t(i)]);
    AkoeffStr->setText(text::fromAnsi(analog.coefficients));
    ADividerStr->setText(text::fromAnsi(analog.dividers));
    for (int i = 0; i < cmd::kAnalogCount; ++i) {
        ScrollBarMin[i]->setValue(analog.minimum[std::size_t(i)]);
        ScrollBarMax[i]->setValue(analog.maximum[std::size_t(i)]);
    }
    refreshLevelBoxes();
}

void AnalogTab::save(settings::AnalogSettings &analog) const {
    for (int i = 0; i < cmd::kAnalogCount; ++i) {
        analog.modes[std::size_t(i)] = AMode[i]->itemIndex();
        analog.minimum[std::size_t(i)] = ScrollBarMin[i]->value();
        analog.maximum[std::size_t(i)] = ScrollBarMax[i]->value();
    }
    analog.coefficients = textOf(AkoeffStr);
    analog.dividers = textOf(ADividerStr);
}

void AnalogTab::applyVariant(bool variantOn) {
    constexpr int kFirstInputTheVariantLacks = 5;
    Panel1->setVisible(variantOn);
    for (int i = kFirstInputTheVariantLacks - 1; i < cmd::kAnalogCount; ++i)
        AMode[i]->setEnabled(!variantOn);
    for (int i = kFirstInputTheVariantLacks - 1; i < cmd::kAnalogCount; ++i) {
        VAL[i]->setEnabled(!variantOn);
        SetVal[i]->setEnabled(!variantOn);
    }
}

QList<QWidget *> AnalogTab::paleBoxes() const {
    QList<QWidget *> list{AkoeffStr, ADividerStr};
    for (int i = 0; i < cmd::kAnalogCount; ++i)
        list << VAL[i] << MinLv[i] << MaxLv[i];
    return list;
}

} // namespace zx::ui
