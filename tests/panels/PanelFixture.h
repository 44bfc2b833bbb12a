#pragma once

// The editor window with its settings panel, and elements put straight onto a side.

#include "editor/EditorWindowFixture.h"

#include "document/DocumentGlobals.h"
#include "document/ui/LMNGraphicView.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/ElementPanelCommands.h"
#include "panels/ui/SettingsPanel.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFontDialog>
#include <QImage>

class PanelFixture : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
        panel = m_window->settingsPanel();
        commands = m_window->elementCommands();
    }

    LMNGraphicView *canvas(int side = 0) const { return side ? m_window->_graphicView_BACK : m_window->_graphicView; }

    GraphicPtr add(GraphicKind kind, const QRectF &bounds = QRectF(20, 20, 60, 40), int side = 0)
    {
        GraphicPtr graphic = LMNGraphic::create(kind);
        graphic->setBounds(bounds);
        canvas(side)->graphics().prepend(graphic);
        return graphic;
    }

    // Selects the elements on their canvas, the first as the primary one, and shows it.
    void select(const GraphicList &graphics, int side = 0)
    {
        canvas(side)->selectGraphics(graphics);
        canvas(side)->_Selected_Graphic = graphics.value(0);
        m_window->Show_RHS_Properties(graphics.value(0));
    }

    QStringList tabTitles() const
    {
        QStringList titles;
        for (int i = 0; i < panel->ui.sett_tab->count(); ++i)
            titles << panel->ui.sett_tab->tabText(i);
        return titles;
    }

    // A picture file of one colour in the resource folder.
    QString picture(const QString &name, const QColor &color = Qt::red, const QSize &size = QSize(8, 6)) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        const QString path = QDir(m_resources.path()).filePath(name);
        image.save(path);
        return path;
    }

    // A file named like a picture that holds none.
    QString unreadablePicture(const QString &name) const
    {
        return TestHelpers::writeFile(QDir(m_resources.path()).filePath(name), "not a picture");
    }

    // The next font dialog is answered with its font at `pointSize` points.
    void answerFontDialog(double pointSize)
    {
        m_seam.onDialog([pointSize](QDialog *dialog) {
            auto *fonts = qobject_cast<QFontDialog *>(dialog);
            if (!fonts)
                return int(QDialog::Rejected);
            QFont font = fonts->currentFont();
            font.setPointSizeF(pointSize);
            fonts->setCurrentFont(font);
            fonts->accept();
            return fonts->result();
        });
    }

    SettingsPanel *panel = nullptr;
    ElementPanelCommands *commands = nullptr;
};
