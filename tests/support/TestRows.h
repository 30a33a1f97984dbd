#pragma once

#include <QTest>

// One data row on one line: its name, then its values in column order.
template <typename... T> void testRow(const char* name, T... values)
{
    (QTest::newRow(name) << ... << values);
}
