#pragma once

#include <QString>
#include <QStringList>

// The address rule of the settings dialog and the send window, applied to the trimmed text:
// at least 6 characters, exactly one "@" and at least one "." anywhere. 1 valid, 0 not.
int isValidEmail(const QString &text);

// The recipients of a comma-separated field: the pieces that pass the address rule, as they
// stand (blanks around them kept), in the field's order. The field is lower-cased first.
QStringList recipientsFromField(const QString &field);
