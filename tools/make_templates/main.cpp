// Builds the stock templates the application ships:
//
//     bash scripts/build.sh tools && build/tools/tools/make_templates [SEED_FOLDER]
//
// Each design of StockTemplates is written as "<name>.dcard" and "<name>.png" into
// SEED_FOLDER/Templates (by default resources/seed of this source tree), taking its pictures
// from SEED_FOLDER. Template files of that folder that no design writes any more are removed.
// Afterwards, `/usr/bin/python3 tools/draw_resources.py --only qrc` lists the files in
// resources/resources.qrc.

#include "StockTemplates.h"
#include "TemplateKit.h"

#include "editor/DesignFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTextStream>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// The previews must be drawn with the faces the designs name, or they would not show what
// the user gets.
bool cardFontsInstalled()
{
    bool fine = true;
    for (const char *name : {"TimesNewRomanPSMT", "ArialMT"}) {
        const QFontInfo info(CardFont(QString::fromLatin1(name), 12).toQFont());
        if (!info.family().contains(QLatin1String("Liberation")) && !info.exactMatch()) {
            err() << "make_templates: " << name << " is drawn with " << info.family() << "; install fonts-liberation\n";
            fine = false;
        }
    }
    return fine;
}

}   // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() > 1 || (!arguments.isEmpty() && arguments.first().startsWith(QLatin1Char('-')))) {
        err() << "usage: make_templates [SEED_FOLDER]\n";
        return 2;
    }
    const QString seed =
        arguments.isEmpty() ? QStringLiteral(FESTILOOM_SOURCE_DIR "/resources/seed") : arguments.first();
    if (!QFileInfo(QDir(seed).filePath(QStringLiteral("Background"))).isDir()) {
        err() << "make_templates: " << seed << " holds no shipped resources\n";
        return 2;
    }
    if (!cardFontsInstalled())
        return 1;

    TemplateKit kit(seed);
    const QList<CardDesign> designs = StockTemplates::all(kit);
    const QString folder = QDir(seed).filePath(QStringLiteral("Templates"));
    QSet<QString> written;
    int failures = 0;
    for (const CardDesign &design : designs) {
        QString error;
        if (kit.write(design, folder, &error)) {
            written << design.Front_card_Prop.Card_Name;
            QTextStream(stdout) << "wrote " << design.Front_card_Prop.Card_Name << '\n';
        } else {
            err() << "make_templates: " << error << '\n';
            ++failures;
        }
    }
    for (const QString &problem : kit.problems())
        err() << "  " << problem << '\n';

    // Only when everything was written, so a failed design keeps its last good files.
    if (failures == 0) {
        const QFileInfoList files = QDir(folder).entryInfoList(
            {QStringLiteral("*.") + DesignFile::Extension, QStringLiteral("*.png")}, QDir::Files);
        for (const QFileInfo &file : files) {
            if (!written.contains(file.completeBaseName())) {
                QFile::remove(file.filePath());
                QTextStream(stdout) << "removed " << file.fileName() << '\n';
            }
        }
    }
    return failures == 0 && kit.problems().isEmpty() ? 0 : 1;
}
