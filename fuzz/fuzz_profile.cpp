// Profiles: a record from anywhere must come back whole from its profile,
// and a profile from anywhere must be refused or applied as it says.
//
// The first byte chooses: odd, the rest is a record (padded with zeros to
// 4096 bytes); even, the rest is a profile's text, imported over a base
// record (all zero, or all 0xA5 when bit 1 is set).
#include "FuzzDoubles.h"
#include "profile/Profile.h"
#include "profile/ProfileDiff.h"

#include <algorithm>
#include <cstdlib>

namespace {

using zx::profile::diffRecords;
using zx::profile::exportProfileText;
using zx::profile::importProfileText;
using zx::settings::ConfigRecord;

ConfigRecord filledRecord(quint8 value) {
    ConfigRecord::Bytes bytes;
    bytes.fill(value);
    ConfigRecord record;
    record.setBytes(bytes);
    return record;
}

// Its profile, imported over a different base, gives the record back.
void checkRoundTrip(const ConfigRecord &record) {
    const auto back = importProfileText(exportProfileText(record), filledRecord(0x3C));
    if (!back.ok() || !(back.record == record))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t mode = input.byte();
    if (mode & 1) {
        const QByteArray image = input.bytes(ConfigRecord::kSize);
        ConfigRecord::Bytes bytes{};
        std::copy(image.begin(), image.end(), bytes.begin());
        ConfigRecord record;
        record.setBytes(bytes);
        checkRoundTrip(record);
        return 0;
    }

    const ConfigRecord base = mode & 2 ? filledRecord(0xA5) : ConfigRecord();
    const auto imported = importProfileText(input.rest(), base);
    if (!imported.ok()) {
        // Refused: nothing changed, and the reason is one line.
        if (!(imported.record == base) || imported.error.contains(QLatin1Char('\n')))
            std::abort();
        return 0;
    }
    // Applied: it changed only entries it named, and exports consistently.
    for (const auto &change : diffRecords(base, imported.record)) {
        if (!zx::profile::namesEntry(imported.named, change.entry))
            std::abort();
    }
    checkRoundTrip(imported.record);
    return 0;
}
