#include "PtCombox.h"

#include "PtLineEdit.h"
#include "PtListViewx.h"

#include <QFontMetrics>
#include <QWheelEvent>

namespace {

// The narrowest the list may be, whatever its entries: the width its items are styled with.
constexpr int kMinListWidth = 140;

} // namespace

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
    // Each entry opens a page in the browser: only a deliberate click may choose one.
    setFocusPolicy(Qt::NoFocus);
    edit->setFocusPolicy(Qt::NoFocus);

    // Once more: the line edit set above must take the sheet's rules for line edits too.
    if (styleSheet)
        setStyleSheet(*styleSheet);
}

void PtCombox::showPopup()
{
    // The list opens below a button much narrower than its entries; it is made wide enough
    // to show each of them whole.
    const QFontMetrics metrics(m_pListView->font());
    int widest = m_pListView->sizeHintForColumn(0);
    for (int i = 0; i < count(); ++i)
        widest =
            qMax(widest, metrics.horizontalAdvance(itemText(i)) + 2 * metrics.averageCharWidth());
    m_pListView->setMinimumWidth(qMax(kMinListWidth, widest + 2 * m_pListView->frameWidth()));
    QComboBox::showPopup();
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

void PtCombox::wheelEvent(QWheelEvent* event)
{
    // Left to the window below.
    event->ignore();
}
