// The PDU line of a listed SMS comes from the modem: any bytes at all.
#include "gsm/PduDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray line(reinterpret_cast<const char *>(data), qsizetype(size));
    const zx::gsm::PduLayout layout = zx::gsm::locateUserData(line);
    const QByteArray text = zx::gsm::PDUTextConversion(line);
    if (!text.isEmpty() && text.size() > layout.userDataLength)
        std::abort(); // never more characters than the length field says
    return 0;
}
