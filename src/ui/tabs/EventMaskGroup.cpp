#include "ui/tabs/EventMaskGroup.h"

#include "text/Ansi.h"
#include "link/Link.h"
#include "ui/TabHost.h"
#include "ui/tabs/IoWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zx::ui {

using namespace zx::ui::io;
namespace cmd = zx::commands::io;
using cmd::MaskKind;

namespace {

struct MatrixDef {
    MaskKind kind;
    char letter;
    const char *caption;
    const char *editName;
    const char *rowLabel; // followed by the row number
    int rowDigits;        // how the row is written in the box names
};

constexpr MatrixDef kMatrices[] = {
    {MaskKind::Temperature, 'T', "T,RT", "TNrFilter", "Temperature ", 1},
    {MaskKind::Analog, 'A', "Analog", "ANrFilter", "Analog Input ", 1},
    {MaskKind::Digital, 'D', "Digital", "DNrFilter", "Digital Input ", 2},
};

constexpr const char *kHints[] = {
    "Mask for  Nr.5,6,7  see  Int. and Ext. SMS",
    "Example",
    "F SETOU1 RSTOU2",
    "where F - number filter for SMS message",
    "F - send SMS to  Nr5, Nr6, Nr7 and to internal control",
    "7 - send SMS to  Nr5, Nr6, Nr7",
};

QString rowName(const MatrixDef &def, int row) {
    return QStringLiteral("%1").arg(row, def.rowDigits, 10, QLatin1Char('0'));
}

} // namespace

EventMaskGroup::EventMaskGroup(TabHost &host, QWidget *parent)
    : QGroupBox(QStringLiteral("Number Mask"), parent), host_(host) {
    setObjectName(QStringLiteral("EventMaskGroup"));
    // The 23 rows in two columns, temperature and analog beside digital,
    // so that all of them show at once beside the numbers group.
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    layout->addWidget(buildMatrix(0, this), 0, 0);
    layout->addWidget(buildMatrix(1, this), 1, 0);
    layout->addWidget(buildMatrix(2, this), 0, 1, 2, 1, Qt::AlignTop);
    layout->addWidget(buildHints(this), 2, 0, 1, 2);
    auto *set = button(QStringLiteral("SetNfilter1"), QStringLiteral("Set Numbers  Filter"), this);
    connect(set, &QPushButton::clicked, this, &EventMaskGroup::SetNfilter1Click);
    layout->addWidget(set, 3, 0, 1, 2, Qt::AlignLeft);
    layout->setRowStretch(4, 1);
}

QWidget *EventMaskGroup::buildMatrix(int index, QWidget *parent) {
    const MatrixDef &def = kMatrices[index];
    const int rows = cmd::maskLength(def.kind);
    Matrix &m = matrices_[index];

    auto *group = new QGroupBox(latin(def.caption), parent);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(3, 1, 3, 1);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    // Columns from left to right: numbers 4, 3, 2, 1, then "Disable".
    for (int c = 1; c <= cmd::kNumberColumns; ++c)
        grid->addWidget(new QLabel(QString::number(c), group), 0, 5 - c, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Disable"), group), 0, 5);

    m.numbers.resize(rows);
    m.disable.resize(rows);
    for (int r = 1; r <= rows; ++r) {
        QLabel *label = new QLabel(latin(def.rowLabel) + QString::number(r), group);
        if (def.kind == MaskKind::Temperature && r == 2) {
            label->setText(QStringLiteral("Runtime 1"));
            label->setObjectName(QStringLiteral("RTname1"));
            RTname1 = label;
        } else if (def.kind == MaskKind::Temperature && r == 3) {
            label->setText(QStringLiteral("Runtime 2"));
            label->setObjectName(QStringLiteral("RTname2"));
            RTname2 = label;
        }
        grid->addWidget(label, r, 0);
        for (int c = 1; c <= cmd::kNumberColumns; ++c) {
            auto *box = new QCheckBox(group);
            box->setObjectName(QStringLiteral("CheckBox%1%2%3")
                                   .arg(QLatin1Char(def.letter))
                                   .arg(c)
                                   .arg(rowName(def, r)));
            box->setChecked(true);
            connect(box, &QCheckBox::toggled, this, [this, kind = def.kind, r, c](bool checked) {
                numberBoxToggled(kind, r, c, checked);
            });
            m.numbers[r - 1][c - 1] = box;
            grid->addWidget(box, r, 5 - c, Qt::AlignCenter);
        }
        auto *dis = new QCheckBox(group);
        dis->setObjectName(
            QStringLiteral("CheckBox%1%2dis").arg(QLatin1Char(def.letter)).arg(rowName(def, r)));
        connect(dis, &QCheckBox::toggled, this, [this, kind = def.kind, r](bool checked) {
            disableBoxToggled(kind, r, checked);
        });
        m.disable[r - 1] = dis;
        grid->addWidget(dis, r, 5, Qt::AlignCenter);
    }

    // As wide as its widest text, so that it stays inside the row labels' column.
    const int editWidth = std::max(fontMetrics().horizontalAdvance(QString(rows, QLatin1Char('F'))),
                                   fontMetrics().horizontalAdvance(QString(rows, QLatin1Char('0')))) +
                          8;
    m.edit = readOnlyBox(latin(def.editName), QString(QLatin1Char('F')).repeated(rows), group,
                         editWidth);
    // The mask text heads the row labels.
    grid->addWidget(m.edit, 0, 0);
    if (def.kind == MaskKind::Temperature)
        TNrFilter = m.edit;
    else if (def.kind == MaskKind::Analog)
        ANrFilter = m.edit;
    else
        DNrFilter = m.edit;
    return group;
}

QWidget *EventMaskGroup::buildHints(QWidget *parent) {
    auto *hints = new QWidget(parent);
    auto *v = new QVBoxLayout(hints);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    for (const char *hint : kHints) {
        auto *label = new QLabel(latin(hint), hints);
        label->setWordWrap(true);
        v->addWidget(label);
    }
    return hints;
}

QCheckBox *EventMaskGroup::numberBox(MaskKind kind, int column, int row) const {
    const Matrix &m = matrix(kind);
    if (row < 1 || row > int(m.numbers.size()) || column < 1 || column > cmd::kNumberColumns)
        return nullptr;
    return m.numbers[row - 1][column - 1];
}

QCheckBox *EventMaskGroup::disableBox(MaskKind kind, int row) const {
    const Matrix &m = matrix(kind);
    return row >= 1 && row <= int(m.disable.size()) ? m.disable[row - 1] : nullptr;
}

QLineEdit *EventMaskGroup::maskEdit(MaskKind kind) const { return matrix(kind).edit; }

QByteArray &EventMaskGroup::workingCopy(MaskKind kind) {
    WorkingCopies &w = host_.work();
    QByteArray &copy = kind == MaskKind::Temperature ? w.TempMaskChars
                       : kind == MaskKind::Analog    ? w.AnalogMaskChars
                                                     : w.DigitalMaskChars;
    const int length = cmd::maskLength(kind);
    if (copy.size() < length)
        copy.append(QByteArray(length - copy.size(), '\0'));
    return copy;
}

void EventMaskGroup::numberBoxToggled(MaskKind kind, int row, int column, bool checked) {
    const bool disabled = disableBox(kind, row)->isChecked();
    QByteArray &work = workingCopy(kind);
    QLineEdit *edit = maskEdit(kind);
    const QByteArray updated =
        cmd::applyNumberBox(kind, disabled ? work : textOf(edit), row, column, checked);
    if (disabled)
        work[row - 1] = updated[row - 1];
    else
        edit->setText(text::fromAnsi(updated));
}

void EventMaskGroup::disableBoxToggled(MaskKind kind, int row, bool checked) {
    QByteArray &work = workingCopy(kind);
    QLineEdit *edit = maskEdit(kind);
    const cmd::MaskPair pair = checked ? cmd::disableRow(kind, textOf(edit), work, row)
                                       : cmd::enableRow(kind, textOf(edit), work, row);
    work = pair.work;
    edit->setText(text::fromAnsi(pair.mask));
}

void EventMaskGroup::decodeRow(MaskKind kind, int row, char c) {
    QCheckBox *dis = disableBox(kind, row);
    if (!dis)
        return;
    const cmd::RowState state = cmd::decodeMaskChar(c);
    dis->setChecked(state.disabled);
    for (int column = 1; column <= cmd::kNumberColumns; ++column)
        numberBox(kind, column, row)->setChecked(state.numbers[column - 1]);
}

void EventMaskGroup::decodeMasks(const QByteArray &temperature, const QByteArray &analog,
                                 const QByteArray &digital) {
    const QByteArray *masks[] = {&temperature, &analog, &digital};
    for (const MatrixDef &def : kMatrices) {
        const QByteArray &mask = *masks[int(def.kind)];
        for (int r = 1; r <= cmd::maskLength(def.kind); ++r)
            decodeRow(def.kind, r, r <= mask.size() ? mask[r - 1] : '\0');
    }
}

void EventMaskGroup::SetNfilter1Click() {
    host_.link().sendCommand(
        cmd::numberFilterLine(textOf(TNrFilter), textOf(ANrFilter), textOf(DNrFilter)));
}

void EventMaskGroup::load(const settings::MaskSettings &masks,
                          const settings::WorkingCopies &stored) {
    TNrFilter->setText(text::fromAnsi(masks.temperature));
    ANrFilter->setText(text::fromAnsi(masks.analog));
    DNrFilter->setText(text::fromAnsi(masks.digital));
    WorkingCopies &w = host_.work();
    w.TempMaskChars = stored.TempMaskChars;
    w.AnalogMaskChars = stored.AnalogMaskChars;
    w.DigitalMaskChars = stored.DigitalMaskChars;
    decodeMasks(w.TempMaskChars, w.AnalogMaskChars, w.DigitalMaskChars);
}

QList<QWidget *> EventMaskGroup::paleBoxes() const {
    return {TNrFilter, ANrFilter, DNrFilter};
}

void EventMaskGroup::save(settings::MaskSettings &masks) const {
    masks = {textOf(TNrFilter), textOf(ANrFilter), textOf(DNrFilter)};
}

void EventMaskGroup::applyVariant(bool variantOn) {
    constexpr int kFirstAnalogTheVariantLacks = 5;
    constexpr int kFirstDigitalTheVariantLacks = 8;
    for (int row = kFirstAnalogTheVariantLacks; row <= cmd::maskLength(MaskKind::Analog); ++row)
        disableBox(MaskKind::Analog, row)->setChecked(variantOn);
    for (int row = kFirstDigitalTheVariantLacks; row <= cmd::maskLength(MaskKind::Digital); ++row)
        disableBox(MaskKind::Digital, row)->setChecked(variantOn);
    RTname1->setText(variantOn ? QStringLiteral("Runtime 1") : QStringLiteral("Temperature 2"));
    RTname2->setText(variantOn ? QStringLiteral("Runtime 2") : QStringLiteral("Temperature 3"));
}

QList<QWidget *> EventMaskGroup::readingOrder() const {
    QList<QWidget *> order;
    for (const Matrix &m : matrices_) {
        order << m.edit;
        for (std::size_t row = 0; row < m.numbers.size(); ++row) {
            // Column 1 is the rightmost box.
            for (auto box = m.numbers[row].rbegin(); box != m.numbers[row].rend(); ++box)
                order << *box;
            order << m.disable[row];
        }
    }
    order << findChild<QPushButton *>(QStringLiteral("SetNfilter1"));
    return order;
}

} // namespace zx::ui
