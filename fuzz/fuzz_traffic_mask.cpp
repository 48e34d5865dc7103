// What the traffic log keeps of a stream (the modem's bytes are outside
// input) does not depend on how the stream is cut into chunks: the whole
// stream and the same bytes one by one keep the same bytes, with or without
// PDU lines and password keywords.
#include "traffic/TrafficLog.h"

#include <cstdlib>

namespace {

QByteArray kept(const zx::traffic::TrafficLog &log) {
    QByteArray all;
    for (const zx::traffic::Entry &e : log.entries())
        all += e.bytes;
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    using zx::traffic::Direction;
    const Direction direction = data[0] & 1 ? Direction::Sent : Direction::Received;
    const QByteArrayView stream(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    zx::traffic::TrafficLog whole;
    zx::traffic::TrafficLog bytewise;
    whole.record(direction, stream);
    for (qsizetype i = 0; i < stream.size(); ++i)
        bytewise.record(direction, stream.sliced(i, 1));
    if (kept(whole) != kept(bytewise))
        std::abort();
    return 0;
}
