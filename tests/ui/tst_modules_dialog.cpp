// "Module" -> "Modules…" over a register two runs and a tag filled: the
// table and its filter, a module's runs newest first, a run's commands with
// what it never sent, "Compare with now" naming the value a later run
// changed, "Open in window" giving the known values over the window's own,
// and a register setting that cannot be opened said so.
#include "register/KnownRecord.h"
#include "register/Register.h"
#include "ui/register/ModulesDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace zx;

namespace {

QByteArray alarmSlot(const QByteArray &number) {
    settings::ConfigRecord record;
    record.setAlarmNumber(1, number);
    return reg::entryBytes(record, QStringLiteral("AlarmNumbers[1]"));
}

// One write run of the given lines; the first answered commands confirm
// the values, the rest are "no answer"; plan may hold more lines than were
// sent (the run is then left as an interrupted program leaves it).
void writeRun(reg::Register &r, const QString &module, const QStringList &plan,
              const QList<QList<reg::Value>> &answered, int sent, const QString &outcome) {
    const std::optional<qint64> run =
        r.beginRun({module, QStringLiteral("write"), QStringLiteral("Com1"), plan});
    QVERIFY(run);
    for (int n = 0; n < sent; ++n) {
        reg::CommandOutcome o;
        o.line = plan.at(n);
        o.answered = n < answered.size();
        o.answer = o.answered ? QStringLiteral("OK") : QString();
        o.status = o.answered ? QStringLiteral("answered") : QStringLiteral("no answer");
        o.endMs = 40 + n;
        if (o.answered)
            o.values = answered.at(n);
        QVERIFY(r.recordCommand(*run, n, o));
    }
    QVERIFY(r.finishRun(*run, outcome));
}

// With ZENTORIX_SCREENSHOTS=DIR, the dialog as it stands, for the README.
void screenshot(QWidget &dialog, const char *name) {
    const QString folder = qEnvironmentVariable("ZENTORIX_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().save(folder + QLatin1Char('/') + QLatin1String(name)));
}

QStringList column(const QTableWidget *table, int c) {
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
        if (!table->isRowHidden(row))
            cells << (table->item(row, c) ? table->item(row, c)->text() : QString());
    return cells;
}

void chooseRow(QTableWidget *table, int c, const QString &text) {
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, c)->text() == text) {
            table->selectRow(row);
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no row %1").arg(text)));
}

} // namespace

class ModulesDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("config"))));
        qunsetenv("ZENTORIX_REGISTER");
    }

    void showsHistoryComparesAndOpensInWindow() {
        {
            reg::Location location;
            location.path = reg::defaultSqlitePath();
            QString error;
            auto r = reg::Register::open(location, &error);
            QVERIFY2(r, qPrintable(error));
            const QString pump = QStringLiteral("+4930222");
            const QString tank = QStringLiteral("+4930111");
            settings::ConfigRecord apnRecord;
            apnRecord.setGprsApn("internet.de");
            const QList<reg::Value> apnValue = reg::valuesOf(apnRecord, {QStringLiteral("GprsApn")});
            writeRun(*r, tank,
                     {QStringLiteral("SETNN1 +4930100"), QStringLiteral("SETGA internet.de"),
                      QStringLiteral("SETNN2 +4930200")},
                     {{{QStringLiteral("AlarmNumbers[1]"), alarmSlot("+4930100"), false}}, apnValue},
                     3, QStringLiteral("incomplete"));
            writeRun(*r, tank, {QStringLiteral("SETNN1 +4930199")},
                     {{{QStringLiteral("AlarmNumbers[1]"), alarmSlot("+4930199"), false}}}, 1,
                     QStringLiteral("complete"));
            writeRun(*r, pump, {QStringLiteral("SETNN1 +4930300"), QStringLiteral("SETNN2 +4930400")},
                     {}, 1, QStringLiteral("port error"));
            QVERIFY(r->describe(pump, QStringLiteral("Pump station"), QStringLiteral("North")));
            QVERIFY(r->addTags(pump, {QStringLiteral("pumps")}));
        }

        settings::ConfigRecord window;
        window.setAlarmNumber(1, "+4999");
        window.setAlarmNumber(3, "+4933333");
        std::optional<settings::ConfigRecord> opened;
        bool running = false;
        ui::ModulesDialog dialog({[&] { return window; },
                                  [&](const settings::ConfigRecord &r) { opened = r; },
                                  [&] { return running; }},
                                 nullptr);
        auto *modules = dialog.findChild<QTableWidget *>(QStringLiteral("ModulesTable"));
        auto *history = dialog.findChild<QTableWidget *>(QStringLiteral("ModuleHistory"));
        auto *commands = dialog.findChild<QTableWidget *>(QStringLiteral("RunCommands"));
        auto *filter = dialog.findChild<QLineEdit *>(QStringLiteral("ModulesFilter"));
        auto *compare = dialog.findChild<QPushButton *>(QStringLiteral("CompareWithNow"));
        auto *open = dialog.findChild<QPushButton *>(QStringLiteral("OpenInWindow"));
        auto *text = dialog.findChild<QPlainTextEdit *>(QStringLiteral("CompareWithNowText"));
        QVERIFY(modules && history && commands && filter && compare && open && text);

        modules->sortItems(0);
        QCOMPARE(column(modules, 0), (QStringList{QStringLiteral("+4930111"), QStringLiteral("+4930222")}));
        QCOMPARE(column(modules, 5), (QStringList{QStringLiteral("complete"), QStringLiteral("port error")}));
        QCOMPARE(column(modules, 6), (QStringList{QString(), QStringLiteral("pumps")}));
        filter->setText(QStringLiteral("PUMP"));
        QCOMPARE(column(modules, 0), QStringList{QStringLiteral("+4930222")});
        filter->setText(QStringLiteral("north"));
        QCOMPARE(column(modules, 1), QStringList{QStringLiteral("Pump station")});
        filter->clear();
        QCOMPARE(modules->rowCount(), 2);
        screenshot(dialog, "modules.png");

        // The port error's run: one command unanswered, one never sent.
        chooseRow(modules, 0, QStringLiteral("+4930222"));
        QCOMPARE(history->rowCount(), 1);
        history->selectRow(0);
        QCOMPARE(column(commands, 3), (QStringList{QStringLiteral("no answer"), QStringLiteral("not sent")}));
        QCOMPARE(column(commands, 0).last(), QStringLiteral("SETNN2 +4930400"));

        chooseRow(modules, 0, QStringLiteral("+4930111"));
        QCOMPARE(column(history, 6), (QStringList{QStringLiteral("complete"), QStringLiteral("incomplete")}));
        QCOMPARE(column(history, 5), (QStringList{QStringLiteral("1 of 1"), QStringLiteral("2 of 3")}));
        history->selectRow(1);
        QCOMPARE(column(commands, 0), (QStringList{QStringLiteral("SETNN1 +4930100"), QStringLiteral("SETGA internet.de"),
                                                   QStringLiteral("SETNN2 +4930200")}));
        QCOMPARE(column(commands, 3).last(), QStringLiteral("no answer"));
        compare->click();
        QVERIFY2(text->toPlainText().contains(QStringLiteral("AlarmNumbers[1]")), qPrintable(text->toPlainText()));
        QVERIFY(text->toPlainText().contains(QStringLiteral("+4930100")));
        QVERIFY(text->toPlainText().contains(QStringLiteral("+4930199")));
        QVERIFY2(!text->toPlainText().contains(QStringLiteral("GprsApn")), "the APN did not change");

        screenshot(dialog, "modules-history.png");
        // While a run holds the controls, nothing goes into them.
        running = true;
        open->click();
        QVERIFY(!opened);
        QVERIFY2(text->toPlainText().contains(QStringLiteral("run is going on")), qPrintable(text->toPlainText()));
        running = false;
        open->click();
        QVERIFY2(opened, qPrintable(text->toPlainText()));
        QCOMPARE(opened->AlarmNumber(1), QByteArray("+4930199"));
        QCOMPARE(opened->GprsApn(), QByteArray("internet.de"));
        QCOMPARE(opened->AlarmNumber(2), QByteArray()); // never answered: the window's own
        QCOMPARE(opened->AlarmNumber(3), QByteArray("+4933333"));
    }

    void aRegisterThatCannotBeOpenedIsSaidSo() {
        qputenv("ZENTORIX_REGISTER", "postgresql://nobody@/");
        ui::ModulesDialog dialog({[] { return settings::ConfigRecord{}; }, [](const settings::ConfigRecord &) {}, {}},
                                 nullptr);
        const QString said = dialog.findChild<QLabel *>(QStringLiteral("ModulesRegister"))->text();
        QVERIFY2(said.contains(QStringLiteral("cannot be opened")) && said.contains(QStringLiteral("Reload")),
                 qPrintable(said));
        QCOMPARE(dialog.findChild<QTableWidget *>(QStringLiteral("ModulesTable"))->rowCount(), 0);
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("OpenInWindow"))->isEnabled());
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(ModulesDialogTest)
#include "tst_modules_dialog.moc"
