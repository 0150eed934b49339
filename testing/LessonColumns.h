#pragma once

// The lesson's columns of a data-driven Qt test, named alike wherever a lesson is a test's input:
// carry and borrow as the rule's index (不限, 必须, 不), the tables from and to, remainders.

#include <QTest>

namespace sumvarl::testing {

inline void AddLessonColumns()
{
    QTest::addColumn<int>("carry");
    QTest::addColumn<int>("borrow");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("remainder");
}

} // namespace sumvarl::testing
