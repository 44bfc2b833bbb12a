#include "document/EnglishPlurals.h"

#include <QCoreApplication>

#include <cstring>

QString EnglishPlurals::translate(const char *, const char *sourceText, const char *, int n) const
{
    if (n < 0 || !sourceText || !std::strstr(sourceText, "(s)"))
        return {};
    QString text = QString::fromUtf8(sourceText);
    text.replace(QLatin1String("(s)"), n == 1 ? QString() : QStringLiteral("s"));
    return text;
}

void EnglishPlurals::install()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || app->findChild<EnglishPlurals *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    QCoreApplication::installTranslator(new EnglishPlurals(app));
}
