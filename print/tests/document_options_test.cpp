// The answer key and the pupil's name in the printed document's statements: what they change,
// and that everything else stands where the plain worksheet has it.

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/Sheet.h"
#include "print/PrintedWorksheet.h"
#include "testing/PrintTestSupport.h"
#include "testing/RecordingSurface.h"
#include "testing/SheetSettings.h"
#include "testing/Utf8.h"
#include "worksheet/ProblemLine.h"

#include <gtest/gtest.h>

namespace {

using sumvarl::DocumentOptions;
using sumvarl::testing::RecordingSurface;

RecordingSurface Printed(const DocumentOptions& options)
{
    RecordingSurface surface(RecordingSurface::Columns::Scaled);
    sumvarl::PrintWorksheetDocument(surface, options);
    return surface;
}

void SetMixedWorksheet()
{
    const std::u16string plus(Math::PlusSign), minus(Math::MinusSign), times(Math::TimesSign),
        divide(Math::DivideSign);
    printtest::SetWorksheet({{u"12", plus, u"5", u"17", 1},
                             {u"12", minus, u"5", u"7", 2},
                             {u"3", times, u"4", u"12", 0},
                             {u"56", divide, u"8", u"7", 1},
                             {u"40", minus, u"30", u"10", 0},
                             {u"9", plus, u"9", u"18", 2}},
                            6);
}

TEST(DocumentOptions, DefaultsPrintThePlainWorksheet)
{
    SetMixedWorksheet();
    const RecordingSurface plain = Printed({});
    ASSERT_FALSE(plain.drawn.empty());
    EXPECT_EQ(plain.drawn[0].text, sumvarl::PrintTitle);
    for (const RecordingSurface::Drawn& d : plain.drawn) {
        EXPECT_EQ(d.text.find(sumvarl::PupilNameLabel), std::u16string::npos);
    }
}

TEST(DocumentOptions, AnswerKeyChangesOnlyTheTitleAndTheItems)
{
    SetMixedWorksheet();
    const RecordingSurface plain = Printed({});
    const RecordingSurface key = Printed({.answerKey = true, .pupilName = {}});
    ASSERT_EQ(key.drawn.size(), plain.drawn.size());
    EXPECT_EQ(key.drawn[0].text, sumvarl::AnswerKeyTitle);
    EXPECT_NE(key.drawn[0].text, plain.drawn[0].text);
    for (std::size_t k = 0; k < key.drawn.size(); ++k) {
        EXPECT_EQ(key.drawn[k].x, plain.drawn[k].x) << k;
        EXPECT_EQ(key.drawn[k].y, plain.drawn[k].y) << k;
        EXPECT_EQ(key.drawn[k].font, plain.drawn[k].font) << k;
    }
    // The rows are the last six texts drawn, one per problem.
    const std::size_t first = key.drawn.size() - 6;
    for (int i = 1; i <= 6; ++i) {
        const std::size_t k = first + static_cast<std::size_t>(i - 1);
        EXPECT_EQ(key.drawn[k].text,
                  sumvarl::AnswerItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer))
            << i;
        EXPECT_EQ(plain.drawn[k].text,
                  sumvarl::ItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer))
            << i;
    }
}

// Five-digit numbers make key items wider than their place. A Tab left of the print position
// would start a new line, so the key's rows would run down a staircase; instead such an item is
// set in the largest size (in tenths of a point) that ends it a column before the next problem.
TEST(DocumentOptions, LongKeyItemsShrinkToStayOnTheSheetsLines)
{
    const std::u16string plus(Math::PlusSign), minus(Math::MinusSign);
    printtest::SetWorksheet({{u"32767", minus, u"16000", u"16767", 1},
                             {u"12", plus, u"5", u"17", 1},
                             {u"20000", plus, u"12767", u"32767", 2},
                             {u"30000", minus, u"29999", u"1", 0},
                             {u"-16384", plus, u"-16383", u"-32767", 1}},
                            5);
    const RecordingSurface plain = Printed({});
    const RecordingSurface key = Printed({.answerKey = true, .pupilName = {}});
    ASSERT_EQ(key.drawn.size(), plain.drawn.size());
    for (std::size_t k = 0; k < key.drawn.size(); ++k) {
        EXPECT_EQ(key.drawn[k].x, plain.drawn[k].x) << k;
        EXPECT_EQ(key.drawn[k].y, plain.drawn[k].y) << k;
    }
    const double room =
        16 * RecordingSurface::ScaledColumn(16); // the 17-column place less a column
    const std::size_t first = key.drawn.size() - 5;
    int shrunk = 0;
    for (int i = 1; i <= 5; ++i) {
        const RecordingSurface::Drawn& d = key.drawn[first + static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(d.text, sumvarl::AnswerItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer))
            << i;
        const auto width = [&d](double size) {
            return RecordingSurface::ScaledColumn(size) * static_cast<double>(d.text.size());
        };
        EXPECT_LE(width(d.font.size), room) << i;
        if (d.font.size < 16) {
            ++shrunk;
            EXPECT_GT(width(d.font.size + 0.1), room) << i << " could be larger";
            EXPECT_GE(d.font.size, 10) << i;
        } else {
            EXPECT_EQ(d.font.size, 16) << i;
        }
    }
    EXPECT_EQ(shrunk, 3);
    EXPECT_EQ(key.Font().size, 16) << "the rows' size comes back after a shrunk item";
}

TEST(DocumentOptions, PupilNameTakesTheEmptyLineUnderTheTitle)
{
    SetMixedWorksheet();
    const RecordingSurface plain = Printed({});
    const RecordingSurface named = Printed({.answerKey = false, .pupilName = u"张三"});
    ASSERT_EQ(named.drawn.size(), plain.drawn.size() + 1);

    // Title, then the name, then everything of the plain sheet at its own place.
    EXPECT_EQ(named.drawn[0].text, plain.drawn[0].text);
    const RecordingSurface::Drawn& name = named.drawn[1];
    EXPECT_EQ(name.text, u"姓名：张三");
    EXPECT_EQ(name.x, 3500);
    EXPECT_EQ(name.y, 3 * RecordingSurface::Line(24));
    EXPECT_EQ(name.font, (sumvarl::FontSpec{u"宋体", 12, false, false}));
    EXPECT_LT(name.y + RecordingSurface::Line(12), plain.drawn[1].y + 1)
        << "the name ends above the count line";
    for (std::size_t k = 1; k < plain.drawn.size(); ++k) {
        EXPECT_EQ(named.drawn[k + 1].text, plain.drawn[k].text) << k;
        EXPECT_EQ(named.drawn[k + 1].x, plain.drawn[k].x) << k;
        EXPECT_EQ(named.drawn[k + 1].y, plain.drawn[k].y) << k;
    }
}

// A sheet prints exactly as the classic table holding its rows, sheet and key alike; the
// heading counts what the sheet asked for even where it fell short.
TEST(DocumentOptions, SheetPrintsAsTheTableHoldingItsRows)
{
    const sumvarl::Lesson lesson;
    const sumvarl::Sheet sheet = sumvarl::MakeSheet(
        {{sumvarl::PartSpecFor(sumvarl::testing::AllOperations(30, 40), lesson)}, 42});
    ASSERT_EQ(sheet.problems.size(), 30U);
    QList<printtest::Row> rows;
    for (const sumvarl::TableRow& r : sumvarl::RowsOf(sheet)) {
        rows.push_back({r.operand1, r.op, r.operand2, r.result, r.blankKind});
    }
    printtest::SetWorksheet(rows, 30);
    for (const DocumentOptions& options :
         {DocumentOptions{}, DocumentOptions{.answerKey = true, .pupilName = u"李四"}}) {
        const RecordingSurface table = Printed(options);
        RecordingSurface printed(RecordingSurface::Columns::Scaled);
        sumvarl::PrintSheetDocument(printed, sheet, options);
        ASSERT_EQ(printed.drawn.size(), table.drawn.size());
        for (std::size_t k = 0; k < table.drawn.size(); ++k) {
            EXPECT_EQ(printed.drawn[k].text, table.drawn[k].text) << k;
            EXPECT_EQ(printed.drawn[k].x, table.drawn[k].x) << k;
            EXPECT_EQ(printed.drawn[k].y, table.drawn[k].y) << k;
            EXPECT_EQ(printed.drawn[k].font, table.drawn[k].font) << k;
        }
    }

    sumvarl::Sheet short3 = sheet;
    short3.problems.resize(3);
    short3.fellShort = true;
    RecordingSurface printed(RecordingSurface::Columns::Scaled);
    sumvarl::PrintSheetDocument(printed, short3);
    EXPECT_NE(printed.LineAt(printed.drawn[1].y).find(u"题目数：30题"), std::u16string::npos);
    EXPECT_EQ(printed.drawn.back().text,
              sumvarl::ItemText(sumvarl::RowOf(short3.problems[2]), sumvarl::Variant::Printer));
}

} // namespace

namespace {

// What follows "＝" on each working line of one problem.
struct Worked
{
    std::u16string problem;
    std::vector<std::u16string> steps;
};

// The numbered problems and the working under each, told apart by their columns.
std::vector<Worked> WorkingOf(const RecordingSurface& surface)
{
    std::vector<Worked> problems;
    std::vector<std::pair<double, std::size_t>> columns; // x of the problem line, index
    for (const RecordingSurface::Drawn& d : surface.drawn) {
        const std::size_t dot = d.text.find(u". ");
        if (dot != std::u16string::npos && dot > 0 && d.text[0] >= u'1' && d.text[0] <= u'9') {
            std::erase_if(columns, [&](const auto& c) { return c.first == d.x; });
            columns.emplace_back(d.x, problems.size());
            problems.push_back({d.text.substr(dot + 2), {}});
        } else if (d.text.starts_with(u"＝") && !columns.empty()) {
            std::size_t owner = columns.front().second;
            for (const auto& [x, index] : columns) {
                owner = x <= d.x ? index : owner;
            }
            problems[owner].steps.push_back(d.text.substr(1));
        }
    }
    return problems;
}

long long Apply(long long a, char16_t op, long long b)
{
    switch (op) {
    case u'＋':
        return a + b;
    case u'－':
        return a - b;
    case u'×':
        return a * b;
    default:
        return b != 0 && a % b == 0 ? a / b : -1;
    }
}

// 脱式: the sheet leaves a line "＝" for each step, blanks or not; the key's first step, worked
// out again from its own text, gives its second, which is the problem's result.
TEST(DocumentOptions, StepByStepKeyWorksEveryStep)
{
    sumvarl::PartSpec part;
    part.shape = sumvarl::ProblemShape::Bracketed;
    part.numberRange = 100;
    part.problemCount = 15;
    part.fillBlankOn = 1;
    part.fillBlankPercent = 60;
    const sumvarl::Sheet sheet = sumvarl::MakeSheet({{part}, 11});
    DocumentOptions options;
    options.stepByStep = true;
    RecordingSurface blank(RecordingSurface::Columns::Scaled);
    sumvarl::PrintSheetDocument(blank, sheet, options);
    options.answerKey = true;
    RecordingSurface key(RecordingSurface::Columns::Scaled);
    sumvarl::PrintSheetDocument(key, sheet, options);

    const std::vector<Worked> asked = WorkingOf(blank);
    const std::vector<Worked> worked = WorkingOf(key);
    ASSERT_EQ(asked.size(), 15U);
    ASSERT_EQ(worked.size(), 15U);
    for (std::size_t i = 0; i < worked.size(); ++i) {
        const std::string shown = sumvarl::testing::Utf8(worked[i].problem);
        EXPECT_EQ(asked[i].problem, worked[i].problem);
        EXPECT_EQ(asked[i].steps, std::vector<std::u16string>(2)) << shown;
        EXPECT_EQ(worked[i].problem.find(u"( )"), std::u16string::npos) << shown;
        ASSERT_EQ(worked[i].steps.size(), 2U) << shown;
        const std::u16string& first = worked[i].steps[0];
        const std::size_t op = first.find_first_of(u"＋－×÷");
        ASSERT_NE(op, std::u16string::npos) << shown;
        const long long a = std::stoll(sumvarl::testing::Utf8(first.substr(0, op)));
        const long long b = std::stoll(sumvarl::testing::Utf8(first.substr(op + 1)));
        EXPECT_EQ(sumvarl::DecimalText(static_cast<std::int16_t>(Apply(a, first[op], b))),
                  worked[i].steps[1])
            << shown;
        EXPECT_EQ(worked[i].steps[1], sumvarl::TextsOf(sheet.problems[i]).result) << shown;
    }
}

} // namespace
