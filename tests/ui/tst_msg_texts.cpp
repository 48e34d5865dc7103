// The three text tabs: read and write lines of the text buttons, the settings
// record updated on write, the "Read" boxes, and the module's answers read
// back into the boxes of the open tab.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"
#include "ui/widgets/TypingLimit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {



QString numbered(const char *stem, int n) {
    return QString::fromLatin1(stem) + QString::number(n);
}

} // namespace

class MsgTextsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { start(QByteArray(4096, '\0')); }
    void cleanup() {
        form_.reset();
        peer_.reset();
        env_.reset();
    }

    void everyTextHasItsBoxAndButton();
    void readLinesLeaveTheRecordAlone();
    void writeLinesUpdateTheRecord_data();
    void writeLinesUpdateTheRecord();
    void readBoxesSwitchTheirCaptions();
    void answersFillTheOpenTabOnly();

private:
    void start(const QByteArray &settings) {
        form_.reset();
        peer_.reset();
        env_.reset(); // the old environment must be gone before the new one starts
        openWindowOnPty(env_, peer_, form_, settings);
    }
    QLineEdit *box(const QString &name) { return child<QLineEdit>(*form_, name); }
    QPushButton *button(const QString &name) { return child<QPushButton>(*form_, name); }

    std::unique_ptr<UiTestEnv> env_;
    std::unique_ptr<PtyPeer> peer_;
    std::unique_ptr<TForm1> form_;
};

void MsgTextsTest::everyTextHasItsBoxAndButton() {
    int buttons = 0;
    for (int n = 1; n <= 57; ++n) {
        QCOMPARE(button(numbered("TXTSMSb", n))->text(), QStringLiteral("WR"));
        QCOMPARE(button(numbered("iTXTSMSb", n))->text(), QStringLiteral("WR"));
        QCOMPARE(zx::ui::typingLimit(box(numbered("TXTSMS", n))), 24);
        buttons += 2;
    }
    for (int n = 58; n <= 97; ++n) {
        QCOMPARE(button(numbered("TXTSMSb", n))->text(), QStringLiteral("WR"));
        QCOMPARE(zx::ui::typingLimit(box(numbered("iTXTSMS", n))), 15);
        ++buttons;
    }
    QCOMPARE(buttons, 154);
    // Start-up gives every box its stored text (empty in an all-zero record).
    QCOMPARE(box(QStringLiteral("TXTSMS1"))->text(), QString());
    // A settings file too short to read stops the start-up early: the boxes
    // keep their design-time texts.
    start(QByteArray(10, '\0'));
    QCOMPARE(box(QStringLiteral("IPaddress"))->text(), QStringLiteral("0.0.0.0"));
    QCOMPARE(box(QStringLiteral("NNumber2"))->text(), QStringLiteral("NNumber2"));
    QCOMPARE(box(QStringLiteral("PBnr7"))->text(), QStringLiteral("PBnr7"));
    QCOMPARE(box(QStringLiteral("TXTSMS1"))->text(), QStringLiteral("Temperature 1 < MINIMUM"));
    QCOMPARE(box(QStringLiteral("TXTSMS5"))->text(), QStringLiteral("Temperature 2 Normal"));
    QCOMPARE(box(QStringLiteral("TXTSMS12"))->text(), QStringLiteral("Analog Input 1 > MAXIMUM"));
    QCOMPARE(box(QStringLiteral("TXTSMS34"))->text(), QStringLiteral("Event INP1 0-1"));
    QCOMPARE(box(QStringLiteral("TXTSMS57"))->text(), QStringLiteral("Event INP12 1-0"));
    QCOMPARE(box(QStringLiteral("iTXTSMS58"))->text(), QStringLiteral("INP1 1"));
    QCOMPARE(box(QStringLiteral("iTXTSMS81"))->text(), QStringLiteral("INP12 0"));
    QCOMPARE(box(QStringLiteral("iTXTSMS82"))->text(), QStringLiteral("OUT1 1"));
    QCOMPARE(box(QStringLiteral("iTXTSMS97"))->text(), QStringLiteral("OUT8 0"));
    // The name buttons sit on "IOname", the internal ones on "Int/Ext SMS".
    auto *tabs = child<QTabWidget>(*form_, QStringLiteral("PageControl1"));
    QVERIFY(tabs->widget(4)->isAncestorOf(button(QStringLiteral("TXTSMSb58"))));
    QVERIFY(tabs->widget(2)->isAncestorOf(button(QStringLiteral("TXTSMSb57"))));
    QVERIFY(tabs->widget(3)->isAncestorOf(box(QStringLiteral("iTXTSMS57"))));
}

void MsgTextsTest::readLinesLeaveTheRecordAlone() {
    form_->record().setExternalText(12, "kept");
    child<QCheckBox>(*form_, QStringLiteral("GetText"))->setChecked(true);
    box(QStringLiteral("TXTSMS12"))->setText(QStringLiteral("new text"));
    button(QStringLiteral("TXTSMSb12"))->click();
    const QByteArray wire = peer_->read();
    QCOMPARE(wire, framed("GETTX12 " + QByteArray(40, ' ')));
    QCOMPARE(form_->record().ExternalText(12), QByteArray("kept"));

    child<QCheckBox>(*form_, QStringLiteral("nGetText"))->setChecked(true);
    button(QStringLiteral("TXTSMSb60"))->click();
    QCOMPARE(peer_->read(), framed("GETTI60 " + QByteArray(15, ' ')));
    child<QCheckBox>(*form_, QStringLiteral("iGetText"))->setChecked(true);
    button(QStringLiteral("iTXTSMSb3"))->click();
    QCOMPARE(peer_->read(), framed("GETTI03 " + QByteArray(15, ' ')));
    // The text buttons do not echo their line.
    QCOMPARE(child<QPlainTextEdit>(*form_, QStringLiteral("MemoS"))->toPlainText(), QString());
}

void MsgTextsTest::writeLinesUpdateTheRecord_data() {
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("external");
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("TXTSMSb5") << "TXTSMSb5"
                              << "TXTSMS5"
                              << "Hello" << QByteArray("SETTX05 Hello") << true << 5
                              << QByteArray("Hello");
    QTest::newRow("24 characters")
        << "TXTSMSb57"
        << "TXTSMS57" << QString(24, QLatin1Char('x')) << "SETTX57 " + QByteArray(24, 'x') << true
        << 57 << QByteArray(24, 'x');
    QTest::newRow("TXTSMSb97") << "TXTSMSb97"
                               << "iTXTSMS97"
                               << "F SETOU1 RSTOU2" << QByteArray("SETTI97 F SETOU1 RSTOU2")
                               << false << 97 << QByteArray("F SETOU1 RSTOU2");
    QTest::newRow("iTXTSMSb1") << "iTXTSMSb1"
                               << "iTXTSMS1"
                               << "7 SETOU1" << QByteArray("SETTI01 7 SETOU1") << false << 1
                               << QByteArray("7 SETOU1");
    QTest::newRow("empty") << "iTXTSMSb22"
                           << "iTXTSMS22"
                           << "" << QByteArray("SETTI22 ") << false << 22 << QByteArray();
}

void MsgTextsTest::writeLinesUpdateTheRecord() {
    QFETCH(QString, buttonName);
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QFETCH(QByteArray, line);
    QFETCH(bool, external);
    QFETCH(int, number);
    QFETCH(QByteArray, stored);
    form_->record().setExternalText(number, "older text");
    form_->record().setShortText(number, "older text");
    box(boxName)->setText(text);
    button(buttonName)->click();
    const QByteArray padded = line.leftJustified(external ? 48 : 23, ' ');
    QCOMPARE(peer_->read(), framed(padded));
    QCOMPARE(external ? form_->record().ExternalText(number) : form_->record().ShortText(number),
             stored);
    // The other table is left alone (external texts stop at 57).
    if (number <= 57)
        QCOMPARE(external ? form_->record().ShortText(number)
                          : form_->record().ExternalText(number),
                 QByteArray("older text"));
}

void MsgTextsTest::readBoxesSwitchTheirCaptions() {
    struct Family {
        const char *readBox, *buttonStem;
        int first, last;
    } const families[] = {{"GetText", "TXTSMSb", 1, 57},
                          {"iGetText", "iTXTSMSb", 1, 57},
                          {"nGetText", "TXTSMSb", 58, 97}};
    for (const Family &f : families) {
        auto *read = child<QCheckBox>(*form_, QString::fromLatin1(f.readBox));
        read->setChecked(true);
        for (int n = f.first; n <= f.last; ++n)
            QCOMPARE(button(numbered(f.buttonStem, n))->text(), QStringLiteral("RD"));
        read->setChecked(false);
        for (int n = f.first; n <= f.last; ++n)
            QCOMPARE(button(numbered(f.buttonStem, n))->text(), QStringLiteral("WR"));
    }
    // Only "External SMS" empties the memos; the others clear the raw-line flag.
    auto *memo = child<QPlainTextEdit>(*form_, QStringLiteral("MemoSMSinput"));
    memo->setPlainText(QStringLiteral("answer"));
    form_->link().setRawLine(true);
    child<QCheckBox>(*form_, QStringLiteral("nGetText"))->setChecked(true);
    QCOMPARE(memo->toPlainText(), QStringLiteral("answer"));
    QVERIFY(!form_->link().flags().RawLine);
    child<QCheckBox>(*form_, QStringLiteral("GetText"))->setChecked(true);
    QCOMPARE(memo->toPlainText(), QString());
    QCOMPARE(button(QStringLiteral("TXTSMSb58"))->text(), QStringLiteral("RD"));
}

void MsgTextsTest::answersFillTheOpenTabOnly() {
    auto *tabs = child<QTabWidget>(*form_, QStringLiteral("PageControl1"));
    tabs->setCurrentIndex(2);
    box(QStringLiteral("iTXTSMS58"))->setText(QStringLiteral("INP1 1"));
    box(QStringLiteral("TXTSMS1"))->setText(QStringLiteral("Temperature 1 < MINIMUM"));
    box(QStringLiteral("TXTSMS5"))->setText(QStringLiteral("Temperature 2 Normal"));
    deliver(*form_, *peer_, "57: Event X\r\n");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("TXTSMS57"))->text(), QStringLiteral("Event X\r\n"));
    deliver(*form_, *peer_, "58: NAME\r\n");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("iTXTSMS58"))->text(), QStringLiteral("INP1 1"));
    deliver(*form_, *peer_, "00: none\r\n");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("TXTSMS1"))->text(), QStringLiteral("Temperature 1 < MINIMUM"));

    child<QCheckBox>(*form_, QStringLiteral("SkipCRLFcb"))->setChecked(true);
    tabs->setCurrentIndex(3);
    deliver(*form_, *peer_, "58: NAME\r\n");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("iTXTSMS58"))->text(), QStringLiteral("NAME "));
    QCOMPARE(box(QStringLiteral("TXTSMS57"))->text(), QStringLiteral("Event X\r\n"));

    tabs->setCurrentIndex(4);
    deliver(*form_, *peer_, "05: F SETOU1\r\n");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("iTXTSMS5"))->text(), QStringLiteral("F SETOU1 "));
    QCOMPARE(box(QStringLiteral("TXTSMS5"))->text(), QStringLiteral("Temperature 2 Normal"));
}

QTEST_MAIN(MsgTextsTest)
#include "tst_msg_texts.moc"
