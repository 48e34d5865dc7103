#pragma once
// The checked-in module transcript (tests/data/module-transcript.txt): the
// command lines the tool builds and the simulated module's answers. Its
// header comment describes the format. A malformed line throws, naming the
// file and the line, so a broken transcript fails every test that reads it.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <stdexcept>
#include <string>

#ifndef ZX_TEST_DATA_DIR
#error "ZX_TEST_DATA_DIR comes with the target zentorix_test_support"
#endif

namespace zx::test {

struct TranscriptExchange {
    QByteArray command;
    QByteArray answer;
    bool fresh = false; // runs on a new module
    int lineNumber = 0; // of the command line
};

namespace transcript_detail {

[[noreturn]] inline void fail(const QString &name, int lineNumber, const std::string &why) {
    throw std::runtime_error(name.toStdString() + ':' + std::to_string(lineNumber) + ": " + why);
}

inline int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

inline QByteArray decoded(const QByteArray &text, const QString &name, int lineNumber) {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t' || c == '\r')
            fail(name, lineNumber, "a tab or CR in the text: write it as an escape");
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (++i >= text.size())
            fail(name, lineNumber, "a backslash ends the line");
        switch (text[i]) {
        case 'r':
            bytes += '\r';
            break;
        case 'n':
            bytes += '\n';
            break;
        case '\\':
            bytes += '\\';
            break;
        case 'x': {
            const int high = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
            if (high < 0 || low < 0)
                fail(name, lineNumber, "\\x needs two hex digits");
            bytes += char(high * 16 + low);
            i += 2;
            break;
        }
        default:
            fail(name, lineNumber, std::string("unknown escape \\") + text[i]);
        }
    }
    return bytes;
}

// The text after a "> " or "< " marker; a lone marker is an empty line.
inline QByteArray markedText(const QByteArray &line, const QString &name, int lineNumber) {
    if (line.size() == 1)
        return {};
    if (line[1] != ' ')
        fail(name, lineNumber, "a marker is followed by one blank");
    return decoded(line.mid(2), name, lineNumber);
}

} // namespace transcript_detail

// name: what errors call the text.
inline QList<TranscriptExchange> parseModuleTranscript(const QByteArray &text,
                                                       const QString &name) {
    using namespace transcript_detail;
    QList<TranscriptExchange> exchanges;
    bool freshPending = true;   // the first exchange starts a module
    bool answerPending = false; // the last exchange has no answer line yet
    const QList<QByteArray> lines = text.split('\n');
    // A final newline leaves one empty piece behind.
    const qsizetype count = text.endsWith('\n') ? lines.size() - 1 : lines.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArray &line = lines[i];
        const int lineNumber = int(i) + 1;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.endsWith(' ') || line.endsWith('\t'))
            fail(name, lineNumber, "a blank at the end of the line: write it as \\x20");
        if (line == "= fresh") {
            if (answerPending)
                fail(name, lineNumber, "a command without an answer");
            freshPending = true;
            continue;
        }
        if (line.startsWith('>')) {
            if (answerPending)
                fail(name, lineNumber - 1, "a command without an answer");
            exchanges.append({markedText(line, name, lineNumber), {}, freshPending, lineNumber});
            freshPending = false;
            answerPending = true;
            continue;
        }
        if (line.startsWith('<')) {
            if (exchanges.isEmpty() || (freshPending && !answerPending))
                fail(name, lineNumber, "an answer without a command");
            TranscriptExchange &last = exchanges.last();
            if (!answerPending)
                last.answer += "\r\n";
            last.answer += markedText(line, name, lineNumber);
            answerPending = false;
            continue;
        }
        fail(name, lineNumber, "not a comment, \"= fresh\", \"> \" or \"< \" line");
    }
    if (answerPending)
        fail(name, exchanges.last().lineNumber, "a command without an answer");
    return exchanges;
}

inline QList<TranscriptExchange> moduleTranscript() {
    const QString path = QStringLiteral(ZX_TEST_DATA_DIR "/module-transcript.txt");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(path.toStdString() + ": " + file.errorString().toStdString());
    const QList<TranscriptExchange> exchanges = parseModuleTranscript(file.readAll(), path);
    if (exchanges.isEmpty())
        throw std::runtime_error(path.toStdString() + ": no exchange");
    return exchanges;
}

} // namespace zx::test
