#pragma once
// Doubles for the port and the window, recording what the link does.
#include "link/Link.h"

#include <QStringList>

#include <vector>

namespace zx::link::testing {

class RecordingPort : public LinkPort {
public:
    bool open = true;
    QByteArray wire;
    int pollingDelay = 5000;
    int outputTimeout = 200;

    bool connect() override { return open; }
    bool connected() const override { return open; }
    void write(const QByteArray &bytes) override {
        if (open)
            wire += bytes;
    }
    void writeByte(char byte) override {
        if (open)
            wire += byte;
    }
    void setPollingDelay(int ms) override { pollingDelay = ms; }
    void setOutputTimeout(int ms) override { outputTimeout = ms; }
    QByteArray take() { return std::exchange(wire, QByteArray()); }
};

class TextMemo : public Memo {
public:
    QString content;
    void append(const QString &text) override { content += text; }
    void clear() override { content.clear(); }
    void setText(const QString &text) override { content = text; }
    QString text() const override { return content; }
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
};

// A link wired to the doubles, with a clock the test sets.
struct LinkFixture {
    RecordingPort port;
    RecordingView view;
    QDateTime now{QDate(2027, 2, 1), QTime(12, 0, 0)};
    Link link{port, view, [this] { return now; }};

    void receive(const QByteArray &chunk) {
        link.CommPortDriver1ReceiveData(chunk.constData(), unsigned(chunk.size()));
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            link.Timer1Timer();
    }
};

} // namespace zx::link::testing
