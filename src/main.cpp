#include "document/EnglishPlurals.h"
#include "document/LMNDocument.h"
#include "document/PictureReading.h"
#include "editor/ui/LMNWindowController.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Festiloom"));
    QApplication::setApplicationDisplayName(QStringLiteral("Festiloom"));
    QApplication::setOrganizationName(QStringLiteral("Festiloom"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app/festiloom-256.png")));
    EnglishPlurals::install();
    // Before any thread reads a picture: Qt's reader takes what a design may hold.
    PictureReading::install();

    // festiloom [design.dcard]: the design opens instead of the start screen. One window holds
    // one design, so any further path is left alone.
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("design"), QStringLiteral("The design to open."), QStringLiteral("[design]"));
    parser.parse(QApplication::arguments());
    const QStringList paths = parser.positionalArguments();
    for (qsizetype i = 1; i < paths.size(); ++i)
        std::fprintf(stderr, "festiloom: one design opens at a time; \"%s\" is ignored\n", qPrintable(paths.at(i)));

    LMNDocument document;
    LMNWindowController window(&document);
    QObject::connect(&window, &LMNWindowController::applicationEndRequested, &app, [] { QCoreApplication::exit(0); });
    if (!window.windowDidLoad(paths.value(0)))
        return 0;
    window.show();
    return app.exec();
}
