#include "panels/Card_Property.h"

#include "document/DocumentGlobals.h"
#include "document/LMNGraphic.h"

Card_Property::Card_Property()
    : Card_Content_font(Text_Ctrl_Font, 14.0)
{
}

QString Card_Property::shapeCode(int shape)
{
    switch (shape) {
    case 0: return QStringLiteral("R");
    case 1: return QStringLiteral("RR");
    default: return QStringLiteral("E");
    }
}

int Card_Property::shapeNumber(const QString &code)
{
    if (code == QLatin1String("RR"))
        return 1;
    if (code == QLatin1String("E"))
        return 2;
    return 0;
}

double Card_Property::opacity() const
{
    return LMNGraphic::opacityFraction(Card_alpha_Stepper);
}
