#include "ui/module/FieldCaptions.h"

#include "commands/messaging/GprsFtpCommands.h"
#include "ui/TabTable.h"
#include "ui/tabs/SmsTextTable.h"

#include <QRegularExpression>

namespace zx::ui {
namespace {

namespace msg = commands::messaging;

QString tabCaption(int tab) {
    for (const TabEntry &t : kTabs)
        if (t.index == tab)
            return QString::fromLatin1(t.caption);
    return {};
}

// "Temp.Inp. < MINIMUM" for the box of text n on its tab, or empty.
QString textCaption(int tab, int n) {
    for (const TextGrid &grid : textGridsOfTab(tab))
        for (int row = 0; row < grid.rowLabels.size(); ++row)
            for (int column = 0; column < grid.columnLabels.size(); ++column)
                if (grid.numberAt(row, column) == n) {
                    QStringList words;
                    if (!grid.title.isEmpty())
                        words << grid.title + QLatin1Char(',');
                    words << grid.rowLabels[row] << grid.columnLabels[column];
                    return words.join(QLatin1Char(' '));
                }
    return {};
}

// The text family of a module table that shows text n.
const TextFamily *familyOf(bool external, int n) {
    for (const TextFamily &family : textFamilies())
        if ((family.table == msg::TextTable::External) == external && n >= family.first &&
            n <= family.last)
            return &family;
    return nullptr;
}

} // namespace

QString fieldCaption(const QString &entry) {
    static const QRegularExpression element(QStringLiteral("^(\\w+)\\[(\\d+)\\]$"));
    const QRegularExpressionMatch m = element.match(entry);
    if (m.hasMatch()) {
        const QString field = m.captured(1);
        const int n = m.captured(2).toInt();
        if (field == QLatin1String("AlarmNumbers"))
            return QStringLiteral("%1: Numbers for alarm SMS, Nr%2").arg(tabCaption(kAbonentsTab)).arg(n);
        if (field == QLatin1String("PhoneBookNumbers"))
            return QStringLiteral("%1: Numbers to SIM Phone Book, Nr%2")
                .arg(tabCaption(kAbonentsTab))
                .arg(n);
        const bool external = field == QLatin1String("ExternalTexts");
        if (external || field == QLatin1String("ShortTexts"))
            if (const TextFamily *family = familyOf(external, n))
                if (const QString caption = textCaption(family->tab, n); !caption.isEmpty())
                    return tabCaption(family->tab) + QStringLiteral(": ") + caption;
        return entry;
    }
    // The network values in the order of the tab's parameters.
    static const char *const network[] = {"GprsApn",  "GprsUserId", "GprsPassword",
                                          "GprsServerAddress", "FtpHost", "FtpUser",
                                          "FtpPassword", "FtpDirectory"};
    static_assert(std::size(network) == msg::kGprsFtpCount);
    for (int i = 0; i < msg::kGprsFtpCount; ++i)
        if (entry == QLatin1String(network[i])) {
            const msg::GprsFtpParameter &p = msg::kGprsFtpParameters[std::size_t(i)];
            return QStringLiteral("%1: %2 %3")
                .arg(tabCaption(kGprsFtpTab), QLatin1String(p.ftpGroup ? "FTP" : "GPRS"),
                     QString::fromLatin1(p.label).trimmed());
        }
    return entry;
}

} // namespace zx::ui
