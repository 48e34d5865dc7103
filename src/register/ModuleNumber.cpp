#include "register/ModuleNumber.h"

namespace zx::reg {

QString normaliseNumber(const QString &text) {
    QString digits;
    bool plus = false;
    for (const QChar c : text.trimmed()) {
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
        else if (c == QLatin1Char('+') && digits.isEmpty() && !plus)
            plus = true;
        else if (!QStringLiteral(" -./()").contains(c))
            return {};
    }
    if (digits.isEmpty())
        return {};
    if (!plus && digits.startsWith(QLatin1String("00"))) {
        digits.remove(0, 2);
        plus = !digits.isEmpty();
    }
    return plus ? QLatin1Char('+') + digits : digits;
}

QString portKey(const QString &port) { return QStringLiteral("port:") + port; }

bool isPortKey(const QString &key) { return key.startsWith(QLatin1String("port:")); }

} // namespace zx::reg
