#include "ui/Unit1.h"

#include "serial/ModemManagerProbe.h"
#include "serial/PortSource.h"
#include "text/Ansi.h"
#include "ui/MessageBoxes.h"
#include "ui/TabTable.h"
#include "ui/TrafficFileAction.h"
#include "ui/TrafficWindow.h"
#include "ui/module/CloseGuard.h"
#include "ui/module/ModuleMenu.h"
#include "ui/tabs/AbonentsTab.h"
#include "ui/tabs/AnalogTab.h"
#include "ui/tabs/EventMaskGroup.h"
#include "ui/tabs/GprsFtpTab.h"
#include "ui/tabs/IoControlTab.h"
#include "ui/tabs/MainTab.h"
#include "ui/tabs/NumbersGroup.h"
#include "ui/tabs/OtherTab.h"
#include "ui/tabs/ScheduleTab.h"
#include "ui/tabs/SerialPortTab.h"
#include "ui/tabs/SmsTextTab.h"
#include "ui/tabs/TemperatureTab.h"
#include "ui/widgets/BoxColour.h"
#include "ui/widgets/DisabledReason.h"
#include "ui/widgets/FocusRing.h"
#include "ui/widgets/PageScroller.h"
#include "ui/widgets/Placement.h"
#include "ui/widgets/RadioGroup.h"
#include "ui/widgets/TabsOverBottomLayout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressDialog>
#include <QScreen>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The speeds of the "Baud Rate" items, in item order.
constexpr TBaudRate kBaudRates[] = {br2400, br4800, br9600, br19200, br38400, br57600, br115200};

QString str(const char *s) { return QString::fromLatin1(s); }

// The buttons on the right of the bottom area and the status above them.
constexpr int kSideColumnWidth = 80;

// The size the window was laid out for, and the bottom area's share of it.
constexpr QSize kDesignSize(874, 703);
constexpr int kBottomAreaHeight = 205;
// Lines of the reception memo that stay when the window is too low for all.
constexpr int kReceptionMemoMinLines = 3;

QPushButton *sideButton(const char *name, const char *caption, QWidget *parent) {
    auto *b = new QPushButton(str(caption), parent);
    b->setObjectName(str(name));
    b->setFixedSize(kSideColumnWidth, 25);
    return b;
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent) {
    uptime_.start();
    ports_ = zx::serial::createPortSource(this);
    keeper_ = new zx::serial::PortKeeper(driver_, *ports_, [this] { return uptime_.elapsed(); }, this);
    driver_.SetPort(pnCustom);
    driver_.SetPortName(QStringLiteral("\\\\.\\COM1"));
    driver_.SetHwFlow(hfNONE);
    driver_.SetInBufSize(8192);
    driver_.SetOutBufSize(8192);
    driver_.SetPacketMode(pmPass);
    driver_.SetPollingDelay(5000);
    driver_.SetEnableDTROnOpen(false);
    driver_.SetOutputTimeout(200);
    const auto onReceive = [this](TCommPortDriver *, const char *data, unsigned count) {
        receiveData(data, count);
    };
    driver_.SetOnReceiveData(onReceive);
    driver_.SetOnReceivePacket(onReceive);
    driver_.SetOnPortLost(
        [this](TCommPortDriver *, const QString &reason) { portLost(reason); });
    // "ComN" opens what the "Serial Port" tab shows beside it.
    driver_.SetPortResolver([this](const QString &name) {
        const int n = zx::serial::comPortNumber(name);
        return n == 0 ? name : serialTab_->comPort(n).device;
    });

    link_ = std::make_unique<zx::link::Link>(port_, *this);
    buildWindow();
    // The modem dialogue shows what it learns in the "Main" tab's boxes.
    modemQueries_ = std::make_unique<zx::link::ModemQueries>(*link_, *mainTab_);
    modemQueries_->install();
    serialTab_->setPortSource(ports_.get());
    connect(keeper_, &zx::serial::PortKeeper::portMapChanged, serialTab_,
            &zx::ui::SerialPortTab::refreshDeviceNotes);
    connect(keeper_, &zx::serial::PortKeeper::message, this, &TForm1::showStatusMessage);
    connect(keeper_, &zx::serial::PortKeeper::holding, this, [this](bool held) {
        port_.hold(held);
        if (held)
            tickSleep_->wake();
    });
    connect(keeper_, &zx::serial::PortKeeper::busy, this, &TForm1::adviseOnModemManager);
    connect(keeper_, &zx::serial::PortKeeper::opened, this, [this](quint32 baud) {
        link_->setLineSpeed(baud);
        link_->portOpened();
    });
    FormCreate();
}

TForm1::~TForm1() {
    // A run still going needs the port and the tabs: it ends while both exist.
    delete moduleMenu_;
    moduleMenu_ = nullptr;
    Timer1_->stop();
    port_.onActivity = nullptr;
    driver_.Disconnect();
}


void TForm1::buildWindow() {
    setWindowTitle(QStringLiteral("ZENTORIX / ZENTORIQ"));
    // The 8-point size the window was laid out for, in DejaVu Sans (Debian's
    // fonts-dejavu-core), so that every tab fits at the fixed size.
    QFont small(QStringLiteral("DejaVu Sans"), 8);
    setFont(small);

    auto *central = new QWidget(this);
    PageControl1_ = new QTabWidget(central);
    PageControl1_->setObjectName(QStringLiteral("PageControl1"));
    // On the tab bar alone: a style sheet on the tab widget would restyle
    // every control on every tab through the style sheet machinery.
    PageControl1_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 7px; }"));
    // On a narrow screen the captions stay whole and the bar scrolls.
    PageControl1_->setElideMode(Qt::ElideNone);
    PageControl1_->setUsesScrollButtons(true);
    buildTabs();
    auto *layout = new zx::ui::TabsOverBottomLayout(PageControl1_, buildBottomArea(), central);
    layout->setContentsMargins(4, 0, 4, 0);
    setCentralWidget(central);
    // The window keeps the size it is given: a panel that needs more room
    // than its tab has shows as a fault in the layout, never as a wider window.
    this->layout()->setSizeConstraint(QLayout::SetNoConstraint);

    auto *statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(statusBar);
    buildMenu();

    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(1000);
    connect(Timer1_, &QTimer::timeout, this, &TForm1::Timer1Timer);
    tickSleep_ = std::make_unique<zx::link::TickSleep>(*Timer1_, *link_);
    port_.onActivity = [this] { tickSleep_->wake(); };
    Timer1_->start();
    connectReactions();
    buildKeys();
    focusRing_ = new zx::ui::FocusRing(this);
    mainTab_->BRnumber->setFocus();
    fitToScreen();
}

void TForm1::fitToScreen() {
    const QRect area = screen()->availableGeometry();
    using zx::ui::kFrameAllowance;
    const QSize frame(kFrameAllowance.left() + kFrameAllowance.right(),
                      kFrameAllowance.top() + kFrameAllowance.bottom());
    const QSize size = kDesignSize.boundedTo(area.size() - frame);
    resize(size);
    // At 11, 11 where that leaves the whole window on the screen.
    const QSize slack = area.size() - frame - size;
    move(area.left() + std::min(11, slack.width()), area.top() + std::min(11, slack.height()));
}

// A tab's page keeps the room its controls need and scrolls in a window
// too small for it.
QWidget *TForm1::scrolling(QWidget *page) { return new zx::ui::PageScroller(page, PageControl1_); }

// Keys that act from anywhere in the window: switching tabs.
void TForm1::buildKeys() {
    const auto add = [this](const QList<QKeySequence> &keys, int step) {
        auto *action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, step] {
            const int count = PageControl1_->count();
            PageControl1_->setCurrentIndex((PageControl1_->currentIndex() + step + count) % count);
        });
        addAction(action);
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
    add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        -1);

    // The menus open from the keyboard with their first letters (the
    // captions carry no mnemonics) and F10; Alt+M is "&Module"'s own.
    const auto openMenu = [this](const QKeySequence &key, int menu) {
        auto *action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, menu] {
            const QList<QAction *> menus = menuBar()->actions();
            if (menu < menus.size())
                menuBar()->setActiveAction(menus[menu]);
        });
        addAction(action);
    };
    openMenu(QKeySequence(Qt::ALT | Qt::Key_F), 0);
    openMenu(QKeySequence(Qt::ALT | Qt::Key_O), 1);
    openMenu(QKeySequence(Qt::Key_F10), 0);

    // The reception memo is no Tab stop; F6 goes there to scroll and select.
    auto *toMemo = new QAction(this);
    toMemo->setShortcut(QKeySequence(Qt::Key_F6));
    toMemo->setShortcutContext(Qt::WindowShortcut);
    connect(toMemo, &QAction::triggered, this, [this] { MemoSMSinput_->setFocus(Qt::ShortcutFocusReason); });
    addAction(toMemo);
}

void TForm1::buildTabs() {
    for (const zx::ui::TabEntry &tab : zx::ui::kTabs)
        PageControl1_->addTab(scrolling(createTab(tab.index)), str(tab.caption));
}

QWidget *TForm1::createTab(zx::ui::TabIndex index) {
    using namespace zx::ui;
    const auto textTab = [this](TabIndex tab) {
        for (const TextFamily &family : textFamilies())
            if (family.tab == tab)
                return new SmsTextTab(*this, family, PageControl1_);
        qFatal("no text family for tab %d", int(tab));
    };
    switch (index) {
    case kMainTab:
        return mainTab_ = new MainTab(*this, PageControl1_);
    case kAbonentsTab:
        return abonentsTab_ = new AbonentsTab(*this, PageControl1_);
    case kExternalSmsTab:
        return externalTexts_ = textTab(index);
    case kIntExtSmsTab:
        return internalTexts_ = textTab(index);
    case kIoNameTab:
        return ioNames_ = textTab(index);
    case kAnalogTab:
        return analogTab_ = new AnalogTab(*this, PageControl1_);
    case kTemperatureTab:
        return temperatureTab_ = new TemperatureTab(*this, PageControl1_);
    case kScheduleTab:
        return scheduleTab_ = new ScheduleTab(*this, PageControl1_);
    case kIoControlTab:
        return ioControlTab_ = new IoControlTab(*this, PageControl1_);
    case kOtherTab:
        return otherTab_ = new OtherTab(*this, PageControl1_);
    case kGprsFtpTab:
        return gprsFtpTab_ = new GprsFtpTab(*this, PageControl1_);
    case kSerialPortTab:
        return serialTab_ = new SerialPortTab(PageControl1_);
    }
    qFatal("unknown tab %d", int(index));
}

void TForm1::connectReactions() {
    connect(PageControl1_, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
    connect(serialTab_->RadioGroupPort, &zx::ui::RadioGroup::itemIndexChanged, this,
            &TForm1::InitPort);
    connect(serialTab_->RadioGroupRate, &zx::ui::RadioGroup::itemIndexChanged, this,
            &TForm1::InitPort);
    connect(serialTab_->ParityEven, &QCheckBox::toggled, this,
            [this](bool checked) { driver_.SetParity(checked ? ptEVEN : ptNONE); });
    connect(mainTab_->SMSmode, &QCheckBox::toggled, this, [this](bool checked) {
        tickSleep_->wake();
        work_.SmsModeFlag = checked;
        mainTab_->Memo5->setVisible(!checked);
        if (moduleMenu_)
            moduleMenu_->setSmsMode(checked);
        // Back in setting mode nothing colours the status any more: it
        // shows the setting-mode look instead of a stale link state.
        if (!checked)
            Status_->setPalette(QPalette());
    });
    connect(serialTab_, &zx::ui::SerialPortTab::message, this, [this](const QString &text) {
        keeper_->watchPortMap();
        showStatusMessage(text);
    });
    connect(serialTab_->SkipCRLFcb, &QCheckBox::toggled, this,
            [this](bool checked) { link_->SkipCRLFcbClick(checked); });
}

QWidget *TForm1::buildBottomArea() {
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("BottomArea"));
    // On a low screen the reception memo gives up height first.
    area->setMaximumHeight(kBottomAreaHeight);
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(3);

    MemoSMSinput_ = new QPlainTextEdit(area);
    MemoSMSinput_->setObjectName(QStringLiteral("MemoSMSinput"));
    // Not a Tab stop; a click or F6 reaches it, and Tab leaves it again.
    MemoSMSinput_->setFocusPolicy(Qt::ClickFocus);
    MemoSMSinput_->setTabChangesFocus(true);
    MemoSMSinput_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoSMSinput_->setMinimumHeight(MemoSMSinput_->fontMetrics().lineSpacing() * kReceptionMemoMinLines +
                                    2 * MemoSMSinput_->frameWidth() + 8);
    MemoS_ = new QPlainTextEdit(area);
    MemoS_->setObjectName(QStringLiteral("MemoS"));
    MemoS_->setFixedHeight(25);
    MemoS_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoS_->setTabChangesFocus(true);
    zx::ui::tintWhileFocused(MemoS_);
    // Hidden in SMS mode, the echo line keeps its room: nothing below moves.
    QSizePolicy keepRoom = MemoS_->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    MemoS_->setSizePolicy(keepRoom);
    MemoR_ = new QPlainTextEdit(area);
    MemoR_->setObjectName(QStringLiteral("MemoR"));
    MemoR_->setFrameStyle(0);
    MemoR_->hide();
    // A line that chatters for days must not eat the memory: both keep their
    // newest lines within a bound.
    receptionMemo_.attach(MemoSMSinput_, zx::ui::kReceptionMemoBounds);
    echoLine_.attach(MemoS_, zx::ui::kEchoLineBounds);

    Status_ = new QLineEdit(QStringLiteral("Setting Mode"), area);
    Status_->setObjectName(QStringLiteral("Status"));
    Status_->setReadOnly(true);
    Status_->setFrame(false);
    Status_->setFocusPolicy(Qt::NoFocus);
    Status_->setFixedWidth(kSideColumnWidth);

    auto *connectBtn = ConnectBtn_ = sideButton("ConnectBtn", "Connect", area);
    auto *testBtn = TestBtn_ = sideButton("TestBtn", "Test", area);
    auto *clearBtn = sideButton("ClearBtn", "Clear", area);
    auto *exitBtn = ExitBtn_ = sideButton("ExitBtn", "Exit", area);
    connect(connectBtn, &QPushButton::clicked, this, &TForm1::ConnectBtnClick);
    connect(testBtn, &QPushButton::clicked, this, &TForm1::TestBtnClick);
    connect(clearBtn, &QPushButton::clicked, this, [this] { link_->ClearBtnClick(); });
    connect(exitBtn, &QPushButton::clicked, this, &QWidget::close);

    grid->addWidget(MemoSMSinput_, 0, 0, 5, 1);
    grid->addWidget(MemoS_, 5, 0);
    grid->addWidget(Status_, 0, 1);
    grid->addWidget(connectBtn, 1, 1);
    grid->addWidget(testBtn, 2, 1);
    grid->addWidget(clearBtn, 3, 1, Qt::AlignTop);
    grid->addWidget(exitBtn, 5, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(0, 1);
    return area;
}

void TForm1::buildMenu() {
    auto *file = menuBar()->addMenu(QStringLiteral("File"));
    auto *exit1 = Exit1_ = file->addAction(QStringLiteral("Exit"));
    exit1->setObjectName(QStringLiteral("Exit1"));
    exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit1, &QAction::triggered, this, &QWidget::close);

    auto *option = menuBar()->addMenu(QStringLiteral("Option"));
    ZENTORIX1_ = option->addAction(QStringLiteral("ZENTORIX-RT"));
    ZENTORIX1_->setObjectName(QStringLiteral("ZENTORIX1"));
    ZENTORIX1_->setCheckable(true);
    // The check mark follows the stored flag, which the handler toggles itself.
    connect(ZENTORIX1_, &QAction::triggered, this, [this] { ZENTORIX1Click(); });
    auto *save = option->addAction(QStringLiteral("Save Setting"));
    save->setObjectName(QStringLiteral("SaveSetting1"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, &TForm1::SaveSetting1Click);
    option->addSeparator();
    auto *traffic = option->addAction(QStringLiteral("Traffic log"));
    traffic->setObjectName(QStringLiteral("TrafficLog1"));
    traffic->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    traffic->setToolTip(QStringLiteral("Every byte sent to and received from the port, with times"));
    connect(traffic, &QAction::triggered, this, &TForm1::showTrafficLog);
    option->addAction(new zx::ui::TrafficFileAction(traffic_, this));
    option->setToolTipsVisible(true);

    auto *module = menuBar()->addMenu(QStringLiteral("&Module"));
    module->setObjectName(QStringLiteral("Module1"));
    moduleMenu_ = new zx::ui::ModuleMenu(*this, *module, this);
    new zx::ui::CloseGuard(*this, *moduleMenu_);
}

// Beside a dialog that is waiting for the user (a question, the progress of
// a run with its Cancel), never over it.
void TForm1::showTrafficLog() {
    const bool first = !trafficWindow_;
    if (first)
        trafficWindow_ = new zx::ui::TrafficWindow(traffic_, this);
    QWidget *waiting = QApplication::activeModalWidget();
    if (!waiting)
        waiting = findChild<QProgressDialog *>(QStringLiteral("ModuleProgress"));
    if (waiting && waiting->isVisible()) {
        // The place is for the whole window, title bar and borders included
        // (as the window manager draws them around this window).
        const QRect inner = geometry(), outer = frameGeometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                             outer.right() - inner.right(), outer.bottom() - inner.bottom());
        const QRect area = screen()->availableGeometry();
        const QRect place = zx::ui::placeClearOf(trafficWindow_->size().grownBy(frame), area,
                                                 waiting->frameGeometry());
        trafficWindow_->resize(place.size().shrunkBy(frame));
        trafficWindow_->move(place.topLeft());
    }
    trafficWindow_->show();
    if (waiting && waiting->isVisible())
        waiting->raise();
    else {
        trafficWindow_->raise();
        trafficWindow_->activateWindow();
    }
}

void TForm1::InitPort() {
    const int portIndex = std::max(0, serialTab_->RadioGroupPort->itemIndex());
    const int rateIndex = serialTab_->RadioGroupRate->itemIndex();
    zx::serial::PortChoice choice;
    choice.port = TPortNumber(pnCOM1 + portIndex);
    choice.baud = quint32(zx::ui::SerialPortTab::baudOfItem(rateIndex));
    choice.rate = kBaudRates[std::clamp(rateIndex, 0, int(std::size(kBaudRates)) - 1)];
    choice.evenParity = serialTab_->ParityEven->isChecked();
    link_->setLineSpeed(choice.baud);
    keeper_->open(choice);
}

void TForm1::checkModemManager() {
    const QString device = driver_.Connected() ? driver_.DeviceName() : driver_.LastError().device;
    if (!device.isEmpty())
        adviseOnModemManager(device, statusBar()->currentMessage());
}

// A modem that stopped answering may have been taken by ModemManager.
void TForm1::modemStoppedAnswering() { checkModemManager(); }

// The answer may come after the user chose another port: then it is dropped.
void TForm1::adviseOnModemManager(const QString &device, const QString &lead) {
    zx::serial::adviseWhenModemManagerOwns(this, device, [this, device, lead](const QString &advice) {
        const QString current = driver_.Connected() ? driver_.DeviceName() : driver_.LastError().device;
        if (current != device)
            return;
        // The rule is to be copied: it goes to the reception memo, the
        // status bar points there.
        MemoSMSinput_->appendPlainText(advice);
        const QString pointer =
            QStringLiteral("ModemManager holds %1: how to release it is in the reception memo.")
                .arg(device);
        showStatusMessage(lead.isEmpty() ? pointer : lead + QLatin1Char(' ') + pointer);
    });
}

void TForm1::ConnectBtnClick() {
    MemoSMSinput_->clear();
    MemoS_->clear();
    link_->SendSMS("  OK");
}

void TForm1::TestBtnClick() { link_->SendSMS("  +EXIT"); }

void TForm1::Timer1Timer() {
    tickSleep_->beforeTick();
    // An SMS job's answers are the job's: the link neither lists nor deletes.
    if (!runPort_.modemTaken())
        link_->Timer1Timer();
    // Device events say when a port comes back; the tick catches what sends
    // no event (a pseudo-terminal behind a port-map link) and the end of the wait.
    if (keeper_->waiting())
        keeper_->check();
    tickSleep_->afterTick(keeper_->waiting());
}

void TForm1::receiveData(const char *data, unsigned count) {
    port_.received(data, count);
    if (runPort_.takeReceived(data, count))
        return;
    link_->receive(QByteArray(data, qsizetype(count)));
}

void TForm1::portLost(const QString &reason) {
    runPort_.lost(reason);
    link_->portLost(reason);
    keeper_->lost(reason);
}

QList<QWidget *> TForm1::paleBoxes() const {
    QList<QWidget *> boxes{MemoSMSinput_};
    boxes << mainTab_->paleBoxes() << abonentsTab_->numbers->paleBoxes()
          << abonentsTab_->masks->paleBoxes() << externalTexts_->paleBoxes()
          << internalTexts_->paleBoxes() << ioNames_->paleBoxes() << analogTab_->paleBoxes()
          << temperatureTab_->paleBoxes() << ioControlTab_->paleBoxes()
          << gprsFtpTab_->paleBoxes();
    return boxes;
}

// Every listed level and text box gets the pale background, whatever tab is open.
void TForm1::PageControl1Change() {
    for (QWidget *w : paleBoxes())
        zx::ui::setBoxColour(w, zx::ui::kPaleBoxColour);
}

// LinkView

bool TForm1::smsMode() const { return mainTab_->SMSmode->isChecked(); }

QByteArray TForm1::moduleNumber() const { return zx::text::toAnsi(mainTab_->BRnumber->text()); }

bool TForm1::skipCrLf() const { return serialTab_->SkipCRLFcb->isChecked(); }

void TForm1::setSkipCrLf(bool checked) { serialTab_->SkipCRLFcb->setChecked(checked); }

int TForm1::activeTab() const { return PageControl1_->currentIndex(); }

void TForm1::setBusyCursor(bool busy) {
    if (busy == busyCursor_)
        return;
    busyCursor_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TForm1::setStatusColour(zx::link::StatusColour colour) {
    static const QColor colours[] = {QColor(0, 0, 0), QColor(255, 0, 0), QColor(0, 255, 0),
                                     QColor(0, 255, 255)};
    zx::ui::setBoxColour(Status_, colours[int(colour)]);
}

void TForm1::setStatusText(const QString &text) { Status_->setText(text); }

void TForm1::showError(const QString &text) {
    zx::ui::showBox(this, zx::ui::BoxKind::Error, QStringLiteral("Error"), text);
}

void TForm1::showStatusMessage(const QString &text) {
    // A notice longer than the window is wide can still be read whole.
    statusBar()->setToolTip(text);
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text);
}

void TForm1::parseTabAnswer(int tab, const QByteArray &answer) {
    switch (tab) {
    case zx::ui::kAbonentsTab:
        abonentsTab_->numbers->showAnswer(answer);
        break;
    case zx::ui::kExternalSmsTab:
        externalTexts_->showAnswer(answer);
        break;
    case zx::ui::kIntExtSmsTab:
    case zx::ui::kIoNameTab:
        // Internal texts and names share one numbering: an answer fills its
        // box on either tab, whichever of the two is open.
        if (!internalTexts_->showAnswer(answer))
            ioNames_->showAnswer(answer);
        break;
    case zx::ui::kGprsFtpTab:
        gprsFtpTab_->showAnswer(answer);
        break;
    default:
        break;
    }
}
