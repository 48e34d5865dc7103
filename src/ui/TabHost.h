#pragma once
// What the window offers the code of its tabs: the link to send through, the
// modem dialogue, the settings record and the working copies shared between
// tabs.
#include "settings/WindowSettings.h"
#include "ui/TabTable.h"

class QWidget;

namespace zx::link {
class Link;
class ModemQueries;
} // namespace zx::link

namespace zx::ui {

using settings::WorkingCopies;

class TabHost {
public:
    virtual ~TabHost() = default;

    virtual link::Link &link() = 0;
    virtual link::ModemQueries &modemQueries() = 0;
    virtual settings::ConfigRecord &record() = 0;
    virtual WorkingCopies &work() = 0;
    virtual QWidget *window() = 0;
};

} // namespace zx::ui
