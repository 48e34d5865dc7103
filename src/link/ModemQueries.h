#pragma once
// The tool's own questions to the GSM modem in SMS mode: manufacturer,
// character set, model, clock, message format and setting the message format.
// Each query writes its AT command and waits for its answer; the receive
// path offers every chunk to the parsers of the awaited answers, and the tick
// runs the query sequence one answered query at a time.
#include <QByteArray>

namespace zx::link {

class Link;

// Where the kept texts are shown ("Hersteller", "ModelIDCode", "DateTime").
class ModemTextView {
public:
    virtual ~ModemTextView() = default;
    virtual void showManufacturer(const QByteArray &text) = 0;
    virtual void showModel(const QByteArray &text) = 0;
    virtual void showClock(const QByteArray &text) = 0;
};

// One flag per query whose answer is still to be read.
struct AwaitingReply {
    bool manufacturer = false;
    bool model = false;
    bool charSet = false;
    bool clock = false;
    bool format = false;
    bool formatSetting = false;
};

inline constexpr char kPortErrorText[] =
    "Could not connect to serial port.\r\nPlease, check settings and try again.";

class ModemQueries {
public:
    ModemQueries(Link &link, ModemTextView &texts);
    ModemQueries(const ModemQueries &) = delete;
    ModemQueries &operator=(const ModemQueries &) = delete;

    // Plugs the sequence step, the clock query and the reply parsers into the link.
    void install();

    void GetHersteller();
    void GetCharSetClick();
    void GetModel();
    void GetDateTime();
    void GetCMGF();
    void SetCMGF();
    // Arms the query sequence when the tool runs in SMS mode.
    void ReadAllParameterClick(bool smsMode);

    // One step of the query sequence (1..6 send a query, 7 ends it), then the
    // kept texts go to their boxes.
    void sequenceStep(int step);
    // The raw chunk, for the parser of every awaited answer, in a fixed order.
    void offerChunk(const QByteArray &raw);

    // A closed port met by a query or the clock-setting line: the error box
    // is shown the first time only. Returns whether the box was shown now.
    bool reportClosedPort();
    bool portErrorShown() const { return portErrorShown_; }

    // The clock-setting line in SMS mode goes to the modem's port as it is.
    void writeClockLine(const QByteArray &line);

    const AwaitingReply &awaiting() const { return awaiting_; }
    const QByteArray &manufacturerText() const { return manufacturer_; }
    const QByteArray &modelText() const { return model_; }
    const QByteArray &clockText() const { return clock_; }
    char smsFormat() const { return smsFormat_; }

private:
    enum class Echo { Line, Characters };
    // Opens the port if need be and writes the command with CR; false when
    // nothing was written. Returns early (no step 3) after the error box.
    enum class Sent { Yes, No, PortErrorShownNow };
    Sent sendQuery(const QByteArray &command, Echo echo, bool AwaitingReply::*flag);
    void refreshBoxes();

    Link &link_;
    ModemTextView &texts_;
    AwaitingReply awaiting_;
    QByteArray manufacturer_;
    QByteArray model_;
    QByteArray clock_;
    char smsFormat_ = '1';
    bool portErrorShown_ = false;
};

} // namespace zx::link
