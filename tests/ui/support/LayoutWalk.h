#pragma once
// Walks one area of the window as an installer sees it and lists what is
// wrong, one line per fault naming the control: a control cut off by the
// area or a box around it, a caption that does not fit, a scroll bar
// showing, two controls on top of each other, a label under a control.
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

// The control's name, or its caption, and the nearest named box around it.
QString nameOf(const QWidget *w);
QRect rectIn(const QWidget *w, const QWidget *area);
// The widest line of text in w's font, mnemonics left out.
int textWidth(const QWidget *w, QString text);

class LayoutWalk {
public:
    // The area itself may scroll (a tab's page on a small screen): then walk
    // the page inside it, which must hold every control whole.
    explicit LayoutWalk(QWidget *area);
    QStringList faults;

private:
    void walk(QWidget *parent);
    bool covered(QWidget *w) const;
    void checkInside(QWidget *w);
    void needWidth(const QWidget *w, int needed, int available, const QString &text);
    void checkText(const QWidget *w);
    void checkOverlaps();

    QWidget *area_;
    QList<QWidget *> controls_;
    QList<QWidget *> labels_;
};

// A few rounds of the event loop, for layouts and palettes to settle.
void settle();
