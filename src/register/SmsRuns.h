#pragma once
// An SMS job's commands kept in the module register as runs, one per module
// and session: what an answered command confirms goes into the register as
// soon as it is answered, as for a run over the cable. A job resumed later
// opens new runs for the commands still open.
#include "register/Register.h"
#include "register/RunKeeper.h"
#include "remote/SmsJob.h"
#include "settings/ConfigRecord.h"

#include <map>
#include <memory>

namespace zx::reg {

// How a finished SMS command stands in a report and the register.
provision::CommandResult resultOf(const remote::SmsCommand &command, const QString &kind);

class SmsRuns {
public:
    // record: what a write or verify job's profile holds.
    SmsRuns(Register &reg, const remote::SmsJob &job, const settings::ConfigRecord &record);

    // Runs for the commands not yet done; false when the register failed.
    bool begin();
    // A command that has just become final.
    void done(const remote::SmsCommand &command);
    // Ends every run: complete when its commands were all answered.
    void finish(bool stopped);
    QString lastError() const { return m_error; }

private:
    struct ModuleRun {
        std::unique_ptr<RunKeeper> keeper;
        provision::Report report;
    };
    Register &m_register;
    const remote::SmsJob &m_job;
    settings::ConfigRecord m_record;
    std::map<QString, ModuleRun> m_runs;
    QString m_error;
};

} // namespace zx::reg
