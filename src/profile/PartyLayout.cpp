#include "profile/PartyLayout.h"

QList<PartyElement> PartyLayout::layout(float cardWidth, const PartyAnswers &answers)
{
    QList<PartyElement> stack;
    const float width = cardWidth - 80.0f;
    const float centred = (cardWidth - width) / 2.0f;
    float y = 40.0f;
    auto place = [&](const char *id, float x, float height, const QString &text) {
        stack.append({QLatin1String(id), QRectF(x, y, width, height), text});
    };

    if (!answers.title.isEmpty()) {
        place("PARTY_TITLE", centred, 30, answers.title);
        y += 50;
    }
    const float left = 30.0f;
    if (!answers.to.isEmpty()) {
        place("PARTY_TO", left, 20, QStringLiteral("Dear ") + answers.to + QStringLiteral(","));
        y += 30;
    }
    if (!answers.message.isEmpty()) {
        place("PARTY_MSG", left + 20, 80, answers.message);
        y += 80;
    }
    if (!answers.date.isEmpty()) {
        QString text = answers.date;
        if (!answers.time.isEmpty())
            text += QStringLiteral(" at ") + answers.time;
        place("PARTY_DATE", left, 20, text);
        y += 30;
    } else if (!answers.time.isEmpty()) {
        place("PARTY_TIME", left, 20, QStringLiteral("AT ") + answers.time);
        y += 60;
    } else {
        y += 30;
    }
    if (!answers.venue.isEmpty()) {
        place("PARTY_VENUE", left, 60, QStringLiteral("Venue:\n") + answers.venue);
        y += 70;
    } else {
        y += 20;
    }
    if (!answers.from.isEmpty())
        place("PARTY_FROM", centred, 40, QStringLiteral("From:\n") + answers.from);
    return stack;
}
