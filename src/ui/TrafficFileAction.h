#pragma once
// "Option" -> "Log traffic to file": while ticked, every entry the traffic
// log keeps is appended to the file of its day in the traffic log folder
// (see TrafficFile). Unticked at every start. The status bar says which file
// is written; a file that cannot be opened or written unticks the item and
// the status bar says why and what to do.
#include "traffic/TrafficLog.h"

#include <QAction>

#include <memory>

class QMainWindow;

namespace zx::traffic {
class TrafficFile;
}

namespace zx::ui {

class TrafficFileAction : public QAction {
    Q_OBJECT
public:
    // The item never touches the log on its way out, so the two may go in
    // either order; once the item is gone the log's observer writes nothing.
    TrafficFileAction(traffic::TrafficLog &log, QMainWindow *window);
    ~TrafficFileAction() override;

private:
    void setLogging(bool on);
    void failed();

    traffic::TrafficLog &log_;
    QMainWindow *window_;
    // Shared with the log's observer, which may outlive this item.
    std::shared_ptr<traffic::TrafficFile> file_;
};

} // namespace zx::ui
