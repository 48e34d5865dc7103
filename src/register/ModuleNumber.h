#pragma once
// A module is known in the register by its telephone number, the record's
// ModuleNumber, written one way: digits with an optional leading "+" ("00"
// becomes "+"), blanks, dashes, dots, slashes and brackets left out. A module
// met without a number is kept under its port's device instead.
#include <QString>

namespace zx::reg {

// Empty when the text holds no digit, or a character a number cannot hold
// (a letter).
QString normaliseNumber(const QString &text);

// The key of a module known only by where it was met: "port:/dev/ttyUSB0".
QString portKey(const QString &port);
bool isPortKey(const QString &key);

} // namespace zx::reg
