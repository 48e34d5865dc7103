#include "ui/tabs/NumbersGroup.h"

#include "commands/messaging/NumberAnswer.h"
#include "commands/messaging/NumberCommands.h"
#include "link/Link.h"
#include "text/Ansi.h"
#include "ui/TabHost.h"
#include "ui/widgets/RadioGroup.h"
#include "ui/widgets/TypingLimit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zx::ui {
namespace {

namespace msg = commands::messaging;

constexpr char kNumberHint[] = "Set Number with 1 or 2; other number set from cell phone";

QString str(const char *s) {
    return QString::fromLatin1(s);
}

QPushButton *button(const char *name, const char *caption, QWidget *parent) {
    auto *b = new QPushButton(str(caption), parent);
    b->setObjectName(str(name));
    return b;
}

QStringList oneToSeven() {
    QStringList items;
    for (int i = 1; i <= msg::kNumberCount; ++i)
        items << QString::number(i);
    return items;
}

} // namespace

NumbersGroup::NumbersGroup(TabHost &host, QWidget *parent)
    : QGroupBox(QStringLiteral("Numbers"), parent), host_(host) {
    setObjectName(QStringLiteral("Numbers"));
    // One grid: the alarm numbers with their selector on the left, the
    // phone-book numbers with theirs on the right, the buttons below each.
    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(2);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setVerticalSpacing(1);
    const auto heading = [this](const char *title, const char *note) {
        auto *label = new QLabel(str(title) + QLatin1Char('\n') + str(note), this);
        label->setWordWrap(true);
        return label;
    };
    grid->addWidget(heading("Numbers for alarm SMS", "(Numbers in EEPROM)"), 0, 1);
    grid->addWidget(heading("Numbers to SIM Phone Book", "(administration numbers)"), 0, 3);
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("+4917012345"));
    for (int i = 0; i < msg::kNumberCount; ++i) {
        grid->addWidget(new QLabel(QStringLiteral("Nr%1").arg(i + 1), this), i + 1, 0);
        NNumber[std::size_t(i)] = numberBox("NNumber", i + 1, boxWidth);
        PBnr[std::size_t(i)] = numberBox("PBnr", i + 1, boxWidth);
        grid->addWidget(NNumber[std::size_t(i)], i + 1, 1);
        grid->addWidget(PBnr[std::size_t(i)], i + 1, 3);
    }
    RadioGroupNR = new RadioGroup(QStringLiteral("RadioGroupNR"), QStringLiteral("Number"),
                                  oneToSeven(), 1, this);
    RadioGroupPB = new RadioGroup(QStringLiteral("RadioGroupPB"), QStringLiteral("Number"),
                                  oneToSeven(), 1, this);
    RadioGroupNR->setItemIndex(0);
    RadioGroupPB->setItemIndex(0);
    // Each radio button on the row of the box it selects: the buttons are
    // as high as the boxes and as far apart as the grid's rows, and the
    // group ends where the last box ends, its title above the first row.
    const int rowHeight = NNumber[0]->sizeHint().height();
    for (RadioGroup *group : {RadioGroupNR, RadioGroupPB}) {
        auto *buttons = static_cast<QGridLayout *>(group->layout());
        buttons->setVerticalSpacing(grid->verticalSpacing());
        const QMargins m = buttons->contentsMargins();
        buttons->setContentsMargins(m.left(), m.top(), m.right(), 0);
        for (int i = 0; i < group->count(); ++i)
            group->button(i)->setFixedHeight(rowHeight);
    }
    grid->addWidget(RadioGroupNR, 0, 2, msg::kNumberCount + 1, 1, Qt::AlignBottom);
    grid->addWidget(RadioGroupPB, 0, 4, msg::kNumberCount + 1, 1, Qt::AlignBottom);

    GetNr = button("GetNr", "GETNR", this);
    SetNr = button("SetNr", "SETNR", this);
    ClrNr = button("ClrNr", "CLRNR", this);
    GetNr->setToolTip(str(kNumberHint));
    SetNr->setToolTip(str(kNumberHint));
    ToPhoneBook = button("ToPhoneBook", "Number To SIM", this);
    ReadPB = button("ReadPB", "Read Phone Book", this);
    auto *alarmButtons = new QGridLayout;
    alarmButtons->addWidget(GetNr, 0, 0);
    alarmButtons->addWidget(SetNr, 0, 1);
    alarmButtons->addWidget(ClrNr, 1, 0);
    auto *bookButtons = new QVBoxLayout;
    bookButtons->addWidget(ToPhoneBook);
    bookButtons->addWidget(ReadPB);
    grid->addLayout(alarmButtons, msg::kNumberCount + 1, 1, 1, 2);
    grid->addLayout(bookButtons, msg::kNumberCount + 1, 3, 1, 2);
    grid->setRowStretch(msg::kNumberCount + 2, 1);

    connect(GetNr, &QPushButton::clicked, this, &NumbersGroup::GetNrClick);
    connect(SetNr, &QPushButton::clicked, this, &NumbersGroup::SetNrClick);
    connect(ClrNr, &QPushButton::clicked, this, &NumbersGroup::ClrNrClick);
    connect(ReadPB, &QPushButton::clicked, this, &NumbersGroup::ReadPBClick);
    connect(ToPhoneBook, &QPushButton::clicked, this, &NumbersGroup::ToPhoneBookClick);
}

QLineEdit *NumbersGroup::numberBox(const char *stem, int number, int width) {
    const QString name = str(stem) + QString::number(number);
    auto *box = new QLineEdit(name, this);
    box->setObjectName(name);
    limitTyping(box, msg::kNumberBoxLimit);
    box->setMinimumWidth(width);
    return box;
}

bool NumbersGroup::listPollOutstanding() const {
    return host_.link().flags().ListPolling;
}

void NumbersGroup::GetNrClick() {
    readOrClearNumber(msg::getAlarmNumberLine);
}

void NumbersGroup::ClrNrClick() {
    readOrClearNumber(msg::clearAlarmNumberLine);
}

void NumbersGroup::sendChecked(const QByteArray &line, link::Echo echo) {
    host_.link().sendCommand(line, link::CommandStyle::echoing(echo).withoutClear());
}

// Echoed before it is sent; held back while a list poll is outstanding.
void NumbersGroup::readOrClearNumber(QByteArray (*lineOf)(int number)) {
    host_.link().Clear();
    const int selected = RadioGroupNR->itemIndex();
    if (listPollOutstanding() || selected < 0)
        return;
    sendChecked(lineOf(selected + 1), link::Echo::BeforeSend);
}

void NumbersGroup::SetNrClick() {
    const int selected = RadioGroupNR->itemIndex();
    host_.link().Clear();
    if (selected < 0)
        return;
    const auto line =
        msg::setAlarmNumberLine(selected + 1, text::toAnsi(NNumber[std::size_t(selected)]->text()));
    if (line)
        sendChecked(*line);
}

void NumbersGroup::ReadPBClick() {
    host_.link().sendCommand(msg::kReadPhoneBookLine, link::CommandStyle::echoing(link::Echo::AfterSend, msg::kReadPhoneBookEcho));
}

void NumbersGroup::ToPhoneBookClick() {
    link::Link &link = host_.link();
    link.Clear();
    link.setSavedSkipState(link.view().skipCrLf());
    if (listPollOutstanding())
        return;
    const int selected = RadioGroupPB->itemIndex();
    if (selected < 0)
        return;
    QLineEdit *box = PBnr[std::size_t(selected)];
    const QByteArray number = msg::phoneBookNumberToSend(text::toAnsi(box->text()));
    if (number != text::toAnsi(box->text()))
        box->setText(text::fromAnsi(number));
    sendChecked(msg::setPhoneBookLine(selected + 1, number));
}

void NumbersGroup::showAnswer(const QByteArray &answer) {
    const msg::NumberAnswerFill fill = msg::parseNumberAnswer(answer);
    for (int i = 0; i < msg::kNumberCount; ++i) {
        if (fill.alarmNumbers[std::size_t(i)])
            NNumber[std::size_t(i)]->setText(text::fromAnsi(*fill.alarmNumbers[std::size_t(i)]));
        if (fill.phoneBook[std::size_t(i)])
            PBnr[std::size_t(i)]->setText(text::fromAnsi(*fill.phoneBook[std::size_t(i)]));
    }
}

void NumbersGroup::load(const settings::NumberSettings &numbers) {
    for (std::size_t i = 0; i < NNumber.size(); ++i) {
        NNumber[i]->setText(text::fromAnsi(numbers.alarmNumbers[i]));
        PBnr[i]->setText(text::fromAnsi(numbers.phoneBookNumbers[i]));
    }
}

void NumbersGroup::save(settings::NumberSettings &numbers) const {
    for (std::size_t i = 0; i < NNumber.size(); ++i) {
        numbers.alarmNumbers[i] = text::toAnsi(NNumber[i]->text());
        numbers.phoneBookNumbers[i] = text::toAnsi(PBnr[i]->text());
    }
}

QList<QWidget *> NumbersGroup::paleBoxes() const {
    QList<QWidget *> list(NNumber.begin(), NNumber.end());
    list.append(QList<QWidget *>(PBnr.begin(), PBnr.end()));
    return list;
}

QList<QWidget *> NumbersGroup::readingOrder() const {
    QList<QWidget *> order;
    const auto column = [&order](const std::array<QLineEdit *, 7> &boxes, const RadioGroup *group,
                                 const QList<QWidget *> &buttons) {
        for (QLineEdit *box : boxes)
            order << box;
        for (int i = 0; i < group->count(); ++i)
            order << group->button(i);
        order << buttons;
    };
    column(NNumber, RadioGroupNR, {GetNr, SetNr, ClrNr});
    column(PBnr, RadioGroupPB, {ToPhoneBook, ReadPB});
    return order;
}

} // namespace zx::ui
