#pragma once
// Where a command's output goes: the process's standard streams, or buffers
// when a test runs the command in-process.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zx::cli {

inline constexpr char kProgramName[] = "zentorix-cli";

class Console {
public:
    virtual ~Console() = default;

    virtual void out(QByteArrayView bytes) = 0;
    virtual void err(QByteArrayView bytes) = 0;
    // Progress is drawn only for a person watching.
    virtual bool errIsTerminal() const = 0;
    // The errno of the first write to standard output that failed (a full
    // disk, a closed pipe), or 0: the output is then incomplete.
    virtual int outError() const { return 0; }

    // The line and a newline on standard output.
    void printLine(const QString &line);
    // "zentorix-cli: message" on standard error; returns code.
    int fail(int code, const QString &message);
};

class StandardConsole final : public Console {
public:
    void out(QByteArrayView bytes) override;
    void err(QByteArrayView bytes) override;
    bool errIsTerminal() const override;
    int outError() const override { return m_outError; }

private:
    int m_outError = 0;
};

class BufferConsole final : public Console {
public:
    void out(QByteArrayView bytes) override { stdOut.append(bytes); }
    void err(QByteArrayView bytes) override { stdErr.append(bytes); }
    bool errIsTerminal() const override { return terminal; }

    QByteArray stdOut;
    QByteArray stdErr;
    bool terminal = false;
    int failOut = 0; // an errno standard output reports, as a full disk would
    int outError() const override { return failOut; }
};

} // namespace zx::cli
