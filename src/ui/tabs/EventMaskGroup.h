#pragma once
// The "Number Mask" group of the "Abonents" tab: for every event source a
// row of four number boxes (alarm numbers 4, 3, 2, 1) and a "Disable" box,
// the three mask texts they edit, and "Set Numbers  Filter" ("SETME ").
#include "commands/io/EventMask.h"
#include "settings/WindowSettings.h"

#include <QGroupBox>

#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace zx::ui {

class TabHost;

class EventMaskGroup : public QGroupBox {
    Q_OBJECT
public:
    using MaskKind = commands::io::MaskKind;

    EventMaskGroup(TabHost &host, QWidget *parent = nullptr);

    QLineEdit *TNrFilter = nullptr;
    QLineEdit *ANrFilter = nullptr;
    QLineEdit *DNrFilter = nullptr;
    // Labels of temperature rows 2 and 3 ("Runtime 1"/"Runtime 2" or
    // "Temperature 2"/"Temperature 3", set by the model variant).
    QLabel *RTname1 = nullptr;
    QLabel *RTname2 = nullptr;

    // Rows and number columns count from 1.
    QCheckBox *numberBox(MaskKind kind, int column, int row) const;
    QCheckBox *disableBox(MaskKind kind, int row) const;
    QLineEdit *maskEdit(MaskKind kind) const;

    // Start-up: every character of the stored masks sets its row through the
    // boxes themselves ("1".."9", "A".."F": row enabled with the boxes of its
    // bits; anything else: row disabled, boxes cleared). The mask texts and
    // the working copies must already hold the stored masks. A missing
    // character counts as a disabled row.
    void decodeMasks(const QByteArray &temperature, const QByteArray &analog,
                     const QByteArray &digital);
    void decodeRow(MaskKind kind, int row, char c);

    void SetNfilter1Click();

    // Start-up: the stored mask texts go to the mask boxes, the stored
    // characters to the working copies, and each row is decoded from them.
    void load(const settings::MaskSettings &masks, const settings::WorkingCopies &stored);
    void save(settings::MaskSettings &masks) const;
    // The runtime variant disables the rows of analog inputs 5..8 and
    // digital inputs 8..12 and names temperature rows 2 and 3 "Runtime".
    void applyVariant(bool variantOn);
    QList<QWidget *> paleBoxes() const;
    // Its controls as they read: each matrix's mask text, then its rows top
    // to bottom, each left to right with its "dis" box last; the set button.
    QList<QWidget *> readingOrder() const;

private:
    struct Matrix {
        QLineEdit *edit = nullptr;
        std::vector<std::array<QCheckBox *, commands::io::kNumberColumns>> numbers;
        std::vector<QCheckBox *> disable;
    };

    QWidget *buildMatrix(int index, QWidget *parent);
    QWidget *buildHints(QWidget *parent);
    void numberBoxToggled(MaskKind kind, int row, int column, bool checked);
    void disableBoxToggled(MaskKind kind, int row, bool checked);
    QByteArray &workingCopy(MaskKind kind);
    const Matrix &matrix(MaskKind kind) const { return matrices_[int(kind)]; }

    TabHost &host_;
    std::array<Matrix, 3> matrices_;
};

} // namespace zx::ui
