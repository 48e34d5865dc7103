#pragma once
// How a command button hands its line to the link: whether the memos are
// prepared first (Clear), and where and what the command echo line shows.
#include <QByteArray>

namespace zx::link {

enum class Echo {
    AfterSend,  // DisplayOnMemo right after SendSMS: most buttons
    BeforeSend, // DisplayOnMemo right before SendSMS
    None,       // nothing echoed: the text buttons
    Alone,      // after SendSMS the echo line and the reception memo are
                // emptied and the echo line shows the line: "GET"/"SET" of
                // the option string and of the schedule
};

struct CommandStyle {
    bool clearFirst = true;
    Echo echo = Echo::AfterSend;
    QByteArray echoText; // what the echo line shows; empty: the line itself

    static CommandStyle echoing(Echo echo, const QByteArray &text = {}) {
        CommandStyle style;
        style.echo = echo;
        style.echoText = text;
        return style;
    }
    // For a caller that ran Clear itself, before checks of its own.
    CommandStyle withoutClear() const {
        CommandStyle style = *this;
        style.clearFirst = false;
        return style;
    }
};

} // namespace zx::link
