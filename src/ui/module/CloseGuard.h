#pragma once
// A run in progress is not cut off by closing the window (its title bar,
// Exit, Ctrl+Q): the user is asked "Stop after the command on the line, or
// keep running?". Stopping cancels the run cleanly; the window closes when
// the run's result, which it opens, is closed. An SMS job is not cut off
// either: closing keeps it for the next window.
#include <QObject>

class QMainWindow;

namespace zx::ui {

class ModuleMenu;

class CloseGuard : public QObject {
    Q_OBJECT
public:
    CloseGuard(QMainWindow &window, ModuleMenu &menu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ask();
    // An SMS job stops and stays in the register when the window closes.
    void askAboutSmsJob();
    void stopAndClose();
    void closeAfterResult();

    QMainWindow &window_;
    ModuleMenu &menu_;
    bool closing_ = false; // stopping was chosen; the window goes after the run
};

} // namespace zx::ui
