// Profile import and plan building: whatever a profile or a record holds,
// every line a plan builds is one line the module's command table takes.
// A value it would not take is left out of the plan, with a one-line reason.
//
// The first byte chooses: odd, the rest is a record (padded with zeros to
// 4096 bytes); even, the rest is a profile's text, imported over the record
// a first start creates, and planned whole, by its names and as a diff.
#include "FuzzDoubles.h"
#include "profile/Profile.h"
#include "provision/Plan.h"
#include "settings/FirstRunRecord.h"
#include "validate/CommandTable.h"

#include <algorithm>
#include <cstdlib>

namespace {

using zx::provision::Plan;
using zx::settings::ConfigRecord;

bool printableAscii(const QByteArray &bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

void check(const Plan &plan) {
    for (const auto &step : plan.steps) {
        // The keyword and its fixed fields are ASCII; only a text's own
        // characters may be Windows-1252 letters, and the table says which.
        if (!printableAscii(step.line.left(5)) || !zx::validate::checkCommandLine(step.line).isEmpty())
            std::abort();
        if (step.entries.isEmpty())
            std::abort();
    }
    for (const QString &why : plan.skipped)
        if (why.contains(QLatin1Char('\n')) || why.contains(QLatin1Char('\r')))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const ConfigRecord firstRun = zx::settings::firstRunRecord();
    FuzzInput input(data, size);
    const uint8_t mode = input.byte();
    if (mode & 1) {
        const QByteArray image = input.bytes(ConfigRecord::kSize);
        ConfigRecord::Bytes bytes{};
        std::copy(image.begin(), image.end(), bytes.begin());
        ConfigRecord record;
        record.setBytes(bytes);
        check(zx::provision::writePlan(record));
        check(zx::provision::diffPlan(firstRun, record));
        return 0;
    }
    const auto imported = zx::profile::importProfileText(input.rest(), firstRun);
    if (!imported.ok())
        return 0;
    check(zx::provision::writePlan(imported.record));
    check(zx::provision::namedPlan(imported.record, imported.named));
    check(zx::provision::diffPlan(firstRun, imported.record));
    return 0;
}
