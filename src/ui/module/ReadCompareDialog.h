#pragma once
// What a module read back, side by side with what the window holds: one row
// per field the module answered (the window's label for it, window, module),
// the rows that differ marked. The user ticks rows and takes their module
// values, or all of them, into the controls; nothing is saved until "Save
// Setting".
#include "provision/Report.h"
#include "settings/ConfigRecord.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QTableWidget;

namespace zx::ui {

struct Comparison {
    settings::ConfigRecord window;
    settings::ConfigRecord module;
    QStringList answered;     // readable entries the module answered, in plan order
    QStringList differing;    // of those, the ones whose values differ
    QStringList unverifiable; // values the module's answer cannot carry whole
};

Comparison compareWithModule(const settings::ConfigRecord &window,
                             const settings::ConfigRecord &module, const QStringList &answered);

class ReadCompareDialog : public QDialog {
    Q_OBJECT
public:
    ReadCompareDialog(Comparison comparison, const provision::Report &report, QWidget *parent);

    // The entries whose row is ticked.
    QStringList ticked() const;

signals:
    // The module's values of these entries go into the controls.
    void take(const QStringList &entries);

private:
    void fillTable();
    void showOnlyDiffering(bool only);

    Comparison comparison_;
    QLabel *summary_ = nullptr;
    QTableWidget *table_ = nullptr;
    QCheckBox *onlyDiffering_ = nullptr;
};

} // namespace zx::ui
