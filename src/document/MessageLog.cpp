#include "document/MessageLog.h"

Q_LOGGING_CATEGORY(festiloomLog, "festiloom")

void Show_NSLog_Message(const QString &text)
{
    if (text.isEmpty())
        return;
    qCWarning(festiloomLog).noquote() << text;
}
