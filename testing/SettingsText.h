#pragma once

// Lets QCOMPARE print settings that differ.

#include "core/StartSettings.h"

#include <QMetaType>
#include <QString>
#include <QtGlobal>

namespace sumvarl {

inline char* toString(const Settings& s)
{
    const QString text =
        QStringLiteral("WeightTotal %1, CumulativeWeight %2 %3 %4 %5, FillBlankOn %6, "
                       "FillBlankPercent %7, ProblemCount %8, NumberRange %9")
            .arg(s.WeightTotal)
            .arg(s.CumulativeWeight[0])
            .arg(s.CumulativeWeight[1])
            .arg(s.CumulativeWeight[2])
            .arg(s.CumulativeWeight[3])
            .arg(s.FillBlankOn)
            .arg(s.FillBlankPercent)
            .arg(s.ProblemCount)
            .arg(s.NumberRange);
    return qstrdup(text.toUtf8().constData());
}

} // namespace sumvarl

Q_DECLARE_METATYPE(sumvarl::Settings)
