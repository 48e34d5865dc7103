#pragma once
// The "comN" entry of the tool's port map that points at the simulator.
#include <QString>

namespace zx::sim {

class PortLink {
public:
    PortLink() = default;
    ~PortLink() { remove(); }
    PortLink(const PortLink &) = delete;
    PortLink &operator=(const PortLink &) = delete;

    // Points serial::portMapDirectory()/comN at target. An existing symlink is
    // replaced when force is set or when it is a dangling link into
    // /dev/pts (left by a simulator that did not stop); any other entry
    // (a user's link to a live device, a regular file) is kept and the call
    // fails.
    bool create(int comN, const QString &target, bool force = false);
    // Points the link made by create() at a new target.
    bool retarget(const QString &target);
    // Removes the link if it still points where this object put it, but
    // keeps its place for retarget(): a device that is unplugged loses its
    // stable name the same way, and a link left dangling would lead to
    // whatever terminal gets the old number next.
    void withdraw();
    // Removes the link if it still points where this object put it.
    void remove();

    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

private:
    bool place(const QString &target);

    QString m_path;
    QString m_target;
    QString m_error;
};

} // namespace zx::sim
