// The window at its fixed size as an installer sees it: every control of every
// tab inside the tab, nothing clipped or covered, every caption readable, no
// scrolling; the window keeps its size; the keyboard reaches every control.
#include "support/LayoutWalk.h"
#include "support/UiTestEnv.h"
#include "ui/TabTable.h"
#include "ui/Unit1.h"
#include "ui/widgets/BoxColour.h"
#include "ui/widgets/ReadMode.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

constexpr QSize kWindowSize(874, 703);

QTabWidget *pagesOf(TForm1 &form) { return child<QTabWidget>(form, "PageControl1"); }

// The window's widgets outside one group, with their places in the window.
QMap<QWidget *, QRect> placesOutside(TForm1 &form, const QList<QWidget *> &groups) {
    QMap<QWidget *, QRect> places;
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow() || w->objectName() == QLatin1String("FocusRing"))
            continue;
        bool inside = false;
        for (QWidget *g : groups)
            inside = inside || g == w || g->isAncestorOf(w);
        if (!inside)
            places.insert(w, rectIn(w, &form));
    }
    return places;
}

QStringList moved(const QMap<QWidget *, QRect> &before, const QMap<QWidget *, QRect> &after) {
    QStringList list;
    for (auto it = before.begin(); it != before.end(); ++it)
        if (after.value(it.key()) != it.value())
            list << nameOf(it.key());
    return list;
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void everyTabFitsWithoutScrolling();
    void panelsAndSmsModeKeepTheWindowAndTheirNeighbours();
    void tabVisitsEveryControlOfMainOnce();
    void readModeShowsAtTheButtons();
    // The window first, then its environment.
    void cleanup() {
        form_.reset();
        env_.reset();
    }

private:
    // The window on its design-time values, shown (and active, for the
    // keyboard) at its own size.
    TForm1 &showWindow() {
        env_ = std::make_unique<UiTestEnv>();
        env_->keepDesignTimeValues();
        form_ = std::make_unique<TForm1>();
        form_->show();
        return *form_;
    }

    std::unique_ptr<UiTestEnv> env_;
    std::unique_ptr<TForm1> form_;
};

// Every tab in both model variants, "Main" with each of its panels and in
// both modes, and the bottom area.
void WindowLayoutTest::everyTabFitsWithoutScrolling() {
    TForm1 &form = showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTabWidget *pages = pagesOf(form);
    auto *variant = child<QAction>(form, "ZENTORIX1");
    auto *atButton = child<QPushButton>(form, "ATcmdOpen");
    auto *bandButton = child<QPushButton>(form, "GSMbandOpen");
    auto *smsMode = child<QCheckBox>(form, "SMSmode");
    QWidget *bottom = child<QWidget>(form, "Status")->parentWidget();

    // Start-up stopped early and left the design-time mix; one round of the
    // menu item applies the two real states.
    variant->trigger();
    variant->trigger();
    QStringList faults;
    const auto check = [&](const QString &state, QWidget *area) {
        settle();
        if (form.size() != kWindowSize)
            faults << QStringLiteral("%1: window is %2x%3")
                          .arg(state)
                          .arg(form.width())
                          .arg(form.height());
        for (const QString &fault : LayoutWalk(area).faults)
            faults << state + QStringLiteral(": ") + fault;
    };
    for (const bool rt : {false, true}) {
        if (variant->isChecked() != rt)
            variant->trigger();
        QCOMPARE(variant->isChecked(), rt);
        const QString model = rt ? QStringLiteral("RT") : QStringLiteral("plain");
        for (const zx::ui::TabEntry &tab : zx::ui::kTabs) {
            pages->setCurrentIndex(tab.index);
            const QString state = model + QStringLiteral(" \"") + QString::fromLatin1(tab.caption) +
                                  QLatin1Char('"');
            check(state, pages->widget(tab.index));
            if (tab.index != zx::ui::kMainTab)
                continue;
            for (const bool sms : {false, true}) {
                smsMode->setChecked(sms);
                const QString mode = sms ? QStringLiteral(" SMS mode") : QString();
                atButton->click();
                check(state + mode + QStringLiteral(" AT panel"), pages->widget(tab.index));
                bandButton->click();
                check(state + mode + QStringLiteral(" band panel"), pages->widget(tab.index));
                bandButton->click();
                check(state + mode, pages->widget(tab.index));
                check(model + mode + QStringLiteral(" bottom area"), bottom);
            }
            smsMode->setChecked(false);
        }
    }
    if (!faults.isEmpty())
        qWarning().noquote() << faults.join(QLatin1Char('\n'));
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 layout faults").arg(faults.size())));
}

// Showing a panel or changing the mode moves nothing outside the group that
// holds the panel, and the window keeps its size.
void WindowLayoutTest::panelsAndSmsModeKeepTheWindowAndTheirNeighbours() {
    TForm1 &form = showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    settle();
    QCOMPARE(form.size(), kWindowSize);
    auto *at = child<QWidget>(form, "PanelAT");
    auto *band = child<QWidget>(form, "PanelBand");
    auto *memo5 = child<QWidget>(form, "Memo5");
    auto *memoS = child<QWidget>(form, "MemoS");
    struct Step {
        const char *control;
        QList<QWidget *> changing;
    };
    const Step steps[] = {
        {"ATcmdOpen", {at}},         {"ATcmdOpen", {at}},  {"GSMbandOpen", {band}},
        {"GSMbandOpen", {band}},     {"ATcmdOpen", {at}},  {"GSMbandOpen", {at, band}},
        {"GSMbandOpen", {at, band}}, {"SMSmode", {memo5}}, {"SMSmode", {memo5}},
    };
    for (const Step &step : steps) {
        // The button's own caption changes with it.
        auto *control = child<QAbstractButton>(form, step.control);
        QList<QWidget *> changing = step.changing;
        changing << control << memoS;
        const QMap<QWidget *, QRect> before = placesOutside(form, changing);
        control->click();
        settle();
        QCOMPARE(form.size(), kWindowSize);
        const QStringList list = moved(before, placesOutside(form, changing));
        QVERIFY2(list.isEmpty(), qPrintable(QString::fromLatin1(step.control) +
                                            QStringLiteral(" moved: ") + list.join(u", ")));
    }

    // The link colours the status in SMS mode only: back in setting mode it
    // returns to the setting-mode look.
    auto *status = child<QLineEdit>(form, "Status");
    const QColor settingLook = zx::ui::boxColour(status);
    child<QCheckBox>(form, "SMSmode")->click();
    tick(form);
    QVERIFY(zx::ui::boxColour(status) != settingLook);
    child<QCheckBox>(form, "SMSmode")->click();
    QCOMPARE(zx::ui::boxColour(status), settingLook);
}

// From the start focus, Tab walks the controls of "Main" and the bottom area
// and comes back; every enabled control of "Main" is reached exactly once,
// Shift+Tab walks the same ring backwards and no text box takes a tab.
void WindowLayoutTest::tabVisitsEveryControlOfMainOnce() {
    TForm1 &form = showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    settle();
    QWidget *start = QApplication::focusWidget();
    QVERIFY(start);
    QCOMPARE(start->objectName(), QStringLiteral("BRnumber"));

    QMap<QWidget *, QString> texts;
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (auto *line = qobject_cast<QLineEdit *>(w))
            texts.insert(w, line->text());
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
            texts.insert(w, memo->toPlainText());
    }
    const auto walk = [&](Qt::KeyboardModifiers modifiers) {
        QList<QWidget *> ring{start};
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
            QWidget *now = QApplication::focusWidget();
            if (now == start)
                return ring;
            ring << now;
        }
        return QList<QWidget *>{};
    };
    const QList<QWidget *> forward = walk(Qt::NoModifier);
    QVERIFY2(!forward.isEmpty(), "Tab never comes back to the start");
    QList<QWidget *> backward = walk(Qt::ShiftModifier);
    std::reverse(backward.begin() + 1, backward.end());
    QCOMPARE(backward, forward);

    QWidget *main = pagesOf(form)->widget(zx::ui::kMainTab);
    QStringList missing;
    for (QWidget *w : main->findChildren<QWidget *>()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !w->focusProxy() && forward.count(w) != 1)
            missing << QStringLiteral("%1 (%2 times)").arg(nameOf(w)).arg(forward.count(w));
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u", ")));
    QCOMPARE(QSet<QWidget *>(forward.begin(), forward.end()).size(), forward.size());
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        QString now;
        if (auto *line = qobject_cast<QLineEdit *>(it.key()))
            now = line->text();
        else
            now = static_cast<QPlainTextEdit *>(it.key())->toPlainText();
        QVERIFY2(!now.contains(QLatin1Char('\t')), qPrintable(nameOf(it.key())));
        QCOMPARE(now, it.value());
    }
    for (const char *name : {"MemoS", "ConnectBtn", "ExitBtn"})
        QVERIFY2(forward.contains(child<QWidget>(form, name)), name);

    // Tabs switch from the keyboard wherever the focus is; the menu's
    // actions have their keys.
    QTabWidget *pages = pagesOf(form);
    const std::pair<QKeyCombination, int> switches[] = {
        {Qt::CTRL | Qt::Key_Tab, 1},      {Qt::CTRL | Qt::Key_PageDown, 2},
        {Qt::CTRL | Qt::Key_PageUp, 1},   {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 0},
        {Qt::CTRL | Qt::Key_PageUp, 11},  {Qt::CTRL | Qt::Key_Tab, 0},
    };
    // The memo shows that it has the focus.
    auto *memoS = child<QWidget>(form, "MemoS");
    const QColor unfocused = zx::ui::boxColour(memoS);
    memoS->setFocus();
    QCOMPARE(zx::ui::boxColour(memoS), zx::ui::kFocusColour);
    start->setFocus();
    QCOMPARE(zx::ui::boxColour(memoS), unfocused);
    memoS->setFocus();
    for (const auto &[key, index] : switches) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        QCOMPARE(pages->currentIndex(), index);
    }
    QCOMPARE(child<QAction>(form, "SaveSetting1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(child<QAction>(form, "Exit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    // The short file the test started with is replaced by a whole one.
    const qint64 shortFile = QFileInfo(env_->settingsPath()).size();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFileInfo(env_->settingsPath()).size() > shortFile);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!form.isVisible());
}

// While "Read" is ticked the tab's value buttons say "RD" on the read-mode
// colour; unticked they are back to the window's look. The box sits at one
// place on all four tabs that have it.
void WindowLayoutTest::readModeShowsAtTheButtons() {
    TForm1 &form = showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTabWidget *pages = pagesOf(form);
    struct ReadTab {
        zx::ui::TabIndex tab;
        const char *box;
        const char *button;
    };
    const ReadTab tabs[] = {{zx::ui::kExternalSmsTab, "GetText", "TXTSMSb1"},
                            {zx::ui::kIntExtSmsTab, "iGetText", "iTXTSMSb57"},
                            {zx::ui::kIoNameTab, "nGetText", "TXTSMSb97"},
                            {zx::ui::kGprsFtpTab, "ReadGPRS1", "APNbtn"}};
    const QColor normal = child<QPushButton>(form, "ConnectBtn")->palette().color(QPalette::Button);
    QVERIFY(zx::ui::kReadModeColour != normal);
    QRect place;
    for (const ReadTab &t : tabs) {
        pages->setCurrentIndex(t.tab);
        settle();
        auto *box = child<QCheckBox>(form, t.box);
        auto *button = child<QPushButton>(form, t.button);
        const QRect r = rectIn(box, pages->widget(t.tab));
        if (place.isNull())
            place = r;
        QCOMPARE(r, place);
        box->click();
        QCOMPARE(button->text(), QStringLiteral("RD"));
        QCOMPARE(button->palette().color(QPalette::Button), zx::ui::kReadModeColour);
        box->click();
        QCOMPARE(button->text(), QStringLiteral("WR"));
        QCOMPARE(button->palette().color(QPalette::Button), normal);
    }
}

QTEST_MAIN(WindowLayoutTest)
#include "tst_window_layout.moc"
