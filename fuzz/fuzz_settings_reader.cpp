// A settings file anyone may have written: read it and every text in it.
#include "settings/ConfigFile.h"
#include "settings/ConfigRecord.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

QString scratchFile() {
    static const QString path =
        QStringLiteral("/tmp/zentorix-fuzz-settings-%1.cfg").arg(::getpid());
    return path;
}

void checkText(const QByteArray &text, int capacity) {
    if (text.size() > capacity)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray path = scratchFile().toLocal8Bit();
    FILE *f = std::fopen(path.constData(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    zx::settings::ConfigRecord record;
    const auto result = zx::settings::ReadCFGFile(scratchFile(), record);
    if (result.ok() != (size >= 4096))
        std::abort();
    using R = zx::settings::ConfigRecord;
    checkText(record.ModuleNumberCopy(), 20);
    checkText(record.ModuleNumber(), 20);
    for (int n = 1; n <= 57; ++n)
        checkText(record.ExternalText(n), 26);
    for (int n = 1; n <= 97; ++n)
        checkText(record.ShortText(n), 15);
    for (int n = 1; n <= 7; ++n) {
        checkText(record.AlarmNumber(n), 20);
        checkText(record.PhoneBookNumber(n), 20);
    }
    for (QByteArray (R::*text)() const :
         {&R::GprsApn, &R::GprsUserId, &R::GprsPassword, &R::GprsServerAddress, &R::FtpHost,
          &R::FtpUser, &R::FtpPassword, &R::FtpDirectory})
        checkText((record.*text)(), 40);
    checkText(record.TempEventMask(), 4);
    checkText(record.AnalogEventMask(), 8);
    checkText(record.DigitalEventMask(), 12);
    checkText(record.OtherParameters(), 16);
    checkText(record.StoredSchedule(), 9);
    checkText(record.AnalogCoefficients(), 8);
    checkText(record.AnalogDividers(), 8);
    ::unlink(path.constData());
    return 0;
}
