#include "PtComboBox.h"

#include "PtLineEditx.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEvent>
#include <QWheelEvent>

PtComboBox::PtComboBox(QWidget* parent) : QComboBox(parent)
{
    auto* edit = new PtLineEditx(this);
    edit->setCursor(Qt::PointingHandCursor);
    setLineEdit(edit);
    edit->setText(QStringLiteral("Report"));
    // The field stays editable, but what is typed there is no report: Return must not add
    // it to the menu as a new entry.
    setInsertPolicy(QComboBox::NoInsert);
    // Every choice writes a report: only a deliberate click may make one, never a wheel
    // turned over the page or a key pressed in passing.
    setFocusPolicy(Qt::NoFocus);
    edit->setFocusPolicy(Qt::NoFocus);

    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // Made before the page connects its own handler, so the caption is back first.
    connect(this, qOverload<int>(&QComboBox::activated), this, &PtComboBox::OnIndexChange);
    connect(edit, &PtLineEditx::DoPressed, this, &PtComboBox::OnShowView);

    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(EVENT_RestoreCaption)));
}

void PtComboBox::OnIndexChange(int index)
{
    Q_UNUSED(index);
    blockSignals(true);
    lineEdit()->setText(QStringLiteral("Report"));
    blockSignals(false);
}

void PtComboBox::OnShowView()
{
    showPopup();
}

void PtComboBox::customEvent(QEvent* event)
{
    if (event->type() == QEvent::Type(EVENT_RestoreCaption))
        setEditText(QStringLiteral("Report"));
}

void PtComboBox::wheelEvent(QWheelEvent* event)
{
    // Left to the page below, which scrolls.
    event->ignore();
}
