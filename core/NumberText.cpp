#include "core/NumberText.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace sumvarl {

namespace {

bool IsIgnored(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// A Chinese input method in full-width mode types these forms of the digits, the signs, the
// point and the exponent letter; each reads exactly as its ASCII form. Nothing else is folded:
// "＆Ｈ", full-width hex letters and the ideographic comma stay misfits.
char16_t Folded(char16_t c)
{
    constexpr char16_t FullWidthOffset = u'０' - u'0';
    const bool fold = (c >= u'０' && c <= u'９') || c == u'＋' || c == u'－' || c == u'．' ||
                      c == u'Ｅ' || c == u'ｅ';
    return fold ? static_cast<char16_t>(c - FullWidthOffset) : c;
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int DigitValue(char16_t c, int base)
{
    int v = -1;
    if (IsDigit(c)) {
        v = c - u'0';
    } else if (c >= u'a' && c <= u'f') {
        v = c - u'a' + 10;
    } else if (c >= u'A' && c <= u'F') {
        v = c - u'A' + 10;
    }
    return v < base ? v : -1;
}

// Walks the text with blanks, tabs and line feeds skipped and full-width forms folded.
class Cursor
{
public:
    explicit Cursor(std::u16string_view text) : text_(text) { Skip(); }
    bool AtEnd() const { return pos_ >= text_.size(); }
    char16_t Peek() const { return AtEnd() ? u'\0' : Folded(text_[pos_]); }
    void Next()
    {
        ++pos_;
        Skip();
    }

private:
    void Skip()
    {
        while (pos_ < text_.size() && IsIgnored(text_[pos_])) {
            ++pos_;
        }
    }
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::u16string FoldFullWidth(std::u16string_view text)
{
    std::u16string folded(text);
    for (char16_t& c : folded) {
        c = Folded(c);
    }
    return folded;
}

namespace {

double ReadWhole(Cursor& c, int base)
{
    double value = 0.0;
    for (int d = DigitValue(c.Peek(), base); d >= 0; d = DigitValue(c.Peek(), base)) {
        value = std::fmin(value * base + d, DBL_MAX);
        c.Next();
    }
    return value;
}

double ReadDecimal(Cursor& c)
{
    // Collect the accepted prefix as plain ASCII and let from_chars do the exact rounding.
    std::string ascii;
    bool negative = false;
    if (c.Peek() == u'+' || c.Peek() == u'-') {
        negative = c.Peek() == u'-';
        c.Next();
    }
    long long magnitude =
        0; // decimal exponent of the leading digit, to tell overflow from underflow
    bool seenNonZero = false;
    bool seenPoint = false;
    bool anyDigit = false;
    for (;; c.Next()) {
        const char16_t ch = c.Peek();
        if (IsDigit(ch)) {
            anyDigit = true;
            if (ch != u'0') {
                seenNonZero = true;
            }
            if (!seenPoint && seenNonZero) {
                ++magnitude;
            } else if (seenPoint && !seenNonZero) {
                --magnitude;
            }
        } else if (ch == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        ascii.push_back(static_cast<char>(ch));
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (c.Peek() == u'e' || c.Peek() == u'E') {
        c.Next();
        bool expNegative = false;
        if (c.Peek() == u'+' || c.Peek() == u'-') {
            expNegative = c.Peek() == u'-';
            c.Next();
        }
        long long exponent = 0;
        for (; IsDigit(c.Peek()); c.Next()) {
            exponent = std::min<long long>(exponent * 10 + (c.Peek() - u'0'), 1'000'000'000);
        }
        ascii.push_back('e');
        ascii.append(std::to_string(expNegative ? -exponent : exponent));
        magnitude += expNegative ? -exponent : exponent;
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        value = (seenNonZero && magnitude > 0) ? DBL_MAX : 0.0;
    }
    return negative ? -value : value;
}

} // namespace

double ReadNumber(std::u16string_view text)
{
    Cursor c(text);
    if (c.Peek() == u'&') {
        c.Next();
        const char16_t kind = c.Peek();
        if (kind == u'H' || kind == u'h') {
            c.Next();
            return ReadWhole(c, 16);
        }
        if (kind == u'O' || kind == u'o') {
            c.Next();
            return ReadWhole(c, 8);
        }
        return 0.0;
    }
    return ReadDecimal(c);
}

std::optional<std::int16_t> ToInt16(double value)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(value); // ties to even in the default rounding mode
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> FloorToInt16(double value)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double floored = std::floor(value);
    if (floored < std::numeric_limits<std::int16_t>::min() ||
        floored > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(floored);
}

std::u16string DecimalText(long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

} // namespace sumvarl
