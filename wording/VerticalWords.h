#pragma once

// The kinds of 竖式 as a person reads them, for 更多设置 and sumvarl-batch.

#include "core/LessonRules.h"
#include "core/SheetSpec.h"
#include "core/VerticalKind.h"

#include <QString>
#include <string>

namespace sumvarl {

// "两位数加减"; empty for None.
QString VerticalName(VerticalKind kind);
// As 更多设置 lists it under 题型: "竖式 两位数加减  46＋38".
QString VerticalEntry(VerticalKind kind);
// A lesson that leaves the kind no problem (a one-digit factor or divisor needs 2 to 9 among
// the times tables): "乘法口诀 0 到 1 里没有 2 到 9 的数，出不了多位数乘一位数的竖式".
QString NoVerticalText(VerticalKind kind, const Lesson& lesson);
// At the foot of a 竖式 sheet: "卷号 T4M7-CMCA-…", by which 批改纸质练习 brings its problems
// back; empty where the recipe has no code.
std::u16string SheetCodeFooter(const SheetSpec& recipe);

} // namespace sumvarl
