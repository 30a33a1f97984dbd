#pragma once

#include "SqlDb.h"

#include <QTest>

// For store tests whose every case runs on both ways the load reads the rank rows: the
// rows of initTestCase_data(), and the switch that init() sets for the current row.
namespace LoadPaths {

inline void addRows()
{
    QTest::addColumn<bool>("throughQuery");
    QTest::newRow("driver handle") << false;
    QTest::newRow("QSqlQuery") << true;
}

inline void select()
{
    QFETCH_GLOBAL(bool, throughQuery);
    SqlDb::SetQueryLoadForTests(throughQuery);
}

} // namespace LoadPaths
