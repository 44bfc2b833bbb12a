#include "barcode/ModuleGrid.h"

ModuleGrid::ModuleGrid(int width, int height)
    : m_width(width > 0 && height > 0 ? width : 0)
    , m_height(width > 0 && height > 0 ? height : 0)
    , m_cells(std::size_t(m_width) * std::size_t(m_height), 0)
{
}

QString ModuleGrid::description() const
{
    QString text;
    text.reserve((m_width + 1) * m_height);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x)
            text += get(x, y) ? u'1' : u'0';
        text += u'\n';
    }
    return text;
}
