#include "PtLineEditx.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

PtLineEditx::PtLineEditx(QWidget* parent) : QLineEdit(parent) {}

void PtLineEditx::mousePressEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
}

void PtLineEditx::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    emit DoPressed();
}

void PtLineEditx::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
}

void PtLineEditx::mouseMoveEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
}

void PtLineEditx::contextMenuEvent(QContextMenuEvent* event)
{
    Q_UNUSED(event);
}

void PtLineEditx::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(contents, Qt::AlignCenter, text());
}
