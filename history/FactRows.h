#pragma once

// How a fact is laid out in the fact table, for the queries of this folder.

#include "core/Problem.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace sumvarl::history {

inline std::int16_t Narrow(const QVariant& v)
{
    return static_cast<std::int16_t>(v.toInt());
}

// Reads the fact columns starting at column first.
inline model::Problem FactAt(const QSqlQuery& q, int first)
{
    model::Problem p;
    for (int i = 0; i < 3; ++i) {
        p.operands[static_cast<std::size_t>(i)] = Narrow(q.value(first + i));
    }
    p.operators[0] = static_cast<Operation>(q.value(first + 3).toInt());
    p.operators[1] = static_cast<Operation>(q.value(first + 4).toInt());
    p.operandCount = static_cast<std::int8_t>(q.value(first + 5).toInt());
    p.brackets = static_cast<Brackets>(q.value(first + 6).toInt());
    p.open = static_cast<OpenPlace>(q.value(first + 7).toInt());
    p.withRemainder = q.value(first + 8).toInt() != 0;
    p.result = Narrow(q.value(first + 9));
    p.remainder = Narrow(q.value(first + 10));
    return p;
}

// The same, of the fact table named f.
inline const QString FactColumnsOfF = QStringLiteral(
    "f.a, f.b, f.c, f.op1, f.op2, f.operands, f.brackets, f.open, f.with_remainder, f.result,"
    " f.remainder");

} // namespace sumvarl::history
