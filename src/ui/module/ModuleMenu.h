#pragma once
// The "Module" menu: the window's values written to the module in one run
// (all of them, or only what changed since the module was last written or
// read on this port), the module read back beside the window, and profiles
// opened into the controls or exported from them.
#include "settings/ConfigRecord.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace zx::provision {
struct Plan;
struct Report;
}

namespace zx::ui {

class ModuleRunner;
class ModulesDialog;
class ModuleWindow;

class ModuleMenu : public QObject {
    Q_OBJECT
public:
    ModuleMenu(ModuleWindow &window, QMenu &menu, QObject *parent = nullptr);

    // Provisioning needs setting mode: in SMS mode the run items are off.
    void setSmsMode(bool on);
    ModuleRunner &runner() { return *runner_; }
    // The view of the last run (its results, or the module beside the
    // window), until the next run starts.
    void showLastResult();

private:
    // What is known of a module on a port: what the last completed write
    // gave it (everything), or what the last read brought back (the
    // readable entries only) on top of what was known before.
    struct Knowledge {
        settings::ConfigRecord record;
        bool whole = false;
        QSet<QString> known; // when not whole
    };

    QAction *addItem(QMenu &menu, const char *name, const QString &text, const QString &tip,
                     void (ModuleMenu::*handler)());
    void updateItems();
    bool portReady(const QString &what);
    void writeAll();
    void writeChanges();
    void write(const provision::Plan &plan, const settings::ConfigRecord &record,
               const QString &scope);
    void readModule();
    void readEnded();
    void runStarts();
    void runEnded(const provision::Report &report, const QString &run);
    void showComparison(const settings::ConfigRecord &module, const QStringList &answered,
                        const provision::Report &report);
    // "Write to +4917012345", or to the port when the window holds no number.
    QString runName(const QString &verb) const;
    QString moduleNumber() const;
    void openProfile();
    void exportProfile();
    void showModules();
    void confirm(const QString &text, const QString &details, std::function<void()> go);
    void status(const QString &text);

    ModuleWindow &window_;
    ModuleRunner *runner_ = nullptr;
    QHash<QString, Knowledge> modules_; // by device
    QAction *writeAll_ = nullptr;
    QAction *writeChanges_ = nullptr;
    QAction *read_ = nullptr;
    QAction *openProfile_ = nullptr;
    QAction *exportProfile_ = nullptr;
    QAction *lastResult_ = nullptr;
    std::function<void()> showLast_;
    QPointer<ModulesDialog> modulesDialog_;
    bool smsMode_ = false;
    bool running_ = false;
};

} // namespace zx::ui
