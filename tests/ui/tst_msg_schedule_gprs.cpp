// "SMS Shedule" and "GPRS, FTP": the schedule string kept by the control
// reactions, the SETSH lines of "SET", the stored schedule given to the
// controls at start-up, and the GPRS/FTP parameter lines and answers.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"
#include "ui/tabs/ScheduleTab.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {



struct Hour {
    bool enabled;
    int position;
};

} // namespace

Q_DECLARE_METATYPE(QList<Hour>)

class MsgScheduleGprsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        openWindowOnPty(env_, peer_, form_);
        schedule_ = form_->findChild<zx::ui::ScheduleTab *>();
        QVERIFY(schedule_);
    }
    void cleanup() {
        form_.reset();
        peer_.reset();
        env_.reset();
    }

    void setSendsTheSchedule_data();
    void setSendsTheSchedule();
    void reactionsWriteSinglePlaces();
    void getAsksForTheSchedule();
    void storedScheduleGivesTheControls();
    void parameterLines();
    void readBoxSwitchesCaptions();
    void answersFillParameterBoxes();

private:
    QSlider *bar(int k) { return child<QSlider>(*form_, QStringLiteral("TrackBar%1").arg(k)); }
    QCheckBox *enable(int k) {
        return child<QCheckBox>(*form_, QStringLiteral("CheckBoxS%1").arg(k));
    }
    zx::ui::RadioGroup *group(const char *name) {
        return child<zx::ui::RadioGroup>(*form_, QString::fromLatin1(name));
    }
    QLineEdit *box(const char *name) { return child<QLineEdit>(*form_, QString::fromLatin1(name)); }
    void click(const char *name) { child<QPushButton>(*form_, QString::fromLatin1(name))->click(); }
    QString echo() { return child<QPlainTextEdit>(*form_, QStringLiteral("MemoS"))->toPlainText(); }

    std::unique_ptr<UiTestEnv> env_;
    std::unique_ptr<PtyPeer> peer_;
    std::unique_ptr<TForm1> form_;
    zx::ui::ScheduleTab *schedule_ = nullptr;
};

void MsgScheduleGprsTest::setSendsTheSchedule_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("repetition");
    QTest::addColumn<QList<Hour>>("hours");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("Temperature, other, 8 - 15 20")
        << 1 << 4 << QList<Hour>{{true, 8}, {false, 3}, {true, 15}, {true, 20}}
        << QByteArray("SETSH T08  1520");
    QTest::newRow("Analog every hour")
        << 0 << 0 << QList<Hour>{{false, 0}, {false, 0}, {false, 0}, {false, 0}}
        << QByteArray("SETSH A33      ");
    QTest::newRow("10 min over an enabled first hour")
        << 2 << 1 << QList<Hour>{{true, 9}, {false, 0}, {false, 0}, {false, 0}}
        << QByteArray("SETSH D44      ");
    QTest::newRow("Disable") << 10 << 0 << QList<Hour>{{true, 1}, {true, 2}, {true, 3}, {true, 4}}
                             << QByteArray("SETSH          ");
}

void MsgScheduleGprsTest::setSendsTheSchedule() {
    QFETCH(int, type);
    QFETCH(int, repetition);
    QFETCH(QList<Hour>, hours);
    QFETCH(QByteArray, line);
    group("SMSShed")->setItemIndex(type);
    group("RadioGroup1")->setItemIndex(repetition);
    for (int k = 1; k <= 4; ++k) {
        enable(k)->setChecked(hours[k - 1].enabled);
        bar(k)->setValue(hours[k - 1].position);
    }
    click("SetShedule");
    QCOMPARE(peer_->read(), framed(line));
    QCOMPARE(echo(), QString::fromLatin1(line));
    QCOMPARE(schedule_->schedule().text(), line.mid(6));
    QCOMPARE(form_->work().ScheduleString, line.mid(6));
}

void MsgScheduleGprsTest::reactionsWriteSinglePlaces() {
    // A fresh string has length 0: the reactions write places beyond it.
    group("SMSShed")->setItemIndex(7);
    QCOMPARE(schedule_->schedule().at(1), 'P');
    QCOMPARE(schedule_->schedule().text(), QByteArray());

    schedule_->load("A08101520");
    enable(3)->setChecked(true);
    bar(3)->setValue(7);
    QCOMPARE(form_->work().ScheduleString, QByteArray("A08100720"));
    enable(3)->setChecked(false);
    QCOMPARE(form_->work().ScheduleString, QByteArray("A0810  20"));
    bar(3)->setValue(9); // unchecked: no change
    QCOMPARE(form_->work().ScheduleString, QByteArray("A0810  20"));
    enable(2)->setChecked(false);
    QCOMPARE(form_->work().ScheduleString, QByteArray("A08    20"));
    group("RadioGroup1")->setItemIndex(2);
    QCOMPARE(form_->work().ScheduleString, QByteArray("A55    20"));
    group("RadioGroup1")->setItemIndex(4); // "other" writes nothing
    QCOMPARE(form_->work().ScheduleString, QByteArray("A55    20"));
    group("SMSShed")->setItemIndex(10);
    QCOMPARE(form_->work().ScheduleString, QByteArray(" 55    20"));
    QCOMPARE(peer_->read(200), QByteArray()); // the reactions send nothing
}

void MsgScheduleGprsTest::getAsksForTheSchedule() {
    click("GetShedule");
    QCOMPARE(peer_->read(), framed("GETSH"));
    QCOMPARE(echo(), QStringLiteral("GETSH"));
}

void MsgScheduleGprsTest::storedScheduleGivesTheControls() {
    schedule_->load("T08  1520");
    QCOMPARE(group("SMSShed")->itemIndex(), 1);
    QCOMPARE(bar(1)->value(), 8);
    QVERIFY(enable(1)->isChecked());
    QVERIFY(!enable(2)->isChecked());
    QCOMPARE(bar(3)->value(), 15);
    QCOMPARE(bar(4)->value(), 20);
    QVERIFY(enable(3)->isChecked() && enable(4)->isChecked());
    QCOMPARE(group("RadioGroup1")->itemIndex(), 4);
    QCOMPARE(form_->work().ScheduleString, QByteArray("T08  1520"));

    bar(2)->setValue(5);
    schedule_->load("A33      ");
    QCOMPARE(group("RadioGroup1")->itemIndex(), 0);
    QCOMPARE(bar(1)->value(), 0);
    QVERIFY(enable(1)->isChecked());
    // Pair 2 is blank: its bar is left alone, its box cleared.
    QCOMPARE(bar(2)->value(), 5);
    QVERIFY(!enable(2)->isChecked());
    QCOMPARE(form_->work().ScheduleString, QByteArray("A33      "));

    schedule_->load("A35      ");
    QCOMPARE(bar(1)->value(), 0);
    QCOMPARE(group("RadioGroup1")->itemIndex(), 0); // left alone

    schedule_->load("D0830    ");
    QCOMPARE(bar(2)->value(), 23);
    QCOMPARE(form_->work().ScheduleString, QByteArray("D0830    "));

    // An all-zero settings record: "Disable", "other", nothing stored.
    schedule_->load(QByteArray());
    QCOMPARE(group("SMSShed")->itemIndex(), 10);
    QCOMPARE(group("RadioGroup1")->itemIndex(), 4);
    QCOMPARE(schedule_->schedule().at(1), ' ');
    QCOMPARE(form_->work().ScheduleString, QByteArray());
    for (int k = 1; k <= 4; ++k)
        QVERIFY(!enable(k)->isChecked());
}

void MsgScheduleGprsTest::parameterLines() {
    struct Case {
        const char *button, *box;
        QString text;
        QByteArray line;
        QString boxAfter;
    } const cases[] = {
        {"UIDbtn", "UserID", QStringLiteral("first second"), "SETID first",
         QStringLiteral("first")},
        {"UIDbtn", "UserID", QString(), "SETID ", QString()},
        {"APNbtn", "APN", QString(), "SETAP    ", QString()},
        {"APNbtn", "APN", QStringLiteral(" web"), "SETAP    ", QStringLiteral(" web")},
        {"APNbtn", "APN", QStringLiteral("internet x"), "SETAP internet",
         QStringLiteral("internet")},
        {"IPbtn", "IPaddress", QStringLiteral("0.0.0.0"), "SETIP 0.0.0.0",
         QStringLiteral("0.0.0.0")},
        {"FPWbtn", "PasswordFTP", QStringLiteral(" pw"), "SETPF ", QString()},
        {"DirNameBtn", "DirName", QStringLiteral("/log"), "SETDN /log", QStringLiteral("/log")},
    };
    for (const Case &c : cases) {
        box(c.box)->setText(c.text);
        click(c.button);
        QCOMPARE(peer_->read(), framed(c.line));
        QCOMPARE(echo(), QString::fromLatin1(c.line));
        QCOMPARE(box(c.box)->text(), c.boxAfter);
    }
}

void MsgScheduleGprsTest::readBoxSwitchesCaptions() {
    const char *const buttons[] = {"APNbtn",         "UIDbtn", "PWbtn",  "IPbtn",
                                   "FTPHostNamebtn", "UNbtn",  "FPWbtn", "DirNameBtn"};
    for (const char *b : buttons)
        QCOMPARE(child<QPushButton>(*form_, QString::fromLatin1(b))->text(),
                 QStringLiteral("WRITE"));
    auto *read = child<QCheckBox>(*form_, QStringLiteral("ReadGPRS1"));
    read->setChecked(true);
    for (const char *b : buttons)
        QCOMPARE(child<QPushButton>(*form_, QString::fromLatin1(b))->text(), QStringLiteral("RD"));
    box("UserNameFTP")->setText(QStringLiteral("kept value"));
    click("UNbtn");
    QCOMPARE(peer_->read(), framed("GETAF "));
    QCOMPARE(echo(), QStringLiteral("GETAF "));
    QCOMPARE(box("UserNameFTP")->text(), QStringLiteral("kept value"));
    read->setChecked(false);
    for (const char *b : buttons)
        QCOMPARE(child<QPushButton>(*form_, QString::fromLatin1(b))->text(), QStringLiteral("WR"));
}

void MsgScheduleGprsTest::answersFillParameterBoxes() {
    child<QTabWidget>(*form_, QStringLiteral("PageControl1"))->setCurrentIndex(10);
    struct Case {
        QByteArray answer;
        const char *box;
        QString expected;
    } const cases[] = {
        {"UserID: x", "UserID", QStringLiteral("x")},
        {"USERID: y", "UserID", QStringLiteral("x")},
        {"PASSWORD: pw", "Password", QStringLiteral("pw")},
        {"Password FTP: pf", "PasswordFTP", QStringLiteral("pf")},
        {"UserID y", "UserID", QStringLiteral("x")},
        {"IP address: 10.0.0.1", "IPaddress", QStringLiteral("10.0.0.1")},
    };
    for (const Case &c : cases) {
        deliver(*form_, *peer_, c.answer);
        tick(*form_);
        QCOMPARE(box(c.box)->text(), c.expected);
    }
    QCOMPARE(box("APN")->text(), QString());
}

QTEST_MAIN(MsgScheduleGprsTest)
#include "tst_msg_schedule_gprs.moc"
