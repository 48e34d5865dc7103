// The modem's answer to AT+CMGL, as one received chunk.
#include "link/ListReply.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray raw(reinterpret_cast<const char *>(data), qsizetype(size));
    const zx::link::ListedMessage m = zx::link::parseListReply(raw);
    if (m.index.size() > 3 || m.pduLine.size() > 254)
        std::abort();
    for (char c : m.index)
        if (c < '0' || c > '9')
            std::abort();
    return 0;
}
