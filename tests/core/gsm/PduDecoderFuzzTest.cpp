#include "gsm/PduDecoder.h"
#include "gsm/PduDeliver.h"
#include "gsm/PduEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace zx::gsm;

namespace {

// Mostly hex, with the lowercase digits and line noise a modem may produce.
constexpr char kAlphabet[] = "0123456789ABCDEF0123456789ABCDEFabcdef+,: \r\nOKGx";

class LineMaker {
public:
    explicit LineMaker(unsigned seed) : random_(seed) {}

    QByteArray randomLine() {
        QByteArray line;
        const int length = pick(0, 320);
        for (int i = 0; i < length; ++i)
            line.append(randomCharacter());
        return line;
    }

    QByteArray mutated(QByteArray line) {
        const int edits = pick(1, 4);
        for (int e = 0; e < edits; ++e) {
            const int at = pick(0, static_cast<int>(line.size()));
            switch (pick(0, 4)) {
            case 0:
                if (at < line.size())
                    line[at] = randomCharacter();
                break;
            case 1:
                line.insert(at, randomCharacter());
                break;
            case 2:
                line.remove(at, 1);
                break;
            case 3:
                line.truncate(at);
                break;
            default:
                line = line.toLower();
                break;
            }
        }
        return line;
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

private:
    char randomCharacter() {
        if (pick(0, 15) == 0)
            return static_cast<char>(pick(0, 255));
        return kAlphabet[pick(0, static_cast<int>(sizeof kAlphabet) - 2)];
    }

    std::mt19937 random_;
};

} // namespace

TEST(PduDecoderFuzz, RandomAndMutatedLinesStayWithinTheirLength) {
    const std::set<char> shown(GSMAlphabetTable.begin(), GSMAlphabetTable.end());
    const QByteArray seeds[] = {
        buildDeliverPdu("+491710123456", "OS1=ON OS2=OFF\r\n"),
        buildDeliverPdu("0171", QByteArray(160, 'Z'), "62107021000000", "+4917600403"),
        TextToPDUConversion("SETTX01 Alarm input one\r", "+4917").chopped(1),
        "0791947106004030040B919471012345F600006210702100000008CF2A155AA5C664",
    };
    LineMaker maker(20240601u);
    for (int round = 0; round < 300000; ++round) {
        const QByteArray line =
            round % 3 == 0 ? maker.randomLine() : maker.mutated(seeds[maker.pick(0, 3)]);
        const QByteArray text = PDUTextConversion(line);
        const PduLayout layout = locateUserData(line);
        ASSERT_LE(text.size(), layout.plausible ? std::max(layout.userDataLength, 0) : 0)
            << line.toHex().constData();
        for (const char c : text)
            ASSERT_TRUE(shown.count(c)) << line.toHex().constData();
    }
}
