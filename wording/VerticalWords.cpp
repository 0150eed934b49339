#include "wording/VerticalWords.h"

#include "core/SheetCode.h"

#include <array>

namespace sumvarl {

namespace {

struct KindWords
{
    const char16_t* name;
    const char16_t* example;
};

// Indexed by VerticalKind.
constexpr std::array<KindWords, VerticalKindCount> Kinds{{
    {u"", u""},
    {u"两位数加减", u"46＋38"},
    {u"三位数加减", u"503－178"},
    {u"多位数乘一位数", u"124×3"},
    {u"两位数乘两位数", u"23×12"},
    {u"除数是一位数的除法", u"156÷3"},
    {u"除数是两位数的除法", u"432÷36"},
}};

} // namespace

QString VerticalName(VerticalKind kind)
{
    return QString::fromUtf16(Kinds.at(static_cast<std::size_t>(kind)).name);
}

QString VerticalEntry(VerticalKind kind)
{
    return QStringLiteral("竖式 ") + VerticalName(kind) + QStringLiteral("  ") +
           QString::fromUtf16(Kinds.at(static_cast<std::size_t>(kind)).example);
}

QString NoVerticalText(VerticalKind kind, const Lesson& lesson)
{
    return QStringLiteral("乘法口诀 %1 到 %2 里没有 2 到 9 的数，出不了%3的竖式")
        .arg(lesson.tableFrom)
        .arg(lesson.tableTo)
        .arg(VerticalName(kind));
}

std::u16string SheetCodeFooter(const SheetSpec& recipe)
{
    const std::u16string code = EncodeSheetCode(recipe);
    return code.empty() ? code : u"卷号 " + code;
}

} // namespace sumvarl
