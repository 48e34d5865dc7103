#include "sim/Module.h"

#include "sim/AtCommands.h"
#include "sim/ModuleFields.h"

#include <QHash>

namespace zx::sim {
namespace {

using Handler = QByteArray (*)(Module &, const QByteArray &);

QByteArray stripped(const QByteArray &commandLine) {
    QByteArray line = commandLine;
    while (!line.isEmpty() && (line.endsWith('\r') || line.endsWith('\n') || line.endsWith('\0')))
        line.chop(1);
    qsizetype start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\0'))
        ++start;
    return line.mid(start);
}

} // namespace

// Keyword (the first five characters, upper case) to handler.
struct ModuleDispatch {
    static const QHash<QByteArray, Handler> &table();
};

const QHash<QByteArray, Handler> &ModuleDispatch::table() {
    static const QHash<QByteArray, Handler> handlers = {
        {"SETOU", [](Module &m, const QByteArray &l) { return m.outputCommand(l, true); }},
        {"RSTOU", [](Module &m, const QByteArray &l) { return m.outputCommand(l, false); }},
        {"GETOS", [](Module &m, const QByteArray &l) { return m.outputState(l); }},
        {"GETIS", [](Module &m, const QByteArray &l) { return m.inputState(l); }},
        {"OUTP ", [](Module &m, const QByteArray &l) { return m.parallelOutputs(l); }},
        {"SETTN", [](Module &m, const QByteArray &l) { return m.loggerParameters(l); }},
        {"ANLEV", [](Module &m, const QByteArray &l) { return m.analogLevel(l); }},
        {"AMODE", [](Module &m, const QByteArray &l) { return m.analogMode(l); }},
        {"VALTX", [](Module &m, const QByteArray &l) { return m.analogUnit(l); }},
        {"GETAN", [](Module &m, const QByteArray &l) { return m.analogReading(l); }},
        {"TCLEV", [](Module &m, const QByteArray &l) { return m.temperatureLevel(l); }},
        {"GETTC", [](Module &m, const QByteArray &) { return m.temperatureReading(); }},
        {"GETTH", [](Module &m, const QByteArray &) { return m.temperatureHumidity(); }},
        {"RTLEV", [](Module &m, const QByteArray &l) { return m.runtimeLevels(l); }},
        {"RTMOD", [](Module &m, const QByteArray &l) { return m.runtimeMode(l); }},
        {"GETRT", [](Module &m, const QByteArray &) { return m.runtimeReading(); }},
        {"SETTF", [](Module &m, const QByteArray &l) { return m.timeoutFilters(l); }},
        {"SETMP", [](Module &m, const QByteArray &l) { return m.setOptions(l); }},
        {"GETMP", [](Module &m, const QByteArray &) { return "OPTIONS " + m.state().options; }},
        {"DTFTP", [](Module &m, const QByteArray &l) { return m.timeSource(l); }},
        {"SETME", [](Module &m, const QByteArray &l) { return m.eventMasks(l); }},
        {"GETNR", [](Module &m, const QByteArray &l) { return m.alarmNumber(l); }},
        {"SETNN", [](Module &m, const QByteArray &l) { return m.setAlarmNumber(l); }},
        {"CLRNR", [](Module &m, const QByteArray &l) { return m.clearAlarmNumber(l); }},
        {"GETPB", [](Module &m, const QByteArray &) { return m.phoneBookListing(); }},
        {"SETPB", [](Module &m, const QByteArray &l) { return m.setPhoneBook(l); }},
        {"GETTX", [](Module &m, const QByteArray &l) { return m.readText(l, true); }},
        {"SETTX", [](Module &m, const QByteArray &l) { return m.writeText(l, true); }},
        {"GETTI", [](Module &m, const QByteArray &l) { return m.readText(l, false); }},
        {"SETTI", [](Module &m, const QByteArray &l) { return m.writeText(l, false); }},
        {"GETSH", [](Module &m, const QByteArray &) { return "SCHEDULE " + m.state().schedule; }},
        {"SETSH", [](Module &m, const QByteArray &l) { return m.setSchedule(l); }},
        {"GETST", [](Module &m, const QByteArray &) { return m.status(); }},
        {"GETVR", [](Module &m, const QByteArray &) { return "VERSION " + m.state().version; }},
        {"GETTM", [](Module &m, const QByteArray &) { return m.clockReading(); }},
        {"SETTM", [](Module &m, const QByteArray &l) { return m.setClockFromLine(l); }},
        {"RSTRT", [](Module &m, const QByteArray &) { return m.restart(); }},
        {"GETMH", [](Module &m, const QByteArray &) { return "MH " + m.status(); }},
        // Hidden temperature options of the tool.
        {"GETTO", [](Module &, const QByteArray &) { return QByteArray("TO +00"); }},
        {"SETTO", [](Module &, const QByteArray &) { return QByteArray("OK"); }},
        {"TEMPV", [](Module &, const QByteArray &l) {
             return QByteArray(fields::digitAt(l, 5, 0, 2) ? "OK" : "ERROR");
         }},
    };
    return handlers;
}

void Module::setClock(std::function<QDateTime()> clock) {
    m_clock = std::move(clock);
}

QDateTime Module::now() const {
    const QDateTime base = m_clock ? m_clock() : QDateTime::currentDateTime();
    return base.addSecs(m_state.clockOffsetSecs);
}

QByteArray Module::answer(const QByteArray &commandLine) {
    const QByteArray line = stripped(commandLine);
    const QByteArray upper = line.toUpper();
    if (upper.startsWith("AT"))
        return engineCommand(line);
    const QByteArray trimmed = fields::withoutTrailingBlanks(upper);
    if (trimmed == "OK")
        return "OK";
    if (trimmed == "+EXIT")
        return "EXIT SETUP";
    for (const char *gprsKeyword : {"GETAP", "SETAP", "GETID", "SETID", "GETPW", "SETPW", "GETIP",
                                    "SETIP", "GETFT", "SETFT", "GETAF", "SETAF", "GETPF", "SETPF",
                                    "GETDN", "SETDN"}) {
        if (upper.startsWith(gprsKeyword))
            return gprsParameter(line);
    }
    const auto handler = ModuleDispatch::table().constFind(upper.left(5));
    if (handler == ModuleDispatch::table().constEnd())
        return "ERROR";
    return (*handler)(*this, line);
}

QByteArray Module::engineCommand(const QByteArray &line) {
    const QByteArray framed = frameVerbose(answerAtCommand(m_engine, fields::withoutTrailingBlanks(line)));
    return framed.mid(2).chopped(2);
}

} // namespace zx::sim
