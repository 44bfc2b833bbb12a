#pragma once

#include "editor/CardDesign.h"

#include <QImage>
#include <QObject>
#include <QString>

class LMNWindowController;
class QWidget;

// The editor's file commands: Save, Save As, Open and Save as Template, and the design file
// in use. Reading and writing go through DesignFile; putting an opened design into the window
// is the window's business (LMNWindowController::applyDesign).
class DesignFileCommands : public QObject
{
    Q_OBJECT

public:
    explicit DesignFileCommands(LMNWindowController *window);

    // The design file in use; empty for an untitled design or one started from a template.
    QString path() const { return m_path; }
    void setPath(const QString &path);

    // Everything the window shows, as a design.
    CardDesign currentDesign() const;

    // Writes the design to `path`; a failure is shown and the old file stays as it was.
    bool saveTo(const QString &path);
    // Save (Save As for an untitled design); false when cancelled or failed.
    bool save();
    bool saveAs();
    // Asks for a design file and opens it.
    void open();
    // The design chooser: starts in the folder last used for a design (else the documents
    // folder) and remembers the folder chosen. Empty when cancelled.
    QString chooseDesignToOpen(QWidget *parent) const;
    // Reads `path` whole; only a good file replaces the open design. `keepPath` makes it
    // the design in use (an opened design), otherwise it stays untitled (a template).
    bool read(const QString &path, bool keepPath);

    // Writes the design and its preview picture under `name` into "Templates/User".
    bool saveAsTemplate(const QString &name);
    // Asks for a template name, then saves.
    void saveAsTemplateCommand();

    // The card picture of one side (0 front, 1 back) at one pixel per point.
    QImage renderSide(int side) const;

    // --- Unsaved changes ---
    // The design as it is now is the saved one (after a save, an open, a new start).
    void markSaved();
    // A save failed: the design counts as not saved until a save succeeds.
    void markNotSaved();
    // True when an element edit is not undone back to the saved state, a card record or the
    // card shape differs from what was saved or opened, or the design is in no file and holds
    // something (elements or a background picture on either side).
    bool hasUnsavedChanges() const;
    // Before the design is dropped: asks "save changes?" when there is something to lose.
    // True when the caller may go on (saved, not wanted, or nothing to save); false when the
    // user cancelled or the save did not happen.
    bool offerToSave();

private:
    // Elements or a background picture on either side.
    bool holdsAnything() const;

    LMNWindowController *m_window;
    QString m_path;
    Card_Property m_savedFront;
    Card_Property m_savedBack;
    int m_savedShape = 0;
};
