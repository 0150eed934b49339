#pragma once

// What a person reads about the child's memory: how the history file was found when it was
// opened, why an answer was not kept, the grades and the days an item of the 错题本 is due.

#include "history/HistoryStore.h"

#include <QDate>
#include <QString>

namespace sumvarl {

// Said once, when the history file is first opened; empty for Ready.
QString HistoryOpenText(const history::OpenReport& report);

// An answer (or a round's end) that could not be kept: "磁盘已满，刚才的答案没有记下。练习可以
// 继续。"; empty when it was kept.
QString HistoryWriteText(const history::WriteResult& result);

// The same for a paper sheet's marks, which the window still shows: "磁盘已满，批改结果没有记下。".
QString PaperWriteText(const history::WriteResult& result);

// The footer of a sheet kept for a child: "卷号 U234-567X"; empty for a number no code holds.
std::u16string KeptSheetFooter(qint64 number);

// Why a backup was not restored: "这个备份是更新版本的 Sumvarl 做的……"; empty when it was.
QString RestoreFailureText(const history::RestoreResult& result);

// A change to the children that could not be made; empty when it was made.
QString ChildWriteText(const history::WriteResult& result, const QString& name);

// 1 -> "一年级" … 6 -> "六年级".
QString GradeText(int grade);

// "今天" (or overdue), "明天", otherwise the date: "12月9日", with the year when it is not this
// year's.
QString DueText(const QDate& due, const QDate& today);

} // namespace sumvarl
