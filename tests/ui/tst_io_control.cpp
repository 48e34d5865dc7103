// The "IO control" tab and the I/O read buttons of "Main", driven like a
// user and checked on the wire of a pseudo-terminal playing the module.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

namespace {



QString n(const char *stem, int i) { return QString::fromLatin1(stem) + QString::number(i); }

} // namespace

class IoControlTest : public QObject, protected WindowOnPty {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void singleOutputsSetTheirIndicator();
    void queryButtonsSendTheirLines_data();
    void queryButtonsSendTheirLines();
    void parallelPatternUpdatesIndicators_data();
    void parallelPatternUpdatesIndicators();
    void dataLoggerLineFromTheBars();
    void digitalFilterOfTheTab();
    void mainReadButtons();

private:
    QByteArray click(const QString &name) {
        child<QPushButton>(*form_, name)->click();
        return peer_->read();
    }
    QString text(const QString &name) { return child<QLineEdit>(*form_, name)->text(); }
};

void IoControlTest::singleOutputsSetTheirIndicator() {
    for (int i = 1; i <= 8; ++i)
        QCOMPARE(text(n("Output", i)), QStringLiteral("OFF"));
    QCOMPARE(click(QStringLiteral("SetOut5")), framed("SETOU5"));
    QCOMPARE(text(QStringLiteral("Output5")), QStringLiteral("ON "));
    QCOMPARE(text(QStringLiteral("Output4")), QStringLiteral("OFF"));
    QCOMPARE(child<QPlainTextEdit>(*form_, QStringLiteral("MemoS"))->toPlainText(),
             QStringLiteral("SETOU5"));
    QCOMPARE(click(QStringLiteral("ResetOut5")), framed("RSTOU5"));
    QCOMPARE(text(QStringLiteral("Output5")), QStringLiteral("OFF"));
    QCOMPARE(click(QStringLiteral("SetOut8")), framed("SETOU8"));
    QCOMPARE(text(QStringLiteral("Output8")), QStringLiteral("ON "));
}

void IoControlTest::queryButtonsSendTheirLines_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("Get Inp9") << QStringLiteral("GetInp9") << QByteArray("GETIS09");
    QTest::newRow("Get Inp12") << QStringLiteral("GetInp12") << QByteArray("GETIS12");
    QTest::newRow("all inputs") << QStringLiteral("GetAllInput") << QByteArray("GETIS00");
    QTest::newRow("Get Out3") << QStringLiteral("GetOut3") << QByteArray("GETOS3");
    QTest::newRow("all outputs") << QStringLiteral("GetOutState") << QByteArray("GETOS0");
}

void IoControlTest::queryButtonsSendTheirLines() {
    QFETCH(QString, button);
    QFETCH(QByteArray, line);
    QCOMPARE(click(button), framed(line));
    for (int i = 1; i <= 8; ++i)
        QCOMPARE(text(n("Output", i)), QStringLiteral("OFF"));
}

void IoControlTest::parallelPatternUpdatesIndicators_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("indicators");
    // Output2 and Output3 start "ON " here so that "unchanged" shows.
    const QString on = QStringLiteral("ON "), off = QStringLiteral("OFF");
    QTest::newRow("10x1") << QStringLiteral("10x1")
                          << QStringList{on, off, on, on, off, off, off, off};
    QTest::newRow("empty") << QString() << QStringList{off, on, on, off, off, off, off, off};
    QTest::newRow("all eight") << QStringLiteral("01010101")
                               << QStringList{off, on, off, on, off, on, off, on};
}

void IoControlTest::parallelPatternUpdatesIndicators() {
    QFETCH(QString, pattern);
    QFETCH(QStringList, indicators);
    child<QPushButton>(*form_, QStringLiteral("SetOut2"))->click();
    child<QPushButton>(*form_, QStringLiteral("SetOut3"))->click();
    peer_->read();
    auto *bin = child<QLineEdit>(*form_, QStringLiteral("OutputBin"));
    QCOMPARE(bin->text(), QStringLiteral("00000000"));
    bin->clear();
    QTest::keyClicks(bin, pattern);
    QCOMPARE(click(QStringLiteral("SetOutBin")), framed("OUTP " + pattern.toLatin1()));
    for (int i = 1; i <= 8; ++i)
        QCOMPARE(text(n("Output", i)), indicators[i - 1]);
}

void IoControlTest::dataLoggerLineFromTheBars() {
    QCOMPARE(click(QStringLiteral("SetPulse")), framed("SETTN0 0 00000000"));
    child<QScrollBar>(*form_, QStringLiteral("SRateSB"))->setValue(3);
    child<QScrollBar>(*form_, QStringLiteral("DLoggerTmSB"))->setValue(5);
    child<QScrollBar>(*form_, QStringLiteral("PulseDsb2"))->setValue(4);
    QCOMPARE(text(QStringLiteral("SRate")), QStringLiteral("3"));
    QCOMPARE(text(QStringLiteral("DLoggerTm")), QStringLiteral("5"));
    QCOMPARE(text(QStringLiteral("PulseD2")), QStringLiteral("8"));
    QCOMPARE(click(QStringLiteral("SetPulse")), framed("SETTN3 5 04000000"));

    child<QScrollBar>(*form_, QStringLiteral("PulseDsb2"))->setValue(0);
    auto *pulse7 = child<QScrollBar>(*form_, QStringLiteral("PulseDsb7"));
    pulse7->setValue(9);
    QCOMPARE(text(QStringLiteral("PulseD7")), QStringLiteral("18"));
    const QByteArray line = "SETTN3 5 00000090";
    QCOMPARE(line.at(15), '9');
    QCOMPARE(click(QStringLiteral("SetPulse")), framed(line));
    // A bar clamps a position outside its range; the line stays 17 characters.
    pulse7->setValue(42);
    QCOMPARE(pulse7->value(), 9);
    child<QScrollBar>(*form_, QStringLiteral("SRateSB"))->setValue(-4);
    QCOMPARE(text(QStringLiteral("SRate")), QStringLiteral("0"));
    QCOMPARE(click(QStringLiteral("SetPulse")), framed("SETTN0 5 00000090"));
}

void IoControlTest::digitalFilterOfTheTab() {
    QCOMPARE(click(QStringLiteral("SetDtimeoutFilter")), framed("SETTF       0"));
    child<QScrollBar>(*form_, QStringLiteral("DFilterSBd"))->setValue(3);
    QCOMPARE(text(QStringLiteral("DFilterD")), QStringLiteral("3"));
    QCOMPARE(click(QStringLiteral("SetDtimeoutFilter")), framed("SETTF       3"));
    // The bar of "Other" is a different control and stays where it was.
    QCOMPARE(child<QScrollBar>(*form_, QStringLiteral("DFilterSB"))->value(), 0);
    QCOMPARE(text(QStringLiteral("DFilter")), QStringLiteral("0"));
}

void IoControlTest::mainReadButtons() {
    const struct {
        const char *name;
        const char *caption;
        const char *line;
    } buttons[] = {{"ReadAnalog", "Read Analog", "GETAN"},
                   {"ReadAlevelBtn", "Analog Level", "ANLEV0"},
                   {"RefLevel", "Reference Level", "GETAN1"},
                   {"ReadTemperature", "Temperature", "GETTC"},
                   {"ReadTH", "Temp., Humidity", "GETTH"},
                   {"ReadRT", "Runtime", "GETRT"}};
    for (const auto &b : buttons) {
        auto *button = child<QPushButton>(*form_, QString::fromLatin1(b.name));
        QCOMPARE(button->text(), QString::fromLatin1(b.caption));
        QVERIFY(button->isEnabled());
        QCOMPARE(click(QString::fromLatin1(b.name)), framed(b.line));
    }
    auto *level = child<QPushButton>(*form_, QStringLiteral("TemperatureLevelBtn"));
    QCOMPARE(level->text(), QStringLiteral("Temp.Level"));
    QVERIFY(!level->isEnabled());
    level->click();
    QCOMPARE(peer_->read(200), QByteArray());
}

QTEST_MAIN(IoControlTest)
#include "tst_io_control.moc"
