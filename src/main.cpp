#include "document/LMNDocument.h"
#include "editor/ui/LMNWindowController.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Festiloom"));
    QApplication::setApplicationDisplayName(QStringLiteral("Festiloom"));
    QApplication::setOrganizationName(QStringLiteral("Festiloom"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app/festiloom-256.png")));

    LMNDocument document;
    LMNWindowController window(&document);
    QObject::connect(&window, &LMNWindowController::applicationEndRequested, &app, [] { QCoreApplication::exit(0); });
    if (!window.windowDidLoad())
        return 0;
    window.show();
    return app.exec();
}
