// The window from the keyboard and on any desktop palette: the menus open
// with Alt+F, Alt+O, Alt+M and F10 without typing into the focused box;
// "Abonents" is walked in reading order; the focus shows on every kind of
// control; disabled boxes look disabled and say why; the tables' status
// colours read on a light and a dark palette.
#include "provision/Report.h"
#include "settings/ConfigRecord.h"
#include "support/LayoutWalk.h"
#include "support/UiTestEnv.h"
#include "ui/TabTable.h"
#include "ui/Unit1.h"
#include "ui/module/FieldCaptions.h"
#include "ui/module/ReadCompareDialog.h"
#include "ui/module/RunResultDialog.h"
#include "ui/widgets/BoxColour.h"
#include "ui/widgets/DisabledReason.h"
#include "ui/widgets/FocusRing.h"
#include "ui/widgets/ToneColours.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include <algorithm>
#include <memory>

using zx::provision::Status;

namespace {

QPalette fusionLight() {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return fusion->standardPalette();
}

// A dark desktop's palette as KDE's Breeze Dark and GNOME's Adwaita dark give it.
QPalette darkPalette() {
    QPalette p = fusionLight();
    const QColor window(0x31, 0x36, 0x3b), base(0x23, 0x26, 0x29), text(0xef, 0xf0, 0xf1);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, window);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, window);
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
        p.setColor(group, QPalette::HighlightedText, text);
    }
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6e, 0x71, 0x75));
    p.setColor(QPalette::Disabled, QPalette::Window, window);
    return p;
}

zx::provision::Report reportOfEveryStatus() {
    zx::provision::Report report;
    for (const Status status : {Status::Answered, Status::NoAnswer, Status::PortError, Status::NotSent}) {
        zx::provision::CommandResult r;
        r.command.line = "GETNR";
        r.status = status;
        report.results << r;
    }
    return report;
}

} // namespace

class WindowKeysTest : public QObject {
    Q_OBJECT
private slots:
    void menusOpenFromTheKeyboard();
    void abonentsTabsInReadingOrder();
    void focusShowsOnEveryKindOfControl();
    void disabledBoxesLookDisabledAndSayWhy();
    void statusColoursReadOnLightAndDarkPalettes();
    void compareShowsTheWindowsLabels();
    void cleanup() {
        form_.reset();
        env_.reset();
        QApplication::setPalette(fusionLight());
    }

private:
    TForm1 &showWindow() {
        env_ = std::make_unique<UiTestEnv>();
        env_->keepDesignTimeValues();
        form_ = std::make_unique<TForm1>();
        form_->show();
        [&] { QVERIFY(QTest::qWaitForWindowActive(form_.get())); }();
        settle();
        return *form_;
    }

    std::unique_ptr<UiTestEnv> env_;
    std::unique_ptr<TForm1> form_;
};

// Each key opens its menu; what the focused box held stays as it was.
void WindowKeysTest::menusOpenFromTheKeyboard() {
    TForm1 &form = showWindow();
    auto *number = child<QLineEdit>(form, "BRnumber");
    number->setFocus();
    const QString before = number->text();
    const QList<QAction *> menus = form.menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    const std::pair<QKeyCombination, int> keys[] = {
        {Qt::ALT | Qt::Key_F, 0}, {Qt::ALT | Qt::Key_O, 1}, {Qt::ALT | Qt::Key_M, 2}, {QKeyCombination(Qt::Key_F10), 0}};
    for (const auto &[key, index] : keys) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        QMenu *menu = menus[index]->menu();
        QVERIFY2(waitFor([&] { return menu->isVisible(); }, 2000),
                 qPrintable(QKeySequence(key).toString()));
        QCOMPARE(form.menuBar()->activeAction(), menus[index]);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTest::keyClick(form.menuBar(), Qt::Key_Escape);
        QVERIFY(waitFor([&] { return !menu->isVisible(); }, 2000));
        number->setFocus();
    }
    QCOMPARE(number->text(), before);
    // The captions stay as they were.
    QCOMPARE(menus[0]->text(), QStringLiteral("File"));
    QCOMPARE(menus[1]->text(), QStringLiteral("Option"));

    // F6 reaches the reception memo, which is no Tab stop; Tab leaves it.
    auto *memo = child<QPlainTextEdit>(form, "MemoSMSinput");
    QVERIFY(!(memo->focusPolicy() & Qt::TabFocus));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), memo);
    QTest::keyClick(memo, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != memo);
    QVERIFY(!memo->toPlainText().contains(QLatin1Char('\t')));
}

// Tab walks the numbers column by column under their headings and the mask
// matrices row by row, each row left to right: the order the eye reads.
void WindowKeysTest::abonentsTabsInReadingOrder() {
    TForm1 &form = showWindow();
    auto *pages = child<QTabWidget>(form, "PageControl1");
    pages->setCurrentIndex(zx::ui::kAbonentsTab);
    settle();
    QWidget *page = pages->widget(zx::ui::kAbonentsTab);
    auto *first = child<QLineEdit>(form, "NNumber1");
    first->setFocus();
    QList<QWidget *> walked{first};
    for (int i = 0; i < 400; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        if (!page->isAncestorOf(now) || now == first)
            break;
        walked << now;
    }

    QStringList numbers;
    for (const char *stem : {"NNumber", "PBnr"}) {
        for (int n = 1; n <= 7; ++n)
            numbers << QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(n);
        if (QLatin1String(stem) == QLatin1String("NNumber"))
            numbers << QStringLiteral("GetNr") << QStringLiteral("SetNr") << QStringLiteral("ClrNr");
        else
            numbers << QStringLiteral("ToPhoneBook") << QStringLiteral("ReadPB");
    }
    QStringList walkedNumbers;
    QList<QWidget *> walkedBoxes;
    for (QWidget *w : walked) {
        if (numbers.contains(w->objectName()))
            walkedNumbers << w->objectName();
        if (w->objectName().startsWith(QLatin1String("CheckBox")))
            walkedBoxes << w;
    }
    QCOMPARE(walkedNumbers, numbers);

    // The mask boxes as they read: the matrices' groups down the left column
    // and then the right one, in each group row by row, left to right.
    QList<QCheckBox *> boxes = page->findChildren<QCheckBox *>(
        QRegularExpression(QStringLiteral("^CheckBox")));
    QCOMPARE(boxes.size(), (3 + 8 + 12) * 5);
    const auto key = [page](const QWidget *w) {
        const QRect group = rectIn(w->parentWidget(), page);
        const QRect box = rectIn(w, page);
        return std::make_tuple(group.x(), group.y(), box.center().y(), box.x());
    };
    std::sort(boxes.begin(), boxes.end(), [&](QWidget *a, QWidget *b) { return key(a) < key(b); });
    QStringList expected, got;
    for (QWidget *w : boxes)
        expected << w->objectName();
    for (QWidget *w : walkedBoxes)
        got << w->objectName();
    QCOMPARE(got, expected);
    QVERIFY(walked.contains(child<QWidget>(form, "SetNfilter1")));
}

// The ring is around the focused control, whatever its kind; the password
// eye is a Tab stop right after its box.
void WindowKeysTest::focusShowsOnEveryKindOfControl() {
    TForm1 &form = showWindow();
    auto *pages = child<QTabWidget>(form, "PageControl1");
    auto *ring = form.findChild<zx::ui::FocusRing *>(QStringLiteral("FocusRing"));
    QVERIFY(ring);
    const auto ringAround = [&](QWidget *w) {
        settle();
        return ring->isVisible() && ring->target() == w && ring->parentWidget() == w->parentWidget() &&
               ring->geometry().contains(w->geometry()) && ring->geometry() != w->geometry();
    };
    pages->setCurrentIndex(zx::ui::kAbonentsTab);
    settle();
    for (const char *name : {"CheckBoxT1T1", "NNumber1", "GetNr"}) {
        auto *w = form.findChild<QWidget *>(QString::fromLatin1(name));
        if (!w) // the mask box names follow the rows' names
            w = child<QWidget>(form, "EventMaskGroup")->findChildren<QCheckBox *>().value(0);
        QVERIFY2(w, name);
        w->setFocus(Qt::TabFocusReason);
        QVERIFY2(ringAround(w), name);
    }
    pages->tabBar()->setFocus(Qt::TabFocusReason);
    QVERIFY(ringAround(pages->tabBar()));

    pages->setCurrentIndex(zx::ui::kGprsFtpTab);
    settle();
    auto *password = child<QLineEdit>(form, "Password");
    password->setFocus(Qt::TabFocusReason);
    QTest::keyClick(password, Qt::Key_Tab);
    auto *eye = qobject_cast<QToolButton *>(QApplication::focusWidget());
    QVERIFY(eye);
    QCOMPARE(eye->parentWidget(), password);
    QVERIFY(ringAround(eye));
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QTest::keyClick(eye, Qt::Key_Space);
    QCOMPARE(password->echoMode(), QLineEdit::Normal);
}

// A box the model variant turns off: the style's disabled look instead of
// the pale colour, and its reason as the tooltip.
void WindowKeysTest::disabledBoxesLookDisabledAndSayWhy() {
    TForm1 &form = showWindow();
    auto *variant = child<QAction>(form, "ZENTORIX1");
    if (variant->isChecked())
        variant->trigger();
    variant->trigger();
    QVERIFY(variant->isChecked());
    auto *pages = child<QTabWidget>(form, "PageControl1");
    pages->setCurrentIndex(zx::ui::kExternalSmsTab);
    settle();
    auto *off = child<QLineEdit>(form, "TXTSMS22");
    auto *on = child<QLineEdit>(form, "TXTSMS21");
    QVERIFY(!off->isEnabled());
    QVERIFY(on->isEnabled());
    const QPalette style = QApplication::palette(off);
    QCOMPARE(off->palette().color(QPalette::Disabled, QPalette::Base),
             style.color(QPalette::Disabled, QPalette::Window));
    QCOMPARE(off->palette().color(QPalette::Disabled, QPalette::Text),
             style.color(QPalette::Disabled, QPalette::Text));
    QVERIFY(off->palette().color(QPalette::Disabled, QPalette::Base) != zx::ui::kPaleBoxColour);
    QCOMPARE(on->palette().color(QPalette::Active, QPalette::Base), zx::ui::kPaleBoxColour);

    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), off->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(off, &help);
    QVERIFY2(QToolTip::text().contains(QLatin1String("ZENTORIX-RT")), qPrintable(QToolTip::text()));
    QCOMPARE(zx::ui::disabledReason(on), QString());
    QToolTip::hideText();
    // Back on the plain model the box takes text again.
    variant->trigger();
    QVERIFY(off->isEnabled());
    QCOMPARE(zx::ui::disabledReason(off), QString());
}

// Every status colour of the result table and the compare table's mark:
// text at 4.5:1 or more on both palettes, each tone unlike the others and
// unlike the plain rows.
void WindowKeysTest::statusColoursReadOnLightAndDarkPalettes() {
    QCOMPARE(zx::ui::contrastRatio(Qt::black, Qt::white), 21.0);
    QCOMPARE(zx::ui::contrastRatio(Qt::gray, Qt::gray), 1.0);
    const zx::provision::Report report = reportOfEveryStatus();
    for (const bool dark : {false, true}) {
        const QPalette palette = dark ? darkPalette() : fusionLight();
        QApplication::setPalette(palette);
        const QString name = dark ? QStringLiteral("dark") : QStringLiteral("light");
        zx::ui::RunResultDialog result(report, QStringLiteral("Writing"), nullptr);
        auto *table = result.findChild<QTableWidget *>(QStringLiteral("RunResultTable"));
        QVERIFY(table);
        QList<QColor> seen{palette.color(QPalette::Base)};
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column) {
                const QTableWidgetItem *item = table->item(row, column);
                const double ratio = zx::ui::contrastRatio(item->foreground().color(),
                                                           item->background().color());
                QVERIFY2(ratio >= zx::ui::kTextContrast,
                         qPrintable(QStringLiteral("%1: %2 at %3").arg(name, item->text()).arg(ratio)));
            }
            const QColor background = table->item(row, 0)->background().color();
            QVERIFY2(!seen.contains(background), qPrintable(name + table->item(row, 4)->text()));
            seen << background;
        }
        // The dark palette's rows are dark: no light tint under light text.
        if (dark)
            for (int row = 0; row < table->rowCount(); ++row)
                QVERIFY(table->item(row, 0)->background().color().lightnessF() < 0.5);

        zx::settings::ConfigRecord window, module;
        module.setAlarmNumber(1, "+4917012345");
        const QStringList answered{QStringLiteral("AlarmNumbers[1]"), QStringLiteral("AlarmNumbers[2]")};
        zx::ui::ReadCompareDialog compare(zx::ui::compareWithModule(window, module, answered),
                                          zx::provision::Report{}, nullptr);
        auto *rows = compare.findChild<QTableWidget *>(QStringLiteral("CompareTable"));
        const QTableWidgetItem *marked = rows->item(0, 1);
        QCOMPARE(marked->font().bold(), true);
        QVERIFY(zx::ui::contrastRatio(marked->foreground().color(), marked->background().color()) >=
                zx::ui::kTextContrast);
        QVERIFY(marked->background().color() != palette.color(QPalette::Base));
    }
}

// The compare table names the window's controls; the field's own name is
// its tooltip.
void WindowKeysTest::compareShowsTheWindowsLabels() {
    const std::pair<const char *, const char *> captions[] = {
        {"AlarmNumbers[3]", "Abonents: Numbers for alarm SMS, Nr3"},
        {"PhoneBookNumbers[7]", "Abonents: Numbers to SIM Phone Book, Nr7"},
        {"ExternalTexts[1]", "External SMS: Temp.Inp. < MINIMUM"},
        {"ShortTexts[58]", "IOname: Digital Inputs Name, Input 1 1"},
        {"GprsApn", "GPRS, FTP: GPRS APN"},
        {"FtpDirectory", "GPRS, FTP: FTP Object / Dir Name"},
        {"NoSuchField", "NoSuchField"},
    };
    for (const auto &[entry, caption] : captions)
        QCOMPARE(zx::ui::fieldCaption(QString::fromLatin1(entry)), QString::fromLatin1(caption));

    zx::settings::ConfigRecord window, module;
    module.setAlarmNumber(2, "0171555");
    const QStringList answered{QStringLiteral("AlarmNumbers[1]"), QStringLiteral("AlarmNumbers[2]")};
    zx::ui::ReadCompareDialog compare(zx::ui::compareWithModule(window, module, answered),
                                      zx::provision::Report{}, nullptr);
    auto *rows = compare.findChild<QTableWidget *>(QStringLiteral("CompareTable"));
    QCOMPARE(rows->item(1, 1)->text(), QStringLiteral("Abonents: Numbers for alarm SMS, Nr2"));
    QCOMPARE(rows->item(1, 1)->toolTip(), QStringLiteral("AlarmNumbers[2]"));
}

QTEST_MAIN(WindowKeysTest)
#include "tst_window_keys.moc"
