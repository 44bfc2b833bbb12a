#include "output/ui/MailProgress.h"

#include "document/ui/MessageBoxes.h"

#include <QCoreApplication>

MailProgress::MailProgress(QWidget *parent)
    : QDialog(parent, Qt::Sheet)
{
    ui.setupUi(this);
    setWindowModality(Qt::WindowModal);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(241, 244, 250));
    setPalette(background);
    setAutoFillBackground(true);
    connect(ui._stop_btn, &QPushButton::clicked, this, &MailProgress::Stop_Sending_Pressed);
}

void MailProgress::begin(int total, std::atomic<bool> *stop)
{
    m_stop = stop;
    ui._stop_btn->setEnabled(true);
    ui._Curr_Progress->setRange(0, total);
    ui._Curr_Progress->setValue(0);
    ui._tot_msg_cnt->setText(QString::number(total));
    ui._curr_msg_cnt->setText(QStringLiteral("%1 / %2").arg(0).arg(total));
    ui.pause_label->clear();
    show();
    raise();
}

void MailProgress::showCount(int current, int total)
{
    ui._Curr_Progress->setValue(current);
    ui._curr_msg_cnt->setText(QStringLiteral("%1 / %2 ").arg(current).arg(total));
}

void MailProgress::end()
{
    m_stop = nullptr;
    hide();
}

void MailProgress::Stop_Sending_Pressed()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?")) == 1 && m_stop)
        m_stop->store(true);
}
