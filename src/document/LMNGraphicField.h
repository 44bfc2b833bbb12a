#pragma once

#include "document/LMNGraphic.h"

#include <QString>

#include <variant>
#include <vector>

// One stored field of the element record: its name (the exact member name, which is also
// its key in the element archive) and a pointer to the member. The table of every field
// lets the archive, the clipboard and the tests walk the record without repeating it.
struct LMNGraphicField
{
    using Member = std::variant<bool LMNGraphic::*, int LMNGraphic::*, float LMNGraphic::*,
                                double LMNGraphic::*, QString LMNGraphic::*, QColor LMNGraphic::*,
                                CardFont LMNGraphic::*, QRectF LMNGraphic::*, QImage LMNGraphic::*>;

    const char *name;
    Member member;

    // Every stored field of LMNGraphic, in the order of its declaration.
    static const std::vector<LMNGraphicField> &all();
    // The field with this name, or null.
    static const LMNGraphicField *find(const QString &name);
};
