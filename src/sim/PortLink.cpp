#include "sim/PortLink.h"

#include "serial/PortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zx::sim {
namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool isStaleSimulatorLink(const QFileInfo &entry) {
    return entry.isSymLink() && entry.symLinkTarget().startsWith(QStringLiteral("/dev/pts/")) &&
           !QFileInfo::exists(entry.symLinkTarget());
}

} // namespace

bool PortLink::create(int comN, const QString &target, bool force) {
    remove();
    if (comN < 1 || comN > 16) {
        m_error = QStringLiteral("COM port number %1 is not in 1..16").arg(comN);
        return false;
    }
    const QString directory = serial::portMapDirectory();
    if (!QDir().mkpath(directory)) {
        m_error = QStringLiteral("cannot create %1").arg(directory);
        return false;
    }
    const QString path = QStringLiteral("%1/com%2").arg(directory).arg(comN);
    const QFileInfo existing(path);
    // QFileInfo::exists() follows links; a dangling link still counts here.
    if (existing.isSymLink() || existing.exists()) {
        if (!existing.isSymLink()) {
            m_error = QStringLiteral("%1 exists and is not a symbolic link; not replaced").arg(path);
            return false;
        }
        if (!force && !isStaleSimulatorLink(existing)) {
            m_error = QStringLiteral("%1 already points at %2; not replaced (use --force)")
                          .arg(path, existing.symLinkTarget());
            return false;
        }
    }
    m_path = path;
    if (!place(target)) {
        m_path.clear();
        return false;
    }
    return true;
}

bool PortLink::retarget(const QString &target) {
    return !m_path.isEmpty() && place(target);
}

// A temporary link renamed over the old one, so the entry never vanishes.
bool PortLink::place(const QString &target) {
    const QByteArray temporary = QFile::encodeName(
        QStringLiteral("%1.sim-%2").arg(m_path).arg(::getpid()));
    ::unlink(temporary.constData());
    if (::symlink(QFile::encodeName(target).constData(), temporary.constData()) != 0) {
        m_error = QStringLiteral("symlink %1: %2").arg(m_path, systemError());
        return false;
    }
    if (::rename(temporary.constData(), QFile::encodeName(m_path).constData()) != 0) {
        m_error = QStringLiteral("rename to %1: %2").arg(m_path, systemError());
        ::unlink(temporary.constData());
        return false;
    }
    m_target = target;
    return true;
}

void PortLink::withdraw() {
    if (m_path.isEmpty())
        return;
    const QFileInfo entry(m_path);
    if (entry.isSymLink() && entry.symLinkTarget() == m_target)
        QFile::remove(m_path);
}

void PortLink::remove() {
    withdraw();
    m_path.clear();
    m_target.clear();
}

} // namespace zx::sim
