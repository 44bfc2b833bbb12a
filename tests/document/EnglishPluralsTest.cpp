// Messages with a count through tr() with %n: English plural forms and the locale's digit
// grouping, as the test programs and the application install them.

#include "document/EnglishPlurals.h"

#include <QCoreApplication>
#include <QLocale>
#include <QScopeGuard>

#include <gtest/gtest.h>

TEST(EnglishPlurals, CountedNounsTakeTheirFormAndCountsTheLocalesGrouping)
{
    const QLocale before;
    const auto restore = qScopeGuard([&before] { QLocale::setDefault(before); });
    struct Case
    {
        QLocale locale;
        const char *text;
        int n;
        QString shown;
    };
    const QLocale us(QLocale::English, QLocale::UnitedStates), german(QLocale::German, QLocale::Germany);
    const Case cases[] = {
        {us, "The %Ln selected element(s) cannot be copied", 1, "The 1 selected element cannot be copied"},
        {us, "The %Ln selected element(s) cannot be copied", 0, "The 0 selected elements cannot be copied"},
        {us, "The %Ln selected element(s) cannot be copied", 50001, "The 50,001 selected elements cannot be copied"},
        {german, "The %Ln selected element(s) cannot be copied", 50001, "The 50.001 selected elements cannot be copied"},
        {us, "%Ln row(s) of %Ln value(s)", 2, "2 rows of 2 values"},
        {us, "%n value(s) without grouping", 1234567, "1234567 values without grouping"},
        // Without a count, or without a noun to change, the text stays as written.
        {us, "Paste reads at most %L1 element(s).", -1, "Paste reads at most %L1 element(s)."},
        {us, "%Ln copies", 3, "3 copies"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        QLocale::setDefault(c.locale);
        EXPECT_EQ(QCoreApplication::translate("EnglishPluralsTest", c.text, nullptr, c.n), c.shown);
    }
}

TEST(EnglishPlurals, InstallingAgainAddsNoSecondTranslator)
{
    EnglishPlurals::install();
    EnglishPlurals::install();
    EXPECT_EQ(QCoreApplication::instance()->findChildren<EnglishPlurals *>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
}
