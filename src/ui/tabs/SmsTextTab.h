#pragma once
// One of the three text tabs ("External SMS", "Int/Ext SMS", "IOname"):
// a box and a small button per text, and the tab's "Read" box that decides
// whether the buttons read the module's text ("RD") or write the box ("WR").
#include "settings/WindowSettings.h"
#include "ui/tabs/SmsTextTable.h"

#include <QWidget>

#include <map>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zx::ui {

class TabHost;
struct TextGrid;

class SmsTextTab : public QWidget {
    Q_OBJECT
public:
    SmsTextTab(TabHost &host, const TextFamily &family, QWidget *parent = nullptr);

    QCheckBox *readBox = nullptr;
    // Box and button of text n; nullptr when the tab does not show n.
    QLineEdit *box(int n) const;
    QPushButton *button(int n) const;

    void textButtonClick(int n);
    void readBoxClick(bool checked);

    // The tab's texts from and into the settings values.
    void load(const settings::TextSettings &texts);
    void save(settings::TextSettings &texts) const;
    // The runtime variant disables the texts of the inputs it lacks.
    void applyVariant(bool variantOn);
    QList<QWidget *> paleBoxes() const;
    // A module answer read while this tab (or, for the short texts, its twin)
    // is open; false when the answer names no text of this tab.
    bool showAnswer(const QByteArray &answer);

private:
    QWidget *buildGrid(const TextGrid &grid, QWidget *parent);

    TabHost &host_;
    const TextFamily &family_;
    std::map<int, QLineEdit *> boxes_;
    std::map<int, QPushButton *> buttons_;
};

} // namespace zx::ui
