#include "ui/TrafficWindow.h"

#include "ui/MessageBoxes.h"
#include "ui/widgets/Placement.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace zx::ui {
namespace {

constexpr int kRefreshMs = 100;

} // namespace

TrafficWindow::TrafficWindow(traffic::TrafficLog &log, QWidget *parent)
    : QDialog(parent), log_(log) {
    setObjectName(QStringLiteral("TrafficWindow"));
    setWindowTitle(QStringLiteral("Traffic log"));
    setModal(false);
    resizeWithinScreen(this, QSize(760, 420));

    view_ = new QPlainTextEdit(this);
    view_->setObjectName(QStringLiteral("TrafficView"));
    view_->setReadOnly(true);
    view_->setUndoRedoEnabled(false);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setMaximumBlockCount(kMaxLines);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view_->setPlaceholderText(QStringLiteral("No traffic yet"));
    view_->setToolTip(QStringLiteral(
        "TX: sent to the port, RX: received from it; times in milliseconds. "
        "Password values are masked."));

    // At its newest line the view stays there as lines come and as the
    // window manager settles the window's size; scrolled back, it stays put.
    QScrollBar *down = view_->verticalScrollBar();
    connect(down, &QScrollBar::valueChanged, this,
            [this, down](int value) { following_ = value == down->maximum(); });
    connect(down, &QScrollBar::rangeChanged, this, [this, down](int, int maximum) {
        if (following_)
            down->setValue(maximum);
    });

    hex_ = new QCheckBox(QStringLiteral("&Hex"), this);
    hex_->setObjectName(QStringLiteral("TrafficHex"));
    hex_->setToolTip(QStringLiteral("Show the bytes as hexadecimal octets instead of text"));
    pause_ = new QCheckBox(QStringLiteral("&Pause"), this);
    pause_->setObjectName(QStringLiteral("TrafficPause"));
    pause_->setToolTip(QStringLiteral(
        "Stop updating the view; the log keeps recording and catches up when resumed"));
    save_ = new QPushButton(QStringLiteral("&Save log…"), this);
    save_->setObjectName(QStringLiteral("TrafficSave"));
    save_->setToolTip(QStringLiteral("Write what the view shows to a text file"));
    save_->setAutoDefault(false);
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("TrafficClose"));
    close->setToolTip(QStringLiteral("Close this window; the log keeps recording"));
    close->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hex_);
    buttons->addWidget(pause_);
    buttons->addStretch(1);
    buttons->addWidget(save_);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);

    connect(hex_, &QCheckBox::toggled, this, [this] { rebuild(); });
    connect(pause_, &QCheckBox::toggled, this, [this](bool paused) {
        if (!paused)
            refresh();
    });
    connect(save_, &QPushButton::clicked, this, &TrafficWindow::chooseFile);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("TrafficRefresh"));
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &TrafficWindow::refresh);
    timer_->start();
    rebuild();
}

traffic::View TrafficWindow::view() const {
    return hex_->isChecked() ? traffic::View::Hex : traffic::View::Text;
}

void TrafficWindow::refresh() {
    if (pause_->isChecked())
        return;
    const QList<traffic::Entry> fresh = log_.since(shownUpTo_);
    if (fresh.isEmpty())
        return;
    shownUpTo_ = fresh.last().serial + 1;
    const QScrollBar *across = view_->horizontalScrollBar();
    const int left = across->value();
    for (const QString &line : traffic::formatLines(fresh, view()))
        view_->appendPlainText(line);
    // New lines do not move the view sideways.
    view_->horizontalScrollBar()->setValue(left);
}

void TrafficWindow::rebuild() {
    // Only the newest entries can show; formatting more would be thrown away.
    const auto &entries = log_.entries();
    const auto count = std::min<std::size_t>(entries.size(), kMaxLines);
    const QList<traffic::Entry> newest(entries.end() - std::ptrdiff_t(count), entries.end());
    shownUpTo_ = log_.nextSerial();
    view_->setPlainText(traffic::formatLines(newest, view()).join(QLatin1Char('\n')));
    showNewestLine();
}

// The newest line from its start: its time first, however long the line.
void TrafficWindow::showNewestLine() {
    view_->moveCursor(QTextCursor::End);
    view_->moveCursor(QTextCursor::StartOfBlock);
    view_->horizontalScrollBar()->setValue(view_->horizontalScrollBar()->minimum());
    // At the very bottom, also when the sideways scroll bar covers the last
    // line: from there the view follows the lines that come.
    following_ = true;
    view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->maximum());
}

void TrafficWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // The view knows its line widths only once laid out.
    showNewestLine();
}

void TrafficWindow::chooseFile() {
    refresh();
    if (!dialog_) {
        dialog_ = new QFileDialog(this, QStringLiteral("Save log"));
        dialog_->setObjectName(QStringLiteral("TrafficSaveDialog"));
        dialog_->setAcceptMode(QFileDialog::AcceptSave);
        dialog_->setOption(QFileDialog::DontUseNativeDialog);
        dialog_->setNameFilter(QStringLiteral("Text files (*.txt *.log);;All files (*)"));
        dialog_->setDefaultSuffix(QStringLiteral("log"));
        connect(dialog_, &QFileDialog::fileSelected, this, [this](const QString &path) {
            if (!saveTo(path))
                showBox(this, BoxKind::Error, QStringLiteral("Save log"), error_);
        });
    }
    dialog_->open();
}

bool TrafficWindow::saveTo(const QString &path) {
    QSaveFile file(path);
    QByteArray text = view_->toPlainText().toUtf8();
    if (!text.isEmpty())
        text.append('\n');
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error_ = QStringLiteral("The log could not be written to %1: %2. Choose another folder "
                                "or free some space, then save again.")
                     .arg(path, file.errorString());
        return false;
    }
    error_.clear();
    return true;
}

} // namespace zx::ui
