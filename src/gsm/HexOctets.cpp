#include "gsm/HexOctets.h"

namespace zx::gsm {

void appendHexOctet(QByteArray &hex, unsigned octet) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    hex.append(kDigits[(octet >> 4) & 0x0F]);
    hex.append(kDigits[octet & 0x0F]);
}

} // namespace zx::gsm
