#pragma once

#include "HeaderBarState.h"
#include "Records.h"

#include <QWidget>

#include <vector>

class QAbstractButton;
class PtCombox;
class Ui_HeaderBar;

// The dark bar above the pages: the product title with share links, the website combo,
// the four page buttons and the help menu.
class HeaderBar : public QWidget
{
    Q_OBJECT

public:
    // Argument of GetButton.
    enum Button_Type : int { BT_AddWebsite = 0, BT_Settings = 1, BT_Help = 2 };

    HeaderBar(QWidget* parent, const std::vector<WEBSITE>& websites);
    ~HeaderBar() override;

    // Checks the button of a page (0 to 3); false, with that button unchecked, when the
    // page may not be shown: without websites only the add-website page may.
    bool SwitchViewToolButton(HeaderBarState state);
    QAbstractButton* GetButton(Button_Type type);
    int State() const { return m_nState; }
    // Ends the program; kept for a quit button, which the form does not have (a plain
    // function, so that the form's auto-connection does not look for the button).
    void on_pushButton_4_clicked();
    // Update run of every website; the form has no button for it (a plain function for
    // the same reason).
    void on_pushUpdateAllWebsite_clicked();

    // The form; the hub, the main window and the add-website page use its website combo.
    Ui_HeaderBar* ui;

signals:
    void DoSwitchView(HeaderBarState state, void* parameter);

public slots:
    void on_toolButton_2_clicked();
    void on_toolButton_clicked();
    void on_pushAddWebsite_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_3_clicked();
    void on_labelTitle_linkActivated(const QString& link);
    void OnComboBoxHelpClicked(const QString& text);

private:
    void SwitchTo(HeaderBarState state);

    int m_nState = HBS_WebsiteView;
    PtCombox* m_pHelpMenu = nullptr;
    const std::vector<WEBSITE>& m_vWebsites;
};
