#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// The invitation wizard's answers, each trimmed; empty when not answered.
struct PartyAnswers
{
    QString title, to, message, date, time, venue, from;
};

// One text element of the party stack.
struct PartyElement
{
    QString controlId;   // "PARTY_TITLE", "PARTY_TO", ...
    QRectF rect;         // points, origin top-left of the front side
    QString text;
};

// Lays out the wizard's answers as a top-down stack of text elements on a card of the given
// width: title, addressee, message, date and time row, venue and sender. A date and a time
// given together share one element. Computed in single precision, as the layout always was.
class PartyLayout
{
public:
    static QList<PartyElement> layout(float cardWidth, const PartyAnswers &answers);
};
