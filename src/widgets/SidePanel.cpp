#include "SidePanel.h"

#include "UrlOpenHook.h"
#include "ui_SidePanel.h"

#include <QUrl>

SidePanel::SidePanel(QWidget* parent) : QTabWidget(parent), ui(new Ui_SidePanel)
{
    ui->setupUi(this);
}

SidePanel::~SidePanel()
{
    delete ui;
}

void SidePanel::SetTotals(qint64 websites, qint64 keywords)
{
    ui->lblWebsiteCount->setText(QString::number(websites));
    ui->lbl_keywordsCount->setText(QString::number(keywords));
}

QLabel* SidePanel::NewsLabel() const
{
    return ui->labelNews;
}

void SidePanel::on_labelNews_linkActivated(const QString& link)
{
    UrlOpenHook::openUrl(QUrl(link));
}
