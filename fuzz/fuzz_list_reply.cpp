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
    // Every listed message: an index of up to three digits, a PDU line
    // without blanks, and never more messages than headers in the chunk.
    const QList<zx::link::ListedMessage> listed = zx::link::parseListedMessages(raw);
    if (listed.size() > raw.count("CMGL:"))
        std::abort();
    for (const zx::link::ListedMessage &each : listed) {
        if (each.index.size() > 3 || (each.found && each.pduLine.isEmpty()))
            std::abort();
        for (char c : each.index)
            if (c < '0' || c > '9')
                std::abort();
        for (char c : each.pduLine)
            if (static_cast<unsigned char>(c) <= 0x20)
                std::abort();
    }
    return 0;
}
