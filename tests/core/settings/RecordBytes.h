#pragma once
// Byte views of a settings record shared by the record tests.
#include "settings/ConfigRecord.h"

#include <QByteArray>

namespace zx::settings::testing {

inline QByteArray slice(const ConfigRecord::Bytes &bytes, int offset, int size) {
    return QByteArray(reinterpret_cast<const char *>(bytes.data()) + offset, size);
}

// The first byte outside [offset, offset + size) that differs, or -1.
inline int firstChangeOutside(const ConfigRecord::Bytes &before, const ConfigRecord::Bytes &after,
                              int offset, int size) {
    for (int i = 0; i < ConfigRecord::kSize; ++i) {
        if ((i < offset || i >= offset + size) && before[i] != after[i])
            return i;
    }
    return -1;
}

} // namespace zx::settings::testing
