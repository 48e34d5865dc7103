#pragma once
// What the link shows and what it reads from the window. The link never
// touches a widget; the window implements this interface.
#include "link/Memo.h"

#include <QByteArray>
#include <QString>

namespace zx::link {

enum class StatusColour { Black, Red, Green, Cyan };

class LinkView {
public:
    virtual ~LinkView() = default;

    virtual bool smsMode() const = 0;
    // The module's telephone number box, as typed.
    virtual QByteArray moduleNumber() const = 0;
    virtual bool skipCrLf() const = 0;
    virtual void setSkipCrLf(bool checked) = 0;
    virtual int activeTab() const = 0;

    virtual Memo &receptionMemo() = 0;
    virtual Memo &echoLine() = 0;

    virtual void setBusyCursor(bool busy) = 0;
    virtual void setStatusColour(StatusColour colour) = 0;
    virtual void setStatusText(const QString &text) = 0;
    // A modal error box with the caption "Error" and an error icon.
    virtual void showError(const QString &text) = 0;
    // A short note in the status bar for things the user should know.
    virtual void showStatusMessage(const QString &text) = 0;

    // The modem stopped answering (SMS mode): the window may find out why.
    virtual void modemStoppedAnswering() {}

    // A module answer for the parser of the given tab (setting mode).
    virtual void parseTabAnswer(int tab, const QByteArray &answer) = 0;
};

} // namespace zx::link
