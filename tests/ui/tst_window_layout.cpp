// The window at its fixed size as an installer sees it: every control of every
// tab inside the tab, nothing clipped or covered, every caption readable, no
// scrolling; the window keeps its size; the keyboard reaches every control.
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

// Room a push button needs beside its caption so that the text does not touch
// the button's edges, and a read-only box beside its text (frame and margins).
constexpr int kButtonPadding = 8;
constexpr int kBoxPadding = 6;

bool isInteractive(const QWidget *w) {
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w) ||
           qobject_cast<const QAbstractSlider *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
           qobject_cast<const QTextEdit *>(w);
}

QString nameOf(const QWidget *w) {
    QString name = w->objectName();
    if (name.isEmpty()) {
        if (auto *label = qobject_cast<const QLabel *>(w))
            name = QStringLiteral("label \"%1\"").arg(label->text());
        else if (auto *button = qobject_cast<const QAbstractButton *>(w))
            name = QStringLiteral("button \"%1\"").arg(button->text());
        else if (auto *group = qobject_cast<const QGroupBox *>(w))
            name = QStringLiteral("group \"%1\"").arg(group->title());
        else
            name = QString::fromLatin1(w->metaObject()->className());
    }
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            return name + QStringLiteral(" (in ") + p->objectName() + QLatin1Char(')');
    return name;
}

QRect rectIn(const QWidget *w, const QWidget *area) {
    return QRect(w->mapTo(area, QPoint(0, 0)), w->size());
}

int textWidth(const QWidget *w, QString text) {
    text.remove(QLatin1Char('&'));
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

// Everything wrong with one area of the window, one line per fault, each
// naming the control.
class LayoutWalk {
public:
    explicit LayoutWalk(QWidget *area) : area_(area) {
        walk(area);
        checkOverlaps();
    }
    QStringList faults;

private:
    void walk(QWidget *parent) {
        for (QObject *o : parent->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (!w || !w->isVisible() || w->isWindow() || covered(w))
                continue;
            checkInside(w);
            checkText(w);
            if (auto *scroll = qobject_cast<QScrollArea *>(w)) {
                if (scroll->horizontalScrollBar()->isVisible() ||
                    scroll->verticalScrollBar()->isVisible())
                    faults << QStringLiteral("%1: scroll bar showing").arg(nameOf(w));
                if (scroll->widget())
                    walk(scroll->widget());
                continue;
            }
            if (isInteractive(w)) {
                controls_ << w;
                continue;
            }
            if (qobject_cast<QLabel *>(w))
                labels_ << w;
            else
                walk(w);
        }
    }

    // Under an opaque panel laid over it on purpose (the model variant's
    // covers), a control is out of the user's sight and reach.
    bool covered(QWidget *w) const {
        QWidget *top = area_->childAt(w->mapTo(area_, w->rect().center()));
        for (QWidget *p = top; p && p != area_; p = p->parentWidget())
            if (p->autoFillBackground() && !p->objectName().startsWith(QLatin1String("qt_")) &&
                !p->isAncestorOf(w) && p != w && !w->isAncestorOf(p))
                return true;
        return false;
    }

    // Inside the area and inside every box around it, so that nothing is cut off.
    void checkInside(QWidget *w) {
        const QRect r = rectIn(w, area_);
        for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
            if (!rectIn(p, area_).contains(r)) {
                faults << QStringLiteral("%1: %2,%3 %4x%5 is cut off by %6")
                              .arg(nameOf(w))
                              .arg(r.x())
                              .arg(r.y())
                              .arg(r.width())
                              .arg(r.height())
                              .arg(p == area_ ? QStringLiteral("the visible area") : nameOf(p));
                return;
            }
            if (p == area_)
                return;
        }
    }

    void needWidth(const QWidget *w, int needed, int available, const QString &text) {
        if (needed > available)
            faults << QStringLiteral("%1 at %2,%3: \"%4\" needs %5 pixels, has %6")
                          .arg(nameOf(w))
                          .arg(rectIn(w, area_).x())
                          .arg(rectIn(w, area_).y())
                          .arg(text)
                          .arg(needed)
                          .arg(available);
    }

    void checkText(const QWidget *w) {
        const int lineHeight = w->fontMetrics().height();
        if (auto *label = qobject_cast<const QLabel *>(w)) {
            if (label->text().isEmpty() || label->wordWrap())
                return;
            const QRect room = label->contentsRect();
            needWidth(w, textWidth(w, label->text()), room.width(), label->text());
            if (lineHeight * int(label->text().count(QLatin1Char('\n')) + 1) > room.height() + 1)
                faults << QStringLiteral("%1: text cut off at the bottom").arg(nameOf(w));
        } else if (auto *push = qobject_cast<const QPushButton *>(w)) {
            if (!push->text().isEmpty())
                needWidth(w, textWidth(w, push->text()) + kButtonPadding, w->width(), push->text());
            if (lineHeight > w->height())
                faults << QStringLiteral("%1: caption cut off at the bottom").arg(nameOf(w));
        } else if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w)) {
            auto *b = static_cast<const QAbstractButton *>(w);
            // The size hint is indicator, spacing and caption.
            needWidth(w, b->sizeHint().width(), w->width(), b->text());
            if (lineHeight > w->height())
                faults << QStringLiteral("%1: caption cut off at the bottom").arg(nameOf(w));
        } else if (auto *group = qobject_cast<const QGroupBox *>(w)) {
            if (!group->title().isEmpty())
                needWidth(w, textWidth(w, group->title()) + 2 * kButtonPadding, w->width(),
                          group->title());
        } else if (auto *box = qobject_cast<const QLineEdit *>(w)) {
            // A box the user cannot type into must show its whole text.
            if (box->isReadOnly() && box->echoMode() == QLineEdit::Normal)
                needWidth(w, textWidth(w, box->text()) + kBoxPadding, w->width(), box->text());
            if (lineHeight > w->height())
                faults << QStringLiteral("%1: text cut off at the bottom").arg(nameOf(w));
        }
    }

    void checkOverlaps() {
        for (qsizetype i = 0; i < controls_.size(); ++i)
            for (qsizetype j = i + 1; j < controls_.size(); ++j)
                if (rectIn(controls_[i], area_).intersects(rectIn(controls_[j], area_)))
                    faults << QStringLiteral("%1 overlaps %2")
                                  .arg(nameOf(controls_[i]), nameOf(controls_[j]));
        // A label under a control is hidden text.
        for (QWidget *label : labels_)
            for (QWidget *control : controls_)
                if (rectIn(label, area_).intersects(rectIn(control, area_)))
                    faults << QStringLiteral("%1 overlaps %2").arg(nameOf(label), nameOf(control));
    }

    QWidget *area_;
    QList<QWidget *> controls_;
    QList<QWidget *> labels_;
};

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

QTabWidget *pagesOf(TForm1 &form) { return child<QTabWidget>(form, "PageControl1"); }

// The window's widgets outside one group, with their places in the window.
QMap<QWidget *, QRect> placesOutside(TForm1 &form, const QList<QWidget *> &groups) {
    QMap<QWidget *, QRect> places;
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow())
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
