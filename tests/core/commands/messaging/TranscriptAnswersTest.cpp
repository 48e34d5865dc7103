// The simulated module's answers in the checked-in transcript, read back
// through the tabs' parsers: each read gives what the transcript last wrote
// into that place, or the module's starting value.
#include "commands/messaging/GprsFtpCommands.h"
#include "commands/messaging/NumberAnswer.h"
#include "commands/messaging/NumberCommands.h"
#include "commands/messaging/TextAnswer.h"
#include "commands/messaging/TextCommands.h"
#include "common/ModuleTranscript.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace zx::commands::messaging;

namespace {

QByteArray withoutTrailingBlanks(QByteArray text) {
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

// A written number or GPRS/FTP value ends at its first blank.
QByteArray firstWord(const QByteArray &text) {
    qsizetype start = 0;
    while (start < text.size() && text[start] == ' ')
        ++start;
    const qsizetype end = text.indexOf(' ', start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

// The module's starting values of the places the transcript reads before it
// writes them ("TX05": external text 5, "TI82": short text 82, "IP": the
// server address). Numbers and the other GPRS/FTP values start empty.
const QHash<QByteArray, QByteArray> kStartingValues = {
    {"TX05", "Temperature 2 Normal"}, {"TX34", "Event INP1 0-1"}, {"TI01", ""},
    {"TI58", "INP1 1"},               {"TI82", "OUT1 1"},         {"IP", "0.0.0.0"},
};

std::optional<int> gprsParameterOf(const QByteArray &keyword) {
    for (int i = 0; i < kGprsFtpCount; ++i)
        if (QByteArray(kGprsFtpParameters[std::size_t(i)].readLine).left(5) == keyword.left(5) ||
            QByteArray(kGprsFtpParameters[std::size_t(i)].writeKeyword).left(5) == keyword.left(5))
            return i;
    return std::nullopt;
}

// What the module holds, by place, after the transcript's accepted writes.
class WrittenValues {
public:
    void reset() { m_values.clear(); }

    void apply(const QByteArray &line) {
        const QByteArray keyword = line.left(5);
        const QByteArray digit = line.mid(5, 1);
        if (keyword == "SETNN")
            m_values["NR" + digit] = firstWord(line.mid(7)).left(kNumberBoxLimit);
        else if (keyword == "CLRNR")
            m_values["NR" + digit] = QByteArray();
        else if (keyword == "SETPB")
            m_values["PB" + digit] = firstWord(line.mid(7)).left(kNumberBoxLimit);
        else if (keyword == "SETTX" || keyword == "SETTI")
            m_values[keyword.mid(3, 2) + line.mid(5, 2)] = withoutTrailingBlanks(line.mid(8));
        else if (keyword.startsWith("SET") && gprsParameterOf(keyword))
            m_values[keyword.mid(3, 2)] = firstWord(line.mid(6));
    }

    // Nothing for a place the transcript neither wrote nor has a starting value for.
    std::optional<QByteArray> value(const QByteArray &place) const {
        if (const auto written = m_values.constFind(place); written != m_values.constEnd())
            return *written;
        if (const auto start = kStartingValues.constFind(place); start != kStartingValues.constEnd())
            return *start;
        if (place.startsWith("NR") || place.startsWith("PB") ||
            (place.size() == 2 && gprsParameterOf("GET" + place)))
            return QByteArray();
        return std::nullopt;
    }

private:
    QHash<QByteArray, QByteArray> m_values;
};

// The read line the tool builds for the transcript's command; the text-table
// lines go out padded with blanks.
bool isToolReadLine(const QByteArray &command, const QByteArray &toolLine) {
    return command.startsWith(toolLine) && command.mid(toolLine.size()).trimmed().isEmpty();
}

} // namespace

TEST(TranscriptAnswers, ReadCommandsGiveTheValuesWrittenBefore) {
    const QList<zx::test::TranscriptExchange> transcript = zx::test::moduleTranscript();
    WrittenValues module;
    QHash<QByteArray, int> checked; // keyword: reads whose value was checked
    for (const zx::test::TranscriptExchange &step : transcript) {
        SCOPED_TRACE(testing::Message() << "module-transcript.txt:" << step.lineNumber << ": "
                                        << step.command.constData());
        if (step.fresh)
            module.reset();
        const QByteArray command = step.command.trimmed();
        const QByteArray keyword = command.left(5);
        // On the wire the answer ends with CR LF; the parsers get its first line.
        const QByteArray wire = step.answer + "\r\n";
        const QByteArray line = wire.left(wire.indexOf('\r'));
        const bool refused = step.answer == "ERROR";
        if (keyword.startsWith("SET") || keyword == "CLRNR") {
            if (step.answer == "OK")
                module.apply(step.command);
            continue;
        }

        if (keyword == "GETNR") {
            const NumberAnswerFill fill = parseNumberAnswer(line);
            const int n = command.mid(5).toInt();
            for (int k = 1; k <= kNumberCount; ++k) {
                const std::optional<QByteArray> &box = fill.alarmNumbers[std::size_t(k - 1)];
                if (k == n && !refused) {
                    EXPECT_EQ(step.command, getAlarmNumberLine(n));
                    EXPECT_EQ(box, module.value("NR" + QByteArray::number(n)));
                } else {
                    EXPECT_EQ(box, std::nullopt) << "box " << k;
                }
            }
            EXPECT_EQ(fill.phoneBook, NumberAnswerFill().phoneBook);
        } else if (keyword == "GETPB") {
            EXPECT_EQ(step.command, QByteArray(kReadPhoneBookLine));
            const NumberAnswerFill fill = parseNumberAnswer(line);
            for (int k = 1; k <= kNumberCount; ++k)
                EXPECT_EQ(fill.phoneBook[std::size_t(k - 1)],
                          module.value("PB" + QByteArray::number(k)))
                    << "entry " << k;
            EXPECT_EQ(fill.alarmNumbers, NumberAnswerFill().alarmNumbers);
        } else if (keyword == "GETTX" || keyword == "GETTI") {
            const bool external = keyword == "GETTX";
            const int n = command.mid(5, 2).toInt();
            // The short-text parser drops the character that ends the line.
            const std::optional<TextAnswer> text =
                external ? parseExternalTextAnswer(line) : parseShortTextAnswer(line + '\r');
            if (refused) {
                EXPECT_EQ(text.has_value(), false);
                continue;
            }
            EXPECT_TRUE(isToolReadLine(
                step.command, textReadLine(external ? TextTable::External : TextTable::Short, n)));
            ASSERT_TRUE(text.has_value());
            EXPECT_EQ(text->number, n);
            const std::optional<QByteArray> expected = module.value(keyword.mid(3, 2) + command.mid(5, 2));
            ASSERT_TRUE(expected.has_value()) << "neither written nor a starting value";
            EXPECT_EQ(text->text, *expected);
        } else if (const std::optional<int> parameter = gprsParameterOf(keyword);
                   parameter && keyword.startsWith("GET")) {
            const std::optional<GprsFtpAnswer> answer = parseGprsFtpAnswer(line);
            if (refused) {
                EXPECT_EQ(answer.has_value(), false);
                continue;
            }
            EXPECT_EQ(step.command,
                      QByteArray(kGprsFtpParameters[std::size_t(*parameter)].readLine));
            ASSERT_TRUE(answer.has_value());
            EXPECT_EQ(answer->parameter, *parameter);
            EXPECT_EQ(answer->value, module.value(keyword.mid(3, 2)));
        } else {
            continue;
        }
        if (!refused)
            ++checked[keyword];
    }
    // Each family is read back more than once: a start value and a written one.
    for (const char *keyword : {"GETNR", "GETTX", "GETTI", "GETIP", "GETAP"})
        EXPECT_GE(checked.value(keyword), 2) << keyword;
    for (const char *keyword : {"GETPB", "GETID", "GETPW", "GETFT", "GETAF", "GETPF", "GETDN"})
        EXPECT_GE(checked.value(keyword), 1) << keyword;
}
