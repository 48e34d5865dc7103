// Passwords inside SMS PDUs: a submission the tool writes, the modem's echo
// of it after the prompt and a listed or read message, each with and without
// a password, whole, cut at every position and byte by byte. A PDU with a
// password leaves only the marker, one without stays as it was, and the
// bytes around it are untouched and never held past the end of its line
// or, for a PDU without a password, past its last octet.
#include "traffic/PduPasswordMask.h"
#include "gsm/PduDeliver.h"
#include "gsm/PduEncoder.h"
#include "link/CommandFrame.h"
#include "traffic/TrafficLog.h"

#include <gtest/gtest.h>

namespace zx::traffic {
namespace {

const QByteArray kModule = "+4915200000001";
const QByteArray kMarker = PduPasswordMask::kMarker;

QByteArray joined(const TrafficLog &log, Direction direction) {
    QByteArray all;
    for (const Entry &e : log.entries()) {
        EXPECT_EQ(e.direction, direction);
        EXPECT_FALSE(e.bytes.isEmpty());
        all += e.bytes;
    }
    return all;
}

// The SMS-SUBMIT hex the link writes for a module command, without its NUL.
QByteArray submitted(const QByteArray &command) {
    return gsm::TextToPDUConversion(link::paddedCommandLine(command), kModule).chopped(1);
}

QByteArray answered(const QByteArray &answer) {
    return gsm::buildDeliverPdu(kModule, answer);
}

struct Case {
    const char *name;
    Direction direction;
    QByteArray before; // up to the PDU line
    QByteArray pdu;
    QByteArray after; // from the character that ends the PDU line
    bool masked;
    QByteArray secret;
};

TEST(PduPasswordMask, PasswordPdusBecomeTheMarkerHoweverTheStreamIsCut) {
    const Case cases[] = {
        {"GPRS password written", Direction::Sent, "AT+CMGS=31\r", submitted("SETPW gprs$ecret"),
         "\x1A", true, "gprs$ecret"},
        {"FTP password written", Direction::Sent, "AT+CMGS=31\r", submitted("SETPF ftpSecret1"),
         "\x1A"
         "AT+CMGL=1\r",
         true, "ftpSecret1"},
        {"user written",
         Direction::Sent,
         "AT+CMGS=26\r",
         submitted("SETID user7"),
         "\x1A",
         false,
         {}},
        {"version asked", Direction::Sent, "AT+CMGS=20\r", submitted("GETVR"), "\x1A", false, {}},
        {"GPRS password echoed", Direction::Received, "AT+CMGS=31\r\r\n> ",
         submitted("SETPW gprs$ecret"), "\r\n+CMGS: 7\r\n\r\nOK\r\n", true, "gprs$ecret"},
        {"GPRS password listed", Direction::Received, "AT+CMGL=1\r\r\n+CMGL: 1,1,,33\r\n",
         answered("PASSWORD: gprs$ecret"), "\r\n\r\nOK\r\n", true, "gprs$ecret"},
        {"FTP password read", Direction::Received, "\r\n+CMGR: 1,,36\r\n",
         answered("Password FTP: ftpSecret1"), "\r\nOK\r\n", true, "ftpSecret1"},
        {"output listed",
         Direction::Received,
         "\r\n+CMGL: 2,0,,21\r\n",
         answered("OUT3 ON"),
         "\r\n\r\nOK\r\n",
         false,
         {}},
        {"user read",
         Direction::Received,
         "\r\n+CMGR: 0,,24\r\n",
         answered("UserID: user7"),
         "\r\nOK\r\n",
         false,
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray stream = c.before + c.pdu + c.after;
        const QByteArray line = c.masked ? kMarker : c.pdu;
        const QByteArray expected = c.before + line + c.after;
        // Bytes of the stream fed -> what must be out by then, at least.
        const auto dueAfter = [&](qsizetype fed) {
            if (fed <= c.before.size())
                return stream.left(fed);
            if (fed <= c.before.size() + c.pdu.size())
                return c.before;
            return expected.left(fed - c.pdu.size() + line.size());
        };
        const auto check = [&](const QByteArray &kept, qsizetype fed) {
            const QByteArray due = dueAfter(fed);
            EXPECT_TRUE(kept.startsWith(due) && expected.startsWith(kept))
                << "after " << fed << " bytes: " << kept.toStdString();
            if (!c.secret.isEmpty()) {
                EXPECT_FALSE(kept.contains(c.secret)) << fed;
                EXPECT_FALSE(kept.contains(c.pdu.mid(c.pdu.size() / 2))) << fed;
            }
        };

        for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
            TrafficLog log;
            log.record(c.direction, QByteArrayView(stream).first(cut));
            check(joined(log, c.direction), cut);
            log.record(c.direction, QByteArrayView(stream).sliced(cut));
            EXPECT_EQ(joined(log, c.direction).toStdString(), expected.toStdString())
                << "cut at " << cut;
        }
        // Byte by byte, as the link types a PDU out.
        TrafficLog log;
        for (qsizetype i = 0; i < stream.size(); ++i) {
            log.record(c.direction, QByteArrayView(stream).sliced(i, 1));
            check(joined(log, c.direction), i + 1);
        }
        EXPECT_EQ(joined(log, c.direction).toStdString(), expected.toStdString());
        // Decided once the text is there, before the end of the line: a
        // password shows as soon as its keyword can be read, a PDU without
        // one goes out when its last octet is in.
        TrafficLog early;
        early.record(c.direction, c.before + c.pdu);
        EXPECT_EQ(joined(early, c.direction).toStdString(), (c.before + line).toStdString());
    }
}

} // namespace
} // namespace zx::traffic
