#pragma once
// The SMS schedule: a nine-character string, a message type letter then four
// two-character pairs (a repetition code "33".."66" or an hour "00".."23" in
// pair 1, hours in pairs 2..4, two blanks for an unused pair).
#include <QByteArray>

#include <array>
#include <optional>

namespace zx::commands::messaging {

inline constexpr int kScheduleHours = 4;
inline constexpr int kScheduleTypeCount = 11; // the last item is "Disable"
inline constexpr int kRepetitionOther = 4;

// A short string of capacity 9 as the settings file keeps it: a length and
// nine character places. The controls write single places without changing
// the length; places beyond the length are kept but not stored.
class ScheduleString {
public:
    static constexpr int kCapacity = 9;

    // Length and characters of a stored text; places beyond it become NUL.
    void load(const QByteArray &stored);
    // The stored text: the first length characters.
    QByteArray text() const { return places_.left(length_); }
    int length() const { return length_; }
    // Place 1..9, whatever the length says.
    char at(int position) const;
    void setAt(int position, char c);
    // Pair 1..4 (places 2k and 2k + 1).
    void setPair(int pair, const QByteArray &two);

private:
    QByteArray places_ = QByteArray(kCapacity, '\0');
    int length_ = 0;
};

// Letter of an "SMS Type" item; a blank for "Disable" or no item.
char scheduleTypeLetter(int item);
// "33", "44", "55", "66" for the "Timeout" items 0..3; empty otherwise.
QByteArray repetitionCode(int item);
// An hour as two digits, "0" put in front below 10.
QByteArray hourPair(int hour);

struct ScheduleControls {
    int typeItem = 0;
    int repetitionItem = 0;
    std::array<bool, kScheduleHours> enabled{};
    std::array<int, kScheduleHours> hours{};
};

// "SET": completes the string from the controls, stores the result in s and
// returns the line "SETSH " followed by it.
QByteArray buildSetScheduleLine(ScheduleString &s, const ScheduleControls &controls);

// What a stored schedule gives the controls at start-up.
struct ScheduleDecoding {
    // Per pair: the bar position (nothing = bar left alone) and the "Enable" box.
    std::array<std::optional<int>, kScheduleHours> hours;
    std::array<bool, kScheduleHours> enabled{};
    int typeItem = kScheduleTypeCount - 1;
    // Nothing = the "Timeout" group is left alone.
    std::optional<int> repetitionItem;
};
ScheduleDecoding decodeSchedule(const ScheduleString &s);

} // namespace zx::commands::messaging
