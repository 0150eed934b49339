// Any bytes at all into the number reader and the 16-bit conversions: the input is read once as
// UTF-16 code units (little-endian pairs, so lone surrogates and controls turn up) and once as
// bytes widened one by one. Whatever comes in, the reader must give a finite number, and the
// conversions must round and floor as they say or refuse, without undefined behaviour.

#include "core/NumberText.h"
#include "fuzz/FuzzInput.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using fuzz::Require;

bool IsIgnored(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The full-width forms a Chinese input method types read as the ASCII character at the same
// place here.
constexpr std::u16string_view FullWidthForms = u"０１２３４５６７８９＋－．Ｅｅ";
constexpr std::u16string_view AsciiForms = u"0123456789+-.Ee";

char16_t AsAscii(char16_t c)
{
    const std::size_t at = FullWidthForms.find(c);
    return at == std::u16string_view::npos ? c : AsciiForms[at];
}

// The text as the reader sees it: blanks gone and full-width forms folded.
std::u16string WithoutBlanks(std::u16string_view text)
{
    std::u16string kept;
    for (const char16_t c : text) {
        if (!IsIgnored(c)) {
            kept.push_back(AsAscii(c));
        }
    }
    return kept;
}

void CheckToInt16(double x)
{
    const auto v = sumvarl::ToInt16(x);
    if (!std::isfinite(x)) {
        Require(!v, "ToInt16 refuses NaN and infinities");
        return;
    }
    // -32768.5 goes to the even -32768 and fits; 32767.5 goes to 32768 and does not.
    const bool fits = x >= -32768.5 && x < 32767.5;
    Require(v.has_value() == fits, "ToInt16 refuses exactly the values that round outside 16 bits");
    if (v) {
        const double off = std::fabs(x - *v);
        Require(off <= 0.5, "ToInt16 rounds to the nearest whole number");
        Require(off < 0.5 || *v % 2 == 0, "ToInt16 takes an exact half to the even neighbour");
    }
}

void CheckFloorToInt16(double x)
{
    const auto v = sumvarl::FloorToInt16(x);
    const bool fits = std::isfinite(x) && x >= -32768.0 && x < 32768.0;
    Require(v.has_value() == fits, "FloorToInt16 refuses exactly the values outside 16 bits");
    if (v) {
        Require(*v <= x && x < *v + 1.0, "FloorToInt16 gives the largest integer not above x");
    }
}

void CheckDecimalText(std::int16_t v)
{
    const std::string expected = std::to_string(v);
    const std::u16string text = sumvarl::DecimalText(v);
    Require(text == std::u16string(expected.begin(), expected.end()),
            "DecimalText gives plain digits with a leading minus");
}

// For texts made only of the characters a decimal number can use, the C library's strtod reads
// the same prefix by the same rules, so it serves as an independent reference.
void CompareWithStrtod(const std::u16string& kept, double x)
{
    if (kept.empty() || kept.size() > 2048) {
        return;
    }
    std::string ascii;
    for (const char16_t c : kept) {
        if (std::u16string_view(u"0123456789+-.eE").find(c) == std::u16string_view::npos) {
            return;
        }
        ascii.push_back(static_cast<char>(c));
    }
    const double reference = std::strtod(ascii.c_str(), nullptr);
    if (std::isinf(reference)) {
        Require(x == std::copysign(DBL_MAX, reference),
                "a decimal too large for a double reads as the largest finite double");
    } else if (reference != 0.0 && std::fabs(reference) < DBL_MIN) {
        Require(x == reference || x == 0.0, "a subnormal decimal reads as itself or as 0");
    } else {
        Require(x == reference, "a decimal reads as strtod reads it");
    }
}

// "&H" and "&O" numbers of up to 52 bits are exact in a double, so they are checked exactly.
void CompareWholeNumber(const std::u16string& kept, double x)
{
    if (kept.size() < 2 || kept[0] != u'&') {
        return;
    }
    const char16_t kind = kept[1];
    const int base = (kind == u'H' || kind == u'h') ? 16 : (kind == u'O' || kind == u'o') ? 8 : 0;
    if (base == 0) {
        Require(x == 0.0, "an ampersand without H or O reads as 0");
        return;
    }
    std::uint64_t value = 0;
    int bits = 0;
    for (std::size_t i = 2; i < kept.size(); ++i) {
        const char16_t c = kept[i];
        int d = -1;
        if (c >= u'0' && c <= u'9') {
            d = c - u'0';
        } else if (c >= u'a' && c <= u'f') {
            d = c - u'a' + 10;
        } else if (c >= u'A' && c <= u'F') {
            d = c - u'A' + 10;
        }
        if (d < 0 || d >= base) {
            break;
        }
        bits += base == 16 ? 4 : 3;
        if (bits > 52) {
            Require(x >= 0.0, "a long whole number still reads as a non-negative value");
            return;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    Require(x == static_cast<double>(value), "a whole number reads exactly");
}

void CheckText(std::u16string_view text)
{
    const double x = sumvarl::ReadNumber(text);
    Require(std::isfinite(x), "ReadNumber gives a finite number");

    const std::u16string kept = WithoutBlanks(text);
    const double again = sumvarl::ReadNumber(kept);
    Require(again == x && std::signbit(again) == std::signbit(x),
            "blanks, tabs, line feeds and full-width forms make no difference wherever they stand");

    if (kept.empty() ||
        std::u16string_view(u"0123456789+-.&").find(kept[0]) == std::u16string_view::npos) {
        Require(x == 0.0, "a text that does not begin with a number reads as 0");
    }
    CompareWithStrtod(kept, x);
    CompareWholeNumber(kept, x);

    CheckToInt16(x);
    CheckFloorToInt16(x);
    if (const auto v = sumvarl::ToInt16(x)) {
        CheckDecimalText(*v);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string pairs(size / 2, u'\0');
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        pairs[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    CheckText(pairs);

    std::u16string widened(data, data + size);
    CheckText(widened);

    // The conversions also meet values no text produces: NaN, infinities, subnormals.
    if (size >= sizeof(double)) {
        double raw = 0.0;
        std::memcpy(&raw, data, sizeof raw);
        CheckToInt16(raw);
        CheckFloorToInt16(raw);
    }
    return 0;
}
