#pragma once
// One command and its answer on a port: what is written, how its answer is
// known, how long it may take, and how it ended.
#include "channel/AnswerRule.h"
#include "channel/Outcome.h"

#include <QByteArray>
#include <QString>

namespace zx::channel {

struct Exchange {
    QByteArray bytes;   // as written, framing and all
    QByteArray command; // the line before framing: its echo is not an answer
    AnswerRule rule;
    int timeoutMs = 3000; // for the answer's first byte, after the bytes left
    bool secret = false;  // the line or its answer carries a password
    // A modem reply's echo and blank lines stay in its answer, for showing and
    // reading it as it came.
    bool blankLinesKept = false;
};

struct ExchangeResult {
    Outcome outcome = Outcome::Cancelled;
    QByteArray answer;   // the answering line with its line end, or what came
    QString reason;      // a refusal or a port error in words
    qint64 sentAtMs = -1;    // from the channel's start
    qint64 firstByteMs = -1; // from the end of writing
    qint64 endMs = -1;       // the answer's last byte, from the end of writing
    qsizetype bytesSent = 0;
};

} // namespace zx::channel
