// The window as the user first meets it: tabs, bottom area, menu, colours.
#include "support/UiTestEnv.h"
#include "ui/Unit1.h"
#include "ui/widgets/BoxColour.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

class WindowFrameTest : public QObject {
    Q_OBJECT
private slots:
    void twelveTabsInOrder();
    void bottomAreaAndMenu();
    void switchingTabsOnlyRecolours();
    void atAndBandPanelsToggle();
    void passwordsAreMaskedUntilRevealed();
};

void WindowFrameTest::passwordsAreMaskedUntilRevealed() {
    UiTestEnv env;
    TForm1 form;
    for (const char *name : {"Password", "PasswordFTP"}) {
        auto *box = form.findChild<QLineEdit *>(QString::fromLatin1(name));
        QVERIFY2(box, name);
        QCOMPARE(box->echoMode(), QLineEdit::Password);
        auto *reveal = form.findChild<QAction *>(QString::fromLatin1(name) + QStringLiteral("Reveal"));
        QVERIFY(reveal);
        reveal->trigger();
        QCOMPARE(box->echoMode(), QLineEdit::Normal);
        reveal->trigger();
        QCOMPARE(box->echoMode(), QLineEdit::Password);
    }
}

void WindowFrameTest::twelveTabsInOrder() {
    UiTestEnv env;
    TForm1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("ZENTORIX / ZENTORIQ"));
    QCOMPARE(form.size(), QSize(874, 703));
    auto *pages = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QVERIFY(pages);
    const QStringList captions{
        QStringLiteral("Main"),        QStringLiteral("Abonents"),   QStringLiteral("External SMS"),
        QStringLiteral("Int/Ext SMS"), QStringLiteral("IOname"),     QStringLiteral("Analog"),
        QStringLiteral("Temperature, RT"), QStringLiteral("SMS Shedule"), QStringLiteral("IO control"),
        QStringLiteral("Other"),       QStringLiteral("GPRS, FTP"),  QStringLiteral("Serial Port")};
    QCOMPARE(pages->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i)
        QCOMPARE(pages->tabText(i), captions[i]);
    QCOMPARE(pages->currentIndex(), 0);
}

void WindowFrameTest::bottomAreaAndMenu() {
    UiTestEnv env;
    TForm1 form;
    form.show();
    for (const char *name : {"MemoSMSinput", "MemoS", "MemoR"})
        QVERIFY2(form.findChild<QPlainTextEdit *>(QString::fromLatin1(name)), name);
    QVERIFY(!form.findChild<QPlainTextEdit *>(QStringLiteral("MemoR"))->isVisible());
    auto *status = form.findChild<QLineEdit *>(QStringLiteral("Status"));
    QVERIFY(status && status->isReadOnly());
    QCOMPARE(status->text(), QStringLiteral("Setting Mode"));
    const std::pair<const char *, const char *> buttons[] = {
        {"ConnectBtn", "Connect"}, {"TestBtn", "Test"}, {"ClearBtn", "Clear"}, {"ExitBtn", "Exit"}};
    for (const auto &[name, caption] : buttons) {
        auto *b = form.findChild<QPushButton *>(QString::fromLatin1(name));
        QVERIFY2(b, name);
        QCOMPARE(b->text(), QString::fromLatin1(caption));
        QVERIFY(b->isVisible());
    }
    QVERIFY(form.findChild<QStatusBar *>(QStringLiteral("StatusBar1")));
    auto *timer = form.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 1000);

    const QList<QAction *> menus = form.menuBar()->actions();
    // The module menu comes after the original two.
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus[0]->text(), QStringLiteral("File"));
    QCOMPARE(menus[1]->text(), QStringLiteral("Option"));
    QCOMPARE(menus[2]->text(), QStringLiteral("&Module"));
    QCOMPARE(menus[0]->menu()->actions()[0]->objectName(), QStringLiteral("Exit1"));
    QStringList options;
    for (QAction *a : menus[1]->menu()->actions())
        options << a->text();
    // The traffic log follows the original two items, after a separator.
    QCOMPARE(options, (QStringList{QStringLiteral("ZENTORIX-RT"), QStringLiteral("Save Setting"),
                                   QString(), QStringLiteral("Traffic log"),
                                   QStringLiteral("Log traffic to file")}));

    // "Exit" closes the window without saving.
    form.findChild<QPushButton *>(QStringLiteral("ExitBtn"))->click();
    QVERIFY(!form.isVisible());
    QVERIFY(!QFile::exists(env.settingsPath()));
}

void WindowFrameTest::switchingTabsOnlyRecolours() {
    UiTestEnv env;
    PtyPeer peer;
    env.mapPort(1, peer.slavePath());
    TForm1 form;
    auto *number = form.findChild<QLineEdit *>(QStringLiteral("BRnumber"));
    const QColor pale(255, 255, 245);
    QCOMPARE(zx::ui::boxColour(number), pale);
    auto *pages = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < pages->count(); ++i)
            pages->setCurrentIndex(i);
    QCOMPARE(zx::ui::boxColour(number), pale);
    QCOMPARE(zx::ui::boxColour(child<QPlainTextEdit>(form, "MemoSMSinput")), pale);
    QCOMPARE(peer.read(200), QByteArray());
}

void WindowFrameTest::atAndBandPanelsToggle() {
    UiTestEnv env;
    TForm1 form;
    form.show();
    auto *at = form.findChild<QWidget *>(QStringLiteral("PanelAT"));
    auto *band = form.findChild<QWidget *>(QStringLiteral("PanelBand"));
    auto *atButton = form.findChild<QPushButton *>(QStringLiteral("ATcmdOpen"));
    auto *bandButton = form.findChild<QPushButton *>(QStringLiteral("GSMbandOpen"));
    QVERIFY(!at->isVisible() && !band->isVisible());
    atButton->click();
    QVERIFY(at->isVisible());
    QCOMPARE(atButton->text(), QStringLiteral("AT Command disable"));
    bandButton->click();
    QVERIFY(band->isVisible() && !at->isVisible());
    QCOMPARE(atButton->text(), QStringLiteral("AT Command enable"));
    QCOMPARE(bandButton->text(), QStringLiteral("GSM Band disable"));
    bandButton->click();
    QVERIFY(!band->isVisible());
    QCOMPARE(bandButton->text(), QStringLiteral("GSM Band enable"));
    atButton->click();
    atButton->click();
    QVERIFY(!at->isVisible());
}

QTEST_MAIN(WindowFrameTest)
#include "tst_window_frame.moc"
