#include "output/CupsQueue.h"

#include <cups/cups.h>

namespace CupsQueue {

State state(const QString &name)
{
    State s;
    const QByteArray queue = name.toUtf8();
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!dest) {
        s.reason = lastError();
        return s;
    }
    s.exists = true;
    const char *accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    s.accepting = !accepting || QByteArray(accepting) != "false";
    const char *message = cupsGetOption("printer-state-message", dest->num_options, dest->options);
    const char *reasons = cupsGetOption("printer-state-reasons", dest->num_options, dest->options);
    if (message && *message)
        s.reason = QString::fromUtf8(message);
    else if (reasons && *reasons && QByteArray(reasons) != "none")
        s.reason = QString::fromUtf8(reasons);
    cupsFreeDests(1, dest);
    return s;
}

int lastJobId(const QString &name)
{
    const QByteArray queue = name.toUtf8();
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 0, CUPS_WHICHJOBS_ALL);
    int highest = 0;
    for (int i = 0; i < count; ++i)
        highest = jobs[i].id > highest ? jobs[i].id : highest;
    if (jobs)
        cupsFreeJobs(count, jobs);
    return highest;
}

QString lastError()
{
    const char *text = cupsLastErrorString();
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace CupsQueue
