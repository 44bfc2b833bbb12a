#pragma once

#include <QObject>

class QDockWidget;
class QMainWindow;
class QSplitter;
class QWidget;

// How the editor window shares its width between the card's canvas and the panels beside it
// (the Backgrounds strip, a dock, and the settings column, the splitter's second widget). The
// canvas is never narrower than either panel: when the window is too narrow for the panels'
// own widths, the Backgrounds strip gives way first, down to its least width, then the settings
// column, which scrolls what it cannot show. A panel the user widened or narrowed keeps that
// width wherever the window has room for it.
class EditorColumns : public QObject
{
    Q_OBJECT

public:
    EditorColumns(QMainWindow *window, QDockWidget *strip, QSplitter *splitter, int stripWidth, int settingsWidth);

    // The panels' widths for `shared`, the width of the strip and the splitter together.
    struct Widths
    {
        int strip;
        int settings;
    };
    Widths widthsFor(int shared) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void shareOut();

    QMainWindow *m_window;
    QDockWidget *m_strip;
    QSplitter *m_splitter;
    int m_stripWanted;      // the panels' own widths, as made or as the user left them
    int m_settingsWanted;
    int m_stripSet = -1;    // the strip's width as last set here
    int m_windowWidth = -1; // the window's width when the panels were last shared out
};
