#pragma once

#include "editor/CardDesign.h"

#include <QList>

class TemplateKit;

// The birthday and invitation designs the application ships in its "Templates" folder. Each
// is named by its Card_Name, which is also the base name of its files.
class StockTemplates
{
public:
    static QList<CardDesign> all(TemplateKit &kit);

    static CardDesign balloonParty(TemplateKit &kit);
    static CardDesign birthdayDinner(TemplateKit &kit);
    static CardDesign floralWishes(TemplateKit &kit);
    static CardDesign surpriseParty(TemplateKit &kit);
    static CardDesign starryNight(TemplateKit &kit);
    static CardDesign cardWithMessage(TemplateKit &kit);
};
