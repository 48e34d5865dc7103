#pragma once
// The "Numbers" group of the "Abonents" tab: the seven alarm numbers in the
// module's memory and the seven administration numbers of its SIM phone book,
// each with a "Number" selector and the buttons that read, write and clear.
#include "link/CommandStyle.h"
#include "settings/WindowSettings.h"

#include <QGroupBox>

#include <array>

class QLineEdit;
class QPushButton;

namespace zx::commands::messaging {
struct NumberAnswerFill;
}

namespace zx::ui {

class RadioGroup;
class TabHost;

class NumbersGroup : public QGroupBox {
    Q_OBJECT
public:
    NumbersGroup(TabHost &host, QWidget *parent = nullptr);

    std::array<QLineEdit *, 7> NNumber{};
    std::array<QLineEdit *, 7> PBnr{};
    RadioGroup *RadioGroupNR = nullptr;
    RadioGroup *RadioGroupPB = nullptr;
    QPushButton *GetNr = nullptr;
    QPushButton *SetNr = nullptr;
    QPushButton *ClrNr = nullptr;
    QPushButton *ReadPB = nullptr;
    QPushButton *ToPhoneBook = nullptr;

    void GetNrClick();
    void SetNrClick();
    void ClrNrClick();
    void ReadPBClick();
    void ToPhoneBookClick();
    // A module answer read while the tab is open.
    void showAnswer(const QByteArray &answer);

    void load(const settings::NumberSettings &numbers);
    void save(settings::NumberSettings &numbers) const;
    QList<QWidget *> paleBoxes() const;
    // Column by column, each under its heading: the alarm numbers, their
    // selector and buttons, then the phone-book numbers with theirs.
    QList<QWidget *> readingOrder() const;

private:
    QLineEdit *numberBox(const char *stem, int number, int width);
    bool listPollOutstanding() const;
    void readOrClearNumber(QByteArray (*lineOf)(int number));
    // Sends line after the Clear the caller has run (and its checks passed).
    void sendChecked(const QByteArray &line, link::Echo echo = link::Echo::AfterSend);

    TabHost &host_;
};

} // namespace zx::ui
