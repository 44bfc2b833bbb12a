#include "document/ui/UiUtilities.h"

#include "document/DocumentGlobals.h"
#include "document/ui/MessageBoxes.h"
#include "document/ui/ModalSeam.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QUrl>

void Open_Help_File()
{
    // Without a resource folder "Help.pdf" would be looked for in the working directory.
    const QString path = Resource_Path.isEmpty() ? QString() : QDir(Resource_Path).filePath(QStringLiteral("Help.pdf"));
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        Show_MessageBox(QStringLiteral("Help file does not exist!"));
        return;
    }
    ModalSeam::instance().openUrl(QUrl::fromLocalFile(path));
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
