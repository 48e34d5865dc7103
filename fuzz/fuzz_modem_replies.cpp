// The modem's answers to the AT queries: any chunk, through every reader.
#include "link/ModemReplies.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray chunk(reinterpret_cast<const char *>(data), qsizetype(size));
    using Parser = zx::link::ModemReply (*)(const QByteArray &);
    for (Parser parse : {&zx::link::parseManufacturerReply, &zx::link::parseModelReply,
                         &zx::link::parseClockReply, &zx::link::parseFormatReply,
                         &zx::link::parseCharSetReply, &zx::link::parseFormatSettingReply}) {
        const zx::link::ModemReply reply = parse(chunk);
        // A text read out of the chunk is never longer than the chunk.
        if (reply.text && reply.text->size() > chunk.size())
            std::abort();
    }
    return 0;
}
