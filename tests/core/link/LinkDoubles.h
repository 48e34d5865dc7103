#pragma once
// Doubles for the port and the window, recording what the link does.
#include "link/Link.h"

#include <QStringList>

#include <vector>

namespace zx::link::testing {

// What the doubles did, in order, for tests where the order matters: "wire"
// for bytes written, "<memo> cleared" and "<memo> shows <text>".
using Journal = QStringList;

class RecordingPort : public LinkPort {
public:
    bool open = true;
    QByteArray wire;
    int pollingDelay = 5000;
    int outputTimeout = 200;
    Journal *journal = nullptr;

    bool connect() override { return open; }
    bool connected() const override { return open; }
    void write(const QByteArray &bytes) override {
        if (open)
            wire += bytes;
        note();
    }
    void writeByte(char byte) override {
        if (open)
            wire += byte;
        note();
    }
    void setPollingDelay(int ms) override { pollingDelay = ms; }
    void setOutputTimeout(int ms) override { outputTimeout = ms; }
    QByteArray take() { return std::exchange(wire, QByteArray()); }

private:
    void note() {
        if (journal && (journal->isEmpty() || journal->last() != QStringLiteral("wire")))
            journal->append(QStringLiteral("wire"));
    }
};

class TextMemo : public Memo {
public:
    QString content;
    QString name;
    Journal *journal = nullptr;
    void append(const QString &text) override {
        content += text;
        note();
    }
    void clear() override {
        content.clear();
        if (journal)
            journal->append(name + QStringLiteral(" cleared"));
    }
    void setText(const QString &text) override {
        content = text;
        note();
    }
    QString text() const override { return content; }

private:
    void note() {
        if (journal)
            journal->append((name + QStringLiteral(" shows ") + content.trimmed()).trimmed());
    }
};

class RecordingView : public LinkView {
public:
    bool sms = false;
    QByteArray number = "+12345";
    bool skip = false;
    int tab = 0;
    TextMemo reception;
    TextMemo echo;
    bool busy = false;
    std::vector<StatusColour> colours;
    QString statusText = QStringLiteral("Setting Mode");
    QStringList errors;
    // Every notice shown, and what the status bar shows now (empty: cleared).
    QStringList statusMessages;
    QString statusBar;
    std::vector<std::pair<int, QByteArray>> tabAnswers;

    bool smsMode() const override { return sms; }
    QByteArray moduleNumber() const override { return number; }
    bool skipCrLf() const override { return skip; }
    void setSkipCrLf(bool checked) override { skip = checked; }
    int activeTab() const override { return tab; }
    Memo &receptionMemo() override { return reception; }
    Memo &echoLine() override { return echo; }
    void setBusyCursor(bool b) override { busy = b; }
    void setStatusColour(StatusColour c) override { colours.push_back(c); }
    void setStatusText(const QString &t) override { statusText = t; }
    void showError(const QString &t) override { errors << t; }
    void showStatusMessage(const QString &t) override {
        statusBar = t;
        if (!t.isEmpty())
            statusMessages << t;
    }
    void parseTabAnswer(int t, const QByteArray &a) override { tabAnswers.emplace_back(t, a); }
    void modemStoppedAnswering() override { ++modemSilences; }
    int modemSilences = 0;
};

// A link wired to the doubles, with a clock the test sets.
struct LinkFixture {
    RecordingPort port;
    RecordingView view;
    Journal journal;
    QDateTime now{QDate(2027, 2, 1), QTime(12, 0, 0)};
    Link link{port, view, [this] { return now; }};

    void receive(const QByteArray &chunk) {
        link.CommPortDriver1ReceiveData(chunk.constData(), unsigned(chunk.size()));
    }
    // From now on the port and the memos write into journal.
    void keepJournal() {
        port.journal = &journal;
        view.reception.journal = &journal;
        view.reception.name = QStringLiteral("memo");
        view.echo.journal = &journal;
        view.echo.name = QStringLiteral("echo");
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            link.Timer1Timer();
    }
};

} // namespace zx::link::testing
