#include "dialogs/ui/UiUtilities.h"

#include "document/DocumentGlobals.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/WindowPlaceKeeper.h"

#include <QDir>
#include <QFileInfo>
#include <QDialog>
#include <QGroupBox>
#include <QObject>
#include <QPalette>
#include <QPushButton>
#include <QWidget>
#include <QUrl>

void Open_Help_File()
{
    // Without a resource folder "Help.pdf" would be looked for in the working directory.
    const QString path = Resource_Path.isEmpty() ? QString() : QDir(Resource_Path).filePath(QStringLiteral("Help.pdf"));
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        Show_Warning_MessageBox(QStringLiteral("Help file does not exist!"));
        return;
    }
    Open_Address(QUrl::fromLocalFile(path));
}

bool Open_Address(const QUrl &url)
{
    if (ModalSeam::instance().openUrl(url))
        return true;
    const QString address = url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
    Show_Warning_MessageBox(QObject::tr("No program on this computer could open this address. "
                                "You can copy it from here:\n\n%1").arg(address));
    return false;
}

void Apply_Dialog_Look(QWidget *window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(241, 244, 250));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    // Every dialog passes here: each reopens where the user left it.
    WindowPlaceKeeper::keep(window);
    if (auto *dialog = qobject_cast<QDialog *>(window))
        Apply_Dialog_Keys(dialog);
}

void Apply_Dialog_Keys(QDialog *dialog)
{
    // A focused button that is not the default one takes the space bar only: were it an
    // auto-default button, it would take Enter from the default button while it has the focus.
    for (QPushButton *button : dialog->findChildren<QPushButton *>())
        if (!button->isDefault())
            button->setAutoDefault(false);
}

void SetObjEnabled(QWidget *control, int flag)
{
    if (!control)
        return;
    const bool enabled = flag != 0;
    if (!qobject_cast<QGroupBox *>(control)) {
        control->setEnabled(enabled);
        return;
    }
    for (QWidget *child : control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        child->setEnabled(enabled);
        for (QWidget *grandChild : child->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            grandChild->setEnabled(enabled);
    }
}
