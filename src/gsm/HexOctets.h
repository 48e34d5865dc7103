#pragma once
// Hex text of PDU octets: two uppercase digits per octet, high nibble first.
#include <QByteArray>

namespace zx::gsm {

void appendHexOctet(QByteArray &hex, unsigned octet);

} // namespace zx::gsm
