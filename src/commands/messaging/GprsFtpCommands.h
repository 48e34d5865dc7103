#pragma once
// The eight GPRS and FTP parameters: their boxes, the read and write lines
// and the key the module's answer carries for each.
#include <QByteArray>

#include <array>
#include <optional>

namespace zx::commands::messaging {

struct GprsFtpParameter {
    const char *button;
    const char *box;
    const char *label;
    bool ftpGroup;
    int boxLimit;
    const char *initialText;
    const char *readLine;     // keyword and one blank
    const char *writeKeyword; // keyword and one blank
    const char *answerKey;
};

inline constexpr int kGprsFtpCount = 8;
// Positions in the parameter table.
enum GprsFtpIndex {
    kApn,
    kGprsUser,
    kGprsPassword,
    kServerAddress,
    kFtpHost,
    kFtpUser,
    kFtpPassword,
    kFtpDirectory,
};
extern const std::array<GprsFtpParameter, kGprsFtpCount> kGprsFtpParameters;

// The parameters whose values are passwords: reports and logs hide them.
inline constexpr bool isPasswordParameter(int parameter) {
    return parameter == kGprsPassword || parameter == kFtpPassword;
}

// A write: the line to send and, when the box's text had to be cut at its
// first blank, the text the box shows afterwards.
struct GprsFtpWrite {
    QByteArray line;
    std::optional<QByteArray> boxText;
};
GprsFtpWrite gprsFtpWrite(int parameter, const QByteArray &boxText);

struct GprsFtpAnswer {
    int parameter = 0;
    QByteArray value;
};
// "key: value": the key before the first colon must match an answer key
// exactly; the value is everything from the second character after the colon.
std::optional<GprsFtpAnswer> parseGprsFtpAnswer(const QByteArray &answer);

} // namespace zx::commands::messaging
