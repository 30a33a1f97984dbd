#pragma once

#include <QDialog>

class PageHub;
class Ui_DialogAddProxy;

// Asks for one new proxy. Refuses an empty address and a proxy the database already
// holds; writes nothing itself. The settings page reads the getters after Accepted.
class DialogAddProxy : public QDialog
{
    Q_OBJECT

public:
    // `hub` holds the store asked for existing proxies.
    explicit DialogAddProxy(QWidget* parent = nullptr, PageHub* hub = nullptr);
    ~DialogAddProxy() override;

    void loadCountryItems();

    QString address() const;
    int port() const;
    QString type() const;
    QString country() const;
    QString username() const;
    QString password() const;

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void on_pushButtonAdd_clicked();
    void on_pushButtonCancel_clicked();

private:
    Ui_DialogAddProxy* ui;
    PageHub* m_pHub;
};
