// Turns the hand-written user guide (HTML) into "Help.pdf" at build time:
//     make_help_pdf Help.html Help.pdf
// A4 pages with margins, page numbers at the foot of each page.

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_help_pdf guide.html Help.pdf\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_help_pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString html = QString::fromUtf8(source.readAll());

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setTitle(QStringLiteral("Festiloom User Guide"));
    writer.setCreator(QStringLiteral("Festiloom"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 18, 18, 22), QPageLayout::Millimeter);
    writer.setResolution(300);

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setHtml(html);

    QPainter painter;
    if (!painter.begin(&writer)) {
        std::fprintf(stderr, "make_help_pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    // Lay the document out in points on a page of the writer's printable size.
    const QRectF page = writer.pageLayout().paintRect(QPageLayout::Point);
    const double scale = writer.resolution() / 72.0;
    const double footer = 18;
    document.setPageSize(QSizeF(page.width(), page.height() - footer));
    const int pages = document.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.save();
        painter.scale(scale, scale);
        painter.translate(0, -i * (page.height() - footer));
        const QRectF visible(0, i * (page.height() - footer), page.width(), page.height() - footer);
        painter.setClipRect(visible);
        document.drawContents(&painter, visible);
        painter.restore();
        // The page number, in device pixels (a point size is already in the writer's resolution).
        QFont small = font;
        small.setPointSizeF(8);
        painter.setFont(small);
        painter.drawText(QRectF(0, (page.height() - 12) * scale, page.width() * scale, 12 * scale), Qt::AlignCenter,
                         QStringLiteral("%1 / %2").arg(i + 1).arg(pages));
    }
    return painter.end() ? 0 : 1;
}
