#include "ui/TabHost.h"

#include "link/Link.h"

namespace zx::ui {

void TabHost::sendCommand(const QByteArray &line) {
    link().Clear();
    link().SendSMS(line);
    link().DisplayOnMemo(line);
}

} // namespace zx::ui
