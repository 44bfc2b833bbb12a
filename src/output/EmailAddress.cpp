#include "output/EmailAddress.h"

#include "document/StringUtilities.h"

int isValidEmail(const QString &text)
{
    const QString address = Trim_Str(text);
    if (address.size() < 6)
        return 0;
    if (address.split(QLatin1Char('@')).size() != 2)
        return 0;
    return address.contains(QLatin1Char('.')) ? 1 : 0;
}

QStringList recipientsFromField(const QString &field)
{
    QStringList recipients;
    for (const QString &piece : Trim_Str(field).toLower().split(QLatin1Char(',')))
        if (isValidEmail(piece))
            recipients.append(piece);
    return recipients;
}
