#include "DialogAddProxy.h"

#include "EngineCatalogue.h"
#include "LocaleLookup.h"
#include "MessageBoxHook.h"
#include "PageHub.h"
#include "ui_DialogAddProxy.h"

#include <QEvent>

DialogAddProxy::DialogAddProxy(QWidget* parent, PageHub* hub)
    : QDialog(parent), ui(new Ui_DialogAddProxy), m_pHub(hub)
{
    ui->setupUi(this);
    loadCountryItems();
}

DialogAddProxy::~DialogAddProxy()
{
    delete ui;
}

void DialogAddProxy::loadCountryItems()
{
    QStringList countries;
    for (const QString& key : g_allEngineList) {
        const QStringList parts = key.split(QLatin1Char('_'), Qt::SkipEmptyParts);
        if (parts.size() < 2)
            continue;
        if (!countries.contains(parts.at(1)))
            countries.append(parts.at(1));
    }
    // Plain code-point order.
    std::sort(countries.begin(), countries.end());
    for (const QString& country : countries)
        ui->comboBoxCountry->addItem(iconForAera(country), country);
    ui->comboBoxCountry->setCurrentIndex(countries.indexOf(QStringLiteral("United States")));
}

QString DialogAddProxy::address() const
{
    return ui->lineEditAddress->text().trimmed();
}

int DialogAddProxy::port() const
{
    return ui->spinBoxPort->value();
}

QString DialogAddProxy::type() const
{
    return ui->comboBoxType->currentText();
}

QString DialogAddProxy::country() const
{
    return ui->comboBoxCountry->currentText();
}

QString DialogAddProxy::username() const
{
    return ui->lineEditUsername->text().trimmed();
}

QString DialogAddProxy::password() const
{
    return ui->lineEditPassword->text().trimmed();
}

void DialogAddProxy::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void DialogAddProxy::on_pushButtonAdd_clicked()
{
    if (address().isEmpty()) {
        MessageBoxHook::information(this, QStringLiteral("Empty Proxy Address!"),
                                    QStringLiteral("Please enter proxy address first!"));
        return;
    }
    if (m_pHub && m_pHub->GetSqlDb().isProxyExist(address(), port())) {
        MessageBoxHook::information(this, QStringLiteral("Lumatrove"),
                                    QStringLiteral("This Proxy already exists."));
        return;
    }
    accept();
}

void DialogAddProxy::on_pushButtonCancel_clicked()
{
    reject();
}
