#include "link/ModemQueries.h"

#include "link/DisplayUnit.h"
#include "link/Link.h"
#include "link/ModemReplies.h"

namespace zx::link {
namespace {

enum SequenceStep {
    kManufacturerStep = 1,
    kCharSetStep,
    kModelStep,
    kClockStep,
    kFormatStep,
    kFormatSettingStep,
};

// A text the modem never gave leaves its box as it is: a silent modem keeps
// the boxes' initial texts or the previous results.
void showIfKnown(const QByteArray &text, void (ModemTextView::*show)(const QByteArray &),
                 ModemTextView &view) {
    if (!text.isEmpty())
        (view.*show)(text);
}

} // namespace

ModemQueries::ModemQueries(Link &link, ModemTextView &texts) : link_(link), texts_(texts) {}

void ModemQueries::install() {
    link_.setModemHooks({[this](int step) { sequenceStep(step); }, [this] { GetDateTime(); },
                         [this](const QByteArray &raw) { offerChunk(raw); },
                         [this] {
                             return QString::fromLatin1(
                                 (manufacturer_ + ' ' + model_).trimmed());
                         }});
}

bool ModemQueries::reportClosedPort() {
    if (portErrorShown_)
        return false;
    portErrorShown_ = true;
    link_.view().showError(QString::fromLatin1(kPortErrorText));
    return true;
}

ModemQueries::Sent ModemQueries::sendQuery(const QByteArray &command, Echo echo,
                                           bool AwaitingReply::*flag) {
    if (!link_.port().connect())
        return reportClosedPort() ? Sent::PortErrorShownNow : Sent::No;
    const LinkFlags &f = link_.flags();
    if (f.ModemBusy && !f.QuerySequenceActive)
        return Sent::No;
    link_.setModemBusy(true);
    link_.view().setBusyCursor(true);
    link_.askModem(command + '\r');
    Memo &memo = link_.view().receptionMemo();
    StartOwnLine(memo);
    if (echo == Echo::Line) {
        PutLine(memo, command);
    } else {
        for (char c : command)
            PutChar(memo, c);
    }
    awaiting_.*flag = true;
    return Sent::Yes;
}

void ModemQueries::GetHersteller() {
    if (sendQuery("AT+CGMI", Echo::Line, &AwaitingReply::manufacturer) == Sent::PortErrorShownNow)
        return;
    showIfKnown(manufacturer_, &ModemTextView::showManufacturer, texts_);
}

void ModemQueries::GetCharSetClick() {
    sendQuery("AT+CSCS?", Echo::Line, &AwaitingReply::charSet);
}

void ModemQueries::GetModel() {
    sendQuery("AT+CGMM", Echo::Line, &AwaitingReply::model);
}

void ModemQueries::GetDateTime() {
    const Sent sent = sendQuery("AT+CCLK?", Echo::Line, &AwaitingReply::clock);
    if (sent == Sent::Yes)
        link_.setClockQueryPending(false);
    if (sent == Sent::PortErrorShownNow)
        return;
    showIfKnown(clock_, &ModemTextView::showClock, texts_);
}

void ModemQueries::GetCMGF() {
    sendQuery("AT+CMGF?", Echo::Line, &AwaitingReply::format);
}

void ModemQueries::SetCMGF() {
    sendQuery("AT+CMGF=" + QByteArray(1, smsFormat_), Echo::Characters,
              &AwaitingReply::formatSetting);
}

void ModemQueries::ReadAllParameterClick(bool smsMode) {
    if (smsMode)
        link_.armQuerySequence();
}

void ModemQueries::sequenceStep(int step) {
    switch (step) {
    case kManufacturerStep:
        GetHersteller();
        break;
    case kCharSetStep:
        GetCharSetClick();
        break;
    case kModelStep:
        GetModel();
        break;
    case kClockStep:
        GetDateTime();
        break;
    case kFormatStep:
        GetCMGF();
        break;
    case kFormatSettingStep:
        SetCMGF();
        break;
    default:
        break;
    }
    refreshBoxes();
}

void ModemQueries::refreshBoxes() {
    showIfKnown(model_, &ModemTextView::showModel, texts_);
    showIfKnown(manufacturer_, &ModemTextView::showManufacturer, texts_);
    showIfKnown(clock_, &ModemTextView::showClock, texts_);
}

void ModemQueries::offerChunk(const QByteArray &raw) {
    const auto take = [&raw](bool &awaited, ModemReply (*parse)(const QByteArray &),
                             QByteArray *kept) {
        if (!awaited)
            return;
        const ModemReply reply = parse(raw);
        if (reply.text && kept)
            *kept = *reply.text;
        if (reply.answered)
            awaited = false;
    };
    take(awaiting_.manufacturer, parseManufacturerReply, &manufacturer_);
    take(awaiting_.model, parseModelReply, &model_);
    take(awaiting_.charSet, parseCharSetReply, nullptr);
    take(awaiting_.clock, parseClockReply, &clock_);
    if (awaiting_.format) {
        const ModemReply reply = parseFormatReply(raw);
        if (reply.text)
            smsFormat_ = reply.text->at(0);
        if (reply.answered)
            awaiting_.format = false;
    }
    take(awaiting_.formatSetting, parseFormatSettingReply, nullptr);
}

void ModemQueries::writeClockLine(const QByteArray &line) {
    if (!link_.port().connected()) {
        reportClosedPort();
        return;
    }
    const LinkFlags &f = link_.flags();
    if (f.ModemBusy && !f.QuerySequenceActive)
        return;
    link_.setModemBusy(true);
    link_.view().setBusyCursor(true);
    link_.askModem(line + '\r');
    link_.DisplayOnMemo(line);
    link_.setClockQueryPending(true);
    link_.setModemBusy(false);
    link_.view().setBusyCursor(false);
}

} // namespace zx::link
