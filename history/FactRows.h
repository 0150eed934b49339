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

// A problem of four numbers keeps its fourth number in column c and its third operator in op2,
// above the third number and the second operator, so that the table and its UNIQUE key stay as
// older files have them: c = c + 65536 × d, op2 = op2 + 4 × op3.
inline constexpr qint64 FourthNumberScale = 65536;
inline constexpr int ThirdOperatorScale = 4;

inline qint64 ColumnC(const model::Problem& p)
{
    return p.operandCount == 4 ? p.operands[2] + FourthNumberScale * p.operands[3] : p.operands[2];
}

inline int ColumnOp2(const model::Problem& p)
{
    const int op2 = static_cast<int>(p.operators[1]);
    return p.operandCount == 4 ? op2 + ThirdOperatorScale * static_cast<int>(p.operators[2]) : op2;
}

// Reads the fact columns starting at column first.
inline model::Problem FactAt(const QSqlQuery& q, int first)
{
    model::Problem p;
    p.operandCount = static_cast<std::int8_t>(q.value(first + 5).toInt());
    const bool four = p.operandCount == 4;
    for (int i = 0; i < 2; ++i) {
        p.operands[static_cast<std::size_t>(i)] = Narrow(q.value(first + i));
    }
    const qint64 c = q.value(first + 2).toLongLong();
    p.operands[2] = static_cast<std::int16_t>(four ? c % FourthNumberScale : c);
    p.operands[3] = static_cast<std::int16_t>(four ? c / FourthNumberScale : 0);
    const int op2 = q.value(first + 4).toInt();
    p.operators[0] = static_cast<Operation>(q.value(first + 3).toInt());
    p.operators[1] = static_cast<Operation>(four ? op2 % ThirdOperatorScale : op2);
    p.operators[2] = static_cast<Operation>(four ? op2 / ThirdOperatorScale : 0);
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
