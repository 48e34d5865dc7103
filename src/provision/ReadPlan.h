#pragma once
// Reading a module back: the read commands whose answers the tool parses
// (alarm numbers, phone book, both text tables, GPRS/FTP), each answer taken
// through the tab's own parser into a record, and the comparison of what
// came back with what was written.
#include "settings/ConfigRecord.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace zx::provision {

struct ReadStep {
    QByteArray line; // before framing
    QString field;   // "AlarmNumbers[3]", "PhoneBookNumbers" (all seven)
    bool secret = false; // the answer carries a password
};

QList<ReadStep> readPlan();

// The answer as received (up to its first CR or LF) given to the step's
// parser; the parsed values go into record. False when the parser took
// nothing from it, and for an alarm number the answer cannot show whole.
bool applyAnswer(const ReadStep &step, const QByteArray &answer, settings::ConfigRecord &record);

// An alarm-number answer whose number field (20 characters after the
// colon's blank) holds no blank: those characters. The number has at least
// 20 and the answer does not show where it ends; the tab's rule would read
// it as empty.
std::optional<QByteArray> cutAlarmNumber(const ReadStep &step, const QByteArray &answer);

struct Mismatch {
    QString field;
    QByteArray written;
    QByteArray readBack;
    bool secret = false;
    // After a write the difference is between what was written and what
    // was read; a verify alone compares with what a file holds.
    bool afterWrite = true;
    // "AlarmNumbers[2]: wrote \"+49..\", read \"\"" (a verify alone: "the
    // file has \"+49..\", read \"\""); a password "differs".
    QString text() const;
};

// Every readable entry whose read-back differs from what was written.
// Trailing blanks do not count (the send path pads text lines with blanks,
// so the module cannot keep them). An alarm number of 20 characters cannot
// be told apart: the answer's number field holds 20 characters and must end
// in a blank, so the parser reads such a number as empty; it is listed in
// unverifiable instead, unless seen holds what its answer showed
// (cutAlarmNumber) and that differs from the number's first 20 characters.
QList<Mismatch> compareReadBack(const settings::ConfigRecord &written,
                                const settings::ConfigRecord &readBack, const QStringList &fields,
                                QStringList *unverifiable = nullptr,
                                const QHash<QString, QByteArray> *seen = nullptr);

// The entries a read plan covers, one by one ("PhoneBookNumbers[1]".."[7]").
QStringList readableEntries();

// A readable entry's value by its name, and setting it; nothing (false) for
// a name no read command covers.
std::optional<QByteArray> readableValue(const settings::ConfigRecord &record, const QString &entry);
bool setReadableValue(settings::ConfigRecord &record, const QString &entry, const QByteArray &value);

} // namespace zx::provision
