// The "Analog" and "Temperature, RT" tabs: level displays, the lines their
// buttons put on the wire, and the per-tab filter bars.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"
#include "ui/tabs/AnalogTab.h"
#include "ui/tabs/TemperatureTab.h"
#include "ui/widgets/RadioGroup.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

class IoLevelsTest : public QObject, protected WindowOnPty {
    Q_OBJECT
private slots:
    void init() { open(designTimeSettings()); }
    void cleanup() { close(); }

    void analogLevels();
    void analogModeLine();
    void valueTexts_data();
    void valueTexts();
    void temperatureLevels_data();
    void temperatureLevels();
    void levelBoxesTurnColouredUntilTheTabChanges();
    void runtimeLevelsAndSource();
    void readSourceLeavesTheAnswerState();
    void perTabFiltersAreTheirOwn();

private:
    template <typename T> T *child(const QString &name) { return ::child<T>(*form_, name); }
    QScrollBar *bar(const QString &name) { return child<QScrollBar>(name); }
    QString text(const QString &name) { return child<QLineEdit>(name)->text(); }
    QByteArray click(const QString &name) {
        child<QPushButton>(name)->click();
        return peer_->read();
    }
};

void IoLevelsTest::analogLevels() {
    bar(QStringLiteral("ScrollBarMax2"))->setValue(7);
    QCOMPARE(text(QStringLiteral("MaxLv2")), QStringLiteral("07"));
    QCOMPARE(click(QStringLiteral("Level2Cmd")), framed("ANLEV2 00 07"));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("MemoS"))->toPlainText(),
             QStringLiteral("ANLEV2 00 07"));
    // Input 1 has the lower-case "lv" boxes.
    bar(QStringLiteral("ScrollBarMin1"))->setValue(5);
    bar(QStringLiteral("ScrollBarMax1"))->setValue(95);
    QCOMPARE(text(QStringLiteral("Minlv1")), QStringLiteral("05"));
    QCOMPARE(text(QStringLiteral("Maxlv1")), QStringLiteral("95"));
    QCOMPARE(click(QStringLiteral("Level1Cmd")), framed("ANLEV1 05 95"));
    // The start-up shows unchanged positions with two digits too.
    QCOMPARE(text(QStringLiteral("MinLv3")), QStringLiteral("0"));
    form_->findChild<zx::ui::AnalogTab *>()->refreshLevelBoxes();
    QCOMPARE(text(QStringLiteral("MinLv3")), QStringLiteral("00"));
    QCOMPARE(text(QStringLiteral("Maxlv1")), QStringLiteral("95"));
    // No relation is enforced; a bar clamps to 0..99.
    bar(QStringLiteral("ScrollBarMin8"))->setValue(150);
    QCOMPARE(text(QStringLiteral("MinLv8")), QStringLiteral("99"));
    QCOMPARE(click(QStringLiteral("Level8Cmd")), framed("ANLEV8 99 00"));
}

void IoLevelsTest::analogModeLine() {
    QCOMPARE(click(QStringLiteral("WriteAMode1")), framed("AMODE11111111 11111111 11111111"));
    child<zx::ui::RadioGroup>(QStringLiteral("AMode1"))->button(2)->click();
    child<zx::ui::RadioGroup>(QStringLiteral("AMode8"))->button(3)->click();
    QCOMPARE(click(QStringLiteral("WriteAMode1")), framed("AMODE31111114 11111111 11111111"));
    child<QLineEdit>(QStringLiteral("AkoeffStr"))->setText(QStringLiteral("5"));
    child<QLineEdit>(QStringLiteral("ADividerStr"))->setText(QStringLiteral("90"));
    QCOMPARE(click(QStringLiteral("WriteAMode1")), framed("AMODE31111114 5 90"));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("MemoS"))->toPlainText(),
             QStringLiteral("AMODE31111114 5 90"));
}

void IoLevelsTest::valueTexts_data() {
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("input 4") << 4 << QStringLiteral("mA") << QByteArray("VALTX4 mA   ");
    QTest::newRow("input 7") << 7 << QStringLiteral("mA") << QByteArray("VALTX7 mA       ");
    QTest::newRow("empty") << 1 << QString() << QByteArray("VALTX1    ");
    QTest::newRow("cut at three") << 8 << QStringLiteral("degC") << QByteArray("VALTX8 deg   ");
}

void IoLevelsTest::valueTexts() {
    QFETCH(int, input);
    QFETCH(QString, typed);
    QFETCH(QByteArray, line);
    auto *val = child<QLineEdit>(QStringLiteral("VAL%1").arg(input));
    QCOMPARE(val->text(), QStringLiteral("%"));
    val->clear();
    QTest::keyClicks(val, typed);
    QCOMPARE(click(QStringLiteral("SetVal%1").arg(input)), framed(line));
}

void IoLevelsTest::temperatureLevels_data() {
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("minText");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("input 1") << 1 << -10 << 50 << QStringLiteral("-10") << QByteArray("TCLEV1-010+050");
    QTest::newRow("input 2 extremes") << 2 << -99 << 149 << QStringLiteral("-99")
                                      << QByteArray("TCLEV2-099+149");
    QTest::newRow("input 3 zero") << 3 << 0 << 0 << QString() << QByteArray("TCLEV3+000+000");
    QTest::newRow("clamped") << 1 << -500 << 900 << QStringLiteral("-99")
                             << QByteArray("TCLEV1-099+149");
}

void IoLevelsTest::temperatureLevels() {
    QFETCH(int, input);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, minText);
    QFETCH(QByteArray, line);
    bar(QStringLiteral("ScrollBarT%1min").arg(input))->setValue(minimum);
    bar(QStringLiteral("ScrollBarT%1max").arg(input))->setValue(maximum);
    // The boxes start empty and show plain decimal once their bar moved.
    QCOMPARE(text(QStringLiteral("T%1min").arg(input)), minText);
    const QString send = input == 1 ? QStringLiteral("TlevelCmd") : QStringLiteral("TlevelCmd%1").arg(input);
    QCOMPARE(click(send), framed(line));
    // The start-up shows unchanged positions as well.
    form_->findChild<zx::ui::TemperatureTab *>()->refreshLevelBoxes();
    QCOMPARE(text(QStringLiteral("T3max")), QString::number(input == 3 ? maximum : 0));
}

void IoLevelsTest::levelBoxesTurnColouredUntilTheTabChanges() {
    auto *tabs = child<QTabWidget>(QStringLiteral("PageControl1"));
    tabs->setCurrentIndex(6);
    child<QPushButton>(QStringLiteral("TlevelCmd2"))->click();
    QVERIFY(child<QLineEdit>(QStringLiteral("T2max"))->styleSheet().contains(QStringLiteral("rgb(0, 255, 0)")));
    QVERIFY(child<QLineEdit>(QStringLiteral("T2min"))->styleSheet().contains(QStringLiteral("rgb(0, 255, 255)")));
    QVERIFY(!child<QLineEdit>(QStringLiteral("T1max"))->styleSheet().contains(QStringLiteral("rgb(0, 255, 0)")));
    tabs->setCurrentIndex(5);
    QVERIFY(child<QLineEdit>(QStringLiteral("T2max"))->styleSheet().contains(QStringLiteral("rgb(255, 255, 245)")));
    QVERIFY(child<QLineEdit>(QStringLiteral("T2min"))->styleSheet().contains(QStringLiteral("rgb(255, 255, 245)")));
}

void IoLevelsTest::runtimeLevelsAndSource() {
    QCOMPARE(text(QStringLiteral("RT1")), QString());
    bar(QStringLiteral("ScrollBarRT1"))->setValue(5);
    QCOMPARE(text(QStringLiteral("RT1")), QStringLiteral("5"));
    QCOMPARE(click(QStringLiteral("RTlevelSend")), framed("RTLEV 00005 00000"));
    bar(QStringLiteral("ScrollBarRT1"))->setValue(240);
    bar(QStringLiteral("ScrollBarRT2"))->setValue(40000);
    QCOMPARE(text(QStringLiteral("RT2")), QStringLiteral("32000"));
    QCOMPARE(click(QStringLiteral("RTlevelSend")), framed("RTLEV 00240 32000"));

    QCOMPARE(text(QStringLiteral("RTdivider")), QStringLiteral("0000"));
    bar(QStringLiteral("ScrollBar1"))->setValue(4);
    QCOMPARE(text(QStringLiteral("RTdivider")), QStringLiteral("0004"));
    QCOMPARE(click(QStringLiteral("SetRTsource")), framed("RTMOD1A0004"));
    bar(QStringLiteral("ScrollBar1"))->setValue(240);
    child<zx::ui::RadioGroup>(QStringLiteral("RTinputSource"))->button(1)->click();
    child<zx::ui::RadioGroup>(QStringLiteral("RTsource"))->button(2)->click();
    QCOMPARE(click(QStringLiteral("SetRTsource")), framed("RTMOD2I0240"));
    auto *divider = child<QLineEdit>(QStringLiteral("RTdivider"));
    divider->clear();
    QTest::keyClicks(divider, QStringLiteral("12"));
    child<zx::ui::RadioGroup>(QStringLiteral("RTinputSource"))->button(3)->click();
    child<zx::ui::RadioGroup>(QStringLiteral("RTsource"))->button(1)->click();
    QCOMPARE(click(QStringLiteral("SetRTsource")), framed("RTMOD4D12"));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("MemoS"))->toPlainText(), QStringLiteral("RTMOD4D12"));
}

void IoLevelsTest::readSourceLeavesTheAnswerState() {
    // An answer to an earlier command has been shown: nothing is pending.
    click(QStringLiteral("RTlevelSend"));
    QVERIFY(form_->link().flags().DisplayPending);
    deliver(*form_, *peer_, "OK\r\n");
    tick(*form_);
    QVERIFY(!form_->link().flags().DisplayPending);
    // "RD" and "WR" of the runtime source do not run the pre-send step.
    QCOMPARE(click(QStringLiteral("Button2")), framed("RTMODR"));
    QVERIFY(!form_->link().flags().DisplayPending);
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("MemoS"))->toPlainText(), QStringLiteral("RTMODR"));
    click(QStringLiteral("SetRTsource"));
    QVERIFY(!form_->link().flags().DisplayPending);
}

void IoLevelsTest::perTabFiltersAreTheirOwn() {
    QCOMPARE(click(QStringLiteral("SetTtimeoutFilter")), framed("SETTF 00 "));
    QCOMPARE(click(QStringLiteral("SetTimeoutAnalogFilter")), framed("SETTF    00 "));
    bar(QStringLiteral("TTimeout1SBt"))->setValue(9);
    QCOMPARE(text(QStringLiteral("TTimeout1t")), QStringLiteral("09"));
    bar(QStringLiteral("ATimeout1SBa"))->setValue(12);
    QCOMPARE(text(QStringLiteral("ATimeout1a")), QStringLiteral("12"));
    QCOMPARE(click(QStringLiteral("SetTtimeoutFilter")), framed("SETTF 09 "));
    QCOMPARE(click(QStringLiteral("SetTimeoutAnalogFilter")), framed("SETTF    12 "));
    // The complete set on "Other" did not move.
    QCOMPARE(bar(QStringLiteral("TTimeout1SB"))->value(), 0);
    QCOMPARE(bar(QStringLiteral("ATimeout1SB"))->value(), 0);
    QCOMPARE(click(QStringLiteral("SetTimeoutFilter")), framed("SETTF 00 00 0"));
    bar(QStringLiteral("TTimeout1SB"))->setValue(9);
    QCOMPARE(text(QStringLiteral("TTimeout1")), QStringLiteral("9"));
    QCOMPARE(text(QStringLiteral("TTimeout1t")), QStringLiteral("09"));
    bar(QStringLiteral("TTimeout1SBt"))->setValue(3);
    QCOMPARE(bar(QStringLiteral("TTimeout1SB"))->value(), 9);
}

QTEST_MAIN(IoLevelsTest)
#include "tst_io_levels.moc"
