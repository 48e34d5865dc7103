#pragma once
// "SMS jobs": the jobs the window runs or that wait in the journal, one row
// per module with its commands sent, answered, refused and given up of all,
// and since when the command in flight waits for its answer; Cancel for the
// job that runs, and the price of one SMS the cost before a job is judged by.
#include "remote/SmsJob.h"

#include <QDialog>
#include <QList>

class QDoubleSpinBox;
class QPushButton;
class QTreeWidget;

namespace zx::ui {

class SmsJobsView : public QDialog {
    Q_OBJECT
public:
    explicit SmsJobsView(QWidget *parent = nullptr);

    // Adds the job or replaces the one with its id; note stands beside it
    // ("running", why it does not go on).
    void showJob(const remote::SmsJob &job, const QString &note);
    void update(const remote::SmsCommand &command);
    void setNote(qint64 job, const QString &note);
    // The job Cancel stops; 0: none.
    void setRunning(qint64 job);
    const QList<remote::SmsJob> &jobs() const { return jobs_; }

    // The price of one SMS as the user gave it, kept between sessions.
    static double pricePerSms();

signals:
    void cancelRequested();

private:
    void rebuild();

    QTreeWidget *tree_ = nullptr;
    QPushButton *cancel_ = nullptr;
    QDoubleSpinBox *price_ = nullptr;
    QList<remote::SmsJob> jobs_;
    QList<QString> notes_;
    qint64 running_ = 0;
};

} // namespace zx::ui
