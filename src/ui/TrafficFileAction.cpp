#include "ui/TrafficFileAction.h"

#include "traffic/TrafficFile.h"

#include <QDateTime>
#include <QDir>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>

namespace zx::ui {

TrafficFileAction::TrafficFileAction(traffic::TrafficLog &log, QMainWindow *window)
    : QAction(QStringLiteral("Log traffic to file"), window), log_(log), window_(window),
      file_(std::make_shared<traffic::TrafficFile>()) {
    setObjectName(QStringLiteral("TrafficFile1"));
    setCheckable(true);
    setChecked(false);
    setToolTip(QStringLiteral("Append the traffic log, passwords masked, to traffic-YYYYMMDD.log "
                              "(one file a day) in %1")
                   .arg(QDir::toNativeSeparators(file_->directory())));
    connect(this, &QAction::toggled, this, &TrafficFileAction::setLogging);
}

TrafficFileAction::~TrafficFileAction() {
    // The log may be gone already; the observer finds the file stopped.
    file_->stop();
}

void TrafficFileAction::setLogging(bool on) {
    if (!on) {
        log_.setObserver({});
        const bool wasActive = file_->active();
        file_->stop();
        if (wasActive)
            window_->statusBar()->showMessage(
                QStringLiteral("Traffic no longer logged to a file; %1 holds the log so far.")
                    .arg(QDir::toNativeSeparators(file_->path())));
        return;
    }
    if (!file_->start(QDateTime::currentMSecsSinceEpoch())) {
        failed();
        return;
    }
    // The observer runs inside TrafficLog::record(): it only writes, and
    // leaves unticking (which clears the observer) to the event loop.
    log_.setObserver(
        [file = file_, self = QPointer<TrafficFileAction>(this)](const traffic::Entry &entry) {
            if (file->active() && !file->append(entry) && self)
                QMetaObject::invokeMethod(self.data(), &TrafficFileAction::failed,
                                          Qt::QueuedConnection);
        });
    window_->statusBar()->showMessage(
        QStringLiteral("Logging traffic to %1").arg(QDir::toNativeSeparators(file_->path())));
}

void TrafficFileAction::failed() {
    setChecked(false);
    window_->statusBar()->showMessage(file_->errorText());
}

} // namespace zx::ui
