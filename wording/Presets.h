#pragma once

// 年级与单元: the usual calculation lessons of primary mathematics, by 年级 and 学期, each a
// recipe of one or more parts: "二年级上 · 100以内连加连减" is 连加, 连减 and 加减混合 within 100.

#include "core/SheetSpec.h"

#include <QString>
#include <optional>
#include <span>
#include <vector>

namespace sumvarl {

struct Preset
{
    QString term; // 一年级上 … 四年级下, or 我的设置
    QString name; // 20以内进位加法
    std::vector<PartSpec> parts;
    bool mixed = false; // the parts' problems shuffled together

    // "二年级上 · 100以内连加连减"
    QString FullName() const;
    int ProblemCount() const;
};

std::span<const Preset> GradePresets();

// By its full name or, where that is unique, by its name alone; blanks around it ignored.
std::optional<Preset> FindPreset(const QString& text);

} // namespace sumvarl
