#pragma once
// The value types of the serial port driver's published properties.
#include <QFlags>
#include <QtGlobal>

enum TPortNumber : int {
    pnCustom,
    pnCOM1,
    pnCOM2,
    pnCOM3,
    pnCOM4,
    pnCOM5,
    pnCOM6,
    pnCOM7,
    pnCOM8,
    pnCOM9,
    pnCOM10,
    pnCOM11,
    pnCOM12,
    pnCOM13,
    pnCOM14,
    pnCOM15,
    pnCOM16
};

enum TBaudRate : int {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};

enum TDataBits : int { db5BITS, db6BITS, db7BITS, db8BITS };

enum TStopBits : int { sb1BITS, sb1HALFBITS, sb2BITS };

enum TParity : int { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };

enum THwFlowControl : int { hfNONE, hfNONERTSON, hfRTSCTS };

enum TSwFlowControl : int { sfNONE, sfXONXOFF };

enum TPacketMode : int { pmDiscard, pmPass };

// Modem control inputs; GetLineStatus answers the set of those that are on.
enum TLineStatus : unsigned { lsCTS = 0x1, lsDSR = 0x2, lsRING = 0x4, lsRLSD = 0x8 };
using TLineStatusSet = QFlags<TLineStatus>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TLineStatusSet)

// Bits per second of a baud-rate choice; brCustom and values outside the
// enumeration give 0.
constexpr quint32 baudRateBits(TBaudRate rate) {
    constexpr quint32 table[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return rate >= brCustom && rate <= br256000 ? table[rate] : 0;
}
