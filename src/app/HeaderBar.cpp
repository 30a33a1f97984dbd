#include "HeaderBar.h"

#include "MakerInfo.h"
#include "PtCombox.h"
#include "RankMain.h"
#include "UpdateRun.h"
#include "UrlOpenHook.h"
#include "ui_HeaderBar.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QUrl>

HeaderBar::HeaderBar(QWidget* parent, const std::vector<WEBSITE>& websites)
    : QWidget(parent), ui(new Ui_HeaderBar), m_vWebsites(websites)
{
    ui->setupUi(this);

    // The form's links name the Windows edition; this one is counted as the Mac edition.
    QString title = ui->labelTitle->text();
    title.replace(
        QRegularExpression(QStringLiteral("src=win"), QRegularExpression::CaseInsensitiveOption),
        QStringLiteral("src=mac"));
    ui->labelTitle->setText(title);

    for (const WEBSITE& website : websites)
        ui->comboBoxWebsite->addItem(website.Website);

    ui->pushButton_3->hide();

    // The help menu takes the place, look and entries of the form's placeholder combo.
    const QString sheet = ui->comboBox_2->styleSheet();
    m_pHelpMenu = new PtCombox(&sheet);
    m_pHelpMenu->setFont(ui->comboBox_2->font());
    m_pHelpMenu->lineEdit()->setFont(ui->comboBox_2->font());
    for (int i = 0; i < ui->comboBox_2->count(); ++i)
        m_pHelpMenu->addItem(ui->comboBox_2->itemText(i));
    m_pHelpMenu->setEditable(true);
    m_pHelpMenu->setCurrentIndex(-1);
    m_pHelpMenu->lineEdit()->setText(QStringLiteral("Help"));
    delete ui->comboBox_2;
    ui->comboBox_2 = m_pHelpMenu;
    ui->layoutButtonRow->insertWidget(3, m_pHelpMenu);

    ui->toolButton_2->setChecked(true);
    m_nState = HBS_WebsiteView;

    for (int i = 0; i < m_pHelpMenu->count(); ++i)
        m_pHelpMenu->setItemData(i, int(Qt::AlignCenter), Qt::TextAlignmentRole);

    connect(m_pHelpMenu, &PtCombox::DoClicked, this, &HeaderBar::OnComboBoxHelpClicked);
}

HeaderBar::~HeaderBar()
{
    delete ui;
}

bool HeaderBar::SwitchViewToolButton(HeaderBarState state)
{
    QAbstractButton* buttons[4] = {ui->toolButton_2, ui->toolButton, ui->pushAddWebsite,
                                   ui->pushButton_2};
    // Callers pass a page; anything else checks nothing.
    if (state < HBS_WebsiteView || state > HBS_Settings)
        return false;
    if (m_vWebsites.empty() && state != HBS_AddWebsite) {
        buttons[state]->setChecked(false);
        return false;
    }
    for (QAbstractButton* button : buttons)
        button->setChecked(false);
    buttons[state]->setChecked(true);
    m_nState = state;
    return true;
}

QAbstractButton* HeaderBar::GetButton(Button_Type type)
{
    switch (type) {
    case BT_AddWebsite:
        return ui->pushAddWebsite;
    case BT_Settings:
        return ui->pushButton_2;
    case BT_Help:
        return ui->pushButton_3;
    }
    return nullptr;
}

void HeaderBar::SwitchTo(HeaderBarState state)
{
    if (SwitchViewToolButton(state))
        emit DoSwitchView(state, nullptr);
}

void HeaderBar::on_toolButton_2_clicked()
{
    SwitchTo(HBS_WebsiteView);
}

void HeaderBar::on_toolButton_clicked()
{
    SwitchTo(HBS_KeywordsView);
}

void HeaderBar::on_pushAddWebsite_clicked()
{
    SwitchTo(HBS_AddWebsite);
}

void HeaderBar::on_pushButton_2_clicked()
{
    SwitchTo(HBS_Settings);
}

void HeaderBar::on_pushButton_3_clicked()
{
    m_nState = ui->pushButton_3->isChecked() ? HBS_HelpChecked : HBS_None;
}

void HeaderBar::on_pushButton_4_clicked()
{
    QCoreApplication::exit(0);
}

void HeaderBar::on_labelTitle_linkActivated(const QString& link)
{
    UrlOpenHook::openUrl(QUrl(link));
}

void HeaderBar::OnComboBoxHelpClicked(const QString& text)
{
    QString page;
    if (text == QLatin1String("Online help"))
        page = MakerInfo::HelpPage();
    else if (text == QLatin1String("Contact us"))
        page = MakerInfo::SupportPage();
    else if (text == QLatin1String("Homepage"))
        page = MakerInfo::HomePageFromProgram();
    else if (text == QLatin1String("Check for update"))
        page = MakerInfo::UpdatePage();
    else
        return;
    UrlOpenHook::openUrl(QUrl(page));
}

void HeaderBar::on_pushUpdateAllWebsite_clicked()
{
    auto* hub = qobject_cast<RankMain*>(parentWidget());
    if (!hub)
        return;
    UpdateRun::UpdateAll(*hub, this, ui->comboBoxWebsite->count(), [hub] { hub->RefreshPages(); });
}
