#include "commands/messaging/GprsFtpCommands.h"

namespace zx::commands::messaging {
namespace {

// The module takes an empty access point name as four blanks.
constexpr char kEmptyApnLine[] = "SETAP    ";

} // namespace

const std::array<GprsFtpParameter, kGprsFtpCount> kGprsFtpParameters = {{
    {"APNbtn", "APN", "APN ", false, 40, "", "GETAP ", "SETAP ", "APN"},
    {"UIDbtn", "UserID", "User ID", false, 16, "", "GETID ", "SETID ", "UserID"},
    {"PWbtn", "Password", "Password", false, 16, "", "GETPW ", "SETPW ", "PASSWORD"},
    {"IPbtn", "IPaddress", "IP address", false, 40, "0.0.0.0", "GETIP ", "SETIP ", "IP address"},
    {"FTPHostNamebtn", "FTPHostName", "Host Name", true, 40, "", "GETFT ", "SETFT ", "FTPURL"},
    {"UNbtn", "UserNameFTP", "User ID", true, 40, "", "GETAF ", "SETAF ", "UserName FTP"},
    {"FPWbtn", "PasswordFTP", "Password", true, 16, "", "GETPF ", "SETPF ", "Password FTP"},
    {"DirNameBtn", "DirName", "Object / Dir Name", true, 16, "", "GETDN ", "SETDN ", "DirName"},
}};

GprsFtpWrite gprsFtpWrite(int parameter, const QByteArray &boxText) {
    const GprsFtpParameter &p = kGprsFtpParameters.at(std::size_t(parameter));
    if (parameter == kApn && (boxText.isEmpty() || static_cast<unsigned char>(boxText[0]) <= ' '))
        return {kEmptyApnLine, std::nullopt};
    GprsFtpWrite write;
    QByteArray value = boxText;
    const qsizetype blank = boxText.indexOf(' ');
    if (blank >= 0) {
        value = boxText.left(blank);
        write.boxText = value;
    }
    write.line = p.writeKeyword + value;
    return write;
}

std::optional<GprsFtpAnswer> parseGprsFtpAnswer(const QByteArray &answer) {
    const qsizetype colon = answer.indexOf(':');
    if (colon < 0)
        return std::nullopt;
    const QByteArray key = answer.left(colon);
    for (int i = 0; i < kGprsFtpCount; ++i)
        if (key == kGprsFtpParameters[std::size_t(i)].answerKey)
            return GprsFtpAnswer{i, answer.mid(colon + 2)};
    return std::nullopt;
}

} // namespace zx::commands::messaging
