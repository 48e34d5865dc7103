#include "ui/tabs/SmsTextTab.h"

#include "commands/messaging/TextAnswer.h"
#include "link/Link.h"
#include "settings/ConfigRecord.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/widgets/ReadMode.h"
#include "ui/widgets/TypingLimit.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zx::ui {
namespace {

namespace msg = commands::messaging;

// How an internal text reads: a number filter character, then commands.
const char *const kInternalTextNotes[] = {
    "Example", "F SETOU1 RSTOU2", "where F - number filter for SMS message",
    "F - send SMS to  Nr5, Nr6, Nr7 and to internal control", "7 - send SMS to  Nr5, Nr6, Nr7"};

constexpr int kButtonWidth = 30;

} // namespace

SmsTextTab::SmsTextTab(TabHost &host, const TextFamily &family, QWidget *parent)
    : QWidget(parent), host_(host), family_(family) {
    const int tab = family.tab;
    auto *h = new QHBoxLayout(this);
    h->setContentsMargins(kTabMargin, kTabMargin, kTabMargin, kTabMargin);
    h->setSpacing(4);

    readBox = new QCheckBox(QStringLiteral("Read"), this);
    readBox->setObjectName(QString::fromLatin1(family_.readBox));
    QList<QWidget *> notes;
    if (tab == kIntExtSmsTab) {
        for (const char *note : kInternalTextNotes) {
            auto *label = new QLabel(QString::fromLatin1(note), this);
            label->setWordWrap(true);
            notes << label;
        }
    }

    // The names fit side by side; the longer alarm texts are stacked, with
    // one left edge for both grids.
    auto *grids = new QBoxLayout(
        tab == kIoNameTab ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    grids->setContentsMargins(0, 0, 0, 0);
    grids->setSpacing(2);
    for (const TextGrid &grid : textGridsOfTab(tab))
        grids->addWidget(buildGrid(grid, this), 0, Qt::AlignTop | Qt::AlignLeft);
    grids->addStretch();
    h->addLayout(grids, 1);
    h->addWidget(readSide(readBox, notes, this), 0, Qt::AlignTop);

    connect(readBox, &QCheckBox::toggled, this, &SmsTextTab::readBoxClick);
}

QWidget *SmsTextTab::buildGrid(const TextGrid &grid, QWidget *parent) {
    QWidget *frame = grid.title.isEmpty() ? new QWidget(parent) : new QGroupBox(grid.title, parent);
    auto *layout = new QGridLayout(frame);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setHorizontalSpacing(2);
    layout->setVerticalSpacing(1);
    for (int c = 0; c < grid.columnLabels.size(); ++c)
        layout->addWidget(new QLabel(grid.columnLabels[c], frame), 0, 1 + 2 * c, 1, 2,
                          Qt::AlignCenter);
    // Room for a full text of average letters; longer ones scroll in the box.
    const int boxWidth = fontMetrics().averageCharWidth() * family_.boxLimit + 10;
    // Two grids of twelve rows stacked: rows as low as a line of text and
    // its frame, so that both fit the window's design size unscrolled.
    const int rowHeight = fontMetrics().height() + 5;
    for (int r = 0; r < grid.rowLabels.size(); ++r) {
        layout->addWidget(new QLabel(grid.rowLabels[r], frame), r + 1, 0);
        for (int c = 0; c < grid.columnLabels.size(); ++c) {
            const int n = grid.numberAt(r, c);
            auto *box = new QLineEdit(initialText(family_, n), frame);
            box->setObjectName(QString::fromLatin1(family_.boxStem) + QString::number(n));
            limitTyping(box, family_.boxLimit);
            box->setFixedSize(boxWidth, rowHeight);
            auto *button = new QPushButton(QStringLiteral("WR"), frame);
            button->setObjectName(QString::fromLatin1(family_.buttonStem) + QString::number(n));
            button->setFixedSize(kButtonWidth, rowHeight);
            connect(button, &QPushButton::clicked, this, [this, n] { textButtonClick(n); });
            layout->addWidget(box, r + 1, 1 + 2 * c);
            layout->addWidget(button, r + 1, 2 + 2 * c);
            boxes_[n] = box;
            buttons_[n] = button;
        }
    }
    return frame;
}

QLineEdit *SmsTextTab::box(int n) const {
    const auto it = boxes_.find(n);
    return it == boxes_.end() ? nullptr : it->second;
}

QPushButton *SmsTextTab::button(int n) const {
    const auto it = buttons_.find(n);
    return it == buttons_.end() ? nullptr : it->second;
}

void SmsTextTab::textButtonClick(int n) {
    link::Link &link = host_.link();
    const auto noEcho = link::CommandStyle::echoing(link::Echo::None);
    if (readBox->isChecked()) {
        link.sendCommand(msg::textReadLine(family_.table, n), noEcho);
        return;
    }
    const QByteArray text = text::toAnsi(box(n)->text());
    link.sendCommand(msg::textWriteLine(family_.table, n, text), noEcho);
    const QByteArray stored = msg::storedTextOf(family_.table, text);
    if (family_.table == msg::TextTable::External)
        host_.record().setExternalText(n, stored);
    else
        host_.record().setShortText(n, stored);
}

void SmsTextTab::readBoxClick(bool checked) {
    if (family_.readBoxClears)
        host_.link().Clear();
    else
        host_.link().setRawLine(false);
    const QString caption = checked ? QStringLiteral("RD") : QStringLiteral("WR");
    for (const auto &[n, button] : buttons_) {
        button->setText(caption);
        showReadMode(button, checked);
    }
}

} // namespace zx::ui

namespace zx::ui {

void SmsTextTab::load(const settings::TextSettings &texts) {
    for (const auto &[n, box] : boxes_) {
        const QByteArray &text = family_.table == msg::TextTable::External ? texts.externalText(n)
                                                                           : texts.shortText(n);
        box->setText(text::fromAnsi(text));
    }
}

void SmsTextTab::save(settings::TextSettings &texts) const {
    for (const auto &[n, box] : boxes_) {
        QByteArray &text =
            family_.table == msg::TextTable::External ? texts.externalText(n) : texts.shortText(n);
        text = text::toAnsi(box->text());
    }
}

void SmsTextTab::applyVariant(bool variantOn) {
    for (const NumberRange &range : family_.variantRanges)
        for (int n = range.from; n <= range.to; ++n) {
            button(n)->setEnabled(!variantOn);
            box(n)->setEnabled(!variantOn);
        }
}

QList<QWidget *> SmsTextTab::paleBoxes() const {
    QList<QWidget *> list;
    for (const auto &[n, box] : boxes_)
        list << box;
    return list;
}

bool SmsTextTab::showAnswer(const QByteArray &answer) {
    const auto parsed = family_.table == msg::TextTable::External
                            ? msg::parseExternalTextAnswer(answer)
                            : msg::parseShortTextAnswer(answer);
    QLineEdit *target = parsed ? box(parsed->number) : nullptr;
    if (!target)
        return false;
    target->setText(text::fromAnsi(parsed->text));
    return true;
}

} // namespace zx::ui
