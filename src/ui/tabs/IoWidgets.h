#pragma once
// Small builders shared by the I/O tabs: named scroll bars with the
// read-only box that mirrors them, buttons and edits.
#include <QByteArray>
#include <QString>

#include <functional>

class QGridLayout;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;

namespace zx::ui::io {

inline QString latin(const char *s) { return QString::fromLatin1(s); }
// "stem" + n, e.g. named("SetOut", 3) = "SetOut3".
inline QString named(const char *stem, int n) { return latin(stem) + QString::number(n); }

// A horizontal scroll bar min..max at 0, with the given large change.
QScrollBar *scrollBar(const QString &name, int min, int max, QWidget *parent,
                      int largeChange = 1);
QLineEdit *readOnlyBox(const QString &name, const QString &text, QWidget *parent,
                       int width = 32);
QLineEdit *edit(const QString &name, const QString &text, int maxLength, QWidget *parent);
QPushButton *button(const QString &name, const QString &caption, QWidget *parent);

// Every change of the bar's position writes show(position) into the box.
void mirror(QScrollBar *bar, QLineEdit *box, std::function<QString(int)> show);

// One row of a grid: caption, low scale label, bar, high scale label, box.
void addBarRow(QGridLayout *grid, int row, const QString &caption, const QString &low,
               QScrollBar *bar, const QString &high, QLineEdit *box);

// A box's text as the module line carries it.
QByteArray textOf(const QLineEdit *box);

} // namespace zx::ui::io
