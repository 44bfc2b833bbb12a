#include "UnexpectedModalSeam.h"

#include <QDialog>

#include <gtest/gtest.h>

int UnexpectedModalSeam::showMessage(QWidget *, const Message &message)
{
    ADD_FAILURE() << "a message no test expected: \"" << message.title.toStdString() << "\": \""
                  << message.text.trimmed().toStdString() << "\" " << message.informativeText.toStdString();
    return -1;
}

int UnexpectedModalSeam::execDialog(QDialog *dialog)
{
    ADD_FAILURE() << "a dialog no test expected: \"" << dialog->windowTitle().toStdString() << "\" ("
                  << dialog->metaObject()->className() << ")";
    dialog->setResult(QDialog::Rejected);
    return QDialog::Rejected;
}

QString UnexpectedModalSeam::openFileName(QWidget *, const QString &caption, const QString &, const QString &)
{
    ADD_FAILURE() << "a file chooser no test expected: \"" << caption.toStdString() << "\"";
    return {};
}

QString UnexpectedModalSeam::saveFileName(QWidget *, const QString &caption, const QString &, const QString &)
{
    ADD_FAILURE() << "a file chooser no test expected: \"" << caption.toStdString() << "\"";
    return {};
}

QString UnexpectedModalSeam::existingDirectory(QWidget *, const QString &caption, const QString &)
{
    ADD_FAILURE() << "a folder chooser no test expected: \"" << caption.toStdString() << "\"";
    return {};
}

bool UnexpectedModalSeam::openUrl(const QUrl &url)
{
    ADD_FAILURE() << "an address no test expected: " << url.toString().toStdString();
    return false;
}
