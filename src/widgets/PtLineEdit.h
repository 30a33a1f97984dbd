#pragma once

#include "PtLineEditx.h"

// The caption field of the help menu: like the report menu's field, but paints its
// caption below the help icon.
class PtLineEdit : public PtLineEditx
{
    Q_OBJECT

public:
    explicit PtLineEdit(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
