// The "Abonents" numbers: lines on the wire for each button, the buttons
// held back while a list poll is outstanding, and the module's answers read
// back into the boxes through the receive path and the tick.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {



} // namespace

class MsgAbonentsTest : public QObject, protected WindowOnPty {
    Q_OBJECT
private slots:
    void init() {
        open();
        form_->link().setClock([] { return QDateTime(QDate(2027, 2, 1), QTime(12, 0, 0)); });
    }
    void cleanup() { close(); }

    void alarmNumberLines_data();
    void alarmNumberLines();
    void readClearAndPhoneBookLines();
    void emptyPhoneBookEntryBecomesPlus99();
    void buttonsWaitForAnOutstandingListPoll();
    void answersFillTheNumberBoxes();

private:
    QLineEdit *box(const QString &name) { return child<QLineEdit>(*form_, name); }
    void click(const char *name) { child<QPushButton>(*form_, QString::fromLatin1(name))->click(); }
    QString echo() { return child<QPlainTextEdit>(*form_, QStringLiteral("MemoS"))->toPlainText(); }
};

void MsgAbonentsTest::alarmNumberLines_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("line"); // empty: nothing sent
    QTest::newRow("0171") << 0 << QStringLiteral("0171") << QByteArray("SETNN1 0171");
    QTest::newRow("+4") << 0 << QStringLiteral("+4") << QByteArray();
    QTest::newRow("+4+") << 0 << QStringLiteral("+4+") << QByteArray("SETNN1 +4+");
    QTest::newRow("number 6") << 5 << QStringLiteral("+491701234567")
                              << QByteArray("SETNN6 +491701234567");
    QTest::newRow("letter") << 2 << QStringLiteral("x171") << QByteArray();
}

void MsgAbonentsTest::alarmNumberLines() {
    QFETCH(int, item);
    QFETCH(QString, number);
    QFETCH(QByteArray, line);
    child<zx::ui::RadioGroup>(*form_, QStringLiteral("RadioGroupNR"))->setItemIndex(item);
    box(QStringLiteral("NNumber%1").arg(item + 1))->setText(number);
    click("SetNr");
    if (line.isEmpty()) {
        QCOMPARE(peer_->read(300), QByteArray());
        QCOMPARE(echo(), QString());
        return;
    }
    QCOMPARE(peer_->read(), framed(line));
    QCOMPARE(echo(), QString::fromLatin1(line));
}

void MsgAbonentsTest::readClearAndPhoneBookLines() {
    child<zx::ui::RadioGroup>(*form_, QStringLiteral("RadioGroupNR"))->setItemIndex(2);
    click("GetNr");
    QCOMPARE(peer_->read(), framed("GETNR3"));
    QCOMPARE(echo(), QStringLiteral("GETNR3"));
    click("ClrNr");
    QCOMPARE(peer_->read(), framed("CLRNR3"));
    QCOMPARE(echo(), QStringLiteral("CLRNR3"));

    click("ReadPB");
    QCOMPARE(peer_->read(), framed("  GETPB"));
    QCOMPARE(echo(), QStringLiteral("GETPB"));

    child<zx::ui::RadioGroup>(*form_, QStringLiteral("RadioGroupPB"))->setItemIndex(1);
    box(QStringLiteral("PBnr2"))->setText(QStringLiteral("+1234567"));
    click("ToPhoneBook");
    QCOMPARE(peer_->read(), framed("SETPB2 +1234567"));
    QCOMPARE(echo(), QStringLiteral("SETPB2 +1234567"));
    QCOMPARE(box(QStringLiteral("PBnr2"))->text(), QStringLiteral("+1234567"));
}

void MsgAbonentsTest::emptyPhoneBookEntryBecomesPlus99() {
    child<zx::ui::RadioGroup>(*form_, QStringLiteral("RadioGroupPB"))->setItemIndex(4);
    box(QStringLiteral("PBnr4"))->setText(QStringLiteral("+444"));
    box(QStringLiteral("PBnr5"))->clear();
    click("ToPhoneBook");
    QCOMPARE(peer_->read(), framed("SETPB5 +99"));
    QCOMPARE(box(QStringLiteral("PBnr5"))->text(), QStringLiteral("+99"));
    // Another entry is not touched.
    QCOMPARE(box(QStringLiteral("PBnr4"))->text(), QStringLiteral("+444"));
}

void MsgAbonentsTest::buttonsWaitForAnOutstandingListPoll() {
    auto *sms = child<QCheckBox>(*form_, QStringLiteral("SMSmode"));
    box(QStringLiteral("BRnumber"))->setText(QStringLiteral("+12345"));
    sms->setChecked(true);
    tick(*form_, 31);
    QCOMPARE(peer_->read(), QByteArray("AT+CMGL=1\r"));
    QVERIFY(form_->link().flags().ListPolling);
    sms->setChecked(false);
    box(QStringLiteral("PBnr1"))->clear();
    for (const char *name : {"GetNr", "ClrNr", "ToPhoneBook"})
        click(name);
    QCOMPARE(peer_->read(300), QByteArray());
    // Nothing was checked or replaced while the buttons were held back.
    QCOMPARE(box(QStringLiteral("PBnr1"))->text(), QString());
    // "Read Phone Book" and "SETNR" do not wait.
    click("ReadPB");
    QCOMPARE(peer_->read(), framed("  GETPB"));

    deliver(*form_, *peer_, "\r\nOK\r\n");
    QVERIFY(!form_->link().flags().ListPolling);
    click("GetNr");
    QCOMPARE(peer_->read(), framed("GETNR1"));
}

void MsgAbonentsTest::answersFillTheNumberBoxes() {
    auto *tabs = child<QTabWidget>(*form_, QStringLiteral("PageControl1"));
    tabs->setCurrentIndex(1);
    box(QStringLiteral("NNumber1"))->setText(QStringLiteral("+111"));
    box(QStringLiteral("PBnr4"))->setText(QStringLiteral("+444"));
    deliver(*form_, *peer_, "Nr.3: +4917012 \r\n");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("NNumber3"))->text(), QStringLiteral("+4917012"));
    QCOMPARE(box(QStringLiteral("NNumber1"))->text(), QStringLiteral("+111"));

    deliver(*form_, *peer_, "PN1:+111 N2:+222 N3:+333 ");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("PBnr1"))->text(), QStringLiteral("+111"));
    QCOMPARE(box(QStringLiteral("PBnr2"))->text(), QStringLiteral("+222"));
    QCOMPARE(box(QStringLiteral("PBnr3"))->text(), QStringLiteral("+333"));
    QCOMPARE(box(QStringLiteral("PBnr4"))->text(), QStringLiteral("+444"));

    // No blank behind the number, CR LF kept: the box is emptied.
    deliver(*form_, *peer_, "Nr.1:+491\r\n");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("NNumber1"))->text(), QString());

    // On another tab the answer is only shown.
    tabs->setCurrentIndex(5);
    deliver(*form_, *peer_, "Nr.3: +999 \r\n");
    tick(*form_);
    QCOMPARE(box(QStringLiteral("NNumber3"))->text(), QStringLiteral("+4917012"));
    QVERIFY(child<QPlainTextEdit>(*form_, QStringLiteral("MemoSMSinput"))
                ->toPlainText()
                .contains(QStringLiteral("Nr.3: +999")));
}

QTEST_MAIN(MsgAbonentsTest)
#include "tst_msg_abonents.moc"
