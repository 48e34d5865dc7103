#include "ui/module/RunResultDialog.h"

#include "ui/module/RunStatus.h"
#include "ui/MessageBoxes.h"
#include "ui/widgets/FileChooser.h"
#include "ui/widgets/ToneColours.h"
#include "ui/widgets/Placement.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>


namespace zx::ui {

namespace {

using provision::Status;

// A multi-line answer in one cell, its line ends shown.
QString oneLine(QString text) {
    return text.replace(QLatin1Char('\r'), QStringLiteral("<CR>"))
        .replace(QLatin1Char('\n'), QStringLiteral("<LF>"));
}

QString seconds(const provision::Report &r) {
    return QString::number(double(r.started.msecsTo(r.ended)) / 1000.0, 'f', 1);
}

} // namespace

QString runSummary(const provision::Report &r, const QString &what) {
    const int total = int(r.results.size());
    const int answered = r.count(Status::Answered);
    QStringList lines;
    if (total == 0)
        lines << QStringLiteral("%1: nothing to send.").arg(what);
    else if (answered == total)
        lines << QStringLiteral("%1: all %2 commands were answered in %3 s.")
                     .arg(what)
                     .arg(total)
                     .arg(seconds(r));
    else {
        QStringList missing;
        if (const int n = r.count(Status::Refused))
            missing << QStringLiteral("%1 were refused").arg(n);
        if (const int n = r.count(Status::NotRecognised))
            missing << QStringLiteral("%1 had an answer that was not theirs").arg(n);
        if (const int n = r.count(Status::NoAnswer))
            missing << QStringLiteral("%1 had no answer").arg(n);
        if (const int n = r.count(Status::NotSent) + r.count(Status::PortError) +
                          r.count(Status::Cancelled))
            missing << QStringLiteral("%1 were not sent").arg(n);
        lines << QStringLiteral("%1: %2 of %3 commands were answered in %4 s; %5.")
                     .arg(what)
                     .arg(answered)
                     .arg(total)
                     .arg(seconds(r), missing.join(QStringLiteral(" and ")));
    }
    if (!r.portError.isEmpty())
        lines << QStringLiteral("The run %1. Check the cable and the port on \"Serial Port\", "
                                "then run it again.")
                     .arg(r.stopText());
    else if (r.stoppedSilent)
        lines << QStringLiteral("The run %1.").arg(r.stopText());
    else if (r.cancelled && answered < total)
        lines << QStringLiteral("It was %1; the commands after it were not sent.")
                     .arg(r.stopText());
    if (r.count(Status::Refused) > 0)
        lines << QStringLiteral("The module refused some values: they are not held by the module. "
                                "Check them in the window and write them again.");
    if (r.count(Status::NoAnswer) > 0 && !r.stoppedSilent)
        lines << QStringLiteral("The commands without an answer may not have reached the module. "
                                "Check that it is powered, in setting mode and on this port, "
                                "then run it again.");
    for (const QString &skipped : r.skipped)
        lines << QStringLiteral("Not sent, the module cannot take it: ") + skipped;
    return lines.join(QLatin1Char('\n'));
}

RunResultDialog::RunResultDialog(const provision::Report &report, const QString &what,
                                 QWidget *parent)
    : QDialog(parent), report_(report) {
    setObjectName(QStringLiteral("RunResult"));
    setWindowTitle(what);
    setAttribute(Qt::WA_DeleteOnClose);
    resizeWithinScreen(this, QSize(780, 460));

    summary_ = new QLabel(runSummary(report, what), this);
    summary_->setObjectName(QStringLiteral("RunResultSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!report.ok() || report.cancelled)
        summary_->setStyleSheet(QStringLiteral("font-weight: bold"));

    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("RunResultTable"));
    table_->setToolTip(QStringLiteral("Every command of the run with the module's answer; the "
                                      "time is from the end of sending to the answer's last byte"));
    fillTable();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *save = buttons->addButton(QStringLiteral("&Save report…"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("SaveReport"));
    // Enter closes the view; saving needs a click or Alt+S.
    save->setAutoDefault(false);
    QPushButton *close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("RunResultClose"));
    close->setDefault(true);
    save->setToolTip(QStringLiteral("Write this run's report as JSON, or as CSV for a name "
                                    "ending in .csv; passwords never appear in it"));
    connect(save, &QPushButton::clicked, this, &RunResultDialog::chooseReportFile);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
}

void RunResultDialog::addNote(const QString &note) {
    if (!note.isEmpty())
        summary_->setText(summary_->text() + QLatin1Char('\n') + note);
}

void RunResultDialog::fillTable() {
    const QStringList headers{QStringLiteral("#"), QStringLiteral("Command"),
                              QStringLiteral("Answer"), QStringLiteral("ms"),
                              QStringLiteral("Status")};
    table_->setColumnCount(int(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(int(report_.results.size()));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    const QPalette shownOn = table_->palette();
    for (int row = 0; row < report_.results.size(); ++row) {
        const provision::CommandResult &r = report_.results.at(row);
        const ToneColours tone = toneColours(statusTone(r.status), shownOn);
        const QString cells[] = {
            QString::number(row + 1), provision::shownLine(r.command),
            oneLine(provision::shownAnswer(r)),
            r.endMs < 0 ? QString() : QString::number(r.endMs), provision::statusName(r.status)};
        for (int column = 0; column < int(std::size(cells)); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setBackground(tone.background);
            item->setForeground(tone.text);
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    // The first command that did not go through is where the eye goes.
    for (int row = 0; row < report_.results.size(); ++row)
        if (report_.results.at(row).status != Status::Answered) {
            table_->scrollToItem(table_->item(row, 0), QAbstractItemView::PositionAtCenter);
            table_->selectRow(row);
            break;
        }
}

QString RunResultDialog::saveReport(const QString &path) const {
    const QByteArray bytes = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)
                                 ? report_.toCsv()
                                 : QJsonDocument(report_.toJson()).toJson();
    return writeWholeFile(path, bytes);
}

void RunResultDialog::chooseReportFile() {
    const FileChoice choice{
        "SaveReportDialog", QStringLiteral("Save report"), QFileDialog::AcceptSave,
        QStringLiteral("JSON report (*.json);;CSV report (*.csv);;All files (*)"),
        QStringLiteral("json"),
        suggestedFileName(QStringLiteral("zentorix-report"), moduleNumber_,
                          report_.started.toLocalTime(), QStringLiteral("yyyyMMdd-HHmmss")) +
            QStringLiteral(".json")};
    chooseFile(this, choice, [this](const QString &path) {
        if (const QString why = saveReport(path); !why.isEmpty())
            showBox(this, BoxKind::Error, QStringLiteral("Save report"),
                    QStringLiteral("The report could not be written to %1: %2. Choose another "
                                   "folder or free some space, then save again.")
                        .arg(path, why));
    });
}

} // namespace zx::ui
