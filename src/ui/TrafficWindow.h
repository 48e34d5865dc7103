#pragma once
// "Option" -> "Traffic log": the traffic log shown live, as text with the
// control characters visible or as hexadecimal, with a pause and "Save log…"
// that writes what the view shows. Non-modal; it reads the log on a short
// timer and appends only what is new. It opens at the start of the newest
// line and says "No traffic yet" while the log is empty.
#include "traffic/TrafficFormat.h"
#include "traffic/TrafficLog.h"

#include <QDialog>

class QCheckBox;
class QFileDialog;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace zx::ui {

class TrafficWindow : public QDialog {
    Q_OBJECT
public:
    // The view keeps this many lines, the newest.
    static constexpr int kMaxLines = 20000;

    TrafficWindow(traffic::TrafficLog &log, QWidget *parent = nullptr);

    // Appends what the log got since the last refresh (nothing while paused).
    void refresh();
    // Writes the view's text; false with the reason in errorText() on failure.
    bool saveTo(const QString &path);
    QString errorText() const { return error_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void rebuild();
    void showNewestLine();
    void chooseFile();
    traffic::View view() const;

    traffic::TrafficLog &log_;
    quint64 shownUpTo_ = 1; // serial of the first entry not yet shown
    QString error_;
    QPlainTextEdit *view_ = nullptr;
    QCheckBox *hex_ = nullptr;
    QCheckBox *pause_ = nullptr;
    QPushButton *save_ = nullptr;
    QTimer *timer_ = nullptr;
    QFileDialog *dialog_ = nullptr;
    bool following_ = true; // the view is at its newest line and stays there
};

} // namespace zx::ui
