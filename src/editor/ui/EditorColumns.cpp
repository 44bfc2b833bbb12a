#include "editor/ui/EditorColumns.h"

#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QSplitter>

#include <algorithm>

EditorColumns::EditorColumns(QMainWindow *window, QDockWidget *strip, QSplitter *splitter, int stripWidth, int settingsWidth)
    : QObject(window)
    , m_window(window)
    , m_strip(strip)
    , m_splitter(splitter)
    , m_stripWanted(stripWidth)
    , m_settingsWanted(settingsWidth)
{
    window->installEventFilter(this);
    strip->installEventFilter(this);
    splitter->installEventFilter(this);
    // The user's drag of the splitter's handle sets the settings column's own width.
    connect(splitter, &QSplitter::splitterMoved, this, [this] {
        if (m_splitter->count() > 1)
            m_settingsWanted = m_splitter->widget(1)->width();
    });
}

EditorColumns::Widths EditorColumns::widthsFor(int shared) const
{
    const QWidget *settings = m_splitter->widget(1);
    const int stripLeast = m_strip->minimumSizeHint().width();
    const int settingsLeast = settings->minimumWidth();
    const int settingsMost = std::max(settingsLeast, settings->maximumWidth());
    const int room = shared - m_splitter->handleWidth();   // the canvas and the two panels
    // The canvas stays the widest column by a tenth of the settings column's width: the settings
    // column takes at most what leaves the canvas that much more once the strip is at its
    // least; the strip then takes what it wants of the rest as long as the canvas keeps it.
    const int settingsWidth = std::clamp(std::min(m_settingsWanted, (room - stripLeast) * 10 / 21), settingsLeast, settingsMost);
    const int canvasLeast = settingsWidth + std::max(1, settingsWidth / 10);
    const int stripWidth = std::max(stripLeast, std::min({m_stripWanted, room - settingsWidth - canvasLeast,
                                                          (room - settingsWidth - 1) / 2}));
    return {stripWidth, settingsWidth};
}

void EditorColumns::shareOut()
{
    const bool docked = m_strip->isVisible() && !m_strip->isFloating();
    const int shared = docked ? m_strip->width() + m_splitter->width() : m_splitter->width() + m_stripWanted;
    const Widths widths = widthsFor(shared);
    m_windowWidth = m_window->width();
    if (docked && widths.strip != m_strip->width()) {
        m_stripSet = widths.strip;
        m_window->resizeDocks({m_strip}, {widths.strip}, Qt::Horizontal);
    }
    // The splitter is laid out again once the strip has its width: the settings column keeps
    // its width there and the canvas takes the rest.
    const int room = m_splitter->width() - m_splitter->handleWidth();
    if (m_splitter->sizes().value(1) != widths.settings)
        m_splitter->setSizes({std::max(0, room - widths.settings), widths.settings});
}

bool EditorColumns::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Resize)
        return QObject::eventFilter(watched, event);
    if (watched == m_window || watched == m_splitter) {
        shareOut();
    } else if (watched == m_strip && m_window->width() == m_windowWidth && m_strip->width() != m_stripSet
               && m_strip->isVisible() && !m_strip->isFloating()) {
        // The window kept its width and the strip was not resized here: the user dragged its edge.
        m_stripWanted = m_stripSet = m_strip->width();
    }
    return QObject::eventFilter(watched, event);
}
