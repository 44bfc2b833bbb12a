#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Festiloom"));
    QApplication::setApplicationDisplayName(QStringLiteral("Festiloom"));
    QMainWindow window;
    window.resize(1000, 800);
    window.show();
    return app.exec();
}
