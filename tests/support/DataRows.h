// SPDX-License-Identifier: MIT
#pragma once

#include <QTest>

// The columns of a data-driven test, their types in the order of their names:
//     DataColumns<QString, int>("text", "value");
template <typename... Types, typename... Names> void DataColumns(const Names&... names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one type for each column name");
    (QTest::addColumn<Types>(names), ...);
}

// One named row of a data-driven test, the values in the order of the columns.
template <typename... Values> void DataRow(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}
