#include "document/CardFont.h"

#include <QRegularExpression>

namespace {

// Splits "TimesNewRomanPS-BoldItalicMT" into its family ("TimesNewRoman") and style ("BoldItalic").
void splitName(const QString &name, QString *family, QString *style)
{
    QString base = name;
    const int dash = base.indexOf(QLatin1Char('-'));
    QString stylePart;
    if (dash >= 0) {
        stylePart = base.mid(dash + 1);
        base = base.left(dash);
    }
    for (const char *suffix : {"PSMT", "PS", "MT"}) {
        const QString s = QLatin1String(suffix);
        if (base.endsWith(s) && base.size() > s.size()) {
            base.chop(s.size());
            break;
        }
    }
    if (stylePart.endsWith(QLatin1String("MT")))
        stylePart.chop(2);
    if (family)
        *family = base;
    if (style)
        *style = stylePart;
}

} // namespace

QString CardFont::familyName() const
{
    QString family;
    splitName(postScriptName, &family, nullptr);
    // "TimesNewRoman" -> "Times New Roman"; runs of capitals ("URWBookman") stay together.
    static const QRegularExpression boundary(QStringLiteral("(?<=[a-z])(?=[A-Z])"));
    QString words = family;
    words.replace(boundary, QStringLiteral(" "));
    return words;
}

bool CardFont::isBold() const
{
    QString style;
    splitName(postScriptName, nullptr, &style);
    return style.contains(QLatin1String("Bold"), Qt::CaseInsensitive)
           || style.contains(QLatin1String("Black"), Qt::CaseInsensitive)
           || style.contains(QLatin1String("Heavy"), Qt::CaseInsensitive);
}

bool CardFont::isItalic() const
{
    QString style;
    splitName(postScriptName, nullptr, &style);
    return style.contains(QLatin1String("Italic"), Qt::CaseInsensitive)
           || style.contains(QLatin1String("Oblique"), Qt::CaseInsensitive);
}

QFont CardFont::toQFont() const
{
    QFont font(familyName());
    font.setStyleHint(familyName().contains(QLatin1String("Times")) ? QFont::Serif : QFont::AnyStyle);
    font.setBold(isBold());
    font.setItalic(isItalic());
    font.setPointSizeF(pointSize > 0 ? pointSize : 12.0);
    return font;
}

CardFont CardFont::fromQFont(const QFont &font)
{
    QString family = font.family();
    family.remove(QLatin1Char(' '));
    QString style;
    if (font.bold())
        style += QLatin1String("Bold");
    if (font.italic())
        style += QLatin1String("Italic");
    QString name = family;
    if (!style.isEmpty())
        name += QLatin1Char('-') + style;
    return CardFont(name, font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize());
}
