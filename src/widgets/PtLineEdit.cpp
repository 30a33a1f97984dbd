#include "PtLineEdit.h"

#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

PtLineEdit::PtLineEdit(QWidget* parent) : PtLineEditx(parent) {}

void PtLineEdit::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    contents.setBottom(contents.bottom() - 10);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(contents, Qt::AlignHCenter | Qt::AlignBottom, text());
    painter.drawImage(QPoint(22, 5), QImage(QStringLiteral(":/Resources/help_32X32.png")));
}
