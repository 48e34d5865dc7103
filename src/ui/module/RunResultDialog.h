#pragma once
// After a run: what happened in words at the top, one row per command (the
// line, the answer, the time, the status, coloured by status) and "Save
// report…" as JSON or CSV.
#include "provision/Report.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace zx::ui {

// "Writing settings: all 193 commands were answered in 17.6 s." and, for a
// run that did not go through, what stopped it and what to do next.
QString runSummary(const provision::Report &report, const QString &what);

class RunResultDialog : public QDialog {
    Q_OBJECT
public:
    RunResultDialog(const provision::Report &report, const QString &what, QWidget *parent);

    // The number the report's suggested file name carries.
    void setModuleNumber(const QString &number) { moduleNumber_ = number; }
    // A line under the summary: what the run was measured against.
    void addNote(const QString &note);
    // JSON, or CSV for a name ending in ".csv"; empty, or why it failed.
    QString saveReport(const QString &path) const;

private:
    void fillTable();
    void chooseReportFile();

    provision::Report report_;
    QString moduleNumber_;
    QLabel *summary_ = nullptr;
    QTableWidget *table_ = nullptr;
};

} // namespace zx::ui
