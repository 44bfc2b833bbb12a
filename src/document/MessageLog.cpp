#include "document/MessageLog.h"

Q_LOGGING_CATEGORY(festiloomLog, "festiloom")
Q_LOGGING_CATEGORY(festiloomDebugLog, "festiloom.debug", QtInfoMsg)

void Show_NSLog_Message(const QString &text)
{
    if (text.isEmpty())
        return;
    qCWarning(festiloomLog).noquote() << text;
}

void Show_Debug_Message(const QString &text)
{
    if (!text.isEmpty())
        qCDebug(festiloomDebugLog).noquote() << text;
}
