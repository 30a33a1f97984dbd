#include "PtCombox.h"

#include "PtLineEdit.h"
#include "PtListViewx.h"

PtCombox::PtCombox(const QString* styleSheet) : QComboBox(nullptr)
{
    if (styleSheet)
        setStyleSheet(*styleSheet);

    m_pListView = new PtListViewx(this);
    setView(m_pListView);
    m_pListView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pListView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    connect(this, &QComboBox::textActivated, this, &PtCombox::OnIndexChange);

    auto* edit = new PtLineEdit(this);
    setLineEdit(edit);
    edit->setReadOnly(true);
    connect(edit, &PtLineEdit::DoPressed, this, &PtCombox::ShowPopWnd);
    edit->setText(QStringLiteral("Help"));

    // Once more: the line edit set above must take the sheet's rules for line edits too.
    if (styleSheet)
        setStyleSheet(*styleSheet);
}

void PtCombox::ShowPopWnd()
{
    showPopup();
}

void PtCombox::OnIndexChange(QString text)
{
    blockSignals(true);
    lineEdit()->setText(QStringLiteral("Help"));
    blockSignals(false);
    emit DoClicked(text);
}

void PtCombox::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
}

void PtCombox::mouseMoveEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
}
