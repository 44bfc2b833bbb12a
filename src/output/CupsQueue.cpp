#include "output/CupsQueue.h"

#include <cups/cups.h>

namespace CupsQueue {

State state(const QString &name)
{
    State s;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                     name.toUtf8().constData());
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const wanted[] = {"printer-is-accepting-jobs", "printer-state-message",
                                         "printer-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
    ipp_t *response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        s.reason = lastError();
        ippDelete(response);
        return s;
    }
    s.exists = true;
    ipp_attribute_t *accepting = ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    s.accepting = !accepting || ippGetBoolean(accepting, 0);
    ipp_attribute_t *message = ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT);
    ipp_attribute_t *reasons = ippFindAttribute(response, "printer-state-reasons", IPP_TAG_KEYWORD);
    const char *text = message ? ippGetString(message, 0, nullptr) : nullptr;
    const char *reason = reasons ? ippGetString(reasons, 0, nullptr) : nullptr;
    if (text && *text)
        s.reason = QString::fromUtf8(text);
    else if (reason && *reason && QByteArray(reason) != "none")
        s.reason = QString::fromUtf8(reason);
    ippDelete(response);
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
