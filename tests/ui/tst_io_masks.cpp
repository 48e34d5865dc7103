// The "Number Mask" group: the real check boxes edit the mask texts and the
// working copies, start-up decoding sets the rows, "Set Numbers  Filter"
// sends the masks.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"
#include "ui/tabs/EventMaskGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class IoMaskTest : public QObject, protected WindowOnPty {
    Q_OBJECT
private slots:
    void init() { open(designTimeSettings()); }
    void cleanup() { close(); }

    void everyBoxExistsAndStartsChecked();
    void numberBoxFlipsOneBit();
    void temperatureRowAllOff();
    void disabledDigitalRowEditsTheWorkingCopy();
    void disableMarkers();
    void startUpDecoding_data();
    void startUpDecoding();
    void setNumbersFilterSendsTheMasks();

private:
    QCheckBox *box(const QString &name) {
        auto *b = form_->findChild<QCheckBox *>(name);
        if (!b)
            qFatal("no box %s", qPrintable(name));
        return b;
    }
    QString mask(const char *name) {
        return form_->findChild<QLineEdit *>(QString::fromLatin1(name))->text();
    }
    zx::ui::EventMaskGroup *group() { return form_->findChild<zx::ui::EventMaskGroup *>(); }
};

void IoMaskTest::everyBoxExistsAndStartsChecked() {
    const struct {
        char kind;
        int rows;
        int width;
    } kinds[] = {{'T', 3, 1}, {'A', 8, 1}, {'D', 12, 2}};
    int numbers = 0;
    for (const auto &k : kinds) {
        for (int r = 1; r <= k.rows; ++r) {
            const QString row = QStringLiteral("%1").arg(r, k.width, 10, QLatin1Char('0'));
            for (int c = 1; c <= 4; ++c) {
                QVERIFY(box(QStringLiteral("CheckBox%1%2%3").arg(QLatin1Char(k.kind)).arg(c).arg(row))
                            ->isChecked());
                ++numbers;
            }
            QVERIFY(!box(QStringLiteral("CheckBox%1%2dis").arg(QLatin1Char(k.kind)).arg(row))->isChecked());
        }
    }
    QCOMPARE(numbers, 92);
    QCOMPARE(mask("TNrFilter"), QStringLiteral("FFF"));
    QCOMPARE(mask("ANrFilter"), QStringLiteral("FFFFFFFF"));
    QCOMPARE(mask("DNrFilter"), QStringLiteral("FFFFFFFFFFFF"));
    QCOMPARE(form_->findChild<QLabel *>(QStringLiteral("RTname1"))->text(), QStringLiteral("Runtime 1"));
    QCOMPARE(form_->findChild<QLabel *>(QStringLiteral("RTname2"))->text(), QStringLiteral("Runtime 2"));
}

void IoMaskTest::numberBoxFlipsOneBit() {
    box(QStringLiteral("CheckBoxA23"))->click();
    QCOMPARE(mask("ANrFilter"), QStringLiteral("FFDFFFFF"));
    box(QStringLiteral("CheckBoxA48"))->click();
    QCOMPARE(mask("ANrFilter"), QStringLiteral("FFDFFFF7"));
    box(QStringLiteral("CheckBoxA23"))->click();
    QCOMPARE(mask("ANrFilter"), QStringLiteral("FFFFFFF7"));
    box(QStringLiteral("CheckBoxA48"))->click();
    QCOMPARE(mask("ANrFilter"), QStringLiteral("FFFFFFFF"));
    QCOMPARE(mask("TNrFilter"), QStringLiteral("FFF"));
    QCOMPARE(mask("DNrFilter"), QStringLiteral("FFFFFFFFFFFF"));
}

void IoMaskTest::temperatureRowAllOff() {
    const char *steps[] = {"EFF", "CFF", "8FF", "0FF"};
    for (int c = 1; c <= 4; ++c) {
        box(QStringLiteral("CheckBoxT%1%2").arg(c).arg(1))->click();
        QCOMPARE(mask("TNrFilter"), QString::fromLatin1(steps[c - 1]));
    }
    // The row stays enabled: "0" is a digit here, not the marker.
    QVERIFY(!box(QStringLiteral("CheckBoxT1dis"))->isChecked());
}

void IoMaskTest::disabledDigitalRowEditsTheWorkingCopy() {
    box(QStringLiteral("CheckBoxD05dis"))->click();
    QCOMPARE(mask("DNrFilter"), QStringLiteral("FFFF0FFFFFFF"));
    QCOMPARE(form_->work().DigitalMaskChars.at(4), 'F');
    box(QStringLiteral("CheckBoxD105"))->click();
    QCOMPARE(mask("DNrFilter"), QStringLiteral("FFFF0FFFFFFF"));
    QCOMPARE(form_->work().DigitalMaskChars.at(4), 'E');
    // The boxes of the row keep their states across disable and enable.
    QVERIFY(!box(QStringLiteral("CheckBoxD105"))->isChecked());
    box(QStringLiteral("CheckBoxD05dis"))->click();
    QCOMPARE(mask("DNrFilter"), QStringLiteral("FFFFEFFFFFFF"));
    box(QStringLiteral("CheckBoxD105"))->click();
    QCOMPARE(mask("DNrFilter"), QStringLiteral("FFFFFFFFFFFF"));
}

void IoMaskTest::disableMarkers() {
    box(QStringLiteral("CheckBoxA2dis"))->click();
    QCOMPARE(mask("ANrFilter"), QStringLiteral("F-FFFFFF"));
    box(QStringLiteral("CheckBoxA2dis"))->click();
    QCOMPARE(mask("ANrFilter"), QStringLiteral("FFFFFFFF"));
    box(QStringLiteral("CheckBoxD11dis"))->click();
    QCOMPARE(mask("DNrFilter"), QStringLiteral("FFFFFFFFFF-F"));
    box(QStringLiteral("CheckBoxD10dis"))->click();
    QCOMPARE(mask("DNrFilter"), QStringLiteral("FFFFFFFFF0-F"));
    box(QStringLiteral("CheckBoxT3dis"))->click();
    QCOMPARE(mask("TNrFilter"), QStringLiteral("FF-"));
}

void IoMaskTest::startUpDecoding_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<QString>("boxes"); // columns 1..4, "1" = checked
    QTest::addColumn<QString>("enabled");
    QTest::newRow("0 comes back disabled") << QByteArray("0FF") << QStringLiteral("-FF") << true
                                           << QStringLiteral("0000") << QStringLiteral("0FF");
    QTest::newRow("- comes back disabled") << QByteArray("-FF") << QStringLiteral("-FF") << true
                                           << QStringLiteral("0000") << QStringLiteral("0FF");
    QTest::newRow("lower case is not a digit") << QByteArray("bFF") << QStringLiteral("-FF") << true
                                               << QStringLiteral("0000") << QStringLiteral("0FF");
    QTest::newRow("B sets bits 1, 2, 8") << QByteArray("BFF") << QStringLiteral("BFF") << false
                                         << QStringLiteral("1101") << QString();
    QTest::newRow("F all") << QByteArray("FFF") << QStringLiteral("FFF") << false
                           << QStringLiteral("1111") << QString();
}

void IoMaskTest::startUpDecoding() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QFETCH(bool, disabled);
    QFETCH(QString, boxes);
    QFETCH(QString, enabled);
    // What the start-up does before decoding: texts and working copies.
    auto *t = form_->findChild<QLineEdit *>(QStringLiteral("TNrFilter"));
    t->setText(QString::fromLatin1(stored));
    form_->work().TempMaskChars = stored;
    group()->decodeMasks(stored, "FFFFFFFF", "000000000000");

    QCOMPARE(t->text(), shown);
    QCOMPARE(box(QStringLiteral("CheckBoxT1dis"))->isChecked(), disabled);
    for (int c = 1; c <= 4; ++c)
        QCOMPARE(box(QStringLiteral("CheckBoxT%1%2").arg(c).arg(1))->isChecked(), boxes[c - 1] == QLatin1Char('1'));
    if (disabled) {
        QCOMPARE(form_->work().TempMaskChars.at(0), '0');
        box(QStringLiteral("CheckBoxT1dis"))->click();
        QCOMPARE(t->text(), enabled);
    }
    // The stored digital default "000000000000" disables every row; rows 11
    // and 12 carry their own marker.
    QCOMPARE(mask("DNrFilter"), QStringLiteral("0000000000--"));
    QVERIFY(box(QStringLiteral("CheckBoxD12dis"))->isChecked());
    QVERIFY(!box(QStringLiteral("CheckBoxD412"))->isChecked());
}

void IoMaskTest::setNumbersFilterSendsTheMasks() {
    auto *set = form_->findChild<QPushButton *>(QStringLiteral("SetNfilter1"));
    QCOMPARE(set->text(), QStringLiteral("Set Numbers  Filter"));
    set->click();
    QCOMPARE(peer_->read(), framed("SETME FFF  FFFFFFFF FFFFFFFFFFFF"));
    box(QStringLiteral("CheckBoxA2dis"))->click();
    box(QStringLiteral("CheckBoxT21"))->click();
    set->click();
    QCOMPARE(peer_->read(), framed("SETME DFF  F-FFFFFF FFFFFFFFFFFF"));
}

QTEST_MAIN(IoMaskTest)
#include "tst_io_masks.moc"
