#include "settings/ConfigFile.h"
#include "settings/Descriptor.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <fcntl.h>

namespace zx::settings {

FileResult ReadCFGFile(const QString &path, ConfigRecord &record) {
    const QByteArray name = QFile::encodeName(path);
    Descriptor file(::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (!file.valid())
        return {FileStatus::AccessError, errno};

    ConfigRecord::Bytes image{};
    std::size_t done = 0;
    while (done < image.size()) {
        const ssize_t n = ::read(file.fd(), image.data() + done, image.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {FileStatus::IoError, errno};
        if (n == 0)
            return {FileStatus::ReadBeyondEnd, 0};
        done += static_cast<std::size_t>(n);
    }
    record.setBytes(image);
    return {};
}

FileResult SaveCFGFile(const QString &path, const ConfigRecord &record, WriteCall write) {
    const auto &bytes = record.bytes();
    return writePrivateFile(
        path, QByteArrayView(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())),
        write);
}

} // namespace zx::settings
