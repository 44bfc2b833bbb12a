#pragma once

#include <QTranslator>

// The English plural forms of the program's own messages. A message with a count is written
// as Qt's translation tools expect, through tr() with %n (or %Ln for the locale's digit
// grouping) and the count as its n, with "(s)" where an English noun takes a plural ending:
// "The %Ln selected element(s) cannot be copied". This translator answers every such message
// with the singular ("element") for a count of one and the plural ("elements") otherwise,
// so no message ever shows "(s)". Messages without a count are left to the next translator.
class EnglishPlurals : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }

    // Installs one translator of plural forms into the application (once; later calls do
    // nothing). The application object must exist.
    static void install();
};
