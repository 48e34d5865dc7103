// The link fed arbitrary chunks in any state: the input is a little program
// of sends, ticks, polls, mode switches and received chunks.
#include "FuzzDoubles.h"
#include "link/LinkDoubles.h"

using namespace zx::link;
using namespace zx::link::testing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    LinkFixture f;
    f.link.setPollFactor(in.byte() % 3);
    while (!in.empty()) {
        switch (in.byte() % 12) {
        case 0:
            f.link.Clear();
            f.link.SendSMS(in.bytes(in.byte() % 64));
            break;
        case 1:
            f.ticks(1 + in.byte() % 40);
            break;
        case 2:
        case 3:
        case 4:
            f.receive(in.bytes(in.byte()));
            break;
        case 5:
            f.view.sms = !f.view.sms;
            break;
        case 6:
            f.link.SendCMGL(in.byte() & 1 ? "AT+CMGL=0" : "AT+CMGL=1");
            break;
        case 7:
            f.link.armQuerySequence();
            break;
        case 8:
            f.link.SendRawLine("  " + in.bytes(in.byte() % 16), in.byte() & 1);
            break;
        case 9:
            f.view.skip = !f.view.skip;
            break;
        case 10:
            f.now = QDateTime(QDate(2027, 1, 1), QTime(0, in.byte() % 5, in.byte() % 60));
            break;
        case 11:
            f.view.number = in.bytes(in.byte() % 24);
            break;
        }
        f.port.take();
        if (f.view.reception.content.size() > 1 << 20)
            f.view.reception.content.clear();
    }
    return 0;
}
