#include "ui/tabs/SmsTextTable.h"

#include "ui/TabTable.h"

namespace zx::ui {
namespace {

using commands::messaging::TextTable;

constexpr int kInputs = 12;
constexpr int kOutputs = 8;
constexpr int kAnalogInputs = 8;
constexpr int kFirstAnalogText = 10;
constexpr int kFirstEventText = 34;
constexpr int kFirstRisingText = 34;
constexpr int kFirstFallingText = 46;
constexpr int kFirstInputName = 58;
constexpr int kFirstInputZeroName = 70;
constexpr int kFirstOutputName = 82;
constexpr int kFirstOutputOffName = 90;

QStringList numbered(const QString &pattern, int count) {
    QStringList labels;
    for (int i = 1; i <= count; ++i)
        labels << pattern.arg(i);
    return labels;
}

QStringList eventRows() {
    QStringList rows{QStringLiteral("Temp.Inp."), QStringLiteral("RUNTIME1"),
                     QStringLiteral("RUNTIME2"), QStringLiteral("Analog.Inp.1")};
    for (int a = 2; a <= kAnalogInputs; ++a)
        rows << QStringLiteral("Analog Inp.%1").arg(a);
    return rows;
}

const QStringList kLevelColumns{QStringLiteral("< MINIMUM"), QStringLiteral("NORMAL"),
                                QStringLiteral("> MAXIMUM")};

} // namespace

int TextGrid::numberAt(int row, int column) const {
    return downColumns ? first + column * int(rowLabels.size()) + row
                       : first + row * int(columnLabels.size()) + column;
}

const std::vector<TextFamily> &textFamilies() {
    // The variant lacks analog inputs 5..8 and inputs 8..12 (texts), and the
    // names of inputs 8..12 and of outputs 6..8 (both states).
    const std::vector<NumberRange> textsTheVariantLacks = {{22, 33}, {41, 45}, {53, 57}};
    const std::vector<NumberRange> namesTheVariantLacks = {{65, 69}, {77, 81}, {87, 89}, {95, 97}};
    static const std::vector<TextFamily> families = {
        {kExternalSmsTab, "TXTSMSb", "TXTSMS", "GetText", 1, 57, TextTable::External,
         commands::messaging::kExternalBoxLimit, true, textsTheVariantLacks},
        {kIntExtSmsTab, "iTXTSMSb", "iTXTSMS", "iGetText", 1, 57, TextTable::Short,
         commands::messaging::kShortBoxLimit, false, textsTheVariantLacks},
        {kIoNameTab, "TXTSMSb", "iTXTSMS", "nGetText", 58, 97, TextTable::Short,
         commands::messaging::kShortBoxLimit, false, namesTheVariantLacks},
    };
    return families;
}

std::vector<TextGrid> textGridsOfTab(int tab) {
    if (tab == kIoNameTab)
        return {{QStringLiteral("Digital Inputs Name"),
                 kFirstInputName,
                 numbered(QStringLiteral("Input %1"), kInputs),
                 {QStringLiteral("1"), QStringLiteral("0")},
                 true},
                {QStringLiteral("Digital Outputs Name"),
                 kFirstOutputName,
                 numbered(QStringLiteral("Output %1"), kOutputs),
                 {QStringLiteral("ON"), QStringLiteral("OFF")},
                 true}};
    return {{QString(), 1, eventRows(), kLevelColumns, false},
            {QString(),
             kFirstEventText,
             numbered(QStringLiteral("Input %1"), kInputs),
             {QStringLiteral("Event 0-1"), QStringLiteral("Event 1-0")},
             true}};
}

QString initialText(const TextFamily &family, int n) {
    static const char *const levels[] = {"< MINIMUM", "Normal", "> MAXIMUM"};
    if (family.tab == kIntExtSmsTab)
        return {};
    if (family.tab == kIoNameTab) {
        if (n < kFirstInputZeroName)
            return QStringLiteral("INP%1 1").arg(n - kFirstInputName + 1);
        if (n < kFirstOutputName)
            return QStringLiteral("INP%1 0").arg(n - kFirstInputZeroName + 1);
        if (n < kFirstOutputOffName)
            return QStringLiteral("OUT%1 1").arg(n - kFirstOutputName + 1);
        return QStringLiteral("OUT%1 0").arg(n - kFirstOutputOffName + 1);
    }
    const QString level = QString::fromLatin1(levels[(n - 1) % 3]);
    if (n < kFirstAnalogText)
        return QStringLiteral("Temperature %1 %2").arg((n - 1) / 3 + 1).arg(level);
    if (n < kFirstEventText)
        return QStringLiteral("Analog Input %1 %2").arg((n - kFirstAnalogText) / 3 + 1).arg(level);
    if (n < kFirstFallingText)
        return QStringLiteral("Event INP%1 0-1").arg(n - kFirstRisingText + 1);
    return QStringLiteral("Event INP%1 1-0").arg(n - kFirstFallingText + 1);
}

} // namespace zx::ui
