// The PDU line of a listed SMS comes from the modem: any bytes at all.
#include "gsm/DeliverHeader.h"
#include "gsm/PduDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray line(reinterpret_cast<const char *>(data), qsizetype(size));
    const zx::gsm::PduLayout layout = zx::gsm::locateUserData(line);
    const QByteArray text = zx::gsm::PDUTextConversion(line);
    if (!text.isEmpty() && text.size() > layout.userDataLength)
        std::abort(); // never more characters than the length field says
    // Who sent it: at most the 20 digits an address holds, and nothing else.
    const zx::gsm::DeliverHeader header = zx::gsm::readDeliverHeader(line);
    if (header.ok) {
        const QByteArray digits = header.sender.startsWith('+') ? header.sender.mid(1) : header.sender;
        if (digits.isEmpty() || digits.size() > 20 || header.timestamp.size() != 14)
            std::abort();
        for (const char c : digits)
            if (c < '0' || c > '9')
                std::abort();
    }
    return 0;
}
