#include "ui/module/SmsJobsView.h"

#include "files/UserFolders.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zx::ui {
namespace {

const QString kPriceKey = QStringLiteral("sms/pricePerSms");

QSettings preferences() {
    return QSettings(files::toolFolder("XDG_CONFIG_HOME", ".config") +
                         QStringLiteral("/window.ini"),
                     QSettings::IniFormat);
}

} // namespace

double SmsJobsView::pricePerSms() {
    return preferences().value(kPriceKey, 0.0).toDouble();
}

SmsJobsView::SmsJobsView(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SmsJobsView"));
    setWindowTitle(QStringLiteral("SMS jobs"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("SmsJobsTree"));
    tree_->setHeaderLabels({QStringLiteral("Module"), QStringLiteral("Sent"),
                            QStringLiteral("Answered"), QStringLiteral("Refused"),
                            QStringLiteral("Given up"), QStringLiteral("Of"),
                            QStringLiteral("In flight")});
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(tree_);
    auto *form = new QFormLayout;
    price_ = new QDoubleSpinBox(this);
    price_->setObjectName(QStringLiteral("SmsPrice"));
    price_->setRange(0, 1000);
    price_->setDecimals(2);
    price_->setSingleStep(0.01);
    price_->setSpecialValueText(QStringLiteral("not known"));
    price_->setValue(pricePerSms());
    price_->setToolTip(QStringLiteral("What one SMS costs: the question before a job is sent shows "
                                      "the job's cost"));
    connect(price_, &QDoubleSpinBox::valueChanged, this,
            [](double value) { preferences().setValue(kPriceKey, value); });
    form->addRow(QStringLiteral("Price per SMS:"), price_);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    cancel_ = buttons->addButton(QStringLiteral("&Cancel job…"), QDialogButtonBox::ActionRole);
    cancel_->setObjectName(QStringLiteral("CancelSmsJob"));
    cancel_->setEnabled(false);
    connect(cancel_, &QPushButton::clicked, this, &SmsJobsView::cancelRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    layout->addWidget(buttons);
    resize(820, 280); // the command in flight and its time stay whole
}

void SmsJobsView::showJob(const remote::SmsJob &job, const QString &note) {
    for (qsizetype i = 0; i < jobs_.size(); ++i)
        if (jobs_.at(i).id == job.id) {
            jobs_[i] = job;
            notes_[i] = note;
            rebuild();
            return;
        }
    jobs_.prepend(job);
    notes_.prepend(note);
    rebuild();
}

void SmsJobsView::update(const remote::SmsCommand &command) {
    for (remote::SmsJob &job : jobs_)
        for (remote::SmsCommand &kept : job.commands)
            if (kept.id == command.id) {
                kept = command;
                rebuild();
                return;
            }
}

void SmsJobsView::setNote(qint64 job, const QString &note) {
    for (qsizetype i = 0; i < jobs_.size(); ++i)
        if (jobs_.at(i).id == job)
            notes_[i] = note;
    rebuild();
}

void SmsJobsView::setRunning(qint64 job) {
    running_ = job;
    cancel_->setEnabled(job != 0);
}

void SmsJobsView::rebuild() {
    tree_->clear();
    for (qsizetype i = 0; i < jobs_.size(); ++i) {
        const remote::SmsJob &job = jobs_.at(i);
        auto *item = new QTreeWidgetItem(tree_);
        item->setText(0, QStringLiteral("Job %1: %2, %3").arg(job.id).arg(job.kind, notes_.at(i)));
        item->setFirstColumnSpanned(true);
        for (const QString &module : job.modules()) {
            int sent = 0, answered = 0, refused = 0, givenUp = 0;
            QString inFlight;
            const QList<const remote::SmsCommand *> commands = job.commandsOf(module);
            for (const remote::SmsCommand *command : commands) {
                sent += command->attempts > 0;
                answered += command->state == remote::SmsState::Answered;
                refused += command->state == remote::SmsState::Refused;
                givenUp += command->state == remote::SmsState::GivenUp;
                if (command->state == remote::SmsState::Handed && command->handedAt.isValid())
                    inFlight =
                        QStringLiteral("%1: waiting since %2")
                            .arg(command->shownLine, command->handedAt.toLocalTime().toString(
                                                         QStringLiteral("hh:mm:ss")));
            }
            auto *row = new QTreeWidgetItem(item);
            row->setText(0, module);
            row->setText(1, QString::number(sent));
            row->setText(2, QString::number(answered));
            row->setText(3, QString::number(refused));
            row->setText(4, QString::number(givenUp));
            row->setText(5, QString::number(commands.size()));
            row->setText(6, inFlight);
        }
        item->setExpanded(true);
    }
}

} // namespace zx::ui
