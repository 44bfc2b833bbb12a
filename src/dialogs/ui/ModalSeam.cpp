#include "dialogs/ui/ModalSeam.h"

#include "dialogs/ui/QtModalSeam.h"

#include <QFileInfo>

namespace {
ModalSeam *g_installed = nullptr;

ModalSeam &qtSeam()
{
    static QtModalSeam seam;
    return seam;
}
} // namespace

ModalSeam &ModalSeam::instance()
{
    return g_installed ? *g_installed : qtSeam();
}

ModalSeam *ModalSeam::install(ModalSeam *seam)
{
    ModalSeam *previous = g_installed;
    g_installed = seam;
    return previous;
}

QString ModalSeam::saveFileNameWithFilter(QWidget *parent, const QString &caption, const QString &dir,
                                          const QString &filters, QString *selectedFilter)
{
    const QString path = saveFileName(parent, caption, dir, filters);
    const QStringList list = filters.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    QString chosen = list.value(0);
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const QString &filter : list)
        if (!suffix.isEmpty() && filter.contains(QStringLiteral("*.") + suffix, Qt::CaseInsensitive))
            chosen = filter;
    if (selectedFilter)
        *selectedFilter = path.isEmpty() ? QString() : chosen;
    return path;
}
