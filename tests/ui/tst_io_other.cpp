// The "Other" tab: the option string edited by its boxes and marks, "SET"
// and "GET", the complete filter line and the date/time source.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

class IoOtherTest : public QObject, protected WindowOnPty {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void optionBoxesEditTheirPosition_data();
    void optionBoxesEditTheirPosition();
    void marksEditTheFirstTwoCharacters();
    void setPadsAndKeepsTheString();
    void getAsksForTheOptions();
    void completeFilterLine();
    void dateTimeSource();

private:
    template <typename T> T *child(const QString &name) { return ::child<T>(*form_, name); }
    QString options() { return child<QLineEdit>(QStringLiteral("StringStr1"))->text(); }
    QByteArray click(const QString &name) {
        child<QPushButton>(name)->click();
        return peer_->read();
    }
};

void IoOtherTest::optionBoxesEditTheirPosition_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("firstClick");
    QTest::addColumn<QString>("secondClick");
    QTest::newRow("5 unchecked") << 5 << QStringLiteral("MPEDDDDDDEEDEDE")
                                 << QStringLiteral("MPEDEDDDDEEDEDE");
    // Box 13 starts unchecked while its character starts "E".
    QTest::newRow("13 ticked keeps E") << 13 << QStringLiteral("MPEDEDDDDEEDEDE")
                                       << QStringLiteral("MPEDEDDDDEEDDDE");
    QTest::newRow("3 unchecked") << 3 << QStringLiteral("MPDDEDDDDEEDEDE")
                                 << QStringLiteral("MPEDEDDDDEEDEDE");
    QTest::newRow("15 unchecked") << 15 << QStringLiteral("MPEDEDDDDEEDEDD")
                                  << QStringLiteral("MPEDEDDDDEEDEDE");
    QTest::newRow("4 ticked") << 4 << QStringLiteral("MPEEEDDDDEEDEDE")
                              << QStringLiteral("MPEDEDDDDEEDEDE");
}

void IoOtherTest::optionBoxesEditTheirPosition() {
    QFETCH(int, box);
    QFETCH(QString, firstClick);
    QFETCH(QString, secondClick);
    QCOMPARE(options(), QStringLiteral("MPEDEDDDDEEDEDE"));
    auto *b = child<QCheckBox>(QStringLiteral("oCheckBox%1").arg(box));
    b->click();
    QCOMPARE(options(), firstClick);
    b->click();
    QCOMPARE(options(), secondClick);
    // Nothing is sent until "SET".
    QCOMPARE(peer_->read(100), QByteArray());
}

void IoOtherTest::marksEditTheFirstTwoCharacters() {
    auto *minus = child<QLineEdit>(QStringLiteral("MinusMark"));
    minus->selectAll();
    QTest::keyClicks(minus, QStringLiteral("L"));
    QCOMPARE(options(), QStringLiteral("LPEDEDDDDEEDEDE"));
    QTest::keyClick(minus, Qt::Key_Backspace);
    QCOMPARE(minus->text(), QString());
    QCOMPARE(options(), QStringLiteral("LPEDEDDDDEEDEDE"));
    auto *plus = child<QLineEdit>(QStringLiteral("PlusMark"));
    plus->selectAll();
    QTest::keyClicks(plus, QStringLiteral("H"));
    QCOMPARE(options(), QStringLiteral("LHEDEDDDDEEDEDE"));
}

void IoOtherTest::setPadsAndKeepsTheString() {
    QCOMPARE(click(QStringLiteral("SetOther")), framed("SETMP MPEDEDDDDEEDEDE "));
    QCOMPARE(options(), QStringLiteral("MPEDEDDDDEEDEDE "));
    QCOMPARE(form_->work().OtherParametersWork, QByteArray("MPEDEDDDDEEDEDE "));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("MemoS"))->toPlainText(),
             QStringLiteral("SETMP MPEDEDDDDEEDEDE "));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("MemoSMSinput"))->toPlainText(), QString());
    QVERIFY(form_->link().flags().DisplayPending);
    QCOMPARE(click(QStringLiteral("SetOther")), framed("SETMP MPEDEDDDDEEDEDE "));
    // An edit after "SET" works on the padded string; the working copy
    // changes only with the next "SET".
    child<QCheckBox>(QStringLiteral("oCheckBox9"))->click();
    QCOMPARE(options(), QStringLiteral("MPEDEDDDEEEDEDE "));
    QCOMPARE(form_->work().OtherParametersWork, QByteArray("MPEDEDDDDEEDEDE "));
    QCOMPARE(click(QStringLiteral("SetOther")), framed("SETMP MPEDEDDDEEEDEDE "));
    QCOMPARE(form_->work().OtherParametersWork, QByteArray("MPEDEDDDEEEDEDE "));
}

void IoOtherTest::getAsksForTheOptions() {
    QCOMPARE(click(QStringLiteral("GetOther")), framed("GETMP"));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("MemoS"))->toPlainText(), QStringLiteral("GETMP"));
    QVERIFY(form_->link().flags().DisplayPending);
    QCOMPARE(options(), QStringLiteral("MPEDEDDDDEEDEDE"));
}

void IoOtherTest::completeFilterLine() {
    QCOMPARE(click(QStringLiteral("SetTimeoutFilter")), framed("SETTF 00 00 0"));
    child<QScrollBar>(QStringLiteral("TTimeout1SB"))->setValue(5);
    child<QScrollBar>(QStringLiteral("ATimeout1SB"))->setValue(12);
    child<QScrollBar>(QStringLiteral("DFilterSB"))->setValue(3);
    QCOMPARE(child<QLineEdit>(QStringLiteral("TTimeout1"))->text(), QStringLiteral("5"));
    QCOMPARE(child<QLineEdit>(QStringLiteral("ATimeout1"))->text(), QStringLiteral("12"));
    QCOMPARE(child<QLineEdit>(QStringLiteral("DFilter"))->text(), QStringLiteral("3"));
    QCOMPARE(click(QStringLiteral("SetTimeoutFilter")), framed("SETTF 05 12 3"));
    // The copies on the I/O tabs did not move.
    QCOMPARE(child<QLineEdit>(QStringLiteral("TTimeout1t"))->text(), QStringLiteral("0"));
    QCOMPARE(child<QLineEdit>(QStringLiteral("ATimeout1a"))->text(), QStringLiteral("0"));
    QCOMPARE(child<QLineEdit>(QStringLiteral("DFilterD"))->text(), QStringLiteral("0"));
}

void IoOtherTest::dateTimeSource() {
    auto *group = child<zx::ui::RadioGroup>(QStringLiteral("RadioGroup2"));
    QCOMPARE(group->itemIndex(), 2);
    QCOMPARE(group->button(2)->text(), QStringLiteral("NITZ-RTC"));
    QCOMPARE(click(QStringLiteral("Button1")), framed("DTFTP3"));
    group->button(6)->click();
    QCOMPARE(click(QStringLiteral("Button1")), framed("DTFTP7"));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("MemoS"))->toPlainText(), QStringLiteral("DTFTP7"));
}

QTEST_MAIN(IoOtherTest)
#include "tst_io_other.moc"
