#include "core/SheetCode.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

namespace sumvarl {

namespace {

constexpr int Base = static_cast<int>(SheetCodeSymbols.size()); // 31
constexpr int ShortFlags = 24;                                  // first symbols 0..23: a short code
constexpr int LongFlag = 24;
constexpr int KeptFlag = 25;
constexpr std::size_t MaxSymbols = 8192;
constexpr std::uint64_t Raw16 = 65536;
constexpr std::uint64_t Raw32 = std::uint64_t{1} << 32;
constexpr int ShareLimit = 100;
constexpr int PercentLimit = 100;
constexpr int RangeLimit = 1000;
constexpr int CountLimit = 200;
constexpr std::uint64_t ShapeRadix = 16;    // room for shapes to come
constexpr std::uint64_t VerticalRadix = 16; // and for kinds of 竖式

// A non-negative whole number of any size, in 32-bit limbs, least significant first.
class BigNumber
{
public:
    // this = this * radix + digit, for radix up to 2^32 and digit below radix.
    void MulAdd(std::uint64_t radix, std::uint64_t digit)
    {
        std::uint64_t carry = digit;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t v = limb * radix + carry;
            limb = static_cast<std::uint32_t>(v);
            carry = v >> 32;
        }
        if (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry));
        }
    }

    // this = this / radix, returning the remainder; radix up to 2^32.
    std::uint64_t DivMod(std::uint64_t radix)
    {
        std::uint64_t rest = 0;
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            const std::uint64_t v = (rest << 32) | limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(v / radix);
            rest = v % radix;
        }
        while (!limbs_.empty() && limbs_.back() == 0) {
            limbs_.pop_back();
        }
        return rest;
    }

    bool IsZero() const { return limbs_.empty(); }

private:
    std::vector<std::uint32_t> limbs_;
};

struct Digit
{
    std::uint64_t value;
    std::uint64_t radix;
};

// Fields in reading order, folded into one mixed-radix number whose lowest digit is the first
// field, so that a field read decides which fields follow.
class Writer
{
public:
    void Put(std::uint64_t value, std::uint64_t radix) { digits_.push_back({value, radix}); }

    void PutRaw16(std::int16_t value) { Put(static_cast<std::uint64_t>(value + 32768), Raw16); }

    // value - base within 0..limit as one digit, otherwise an escape and the value in full.
    void PutNear(std::int16_t value, int base, int limit)
    {
        const int offset = value - base;
        const auto escape = static_cast<std::uint64_t>(limit) + 1;
        if (0 <= offset && offset <= limit) {
            Put(static_cast<std::uint64_t>(offset), escape + 1);
        } else {
            Put(escape, escape + 1);
            PutRaw16(value);
        }
    }

    BigNumber Number() const
    {
        BigNumber n;
        for (std::size_t i = digits_.size(); i-- > 0;) {
            n.MulAdd(digits_[i].radix, digits_[i].value);
        }
        return n;
    }

private:
    std::vector<Digit> digits_;
};

// Reads what Writer wrote; a value out of place makes it fail, and it stays failed.
class Reader
{
public:
    explicit Reader(BigNumber number) : number_(std::move(number)) {}

    std::uint64_t Take(std::uint64_t radix) { return number_.DivMod(radix); }

    std::int16_t TakeRaw16()
    {
        return static_cast<std::int16_t>(static_cast<int>(Take(Raw16)) - 32768);
    }

    std::int16_t TakeNear(int base, int limit)
    {
        const auto escape = static_cast<std::uint64_t>(limit) + 1;
        const std::uint64_t offset = Take(escape + 1);
        if (offset == escape) {
            return TakeRaw16();
        }
        return Fit(base + static_cast<int>(offset));
    }

    std::int16_t Fit(int value)
    {
        if (value < std::numeric_limits<std::int16_t>::min() ||
            value > std::numeric_limits<std::int16_t>::max()) {
            failed_ = true;
            return 0;
        }
        return static_cast<std::int16_t>(value);
    }

    template <typename Enum> Enum TakeEnum(std::uint64_t radix, int count)
    {
        const std::uint64_t value = Take(radix);
        if (value >= static_cast<std::uint64_t>(count)) {
            failed_ = true;
        }
        return static_cast<Enum>(value);
    }

    bool Done() const { return !failed_ && number_.IsZero(); }

private:
    BigNumber number_;
    bool failed_ = false;
};

// ---- Formats ----

bool UsualShares(const PartSpec& p)
{
    int before = 0;
    for (const std::int16_t cw : p.cumulativeWeight) {
        if (cw - before < 0 || cw - before > ShareLimit) {
            return false;
        }
        before = cw;
    }
    return p.weightTotal == before;
}

bool UsualBlanks(const PartSpec& p)
{
    return (p.fillBlankOn == 0 && p.fillBlankPercent == 0) ||
           (p.fillBlankOn == 1 && 0 <= p.fillBlankPercent && p.fillBlankPercent <= PercentLimit);
}

// Short: the four shares, blanks (0 off, 1 + percentage on), range, count, seed.
void WriteShort(Writer& w, const SheetSpec& recipe)
{
    const PartSpec& p = recipe.parts.front();
    int before = 0;
    for (const std::int16_t cw : p.cumulativeWeight) {
        w.Put(static_cast<std::uint64_t>(cw - before), ShareLimit + 1);
        before = cw;
    }
    w.Put(p.fillBlankOn == 0 ? 0 : static_cast<std::uint64_t>(p.fillBlankPercent) + 1,
          PercentLimit + 2);
    w.Put(static_cast<std::uint64_t>(p.numberRange), RangeLimit + 1);
    w.Put(static_cast<std::uint64_t>(p.problemCount), CountLimit + 1);
    w.Put(recipe.seed, std::uint64_t{1} << ShortSheetCodeSeedBits);
}

SheetSpec ReadShort(Reader& r)
{
    PartSpec p;
    int total = 0;
    for (std::int16_t& cw : p.cumulativeWeight) {
        total += static_cast<int>(r.Take(ShareLimit + 1));
        cw = r.Fit(total);
    }
    p.weightTotal = p.cumulativeWeight[3];
    const auto blanks = static_cast<int>(r.Take(PercentLimit + 2));
    p.fillBlankOn = blanks == 0 ? 0 : 1;
    p.fillBlankPercent = r.Fit(std::max(blanks - 1, 0));
    p.numberRange = r.Fit(static_cast<int>(r.Take(RangeLimit + 1)));
    p.problemCount = r.Fit(static_cast<int>(r.Take(CountLimit + 1)));
    SheetSpec recipe;
    recipe.seed = r.Take(std::uint64_t{1} << ShortSheetCodeSeedBits);
    recipe.parts.push_back(p);
    return recipe;
}

void WritePart(Writer& w, const PartSpec& p)
{
    w.Put(static_cast<std::uint64_t>(p.shape), ShapeRadix);
    int before = 0;
    for (const std::int16_t cw : p.cumulativeWeight) {
        w.PutNear(cw, before, ShareLimit);
        before = cw;
    }
    w.PutNear(p.weightTotal, before, 0);
    w.PutNear(p.fillBlankOn, 0, 1);
    w.PutNear(p.fillBlankPercent, 0, PercentLimit);
    w.PutNear(p.numberRange, 0, RangeLimit);
    w.PutNear(p.problemCount, 0, CountLimit);
    w.Put(static_cast<std::uint64_t>(p.lesson.carry), 3);
    w.Put(static_cast<std::uint64_t>(p.lesson.borrow), 3);
    w.Put(p.lesson.remainder ? 1 : 0, 2);
    w.PutNear(p.lesson.tableFrom, 0, 9);
    w.PutNear(p.lesson.tableTo, 0, 9);
}

PartSpec ReadPart(Reader& r)
{
    PartSpec p;
    p.shape = r.TakeEnum<ProblemShape>(ShapeRadix, ProblemShapeCount);
    int before = 0;
    for (std::int16_t& cw : p.cumulativeWeight) {
        cw = r.TakeNear(before, ShareLimit);
        before = cw;
    }
    p.weightTotal = r.TakeNear(before, 0);
    p.fillBlankOn = r.TakeNear(0, 1);
    p.fillBlankPercent = r.TakeNear(0, PercentLimit);
    p.numberRange = r.TakeNear(0, RangeLimit);
    p.problemCount = r.TakeNear(0, CountLimit);
    p.lesson.carry = r.TakeEnum<CarryRule>(3, 3);
    p.lesson.borrow = r.TakeEnum<CarryRule>(3, 3);
    p.lesson.remainder = r.Take(2) == 1;
    p.lesson.tableFrom = r.TakeNear(0, 9);
    p.lesson.tableTo = r.TakeNear(0, 9);
    return p;
}

// Settings added after the first long codes go last, each 0 where it is left alone: as the
// highest digits, zeros add nothing to the number, so a code written before them reads with
// them at 0 and a recipe that leaves them alone keeps the code it always had.
void WriteLater(Writer& w, const PartSpec& p)
{
    w.Put(p.lesson.remainderZero ? 1 : 0, 2);
}

void ReadLater(Reader& r, PartSpec& p)
{
    p.lesson.remainderZero = r.Take(2) == 1;
}

// Long: the number of parts, the seed in two halves, then each part, then each part's later
// settings.
void WriteLong(Writer& w, const SheetSpec& recipe)
{
    w.Put(recipe.parts.size(), MaxSheetCodeParts + 1);
    w.Put(recipe.seed & (Raw32 - 1), Raw32);
    w.Put(recipe.seed >> 32, Raw32);
    for (const PartSpec& part : recipe.parts) {
        WritePart(w, part);
    }
    for (const PartSpec& part : recipe.parts) {
        WriteLater(w, part);
    }
    // Last, so that a sheet in order (0) keeps the code it had before mixing was known.
    w.Put(recipe.mixed ? 1 : 0, 2);
    // After that each part's 竖式 kind, 0 for one-line problems, for the same reason.
    for (const PartSpec& part : recipe.parts) {
        w.Put(static_cast<std::uint64_t>(part.vertical), VerticalRadix);
    }
}

SheetSpec ReadLong(Reader& r)
{
    SheetSpec recipe;
    const std::uint64_t parts = r.Take(MaxSheetCodeParts + 1);
    const std::uint64_t low = r.Take(Raw32);
    recipe.seed = low | (r.Take(Raw32) << 32);
    for (std::uint64_t k = 0; k < parts; ++k) {
        recipe.parts.push_back(ReadPart(r));
    }
    for (PartSpec& part : recipe.parts) {
        ReadLater(r, part);
    }
    recipe.mixed = r.Take(2) == 1;
    for (PartSpec& part : recipe.parts) {
        part.vertical = r.TakeEnum<VerticalKind>(VerticalRadix, VerticalKindCount);
    }
    return recipe;
}

// ---- Symbols ----

int Weight(std::size_t position)
{
    return static_cast<int>(position % (Base - 1)) + 1;
}

int CheckSum(const std::vector<int>& symbols)
{
    int sum = 0;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        sum = (sum + Weight(i) * symbols[i]) % Base;
    }
    return sum;
}

// Appends the symbol that brings the weighted sum to 0 mod 31.
void AppendCheck(std::vector<int>& symbols)
{
    const int sum = CheckSum(symbols);
    const int weight = Weight(symbols.size());
    for (int c = 0; c < Base; ++c) {
        if ((sum + weight * c) % Base == 0) {
            symbols.push_back(c);
            return;
        }
    }
}

// The base-31 digits of n, most significant first, at least minimum of them.
std::vector<int> Base31(BigNumber n, std::size_t minimum)
{
    std::vector<int> digits;
    while (!n.IsZero() || digits.size() < minimum) {
        digits.push_back(static_cast<int>(n.DivMod(Base)));
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::vector<int> Symbols(const SheetSpec& recipe)
{
    Writer w;
    std::vector<int> symbols;
    if (FitsShortSheetCode(recipe)) {
        WriteShort(w, recipe);
        symbols = Base31(w.Number(), ShortSheetCodeLength - 1);
    } else {
        WriteLong(w, recipe);
        symbols = Base31(w.Number(), 1);
        symbols.insert(symbols.begin(), LongFlag);
    }
    AppendCheck(symbols);
    return symbols;
}

char16_t Normalized(char16_t c)
{
    if (c >= u'\uFF01' && c <= u'\uFF5E') { // full-width ASCII
        c = static_cast<char16_t>(c - 0xFEE0);
    }
    if (c >= u'a' && c <= u'z') {
        c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return c;
}

bool IsSeparator(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'-' || c == u'\u3000' ||
           (c >= u'\u2010' && c <= u'\u2015') || c == u'\u2212';
}

// The symbol values of the text, or empty when a character is no symbol.
std::optional<std::vector<int>> ReadSymbols(std::u16string_view text)
{
    std::vector<int> symbols;
    for (const char16_t raw : text) {
        const char16_t c = Normalized(raw);
        if (IsSeparator(c)) {
            continue;
        }
        const std::size_t at = SheetCodeSymbols.find(c);
        if (at == std::u16string_view::npos) {
            return std::nullopt;
        }
        symbols.push_back(static_cast<int>(at));
    }
    return symbols;
}

BigNumber FromBase31(std::vector<int>::const_iterator first, std::vector<int>::const_iterator last)
{
    BigNumber n;
    for (; first != last; ++first) {
        n.MulAdd(Base, static_cast<std::uint64_t>(*first));
    }
    return n;
}

DecodedSheetCode Refused(SheetCodeError error)
{
    return {std::nullopt, error, std::nullopt};
}

} // namespace

bool FitsShortSheetCode(const SheetSpec& recipe)
{
    if (recipe.parts.size() != 1 || recipe.mixed ||
        recipe.seed >= (std::uint64_t{1} << ShortSheetCodeSeedBits)) {
        return false;
    }
    const PartSpec& p = recipe.parts.front();
    return p.shape == ProblemShape::OneOperation && p.vertical == VerticalKind::None &&
           p.lesson == Lesson{} && UsualShares(p) && UsualBlanks(p) && 0 <= p.numberRange &&
           p.numberRange <= RangeLimit && 0 <= p.problemCount && p.problemCount <= CountLimit;
}

namespace {

std::u16string Grouped(const std::vector<int>& symbols)
{
    std::u16string text;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (i != 0 && i % 4 == 0) {
            text.push_back(u'-');
        }
        text.push_back(SheetCodeSymbols[static_cast<std::size_t>(symbols[i])]);
    }
    return text;
}

std::vector<int> KeptSymbols(std::uint32_t number)
{
    BigNumber n;
    n.MulAdd(Raw32, number);
    std::vector<int> symbols = Base31(n, KeptSheetCodeLength - 2);
    symbols.insert(symbols.begin(), KeptFlag);
    AppendCheck(symbols);
    return symbols;
}

} // namespace

std::u16string EncodeSheetCode(const SheetSpec& recipe)
{
    if (recipe.parts.size() > MaxSheetCodeParts) {
        return {};
    }
    return Grouped(Symbols(recipe));
}

std::u16string EncodeKeptSheetCode(std::uint32_t number)
{
    if (number >= KeptSheetNumberLimit) {
        return {};
    }
    return Grouped(KeptSymbols(number));
}

DecodedSheetCode DecodeSheetCode(std::u16string_view text)
{
    const std::optional<std::vector<int>> read = ReadSymbols(text);
    if (!read) {
        return Refused(SheetCodeError::Mistyped);
    }
    const std::vector<int>& symbols = *read;
    if (symbols.size() < 3 || symbols.size() > MaxSymbols ||
        (symbols.front() < ShortFlags && symbols.size() != ShortSheetCodeLength) ||
        (symbols.front() == KeptFlag && symbols.size() != KeptSheetCodeLength)) {
        return Refused(SheetCodeError::WrongLength);
    }
    if (CheckSum(symbols) != 0) {
        return Refused(SheetCodeError::CheckFailed);
    }
    if (symbols.front() > KeptFlag) {
        return Refused(SheetCodeError::UnknownVersion);
    }
    if (symbols.front() == KeptFlag) {
        std::uint64_t number = 0;
        for (auto it = symbols.begin() + 1; it != symbols.end() - 1; ++it) {
            number = number * Base + static_cast<std::uint64_t>(*it);
        }
        DecodedSheetCode kept;
        kept.keptSheet = static_cast<std::uint32_t>(number);
        return kept;
    }
    const bool isShort = symbols.front() < ShortFlags;
    const auto dataBegin = symbols.begin() + (isShort ? 0 : 1);
    Reader r(FromBase31(dataBegin, symbols.end() - 1));
    SheetSpec recipe = isShort ? ReadShort(r) : ReadLong(r);
    // Only the code the recipe itself makes is read: no two codes give one sheet.
    if (!r.Done() || Symbols(recipe) != symbols) {
        return Refused(SheetCodeError::Malformed);
    }
    return {std::move(recipe), SheetCodeError::None, std::nullopt};
}

} // namespace sumvarl
