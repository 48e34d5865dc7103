#include "ui/register/ModulesDialog.h"

#include "profile/Profile.h"
#include "register/KnownRecord.h"
#include "register/Location.h"
#include "ui/widgets/Placement.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zx::ui {
namespace {

QString shown(const QDateTime &time) {
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QString();
}

QTableWidget *makeTable(const char *name, const QStringList &headers, QWidget *parent) {
    auto *table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void fillRow(QTableWidget *table, int row, const QStringList &cells) {
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
}

void fitColumns(QTableWidget *table) {
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
}

} // namespace

ModulesDialog::ModulesDialog(ModulesDialogWindow window, QWidget *parent)
    : QDialog(parent), window_(std::move(window)) {
    setObjectName(QStringLiteral("ModulesDialog"));
    setWindowTitle(QStringLiteral("Modules"));
    auto *layout = new QVBoxLayout(this);
    where_ = new QLabel(this);
    where_->setObjectName(QStringLiteral("ModulesRegister"));
    where_->setWordWrap(true);
    where_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("ModulesFilter"));
    filter_->setPlaceholderText(QStringLiteral("Filter: number, name, site, firmware or tag"));
    filter_->setClearButtonEnabled(true);
    auto *filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(filter_);
    modulesTable_ = makeTable("ModulesTable",
                              {QStringLiteral("Number"), QStringLiteral("Name"),
                               QStringLiteral("Site"), QStringLiteral("Firmware"),
                               QStringLiteral("Last contact"), QStringLiteral("Last run"),
                               QStringLiteral("Tags")},
                              this);
    modulesTable_->setSortingEnabled(true);
    history_ = makeTable("ModuleHistory",
                         {QStringLiteral("Run"), QStringLiteral("Started"), QStringLiteral("Kind"),
                          QStringLiteral("Port"), QStringLiteral("Operator"),
                          QStringLiteral("Answered"), QStringLiteral("Outcome")},
                         this);
    commands_ = makeTable("RunCommands",
                          {QStringLiteral("Command"), QStringLiteral("Answer"),
                           QStringLiteral("ms"), QStringLiteral("Status")},
                          this);
    compare_ = new QPlainTextEdit(this);
    compare_->setObjectName(QStringLiteral("CompareWithNowText"));
    compare_->setReadOnly(true);
    compare_->setPlaceholderText(QStringLiteral("Choose a run, then \"Compare with now\"."));

    auto *runs = new QSplitter(Qt::Horizontal, this);
    runs->addWidget(history_);
    runs->addWidget(commands_);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(modulesTable_);
    split->addWidget(runs);
    split->addWidget(compare_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 3);
    split->setStretchFactor(2, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    compareButton_ = buttons->addButton(QStringLiteral("Compare with &now"),
                                        QDialogButtonBox::ActionRole);
    compareButton_->setObjectName(QStringLiteral("CompareWithNow"));
    compareButton_->setToolTip(QStringLiteral("What the module was known to hold when the chosen "
                                              "run ended, against what it is known to hold now"));
    openButton_ = buttons->addButton(QStringLiteral("&Open in window"), QDialogButtonBox::ActionRole);
    openButton_->setObjectName(QStringLiteral("OpenInWindow"));
    openButton_->setToolTip(QStringLiteral("Load what the module is known to hold into the "
                                           "controls, as \"Open profile…\" does; the rest stays"));
    auto *reloadButton = buttons->addButton(QStringLiteral("&Reload"), QDialogButtonBox::ResetRole);
    reloadButton->setObjectName(QStringLiteral("ModulesReload"));
    // Enter means "Close", as in the run's views: the other buttons need a
    // click or their key.
    for (QPushButton *b : {compareButton_, openButton_, reloadButton})
        b->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);

    layout->addWidget(where_);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_, 1);
    layout->addLayout(filterRow);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);

    connect(filter_, &QLineEdit::textChanged, this, &ModulesDialog::applyFilter);
    connect(modulesTable_, &QTableWidget::itemSelectionChanged, this, &ModulesDialog::moduleChosen);
    connect(history_, &QTableWidget::itemSelectionChanged, this, &ModulesDialog::runChosen);
    connect(compareButton_, &QPushButton::clicked, this, &ModulesDialog::compareWithNow);
    connect(openButton_, &QPushButton::clicked, this, &ModulesDialog::openInWindow);
    connect(reloadButton, &QPushButton::clicked, this, &ModulesDialog::reload);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resizeWithinScreen(this, QSize(960, 680));
    reload();
}

ModulesDialog::~ModulesDialog() = default;

void ModulesDialog::reload() {
    QString error;
    register_.reset();
    register_ = reg::Register::openConfigured(&error);
    if (!register_)
        where_->setText(QStringLiteral("The module register cannot be opened: %1\nCorrect the "
                                       "setting in ~/.config/zentorix/register (or "
                                       "ZENTORIX_REGISTER), then \"Reload\".")
                            .arg(error));
    else
        where_->setText(QStringLiteral("Module register: %1").arg(register_->location().shown()));
    modules_ = register_ ? register_->modules() : QList<reg::ModuleInfo>{};
    fillModules();
}

void ModulesDialog::fillModules() {
    modulesTable_->setSortingEnabled(false);
    modulesTable_->clearContents();
    modulesTable_->setRowCount(int(modules_.size()));
    for (int row = 0; row < modules_.size(); ++row) {
        const reg::ModuleInfo &m = modules_.at(row);
        fillRow(modulesTable_, row,
                {m.number, m.name, m.site, m.firmware, shown(m.lastContact), m.lastOutcome,
                 m.tags.join(QStringLiteral(", "))});
    }
    modulesTable_->setSortingEnabled(true);
    fitColumns(modulesTable_);
    applyFilter();
    moduleChosen();
}

void ModulesDialog::applyFilter() {
    const QString wanted = filter_->text().trimmed();
    for (int row = 0; row < modulesTable_->rowCount(); ++row) {
        bool match = wanted.isEmpty();
        for (int column = 0; !match && column < modulesTable_->columnCount(); ++column)
            if (const QTableWidgetItem *item = modulesTable_->item(row, column))
                match = item->text().contains(wanted, Qt::CaseInsensitive);
        modulesTable_->setRowHidden(row, !match);
    }
}

QString ModulesDialog::chosenModule() const {
    const QList<QTableWidgetItem *> chosen = modulesTable_->selectedItems();
    if (chosen.isEmpty() || modulesTable_->isRowHidden(chosen.first()->row()))
        return {};
    return modulesTable_->item(chosen.first()->row(), 0)->text();
}

const reg::RunInfo *ModulesDialog::chosenRun() const {
    const QList<QTableWidgetItem *> chosen = history_->selectedItems();
    if (chosen.isEmpty())
        return nullptr;
    const qint64 id = history_->item(chosen.first()->row(), 0)->text().toLongLong();
    const auto found = std::find_if(runs_.begin(), runs_.end(),
                                    [id](const reg::RunInfo &run) { return run.id == id; });
    return found == runs_.end() ? nullptr : &*found;
}

void ModulesDialog::moduleChosen() {
    const QString module = chosenModule();
    runs_ = register_ && !module.isEmpty() ? register_->runs(module) : QList<reg::RunInfo>{};
    history_->clearContents();
    history_->setRowCount(int(runs_.size()));
    // The newest run first.
    for (int row = 0; row < runs_.size(); ++row) {
        const reg::RunInfo &run = runs_.at(runs_.size() - 1 - row);
        fillRow(history_, row,
                {QString::number(run.id), shown(run.started), run.kind, run.port,
                 run.operatorName, QStringLiteral("%1 of %2").arg(run.answered).arg(run.plan.size()),
                 run.outcome});
    }
    fitColumns(history_);
    openButton_->setEnabled(!module.isEmpty());
    compare_->clear();
    runChosen();
}

void ModulesDialog::runChosen() {
    const reg::RunInfo *run = chosenRun();
    const QList<reg::CommandRow> rows = run ? register_->commands(run->id) : QList<reg::CommandRow>{};
    commands_->clearContents();
    // What the run planned but never sent stays visible as "not sent".
    const int planned = run ? int(std::max<qsizetype>(run->plan.size(), rows.size())) : 0;
    commands_->setRowCount(planned);
    for (int row = 0; row < planned; ++row) {
        if (row < rows.size()) {
            const reg::CommandRow &c = rows.at(row);
            fillRow(commands_, row,
                    {c.line, c.answer, c.endMs >= 0 ? QString::number(c.endMs) : QString(),
                     c.status});
        } else {
            fillRow(commands_, row, {run->plan.at(row), QString(), QString(), QStringLiteral("not sent")});
        }
    }
    fitColumns(commands_);
    compareButton_->setEnabled(run != nullptr);
}

void ModulesDialog::compareWithNow() {
    const reg::RunInfo *run = chosenRun();
    if (!run)
        return;
    const QList<reg::Confirmation> all = register_->confirmations(chosenModule());
    const QDateTime at = run->ended.isValid() ? run->ended : QDateTime::currentDateTimeUtc();
    const QList<reg::KnownChange> changes =
        reg::knownChanges(reg::knownAfterRun(all, *run), reg::knownRecord(all));
    QStringList lines;
    for (const reg::KnownChange &change : changes)
        lines << change.text();
    if (lines.isEmpty())
        lines << QStringLiteral("No known value changed since run %1 ended (%2).")
                     .arg(run->id)
                     .arg(shown(at));
    else
        lines.prepend(QStringLiteral("Since run %1 ended (%2), then -> now:").arg(run->id).arg(shown(at)));
    compare_->setPlainText(lines.join(QLatin1Char('\n')));
}

void ModulesDialog::openInWindow() {
    const QString module = chosenModule();
    if (module.isEmpty() || !register_)
        return;
    if (window_.running && window_.running()) {
        compare_->setPlainText(QStringLiteral("A run is going on: nothing was put into the window. "
                                              "\"Open in window\" again once it has ended."));
        return;
    }
    const reg::KnownRecord known = reg::knownRecord(register_->confirmations(module));
    if (known.isEmpty()) {
        compare_->setPlainText(QStringLiteral("No value of module %1 is known yet: nothing was "
                                              "put into the window. Write to it or read it first.")
                                   .arg(module));
        return;
    }
    const QByteArray text =
        QJsonDocument(reg::partialProfile(known.record, known.orderedEntries())).toJson();
    const profile::ImportResult opened = profile::importProfileText(text, window_.currentRecord());
    if (!opened.ok()) {
        compare_->setPlainText(QStringLiteral("What the register knows of %1 cannot go into the "
                                              "window: %2. Nothing was changed.")
                                   .arg(module, opened.error));
        return;
    }
    window_.openRecord(opened.record);
    compare_->setPlainText(QStringLiteral("%1 known values of module %2 are in the window; the "
                                          "rest and the port are unchanged. \"Save Setting\" "
                                          "stores them.")
                               .arg(known.confirmed.size())
                               .arg(module));
}

} // namespace zx::ui
