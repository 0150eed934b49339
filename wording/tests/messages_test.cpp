// The words a person reads when printing or saving fails.

#include "testing/DiskFull.h"
#include "wording/Messages.h"
#include "wording/Text.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <set>

namespace {

TEST(PrintFailureMessage, NamesEachFailureInChineseAndNothingForSuccess)
{
    using sumvarl::PrintResult;
    EXPECT_TRUE(sumvarl::PrintFailureMessage(PrintResult::Printed).isEmpty());
    const struct
    {
        PrintResult result;
        const char16_t* names;
    } failures[] = {
        {PrintResult::NoDefaultPrinter, u"没有找到默认打印机"},
        {PrintResult::CannotOpen, u"打印机无法打开"},
        {PrintResult::JobFailed, u"打印任务没有完成"},
        {PrintResult::ServiceNotAnswering, u"打印服务没有回应"},
    };
    std::set<QString> messages;
    for (const auto& f : failures) {
        const QString message = sumvarl::PrintFailureMessage(f.result);
        EXPECT_TRUE(message.contains(sumvarl::ToQString(f.names))) << message.toStdString();
        // The worksheet is kept, and the message says so.
        EXPECT_TRUE(message.contains(QStringLiteral("保留"))) << message.toStdString();
        messages.insert(message);
    }
    EXPECT_EQ(messages.size(), std::size(failures));
}

TEST(SaveFailureMessage, SaysWhyInChineseAndLeavesOtherReasonsAsTheSystemGaveThem)
{
    using sumvarl::PrintResult;
    const QString full =
        sumvarl::SaveFailureMessage(sumvarl::SaveResult::NotWritten, QStringLiteral("x.pdf"),
                                    qt_error_string(sumvarl::testing::DiskFullCode));
    EXPECT_TRUE(full.contains(
        QStringLiteral("磁盘已满（%1）").arg(qt_error_string(sumvarl::testing::DiskFullCode))))
        << full.toStdString();
    EXPECT_TRUE(sumvarl::SaveFailureMessage(sumvarl::SaveResult::NotAFile, QStringLiteral("pipe"))
                    .contains(QStringLiteral("不是普通文件")));
    EXPECT_EQ(sumvarl::SystemReasonInChinese(QStringLiteral("Something odd")),
              QStringLiteral("Something odd"));
    EXPECT_TRUE(
        sumvarl::SaveFailureMessage(sumvarl::SaveResult::Saved, QStringLiteral("x.pdf")).isEmpty());
}

} // namespace
