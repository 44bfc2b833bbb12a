#pragma once

#include <QString>

// What CUPS itself says about a print queue, asked through libcups on the server Qt uses
// (CUPS_SERVER or the system's). Qt reports a job that CUPS refused as printed; these calls
// let the print command check before and after.
namespace CupsQueue {

struct State
{
    bool exists = false;
    bool accepting = false;
    QString reason;     // CUPS's message or state reasons when the queue refuses jobs
};

// The queue `name` now.
State state(const QString &name);
// The highest job number the queue has had (finished jobs included); 0 for none.
int lastJobId(const QString &name);
// libcups's last error on the calling thread.
QString lastError();

} // namespace CupsQueue
