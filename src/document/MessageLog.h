#pragma once

#include <QLoggingCategory>
#include <QString>

// The application's log ("festiloom" category): caught failures and notes that the user
// need not see. Safe on any thread.
Q_DECLARE_LOGGING_CATEGORY(festiloomLog)

// Writes the text to the log when it is not empty; nothing otherwise.
void Show_NSLog_Message(const QString &text);

// Diagnostics for whoever works on the program ("festiloom.debug" category): silent unless
// turned on, e.g. QT_LOGGING_RULES="festiloom.debug=true". Safe on any thread.
Q_DECLARE_LOGGING_CATEGORY(festiloomDebugLog)
void Show_Debug_Message(const QString &text);
