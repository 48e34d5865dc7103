// The window on the screens installers have: a 1280x720 and a 1366x768 screen
// less a 40-pixel panel, at 100 % to 200 % scaling. The window and its status
// bar lie inside the free area, every tab's controls keep the room they need
// (the page scrolls instead), nothing overlaps, every caption fits; with
// room enough the window has its design size. Each screen runs in a process
// of its own: the scale factor is read once, when the application starts.
#include "support/LayoutWalk.h"
#include "support/UiTestEnv.h"
#include "ui/TabTable.h"
#include "ui/Unit1.h"
#include "ui/module/ReadCompareDialog.h"
#include "ui/module/RunResultDialog.h"
#include "ui/widgets/Placement.h"

#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr QSize kDesignSize(874, 703);
const char kScreenVariable[] = "ZX_FIT_SCREEN";

// The offscreen platform's description of one screen of that many pixels.
QByteArray screenConfig(const QSize &pixels) {
    return QStringLiteral(R"({"windowFrameMargins": true, "screens": [{"name": "Fit", "x": 0, "y": 0, "width": %1,
        "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
        .arg(pixels.width())
        .arg(pixels.height())
        .toUtf8();
}

QRect globalRect(const QWidget *w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT
private slots:
    void everyScreenSizeAndScale_data();
    void everyScreenSizeAndScale();
    void fitsThisScreen();
    void trafficLogGoesBesideTheDialog();
};

void WindowFitTest::everyScreenSizeAndScale_data() {
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QByteArray>("scale");
    for (const QSize &pixels : {QSize(1280, 720), QSize(1366, 728)})
        for (const char *scale : {"1.0", "1.25", "1.5", "2.0"})
            QTest::addRow("%dx%d at %s", pixels.width(), pixels.height(), scale)
                << pixels << QByteArray(scale);
}

// Runs fitsThisScreen in a process on that screen.
void WindowFitTest::everyScreenSizeAndScale() {
    if (qEnvironmentVariableIsSet(kScreenVariable))
        QSKIP("inside one screen's process");
    QFETCH(QSize, pixels);
    QFETCH(QByteArray, scale);
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(screenConfig(pixels));
    config.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               QStringLiteral("offscreen:configfile=") + config.fileName());
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scale));
    env.insert(QString::fromLatin1(kScreenVariable), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("fitsThisScreen")});
    QVERIFY(child.waitForFinished(100000));
    const QString output = QString::fromUtf8(child.readAll());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("PASS   : WindowFitTest::fitsThisScreen()")),
             qPrintable(output));
}

void WindowFitTest::fitsThisScreen() {
    UiTestEnv env;
    env.keepDesignTimeValues();
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    settle();
    const QRect area = form.screen()->availableGeometry();
    QStringList faults;
    const auto inside = [&](const QString &what, const QRect &r) {
        if (!area.contains(r))
            faults << QStringLiteral("%1 at %2,%3 %4x%5 is outside the screen's %6x%7")
                          .arg(what)
                          .arg(r.x())
                          .arg(r.y())
                          .arg(r.width())
                          .arg(r.height())
                          .arg(area.width())
                          .arg(area.height());
    };
    inside(QStringLiteral("the window"), form.frameGeometry());
    inside(QStringLiteral("the status bar"), globalRect(form.statusBar()));
    inside(QStringLiteral("the menu bar"), globalRect(form.menuBar()));
    // 30 pixels of title bar and borders besides.
    if (area.width() >= kDesignSize.width() + 8 && area.height() >= kDesignSize.height() + 34 &&
        form.size() != kDesignSize)
        faults << QStringLiteral("window is %1x%2 with room for its design size")
                      .arg(form.width())
                      .arg(form.height());

    auto *pages = child<QTabWidget>(form, "PageControl1");
    QTabBar *bar = pages->tabBar();
    for (const zx::ui::TabEntry &tab : zx::ui::kTabs) {
        const QString caption = QString::fromLatin1(tab.caption);
        if (bar->tabRect(tab.index).width() < textWidth(bar, caption))
            faults << QStringLiteral("tab \"%1\" shows %2 of %3 pixels")
                          .arg(caption)
                          .arg(bar->tabRect(tab.index).width())
                          .arg(textWidth(bar, caption));
        pages->setCurrentIndex(tab.index);
        settle();
        // The page inside its scroll area, at the size it gets.
        auto *scroller = qobject_cast<QScrollArea *>(pages->widget(tab.index));
        QVERIFY2(scroller, qPrintable(caption));
        for (const QString &fault : LayoutWalk(scroller->widget()).faults)
            faults << QLatin1Char('"') + caption + QStringLiteral("\": ") + fault;
    }
    for (const QString &fault : LayoutWalk(child<QWidget>(form, "BottomArea")).faults)
        faults << QStringLiteral("bottom area: ") + fault;
    // The run's views open inside the area too.
    zx::provision::Report report;
    report.results.resize(200);
    zx::ui::RunResultDialog result(report, QStringLiteral("Writing settings"), &form);
    zx::ui::ReadCompareDialog compare(zx::ui::compareWithModule({}, {}, {}), report, &form);
    for (QDialog *view : std::initializer_list<QDialog *>{&result, &compare}) {
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        inside(view->objectName(), view->frameGeometry());
        view->hide();
    }
    // Below the tabs, the memo keeps a few lines.
    auto *memo = child<QWidget>(form, "MemoSMSinput");
    if (memo->height() < 3 * memo->fontMetrics().lineSpacing())
        faults << QStringLiteral("the reception memo is %1 pixels high").arg(memo->height());
    if (!faults.isEmpty())
        qWarning().noquote() << QStringLiteral("screen %1x%2:\n").arg(area.width()).arg(area.height())
                             << faults.join(QLatin1Char('\n'));
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults").arg(faults.size())));
}

// The traffic log opened beside a dialog: the largest free band around it,
// never over it, shrunk when the band is smaller than the window.
void WindowFitTest::trafficLogGoesBesideTheDialog() {
    const QRect screen(0, 0, 1280, 720);
    struct Case {
        QRect dialog;
        QRect expected;
    };
    const Case cases[] = {
        // A progress dialog in the middle: the band below is as high as the
        // one above; above comes first.
        {QRect(410, 300, 460, 120), QRect(260, 0, 760, 300)},
        // High up: below it, the whole window.
        {QRect(410, 20, 460, 120), QRect(260, 220, 760, 420)},
        // At the right: to its left.
        {QRect(900, 0, 380, 720), QRect(70, 150, 760, 420)},
        // Nothing in the way: the screen's middle.
        {QRect(), QRect(260, 150, 760, 420)},
    };
    for (const Case &c : cases) {
        const QRect place = zx::ui::placeClearOf(QSize(760, 420), screen, c.dialog);
        QCOMPARE(place, c.expected);
        QVERIFY(!place.intersects(c.dialog));
        QVERIFY(screen.contains(place));
    }
}

QTEST_MAIN(WindowFitTest)
#include "tst_window_fit.moc"
