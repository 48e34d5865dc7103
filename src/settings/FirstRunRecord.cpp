#include "settings/FirstRunRecord.h"

namespace zx::settings {

ConfigRecord firstRunRecord() {
    ConfigRecord record;
    record.setDeleteIncomingSms(true);
    return record;
}

} // namespace zx::settings
