#include "PtTableWidget.h"

PtTableWidget::PtTableWidget() : QTableWidget(nullptr) {}
