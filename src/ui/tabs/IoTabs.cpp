#include "ui/TabHost.h"

#include "ui/tabs/AnalogTab.h"
#include "ui/tabs/EventMaskGroup.h"
#include "ui/tabs/IoControlTab.h"
#include "ui/tabs/IoReadButtons.h"
#include "ui/tabs/OtherTab.h"
#include "ui/tabs/TemperatureTab.h"

#include <QLayout>
#include <QWidget>

namespace zx::ui {

namespace {
template <typename Tab> void addTab(TabHost &host, int index) {
    QWidget *page = host.page(index);
    page->layout()->addWidget(new Tab(host, page));
}
} // namespace

void installIoTabs(TabHost &host) {
    addTab<IoControlTab>(host, kIoControlTab);
    addTab<EventMaskGroup>(host, kAbonentsTab);
    addTab<AnalogTab>(host, kAnalogTab);
    addTab<TemperatureTab>(host, kTemperatureTab);
    addTab<OtherTab>(host, kOtherTab);
    installIoReadButtons(host);
}

} // namespace zx::ui
