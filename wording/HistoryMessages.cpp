#include "wording/HistoryMessages.h"

#include "core/SheetCode.h"
#include "wording/Messages.h"

#include <array>

namespace sumvarl {

using history::OpenState;
using history::WriteState;

QString HistoryOpenText(const history::OpenReport& report)
{
    switch (report.state) {
    case OpenState::Ready:
        return {};
    case OpenState::Newer:
        return QStringLiteral("这个历史记录文件来自更新版本的 Sumvarl，只能查看，不会改动。"
                              "这次练习的答案不会被记下。");
    case OpenState::ReadOnly:
        return QStringLiteral("历史记录文件只能读、不能写（%1）：可以查看，但这次练习的答案"
                              "不会被记下。")
            .arg(SystemReasonInChinese(report.reason));
    case OpenState::MovedAside:
        return QStringLiteral("历史记录文件已损坏，已移到“%1”，现在使用新的记录文件。")
            .arg(report.movedTo);
    case OpenState::Unavailable:
        return QStringLiteral("历史记录无法保存（%1）：练习照常进行，但这次的答案不会被记下。")
            .arg(SystemReasonInChinese(report.reason));
    }
    return {};
}

QString HistoryWriteText(const history::WriteResult& result)
{
    const QString goOn = QStringLiteral("练习可以继续。");
    switch (result.state) {
    case WriteState::Done:
        return {};
    case WriteState::DiskFull:
        return QStringLiteral("磁盘已满，刚才的答案没有记下。") + goOn;
    case WriteState::ReadOnly:
        return QStringLiteral("历史记录文件不能写入，刚才的答案没有记下。") + goOn;
    case WriteState::Duplicate:
    case WriteState::Failed:
        break;
    }
    return QStringLiteral("刚才的答案没有记下（%1）。").arg(SystemReasonInChinese(result.reason)) +
           goOn;
}

QString PaperWriteText(const history::WriteResult& result)
{
    switch (result.state) {
    case WriteState::Done:
        return {};
    case WriteState::DiskFull:
        return QStringLiteral("磁盘已满，批改结果没有记下。");
    case WriteState::ReadOnly:
        return QStringLiteral("历史记录文件不能写入，批改结果没有记下。");
    case WriteState::Duplicate:
    case WriteState::Failed:
        break;
    }
    return QStringLiteral("批改结果没有记下（%1）。").arg(SystemReasonInChinese(result.reason));
}

std::u16string KeptSheetFooter(qint64 number)
{
    if (number < 0 || number >= KeptSheetNumberLimit) {
        return {};
    }
    return u"卷号 " + EncodeKeptSheetCode(static_cast<std::uint32_t>(number));
}

QString RestoreFailureText(const history::RestoreResult& result)
{
    if (result.restored) {
        return {};
    }
    const QString kept = QStringLiteral("现在的记录没有改动。");
    if (result.reason.startsWith(QLatin1String("written by a newer program"))) {
        return QStringLiteral("这个备份是更新版本的 Sumvarl 做的，这个版本不能恢复它。") + kept;
    }
    if (result.reason == QLatin1String("no history")) {
        return QStringLiteral("这个文件不是 Sumvarl 的记录。") + kept;
    }
    return QStringLiteral("没有恢复（%1）。").arg(SystemReasonInChinese(result.reason)) + kept;
}

QString ChildWriteText(const history::WriteResult& result, const QString& name)
{
    switch (result.state) {
    case WriteState::Done:
        return {};
    case WriteState::Duplicate:
        return QStringLiteral("已经有一个叫“%1”的孩子了，请换一个名字。").arg(name);
    case WriteState::DiskFull:
        return QStringLiteral("磁盘已满，没有改动。");
    case WriteState::ReadOnly:
        return QStringLiteral("历史记录文件只能查看，不能改动。");
    case WriteState::Failed:
        break;
    }
    return QStringLiteral("没有改动（%1）。").arg(SystemReasonInChinese(result.reason));
}

QString GradeText(int grade)
{
    static const std::array<QString, 6> grades{QStringLiteral("一年级"), QStringLiteral("二年级"),
                                               QStringLiteral("三年级"), QStringLiteral("四年级"),
                                               QStringLiteral("五年级"), QStringLiteral("六年级")};
    return grade >= 1 && grade <= 6 ? grades.at(static_cast<std::size_t>(grade - 1))
                                    : QString::number(grade);
}

QString DueText(const QDate& due, const QDate& today)
{
    const qint64 days = today.daysTo(due);
    if (days <= 0) {
        return QStringLiteral("今天");
    }
    if (days == 1) {
        return QStringLiteral("明天");
    }
    if (due.year() == today.year()) {
        return QStringLiteral("%1月%2日").arg(due.month()).arg(due.day());
    }
    return QStringLiteral("%1年%2月%3日").arg(due.year()).arg(due.month()).arg(due.day());
}

} // namespace sumvarl
