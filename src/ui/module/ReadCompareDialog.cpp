#include "ui/module/ReadCompareDialog.h"

#include "provision/ReadPlan.h"
#include "text/Ansi.h"
#include "ui/module/FieldCaptions.h"
#include "ui/module/RunResultDialog.h"
#include "ui/widgets/ToneColours.h"
#include "ui/widgets/Placement.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zx::ui {
namespace {

enum Column { kTakeColumn, kFieldColumn, kWindowColumn, kModuleColumn, kColumnCount };

bool isPassword(const QString &entry) {
    return entry == QLatin1String("GprsPassword") || entry == QLatin1String("FtpPassword");
}

QString shownValue(const settings::ConfigRecord &record, const QString &entry) {
    QByteArray value = provision::readableValue(record, entry).value_or(QByteArray());
    while (value.endsWith(' '))
        value.chop(1);
    if (value.isEmpty())
        return QStringLiteral("(empty)");
    return isPassword(entry) ? QStringLiteral("(password)") : text::fromAnsi(value);
}

} // namespace

Comparison compareWithModule(const settings::ConfigRecord &window,
                             const settings::ConfigRecord &module, const QStringList &answered) {
    Comparison c{window, module, answered, {}, {}};
    for (const provision::Mismatch &m :
         provision::compareReadBack(window, module, answered, &c.unverifiable))
        c.differing << m.field;
    return c;
}

ReadCompareDialog::ReadCompareDialog(Comparison comparison, const provision::Report &report,
                                     QWidget *parent)
    : QDialog(parent), comparison_(std::move(comparison)) {
    setObjectName(QStringLiteral("ReadCompare"));
    setWindowTitle(QStringLiteral("Module and window"));
    setAttribute(Qt::WA_DeleteOnClose);
    resizeWithinScreen(this, QSize(720, 480));

    const int fields = int(comparison_.answered.size());
    const int differing = int(comparison_.differing.size());
    QStringList words;
    if (fields == 0)
        words << QStringLiteral("The module answered no read command, so there is nothing to "
                                "compare.");
    else if (differing == 0)
        words << QStringLiteral("The module holds the window's values in all %1 fields it was "
                                "asked for.")
                     .arg(fields);
    else
        words << QStringLiteral("%1 of the %2 fields read differ between the window and the "
                                "module; they are marked. Tick the rows whose module value the "
                                "window should take, or close to keep the window's values.")
                     .arg(differing)
                     .arg(fields);
    if (!comparison_.unverifiable.isEmpty())
        words << QStringLiteral("Cannot be read back whole (20-character numbers): %1.")
                     .arg(comparison_.unverifiable.join(QStringLiteral(", ")));
    if (!report.allAnswered())
        words << runSummary(report, QStringLiteral("Reading the module"));
    summary_ = new QLabel(words.join(QLatin1Char('\n')), this);
    summary_->setObjectName(QStringLiteral("ReadCompareSummary"));
    summary_->setWordWrap(true);

    onlyDiffering_ = new QCheckBox(QStringLiteral("Show &only differing rows"), this);
    onlyDiffering_->setObjectName(QStringLiteral("CompareOnlyDiffering"));
    onlyDiffering_->setToolTip(QStringLiteral("Hide the fields where module and window agree"));
    connect(onlyDiffering_, &QCheckBox::toggled, this, &ReadCompareDialog::showOnlyDiffering);

    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("CompareTable"));
    table_->setToolTip(QStringLiteral("Tick the rows whose module value should go into the "
                                      "window; the marked rows differ"));
    fillTable();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *takeTicked =
        buttons->addButton(QStringLiteral("Take &ticked"), QDialogButtonBox::ActionRole);
    takeTicked->setObjectName(QStringLiteral("TakeTicked"));
    takeTicked->setToolTip(QStringLiteral("Put the module's values of the ticked rows into the "
                                          "window's controls; \"Save Setting\" stores them"));
    auto *takeAll = buttons->addButton(QStringLiteral("Take &all"), QDialogButtonBox::ActionRole);
    takeAll->setObjectName(QStringLiteral("TakeAll"));
    takeAll->setToolTip(QStringLiteral("Put every value the module answered into the window's "
                                       "controls; \"Save Setting\" stores them"));
    // Enter closes: taking values overwrites the user's and needs a click,
    // Alt+T or Alt+A.
    for (QPushButton *b : {takeTicked, takeAll})
        b->setAutoDefault(false);
    QPushButton *close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("CompareClose"));
    close->setDefault(true);
    takeTicked->setEnabled(false);
    takeAll->setEnabled(fields > 0);
    connect(table_, &QTableWidget::itemChanged, this,
            [this, takeTicked] { takeTicked->setEnabled(!ticked().isEmpty()); });
    connect(takeTicked, &QPushButton::clicked, this, [this] {
        emit take(ticked());
        accept();
    });
    connect(takeAll, &QPushButton::clicked, this, [this] {
        QStringList all = comparison_.answered;
        all.removeIf([this](const QString &e) { return comparison_.unverifiable.contains(e); });
        emit take(all);
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(onlyDiffering_);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    if (differing > 0)
        table_->setFocus();
}

void ReadCompareDialog::fillTable() {
    table_->setColumnCount(kColumnCount);
    table_->setHorizontalHeaderLabels({QStringLiteral("Take"), QStringLiteral("Field"),
                                       QStringLiteral("Window"), QStringLiteral("Module")});
    table_->setRowCount(int(comparison_.answered.size()));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    const ToneColours marked = toneColours(Tone::Marked, table_->palette());
    for (int row = 0; row < comparison_.answered.size(); ++row) {
        const QString &entry = comparison_.answered.at(row);
        const bool differs = comparison_.differing.contains(entry);
        QString module = shownValue(comparison_.module, entry);
        if (comparison_.unverifiable.contains(entry))
            module = QStringLiteral("(cannot be read back whole)");
        const QString cells[] = {differs ? QStringLiteral("differs") : QString(),
                                 fieldCaption(entry), shownValue(comparison_.window, entry),
                                 module};
        for (int column = 0; column < kColumnCount; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column == kFieldColumn)
                item->setToolTip(entry);
            if (differs) {
                item->setBackground(marked.background);
                item->setForeground(marked.text);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(row, column, item);
        }
        // A value the answer cannot carry whole would come back empty.
        if (comparison_.unverifiable.contains(entry))
            continue;
        QTableWidgetItem *take = table_->item(row, kTakeColumn);
        take->setFlags(take->flags() | Qt::ItemIsUserCheckable);
        take->setCheckState(Qt::Unchecked);
    }
    table_->resizeColumnsToContents();
    // Window and module values side by side, each half of what is left.
    for (const int column : {kWindowColumn, kModuleColumn})
        table_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
}

QStringList ReadCompareDialog::ticked() const {
    QStringList entries;
    for (int row = 0; row < table_->rowCount(); ++row)
        if (table_->item(row, kTakeColumn)->data(Qt::CheckStateRole) == Qt::Checked)
            entries << comparison_.answered.at(row);
    return entries;
}

void ReadCompareDialog::showOnlyDiffering(bool only) {
    for (int row = 0; row < table_->rowCount(); ++row)
        table_->setRowHidden(row, only && !comparison_.differing.contains(comparison_.answered.at(row)));
}

} // namespace zx::ui
