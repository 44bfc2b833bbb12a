// Writes the seed inputs of the fuzz targets with our own writers: the stock templates saved
// again, element archives of their elements in both forms, and workbooks of our workbook
// writer. Run as `fuzz_make_seeds <fuzz/corpus>` (scripts/make-fuzz-seeds.sh adds the
// workbooks of openpyxl and the series files).

#include "FuzzSupport.h"

#include "data/SpreadsheetWriter.h"
#include "document/DocumentGlobals.h"
#include "document/LMNGraphicArchive.h"
#include "editor/DesignFile.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QUrl>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <templates folder> <corpus folder>\n", argv[0]);
        return 2;
    }
    Fuzz::start(&argc, &argv);
    const QDir templates(QString::fromLocal8Bit(argv[1]));
    const QDir corpus(QString::fromLocal8Bit(argv[2]));
    for (const char *target : {"DesignFileFuzz", "ElementArchiveFuzz", "WorkbookFuzz"})
        corpus.mkpath(QLatin1String(target));

    int n = 0;
    for (const QString &name : templates.entryList({QStringLiteral("*.dcard")}, QDir::Files, QDir::Name)) {
        QString error;
        std::optional<CardDesign> design = DesignFile::read(templates.filePath(name), &error);
        if (!design) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        ++n;
        // Pictures make seeds large and fuzzing slow; one small picture is in "bound.dcard".
        for (const GraphicPtr &graphic : design->graphics + design->graphics_back)
            graphic->_image = QImage();
        Fuzz::writeFile(corpus.filePath(QStringLiteral("DesignFileFuzz/template-%1.dcard").arg(n)), DesignFile::toXml(*design));
        // A few elements without pictures: small archives, every kind the templates use.
        GraphicList some;
        for (const GraphicPtr &graphic : design->graphics + design->graphics_back)
            if (graphic->_image.isNull() && some.size() < 4)
                some << graphic;
        Fuzz::writeFile(corpus.filePath(QStringLiteral("ElementArchiveFuzz/template-%1.bplist").arg(n)),
                        LMNGraphicArchive::encodeList(some, true));
        Fuzz::writeFile(corpus.filePath(QStringLiteral("ElementArchiveFuzz/template-%1.plist").arg(n)),
                        LMNGraphicArchive::encodeList(some, false));
    }

    // One element of each kind, fresh, with a small picture on the picture element.
    GraphicList kinds;
    for (GraphicKind kind : {GraphicKind::Graphic, GraphicKind::Text, GraphicKind::Line, GraphicKind::Image,
                             GraphicKind::Shape, GraphicKind::Signature, GraphicKind::Barcode})
        kinds << LMNGraphic::create(kind);
    QImage picture(4, 3, QImage::Format_ARGB32);
    picture.fill(QColor(200, 40, 90, 128));
    kinds[3]->_image = picture;
    Fuzz::writeFile(corpus.filePath(QStringLiteral("ElementArchiveFuzz/kinds.bplist")), LMNGraphicArchive::encodeList(kinds, true));
    Fuzz::writeFile(corpus.filePath(QStringLiteral("ElementArchiveFuzz/kinds.plist")), LMNGraphicArchive::encodeList(kinds, false));

    // A design bound to a spreadsheet.
    CardDesign bound;
    bound.Excel_Binding_Use = true;
    bound.Excel_Source_Path = QStringLiteral("/home/ann/guests.xlsx");
    bound.Excel_Column_Titles = {QStringLiteral("#"), QStringLiteral("Name")};
    bound.Excel_Records = {{{"Extension", "1"}, {"Column1", "Ann"}}, {{"Extension", "2"}, {"Column1", "Bob"}}};
    bound.graphics = kinds.mid(0, 4);
    Fuzz::writeFile(corpus.filePath(QStringLiteral("DesignFileFuzz/bound.dcard")), DesignFile::toXml(bound));

    Resource_Path = Fuzz::folder();   // where the workbook writer keeps its skeleton
    const QList<QList<QStringList>> tables = {
        {{"Name", "City", "Age"}, {"Ann", "Lyon", "34"}, {"Bob", "Kyiv", "7.5"}},
        {{"Gäste \U0001F382", " spaced ", ""}, {"a_x0041_b", "=1+1", "-0"}},
        {{"only"}},
    };
    for (int t = 0; t < tables.size(); ++t) {
        QString error;
        const QString path = corpus.filePath(QStringLiteral("WorkbookFuzz/ours-%1.xlsx").arg(t + 1));
        if (!SpreadsheetWriter::WriteWorkbook(QUrl::fromLocalFile(path), tables[t], true, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
