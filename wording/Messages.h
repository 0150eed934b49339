#pragma once

// The refusals and failures a person reads, in Chinese, for the windows and sumvarl-batch alike.
// The batch adds its English beside them; the windows show them as they are.

#include "core/Lesson.h"
#include "core/SheetCode.h"
#include "core/StartSettings.h"
#include "print/PrintResult.h"

#include <QString>

namespace sumvarl {

// What Start refuses, in the settings window's names: "加法、减法的占用比例之和超出了 -32768 到
// 32767 的范围".
QString RefusalText(const Refusal& refusal);

// A lesson that allows no problem: "20以内没有必须进位的加法"; empty for None.
QString LessonRefusalText(LessonRefusal refusal, const CountInputs& in);

// A shape of problems, "连加", and as 更多设置 and sumvarl-batch --help list it with an example,
// "连加  8＋5＋6".
QString ShapeName(ProblemShape shape);
QString ShapeEntry(ProblemShape shape);

// A sheet code that reads as no sheet, and what is wrong with it: "卷号“…”有一个字符抄错了，或两个
// 字符颠倒了，请核对卷号"; empty for None.
QString SheetCodeRefusalText(SheetCodeError error, const QString& code);

// A PDF's target that is a device, a pipe or a folder, and is left alone.
QString NotAFileText(const QString& path);

// The system's reason for a failed write with the common ones said in Chinese first: "磁盘已满
// （No space left on device）"; other reasons as the system gave them.
QString SystemReasonInChinese(const QString& reason);

// The message shown when a PDF could not be saved, with the system's reason where there is one;
// empty for Saved.
QString SaveFailureMessage(SaveResult result, const QString& path, const QString& reason = {});

// The message shown for a failed print job, in Chinese, with the printing system's reason where
// it gave one; empty for Printed.
QString PrintFailureMessage(PrintResult result, const QString& reason = {});

} // namespace sumvarl
