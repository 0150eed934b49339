#include "wording/Messages.h"

#include "wording/Text.h"

#include <QStringList>
#include <array>
#include <cerrno>
#include <utility>
#ifdef Q_OS_WIN
#include <winerror.h>
#endif

namespace sumvarl {

namespace {

// After a failed print or save: nothing of the worksheet is lost.
const QString Kept = QStringLiteral("练习题仍然保留在屏幕上。");

} // namespace

QString RefusalText(const Refusal& r)
{
    static const std::array<QString, 4> weightNames{QStringLiteral("加法"), QStringLiteral("减法"),
                                                    QStringLiteral("乘法"), QStringLiteral("除法")};
    const QString limits = QStringLiteral("超出了 %1 到 %2 的范围").arg(r.lowest).arg(r.highest);
    switch (r.kind) {
    case RefusalKind::Weight:
    case RefusalKind::WeightSum: {
        QStringList names;
        for (std::size_t k = 0; k < r.weights.size(); ++k) {
            if (r.weights.at(k)) {
                names << weightNames.at(k);
            }
        }
        return names.join(u'、') +
               (names.size() > 1 ? QStringLiteral("的占用比例之和")
                                 : QStringLiteral("的占用比例")) +
               limits;
    }
    case RefusalKind::FillBlankPercent:
        return QStringLiteral("填空的占用比例") + limits;
    case RefusalKind::TooManyProblems:
        return QStringLiteral("题数不能超过 %1").arg(r.highest);
    case RefusalKind::ProblemCount:
        return QStringLiteral("题数") + limits;
    case RefusalKind::NumberRange:
        return QStringLiteral("难度") + limits;
    }
    return {};
}

QString LessonRefusalText(LessonRefusal refusal, const CountInputs& in)
{
    switch (refusal) {
    case LessonRefusal::None:
        break;
    case LessonRefusal::TablesOutOfRange:
        return QStringLiteral("乘法口诀范围应从小到大，在 0 到 9 之间");
    case LessonRefusal::NegativeRange:
        return QStringLiteral("进位、退位的要求只能用于 0 以上的难度");
    case LessonRefusal::NoAddition:
        return QStringLiteral("%1以内没有%2的加法")
            .arg(in.numberRange)
            .arg(in.lesson.carry == CarryRule::Always ? QStringLiteral("必须进位")
                                                      : QStringLiteral("不进位"));
    case LessonRefusal::NoSubtraction:
        return QStringLiteral("%1以内没有%2的减法")
            .arg(in.numberRange)
            .arg(in.lesson.borrow == CarryRule::Always ? QStringLiteral("必须退位")
                                                       : QStringLiteral("不退位"));
    case LessonRefusal::NoChain:
        return QStringLiteral("%1以内出不了%2的题").arg(in.numberRange).arg(ShapeName(in.shape));
    case LessonRefusal::NoMultiplication:
    case LessonRefusal::NoDivision:
        // Tables that hold the divisor 1, but no divisor that leaves a remainder.
        if (in.lesson.remainder && !in.lesson.remainderZero && in.lesson.tableTo >= 1) {
            return QStringLiteral("乘法口诀 %1 到 %2 里没有能有余数的除数（除以 1 没有余数）")
                .arg(in.lesson.tableFrom)
                .arg(in.lesson.tableTo);
        }
        return QStringLiteral("乘法口诀 %1 到 %2 里没有可用的除数")
            .arg(in.lesson.tableFrom)
            .arg(in.lesson.tableTo);
    }
    return {};
}

namespace {

struct ShapeWords
{
    const char16_t* name;
    const char16_t* example;
};

// Indexed by ProblemShape.
constexpr std::array<ShapeWords, ProblemShapeCount> Shapes{{
    {u"一步计算", u"12＋5"},
    {u"连加", u"8＋5＋6"},
    {u"连减", u"18－5－6"},
    {u"加减混合", u"8＋5－6"},
    {u"乘加", u"3×4＋5"},
    {u"乘减", u"3×4－5"},
    {u"乘除混合", u"6×4÷3"},
    {u"带小括号", u"（12－4）×3"},
    {u"先除后加减", u"20－12÷3"},
    {u"带中括号", u"72÷［（5－2）×3］"},
}};

} // namespace

QString ShapeName(ProblemShape shape)
{
    return QString::fromUtf16(Shapes.at(static_cast<std::size_t>(shape)).name);
}

QString ShapeEntry(ProblemShape shape)
{
    const ShapeWords& w = Shapes.at(static_cast<std::size_t>(shape));
    return QString::fromUtf16(w.name) + QStringLiteral("  ") + QString::fromUtf16(w.example);
}

QString NotAFileText(const QString& path)
{
    return QStringLiteral("“%1”不是普通文件（是设备、管道或文件夹），没有写入，它也没有被改动")
        .arg(path);
}

QString SheetCodeRefusalText(SheetCodeError error, const QString& code)
{
    QString what;
    switch (error) {
    case SheetCodeError::None:
        return {};
    case SheetCodeError::Mistyped:
        what = QStringLiteral("有卷号不用的字符（卷号只用 2-9 和 I、L、O 以外的字母）");
        break;
    case SheetCodeError::WrongLength:
        what = QStringLiteral("长度不对，少抄或多抄了字符");
        break;
    case SheetCodeError::CheckFailed:
        what = QStringLiteral("有一个字符抄错了，或两个字符颠倒了");
        break;
    case SheetCodeError::UnknownVersion:
        what = QStringLiteral("来自更新版本的 Sumvarl，这个版本读不了");
        break;
    case SheetCodeError::Malformed:
        what = QStringLiteral("出不成一张练习题");
        break;
    }
    return QStringLiteral("卷号“%1”%2，请核对卷号").arg(code, what);
}

QString SystemReasonInChinese(const QString& reason)
{
    // The reasons a person can act on; the rest stay as the system words them. Qt words a file
    // error with errno's text, and on Windows with the text of Windows' own error code.
    static const std::array<std::pair<int, const char16_t*>, 6> known{{
#ifdef Q_OS_WIN
        {ERROR_DISK_FULL, u"磁盘已满"},
        {1295, u"磁盘配额已用完"}, // ERROR_DISK_QUOTA_EXCEEDED, newer than MinGW's headers
        {ERROR_ACCESS_DENIED, u"没有写入权限"},
        {ERROR_WRITE_PROTECT, u"这个位置只能读、不能写"},
        {ERROR_PATH_NOT_FOUND, u"文件夹不存在"},
        {ERROR_FILE_TOO_LARGE, u"文件太大"},
#else
        {ENOSPC, u"磁盘已满"},
        {EDQUOT, u"磁盘配额已用完"},
        {EACCES, u"没有写入权限"},
        {EROFS, u"这个位置只能读、不能写"},
        {ENOENT, u"文件夹不存在"},
        {EFBIG, u"文件太大"},
#endif
    }};
    for (const auto& [code, chinese] : known) {
        if (reason == qt_error_string(code)) {
            return QStringLiteral("%1（%2）").arg(ToQString(chinese), reason);
        }
    }
    return reason;
}

QString PrintFailureMessage(PrintResult result, const QString& reason)
{
    switch (result) {
    case PrintResult::Printed:
        return {};
    case PrintResult::NoDefaultPrinter:
        return QStringLiteral("没有找到默认打印机，无法打印。请先设置默认打印机，再按“打印”。") +
               Kept;
    case PrintResult::CannotOpen:
        return QStringLiteral("打印机无法打开，没有打印。请检查打印机后再试。") + Kept;
    case PrintResult::JobFailed:
        return QStringLiteral("打印任务没有完成，打印机可能没有收到完整的练习题") +
               (reason.isEmpty() ? QString()
                                 : QStringLiteral("（打印系统的原因：%1）").arg(reason)) +
               QStringLiteral("。") + Kept;
    case PrintResult::NoPrinterModule:
        return QStringLiteral("Sumvarl 的打印部分没有找到，无法打印") +
               (reason.isEmpty() ? QString() : QStringLiteral("（%1）").arg(reason)) +
               QStringLiteral("。请重新安装 Sumvarl。") + Kept;
    case PrintResult::ServiceNotAnswering:
        return QStringLiteral("打印服务没有回应，没有打印") +
               (reason.isEmpty() ? QString() : QStringLiteral("（%1）").arg(reason)) +
               QStringLiteral("。请确认打印服务（CUPS）正在运行，稍后再按“打印”。") + Kept;
    }
    return {};
}

QString SaveFailureMessage(SaveResult result, const QString& path, const QString& reason)
{
    const QString why =
        reason.isEmpty() ? QString() : QStringLiteral("（%1）").arg(SystemReasonInChinese(reason));
    switch (result) {
    case SaveResult::Saved:
        return {};
    case SaveResult::NotAFile:
        return NotAFileText(path) + QStringLiteral("。请换一个文件名再试。") + Kept;
    case SaveResult::CannotCreate:
        return QStringLiteral("无法创建文件“%1”%2，PDF 没有保存。请换一个文件夹或文件名再试。")
                   .arg(path, why) +
               Kept;
    case SaveResult::NotWritten:
        return QStringLiteral("文件“%1”没有写完%2，PDF 没有保存。请检查磁盘空间后再试。")
                   .arg(path, why) +
               Kept;
    }
    return {};
}

} // namespace sumvarl
