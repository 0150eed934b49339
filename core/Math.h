#pragma once

// The exercise state shared by both windows, the worksheet table and the problem generator.
// These are plain module variables on purpose: every routine of the program reads and writes
// them by these names, and the tests inspect them directly.

#include "core/Generator.h"
#include "core/LessonRules.h"
#include "core/Problem.h"
#include "core/SheetSpec.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Math {

inline constexpr int TableRows = 201; // rows 0..200; row 0 is never filled
inline constexpr int MaxProblemCount = TableRows - 1;

// The signs belong to core/Problem.h and the lesson to core/LessonRules.h; the classic windows
// keep these names.
inline constexpr std::u16string_view PlusSign = sumvarl::PlusSign;
inline constexpr std::u16string_view MinusSign = sumvarl::MinusSign;
inline constexpr std::u16string_view TimesSign = sumvarl::TimesSign;
inline constexpr std::u16string_view DivideSign = sumvarl::DivideSign;
inline constexpr std::u16string_view EqualsSign = sumvarl::EqualsSign;
inline constexpr std::u16string_view RemainderSign = sumvarl::RemainderSign;
// Indexed by OperationKind - 1.
inline constexpr std::array<std::u16string_view, 4> OperatorTexts = sumvarl::OperatorTexts;

// Settings, written together by Start.
extern std::int16_t ProblemCount;
extern std::int16_t NumberRange;
extern std::int16_t WeightTotal;
extern std::array<std::int16_t, 5> CumulativeWeight; // entry 4 is never written
extern std::int16_t FillBlankOn;
extern std::int16_t FillBlankPercent;

// What this week's lesson asks of the problems, also written by Start.
using CarryRule = sumvarl::CarryRule;
using Lesson = sumvarl::Lesson;
extern Lesson lesson;
// The problems' shape chosen in 更多设置 (one operation, or a chain), also written by Start. The
// classic GenerateProblem below always makes one operation.
extern sumvarl::ProblemShape shape;
// The kind of 竖式 chosen in 更多设置 (None: one-line problems), also written by Start.
extern sumvarl::VerticalKind vertical;
// How 题目 prints a 竖式 sheet (squares, 验算, problems a page), also written by Start.
extern sumvarl::VerticalPaper verticalPaper;
// The parts of a preset (年级与单元) Start committed; empty for one part of the settings above.
extern std::vector<sumvarl::PartSpec> presetParts;
// Those parts' problems shuffled together (各部分的题混在一起).
extern bool partsMixed;

// The generator's output slots. UTF-16 so that one sign is one character when a line is
// right-justified by character count.
extern std::u16string CurrentOperand1;
extern std::u16string CurrentOperator;
extern std::u16string CurrentOperand2;
extern std::u16string CurrentResult;
extern std::u16string CurrentKey;

// Six parallel columns; WorksheetTable.ProblemKey[i] is row i.
struct WorksheetColumns
{
    std::array<std::u16string, TableRows> ProblemKey;
    std::array<std::u16string, TableRows> Operand1Text;
    std::array<std::u16string, TableRows> OperatorText;
    std::array<std::u16string, TableRows> Operand2Text;
    std::array<std::u16string, TableRows> ResultText;
    std::array<std::int16_t, TableRows> BlankKind{};
};
extern WorksheetColumns WorksheetTable;

// Every number back to 0 and every text empty, as at program start.
void ResetState();

// The OperationKind (1..4) that a band draw r selects from the cumulative weights, 0 for none.
int ChooseOperation(std::int16_t r, const std::array<std::int16_t, 5>& cumulativeWeight);

// Makes one random problem into the Current* slots from WeightTotal, CumulativeWeight and the
// lesson, using the program's shared random source. An operation the lesson constrains draws
// again until its problem fits; if none fits within MaxDrawRounds the texts stay empty.
inline constexpr int MaxDrawRounds = sumvarl::MaxDrawRounds;
void GenerateProblem(std::int16_t rangeLimit);
// The same with an explicit random source (tests, benchmarks).
void GenerateProblem(std::int16_t rangeLimit, sumvarl::RandomSource& random);

} // namespace Math
