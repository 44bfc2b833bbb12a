#include "editor/ui/DesignFileCommands.h"

#include "data/SpreadsheetTable.h"

#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNRenderingView.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/SavePath.h"
#include "editor/DesignFile.h"
#include "editor/ResourceFolder.h"
#include "editor/TemplatePreview.h"
#include "editor/ui/LMNWindowController.h"
#include "panels/PanelsGlobals.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QUndoStack>

namespace {

QString designFilter()
{
    return QObject::tr("Festiloom designs (*.%1)").arg(DesignFile::Extension);
}

} // namespace

DesignFileCommands::DesignFileCommands(LMNWindowController *window)
    : QObject(window)
    , m_window(window)
{
}

void DesignFileCommands::setPath(const QString &path)
{
    m_path = path;
    m_window->setWindowFilePath(path);
    m_window->setWindowTitle(path.isEmpty() ? m_window->App_Name
                                            : QStringLiteral("%1 - %2").arg(QFileInfo(path).completeBaseName(),
                                                                           m_window->App_Name));
}

CardDesign DesignFileCommands::currentDesign() const
{
    CardDesign design;
    design.Front_card_Prop = m_window->Front_card_Prop;
    design.Back_card_Prop = m_window->Back_card_Prop;
    design.Card_Shape = Card_Shape.load();
    design.graphics = m_window->document()->graphics;
    design.graphics_back = m_window->document()->graphics_back;

    // Pictures from the resource folder are named by their place in it, so the design opens
    // with the same pictures on another account or machine. Elements that change are copies.
    for (Card_Property *record : {&design.Front_card_Prop, &design.Back_card_Prop})
        record->Card_BG_Image_Path = ResourceFolder::portablePath(record->Card_BG_Image_Path, Resource_Path);
    for (GraphicList *side : {&design.graphics, &design.graphics_back}) {
        for (GraphicPtr &graphic : *side) {
            const QString portable = ResourceFolder::portablePath(graphic->_file_path, Resource_Path);
            if (portable == graphic->_file_path)
                continue;
            graphic = graphic->clone();
            graphic->_file_path = portable;
        }
    }
    // The spreadsheet binding and the data table travel with the design.
    design.Excel_Binding_Use = ::Excel_Binding_Use;
    design.Excel_Source_Path = ::Excel_Source_Path;
    design.Excel_Column_Titles = SpreadsheetTable::live().titles;
    design.Excel_Records = SpreadsheetTable::live().records;
    return design;
}

bool DesignFileCommands::saveTo(const QString &path)
{
    QString error;
    if (!DesignFile::write(path, currentDesign(), &error)) {
        Show_Warning_MessageBox(error);   // names the file and the reason
        return false;
    }
    return true;
}

bool DesignFileCommands::save()
{
    if (m_path.isEmpty())
        return saveAs();
    if (!saveTo(m_path)) {
        markNotSaved();
        return false;
    }
    markSaved();
    return true;
}

bool DesignFileCommands::saveAs()
{
    QString start = m_path;
    if (start.isEmpty()) {
        // An untitled design is offered under its own name (the card's, else "Untitled") in
        // the design folder, or the home folder where there is none: a folder name alone
        // would be taken for the file name.
        QString folder = ResourceFolder::designFolder(Resource_Path);
        if (!QFileInfo(folder).isDir())
            folder = QDir::homePath();
        QString name;
        for (const Card_Property *record : {&m_window->Front_card_Prop, &m_window->Back_card_Prop})
            if (name.isEmpty() || name == QLatin1String("Untitled"))
                name = Remove_Reserve_Char_In_File_Name(record->Card_Name).trimmed();
        if (name.isEmpty())
            name = QStringLiteral("Untitled");
        start = QDir(folder).filePath(name + QLatin1Char('.') + DesignFile::Extension);
    }
    const QString path = SavePath::choose(m_window, tr("Save Design"), start, designFilter(), DesignFile::Extension);
    if (path.isEmpty())
        return false;
    if (!saveTo(path)) {
        markNotSaved();
        return false;
    }
    ResourceFolder::rememberDesignFolder(Resource_Path, path);
    setPath(path);
    markSaved();
    return true;
}

QString DesignFileCommands::chooseDesignToOpen(QWidget *parent) const
{
    const QString path = ModalSeam::instance().openFileName(parent, tr("Open Design"),
                                                            ResourceFolder::designFolder(Resource_Path), designFilter());
    if (!path.isEmpty())
        ResourceFolder::rememberDesignFolder(Resource_Path, path);
    return path;
}

void DesignFileCommands::open()
{
    const QString path = chooseDesignToOpen(m_window);
    if (path.isEmpty())
        return;
    // Opening replaces the design on the canvas: offer to keep it first, as New does.
    if (!offerToSave())
        return;
    read(path, true);
}

bool DesignFileCommands::read(const QString &path, bool keepPath)
{
    QString error;
    const std::optional<CardDesign> design = DesignFile::read(path, &error);
    if (!design) {
        Show_Warning_MessageBox(error);   // names the design and the reason
        return false;
    }
    const QStringList lostBackgrounds = m_window->applyDesign(*design);
    if (keepPath)
        setPath(path);
    markSaved();
    // The design is open; what it could not take back is told, element by element.
    const QStringList lost = design->lostPictures + lostBackgrounds;
    if (!lost.isEmpty())
        Show_Warning_MessageBox(tr("\"%1\" is open, but not every picture it holds could be read:\n%2")
                                    .arg(QFileInfo(path).fileName(), lost.join(QLatin1Char('\n'))));
    return true;
}

QImage DesignFileCommands::renderSide(int side) const
{
    LMNRenderingView renderer(m_window->cardSize(), m_window->backgroundPainterForSide(side),
                              DrawContext{Resource_Path, 1.0, {}});
    return renderer.image_From_Card_Graphics(side != 0 ? m_window->document()->graphics_back
                                                       : m_window->document()->graphics,
                                             0);
}

bool DesignFileCommands::saveAsTemplate(const QString &name)
{
    const QString cleanName = Remove_Reserve_Char_In_File_Name(name);
    if (cleanName.isEmpty()) {
        Show_MessageBox(tr("Please enter a name for the template."));
        return false;
    }
    const QDir folder(QDir(Resource_Path).filePath(QStringLiteral("Templates/User")));
    if (!folder.mkpath(QStringLiteral("."))) {
        Show_Warning_MessageBox(tr("The folder for your templates could not be created."));
        return false;
    }
    // A template is its design and its preview: replacing one replaces the template, asked once.
    const QString designPath = folder.filePath(cleanName + QLatin1Char('.') + DesignFile::Extension);
    const QString previewPath = folder.filePath(cleanName + QStringLiteral(".png"));
    const QString existing = QFileInfo::exists(designPath) ? designPath : previewPath;
    if (QFileInfo::exists(existing) && !SavePath::mayReplace(existing, m_window))
        return false;
    if (!saveTo(designPath))
        return false;

    // The preview shows the front, with the back beneath it on a two-sided card.
    const bool back = TemplatePreview::showsBack(m_window->Front_card_Prop.Card_Side, m_window->document()->graphics_back);
    const QImage preview = TemplatePreview::compose(renderSide(0), back ? renderSide(1) : QImage());
    m_window->Save_gen_image(preview, previewPath);
    return true;
}

void DesignFileCommands::saveAsTemplateCommand()
{
    QInputDialog dialog(m_window);
    dialog.setWindowTitle(tr("Save as Template"));
    dialog.setLabelText(tr("Template name:"));
    dialog.setTextValue(QFileInfo(m_path).completeBaseName());
    if (ModalSeam::instance().execDialog(&dialog) != QDialog::Accepted)
        return;
    saveAsTemplate(dialog.textValue());
}

// ---------------------------------------------------------------------------------------------
// Unsaved changes

namespace {

// What the user can change in a card record. Its place is reset whenever the card page is
// shown and its picture is read from its path, so neither counts as a change.
Card_Property userPart(Card_Property record)
{
    record.Card_Location = QPointF();
    record.Card_BG_Image = QImage();
    return record;
}

} // namespace

void DesignFileCommands::markSaved()
{
    m_window->document()->undoManager()->setClean();
    m_savedFront = userPart(m_window->Front_card_Prop);
    m_savedBack = userPart(m_window->Back_card_Prop);
    m_savedShape = Card_Shape.load();
}

void DesignFileCommands::markNotSaved()
{
    // The file may be gone or half the user's work behind: closing and New must ask.
    m_window->document()->undoManager()->resetClean();
}

bool DesignFileCommands::holdsAnything() const
{
    const LMNDocument *document = m_window->document();
    return !document->graphics.isEmpty() || !document->graphics_back.isEmpty()
           || !m_window->Front_card_Prop.Card_BG_Image_Path.isEmpty()
           || !m_window->Back_card_Prop.Card_BG_Image_Path.isEmpty();
}

bool DesignFileCommands::hasUnsavedChanges() const
{
    // A design that was never written anywhere is lost whole when dropped, edited or not
    // (a wizard's card, a template).
    if (m_path.isEmpty() && holdsAnything())
        return true;
    return !m_window->document()->undoManager()->isClean() || m_savedShape != Card_Shape.load()
           || !(userPart(m_window->Front_card_Prop) == m_savedFront)
           || !(userPart(m_window->Back_card_Prop) == m_savedBack);
}

bool DesignFileCommands::offerToSave()
{
    if (!hasUnsavedChanges())
        return true;
    ModalSeam::Message question;
    question.icon = QMessageBox::Question;
    question.title = QCoreApplication::applicationName();
    question.text = QStringLiteral("Do you want to save changes before closing?");
    question.buttons = {tr("Yes"), tr("No"), tr("Cancel")};
    question.defaultButton = 0;
    switch (ModalSeam::instance().showMessage(m_window, question)) {
    case 0: return save();
    case 1: return true;
    default: return false;   // Cancel, or the box closed: keep the window and the design
    }
}
