#pragma once

#include <QTabWidget>

class QLabel;
class Ui_SidePanel;

// The program's one side panel: the "Account" tab with the totals of websites and
// keywords, and the "News" tab. The hub owns it; whichever page is shown takes it into
// its own left column.
class SidePanel : public QTabWidget
{
    Q_OBJECT

public:
    explicit SidePanel(QWidget* parent = nullptr);
    ~SidePanel() override;

    void SetTotals(qint64 websites, qint64 keywords);
    QLabel* NewsLabel() const;

private slots:
    // A link of the news panel opens in the browser (web addresses only).
    void on_labelNews_linkActivated(const QString& link);

private:
    Ui_SidePanel* ui;
};
