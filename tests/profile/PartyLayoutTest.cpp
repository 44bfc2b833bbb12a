#include "profile/PartyLayout.h"

#include <gtest/gtest.h>

namespace {

QPointF originOf(const QList<PartyElement> &stack, const QString &id)
{
    for (const PartyElement &e : stack)
        if (e.controlId == id)
            return e.rect.topLeft();
    ADD_FAILURE() << "no element " << id.toStdString();
    return {};
}

} // namespace

TEST(PartyLayout, EveryAnswerOnA360PointCard)
{
    const PartyAnswers all{QStringLiteral("Happy Birthday"), QStringLiteral("Anna"), QStringLiteral("Come and celebrate"),
                           QStringLiteral("Saturday"), QStringLiteral("6 PM"), QStringLiteral("Town Hall"),
                           QStringLiteral("Ben")};
    const QList<PartyElement> stack = PartyLayout::layout(360, all);
    ASSERT_EQ(stack.size(), 6);   // the time shares the date's element
    for (const auto &[id, x, y] : {std::tuple{"PARTY_TITLE", 40, 40}, {"PARTY_TO", 30, 90}, {"PARTY_MSG", 50, 120},
                                   {"PARTY_DATE", 30, 200}, {"PARTY_VENUE", 30, 230}, {"PARTY_FROM", 40, 300}})
        EXPECT_EQ(originOf(stack, QLatin1String(id)), QPointF(x, y)) << id;
    for (const PartyElement &e : stack)
        EXPECT_EQ(e.rect.width(), 280);
    EXPECT_EQ(stack.at(1).text, QStringLiteral("Dear Anna,"));
    EXPECT_EQ(stack.at(3).text, QStringLiteral("Saturday at 6 PM"));
    EXPECT_EQ(stack.at(4).text, QStringLiteral("Venue:\nTown Hall"));
    EXPECT_EQ(stack.at(5).text, QStringLiteral("From:\nBen"));
}

TEST(PartyLayout, SomeAnswersCloseUpTheStackAndNoneGiveNothing)
{
    PartyAnswers answers;
    answers.title = QStringLiteral("Party!");
    answers.from = QStringLiteral("Carla");
    QList<PartyElement> stack = PartyLayout::layout(360, answers);
    ASSERT_EQ(stack.size(), 2);
    EXPECT_EQ(originOf(stack, "PARTY_TITLE"), QPointF(40, 40));
    EXPECT_EQ(originOf(stack, "PARTY_FROM"), QPointF(40, 140));

    // A time without a date pushes the venue further; with no title the stack starts at 40.
    answers = PartyAnswers();
    answers.time = QStringLiteral("7 PM");
    answers.venue = QStringLiteral("Garden");
    stack = PartyLayout::layout(300, answers);
    ASSERT_EQ(stack.size(), 2);
    EXPECT_EQ(stack.at(0).controlId, QStringLiteral("PARTY_TIME"));
    EXPECT_EQ(stack.at(0).text, QStringLiteral("AT 7 PM"));
    EXPECT_EQ(originOf(stack, "PARTY_TIME"), QPointF(30, 40));
    EXPECT_EQ(originOf(stack, "PARTY_VENUE"), QPointF(30, 100));

    EXPECT_TRUE(PartyLayout::layout(243, {}).isEmpty());
}
