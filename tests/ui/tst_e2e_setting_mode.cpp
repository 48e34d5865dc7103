// The window against the simulated module on the serial line: outputs, an
// SMS text, the GPRS/FTP parameters and an alarm number written into the
// module and read back into the window.
#include "support/SimHarness.h"
#include "support/WindowOnPty.h"
#include "ui/widgets/RadioGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include "ui/TabTable.h"

#include <QtTest>

using zx::sim::Simulator;

namespace {

using zx::ui::kAbonentsTab;
using zx::ui::kExternalSmsTab;
using zx::ui::kGprsFtpTab;


} // namespace

class E2eSettingModeTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        sim_ = std::make_unique<SimHarness>(Simulator::Mode::Setting);
        QVERIFY(sim_->simulatorRunning());
        sim_->open(settingModeSettings());
        QVERIFY(sim_->window().CommPortDriver1().Connected());
    }
    void cleanup() { sim_.reset(); }

    void outputsSwitchAndReadBack();
    void externalTextWrittenAndReadBack();
    void gprsFtpParametersWrittenAndReadBack();
    void alarmNumberWrittenAndReadBack();

private:
    // Clicks the button and waits until the module has taken the line (its
    // padding aside) and the window has shown the answer.
    bool command(const QString &button, const QByteArray &expectedLine, const QString &answer) {
        const qsizetype before = sim_->commands.size();
        sim_->child<QPushButton>(button)->click();
        return sim_->pumpUntil([&] {
            return sim_->commands.size() > before && sim_->commands.last().trimmed() == expectedLine &&
                   sim_->memoText().contains(answer);
        });
    }

    std::unique_ptr<SimHarness> sim_;
};

void E2eSettingModeTest::outputsSwitchAndReadBack() {
    const auto &outputs = sim_->sim.module().state().outputs;
    QVERIFY(!outputs[2]);

    QVERIFY(command(QStringLiteral("SetOut3"), "SETOU3", QStringLiteral("OUT3 ON")));
    QCOMPARE(sim_->wire, framed("SETOU3"));
    QVERIFY(outputs[2]);
    for (int i : {0, 1, 3, 4, 5, 6, 7})
        QVERIFY2(!outputs[size_t(i)], qPrintable(QString::number(i + 1)));

    QVERIFY(command(QStringLiteral("GetOut3"), "GETOS3", QStringLiteral("OUT3 ON")));
    QVERIFY(!sim_->memoText().contains(QStringLiteral("OFF")));

    QVERIFY(command(QStringLiteral("ResetOut3"), "RSTOU3", QStringLiteral("OUT3 OFF")));
    QVERIFY(!outputs[2]);
    QVERIFY(command(QStringLiteral("GetOut3"), "GETOS3", QStringLiteral("OUT3 OFF")));
    // Each command cleared the memo: only the last answer is shown.
    QCOMPARE(sim_->memoText().count(QStringLiteral("OUT3")), 1);
    QCOMPARE(sim_->wire, framed("SETOU3") + framed("GETOS3") + framed("RSTOU3") + framed("GETOS3"));
}

void E2eSettingModeTest::externalTextWrittenAndReadBack() {
    sim_->clickTab(kExternalSmsTab);
    auto *box = sim_->child<QLineEdit>(QStringLiteral("TXTSMS12"));
    box->setText(QStringLiteral("Pump 2 pressure HIGH"));
    QVERIFY(command(QStringLiteral("TXTSMSb12"), "SETTX12 Pump 2 pressure HIGH", QStringLiteral("OK")));
    QCOMPARE(sim_->sim.module().state().externalTexts[11], QByteArray("Pump 2 pressure HIGH"));
    QCOMPARE(sim_->window().record().ExternalText(12), QByteArray("Pump 2 pressure HIGH"));
    QCOMPARE(box->text(), QStringLiteral("Pump 2 pressure HIGH"));

    box->clear();
    sim_->child<QCheckBox>(QStringLiteral("GetText"))->setChecked(true);
    QCOMPARE(sim_->child<QPushButton>(QStringLiteral("TXTSMSb12"))->text(), QStringLiteral("RD"));
    QVERIFY(command(QStringLiteral("TXTSMSb12"), "GETTX12", QStringLiteral("12: Pump 2")));
    QVERIFY(sim_->pumpUntil([&] { return !box->text().isEmpty(); }));
    QCOMPARE(box->text().trimmed(), QStringLiteral("Pump 2 pressure HIGH"));
    // Another text the module holds, read into its own box only.
    sim_->sim.module().state().externalTexts[0] = "Frost";
    QVERIFY(command(QStringLiteral("TXTSMSb1"), "GETTX01", QStringLiteral("01: Frost")));
    QVERIFY(sim_->pumpUntil([&] {
        return sim_->child<QLineEdit>(QStringLiteral("TXTSMS1"))->text().trimmed() == QStringLiteral("Frost");
    }));
    QCOMPARE(box->text().trimmed(), QStringLiteral("Pump 2 pressure HIGH"));
}

void E2eSettingModeTest::gprsFtpParametersWrittenAndReadBack() {
    struct Parameter {
        const char *box;
        const char *button;
        const char *value;
        QByteArray zx::sim::GprsParameters::*stored;
        const char *writeLine;
        const char *readLine;
    };
    using G = zx::sim::GprsParameters;
    const Parameter parameters[] = {
        {"APN", "APNbtn", "internet.example", &G::apn, "SETAP internet.example", "GETAP"},
        {"UserID", "UIDbtn", "gprsuser", &G::userId, "SETID gprsuser", "GETID"},
        {"Password", "PWbtn", "s3cret", &G::password, "SETPW s3cret", "GETPW"},
        {"IPaddress", "IPbtn", "192.168.10.20", &G::serverAddress, "SETIP 192.168.10.20", "GETIP"},
        {"FTPHostName", "FTPHostNamebtn", "ftp.example.org", &G::ftpHost, "SETFT ftp.example.org",
         "GETFT"},
        {"UserNameFTP", "UNbtn", "logger", &G::ftpUser, "SETAF logger", "GETAF"},
        {"PasswordFTP", "FPWbtn", "ftppw", &G::ftpPassword, "SETPF ftppw", "GETPF"},
        {"DirName", "DirNameBtn", "site7", &G::ftpDirectory, "SETDN site7", "GETDN"},
    };
    sim_->clickTab(kGprsFtpTab);
    const auto &gprs = sim_->sim.module().state().gprs;
    for (const Parameter &p : parameters) {
        sim_->child<QLineEdit>(QString::fromLatin1(p.box))->setText(QString::fromLatin1(p.value));
        QVERIFY2(command(QString::fromLatin1(p.button), p.writeLine, QStringLiteral("OK")), p.box);
        QCOMPARE(gprs.*p.stored, QByteArray(p.value));
    }
    for (const Parameter &p : parameters)
        sim_->child<QLineEdit>(QString::fromLatin1(p.box))->clear();
    sim_->child<QCheckBox>(QStringLiteral("ReadGPRS1"))->setChecked(true);
    for (const Parameter &p : parameters) {
        auto *box = sim_->child<QLineEdit>(QString::fromLatin1(p.box));
        QVERIFY2(command(QString::fromLatin1(p.button), p.readLine, QString::fromLatin1(p.value)), p.box);
        QVERIFY2(sim_->pumpUntil([&] { return !box->text().isEmpty(); }), p.box);
        // The value keeps the answer's line end (Skip CR/LF is off).
        QCOMPARE(box->text().trimmed(), QString::fromLatin1(p.value));
    }
    // Every box got its own value: the keys were told apart.
    for (const Parameter &p : parameters)
        QCOMPARE(sim_->child<QLineEdit>(QString::fromLatin1(p.box))->text().trimmed(),
                 QString::fromLatin1(p.value));
}

void E2eSettingModeTest::alarmNumberWrittenAndReadBack() {
    sim_->clickTab(kAbonentsTab);
    auto *group = sim_->child<zx::ui::RadioGroup>(QStringLiteral("RadioGroupNR"));
    auto *box = sim_->child<QLineEdit>(QStringLiteral("NNumber3"));
    group->setItemIndex(2);
    box->setText(QStringLiteral("+491701234567"));
    const qsizetype before = sim_->commands.size();
    sim_->child<QPushButton>(QStringLiteral("SetNr"))->click();
    QVERIFY(sim_->pumpUntil([&] { return sim_->commands.size() > before; }));
    QVERIFY(sim_->commands.last().startsWith("SETNN3 +491701234567"));
    QCOMPARE(sim_->sim.module().state().alarmNumbers[2], QByteArray("+491701234567"));
    QVERIFY(sim_->pumpUntil([&] { return sim_->memoText().contains(QStringLiteral("OK")); }));

    box->clear();
    QVERIFY(command(QStringLiteral("GetNr"), "GETNR3", QStringLiteral("NUM3: +491701234567")));
    QVERIFY(sim_->pumpUntil([&] { return !box->text().isEmpty(); }));
    QCOMPARE(box->text(), QStringLiteral("+491701234567"));
    // The other number boxes keep what they had.
    QCOMPARE(sim_->child<QLineEdit>(QStringLiteral("NNumber2"))->text(), QString());
}

QTEST_MAIN(E2eSettingModeTest)
#include "tst_e2e_setting_mode.moc"
