#pragma once

// Reads a problem back from its printed text and checks an answer key against the sheet: the
// key must pose the same problem, fill exactly the place the sheet left open, and the number it
// fills must be the one that the sheet's own numbers give. Used on line items, on PDF text and on
// whole batch output, so that a key is never checked against the code that wrote it.

#include <optional>
#include <string>
#include <string_view>

namespace sumvarl::answercheck {

enum class Form {
    Given,  // a number as the sheet prints it
    Open,   // "(  )", "( )" or an empty result
    Filled, // "(12)": a number the key filled in
};

struct Place
{
    Form form = Form::Open;
    long long value = 0;
    long long remainder = 0; // after "……" in a division's result, as in 3……2
};

struct Item
{
    Place first;
    char16_t op = 0;
    Place second;
    Place result;
};

inline bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

inline bool IsOperator(char16_t c)
{
    return c == u'\uFF0B' || c == u'\uFF0D' || c == u'\u00D7' || c == u'\u00F7';
}

// A number, "(" number ")", or "(" spaces ")". Moves pos past it.
inline std::optional<Place> ReadPlace(std::u16string_view t, std::size_t& pos)
{
    const bool bracketed = pos < t.size() && t[pos] == u'(';
    if (bracketed) {
        ++pos;
    }
    bool negative = false;
    if (pos < t.size() && t[pos] == u'-') {
        negative = true;
        ++pos;
    }
    std::size_t digits = 0;
    long long value = 0;
    while (pos < t.size() && t[pos] >= u'0' && t[pos] <= u'9' && digits < 12) {
        value = value * 10 + (t[pos] - u'0');
        ++pos;
        ++digits;
    }
    if (bracketed) {
        if (pos >= t.size() || t[pos] != u')' || (negative && digits == 0)) {
            return std::nullopt;
        }
        ++pos;
        if (digits == 0) {
            return Place{Form::Open, 0};
        }
        return Place{Form::Filled, negative ? -value : value};
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return Place{Form::Given, negative ? -value : value};
}

// "12＋(  )＝17", white space anywhere ignored. Empty when the text is no line item.
inline std::optional<Item> ParseItem(std::u16string_view text)
{
    std::u16string t;
    for (const char16_t c : text) {
        if (!IsSpace(c)) {
            t.push_back(c);
        }
    }
    std::size_t pos = 0;
    Item item;
    const std::optional<Place> first = ReadPlace(t, pos);
    if (!first || pos >= t.size() || !IsOperator(t[pos])) {
        return std::nullopt;
    }
    item.first = *first;
    item.op = t[pos++];
    const std::optional<Place> second = ReadPlace(t, pos);
    if (!second || pos >= t.size() || t[pos] != u'\uFF1D') {
        return std::nullopt;
    }
    item.second = *second;
    ++pos;
    if (pos == t.size()) {
        item.result = {Form::Open, 0};
        return item;
    }
    std::optional<Place> result = ReadPlace(t, pos);
    constexpr std::u16string_view RemainderSign = u"\u2026\u2026";
    if (result && item.op == u'\u00F7' && t.substr(pos).starts_with(RemainderSign)) {
        pos += RemainderSign.size();
        const std::optional<Place> remainder = ReadPlace(t, pos);
        if (!remainder || remainder->form != Form::Given || remainder->value <= 0) {
            return std::nullopt;
        }
        result->remainder = remainder->value;
    }
    if (!result || result->form != Form::Given || pos != t.size()) {
        return std::nullopt;
    }
    item.result = *result;
    return item;
}

// a op b, or empty for a division that does not come out exactly.
inline std::optional<long long> Compute(long long a, char16_t op, long long b)
{
    switch (op) {
    case u'\uFF0B':
        return a + b;
    case u'\uFF0D':
        return a - b;
    case u'\u00D7':
        return a * b;
    default:
        if (b == 0 || a % b != 0) {
            return std::nullopt;
        }
        return a / b;
    }
}

// Empty when keyItem answers sheetItem correctly, else what is wrong, for the failure message.
inline std::string CheckAnswer(std::u16string_view sheetItem, std::u16string_view keyItem)
{
    const std::optional<Item> sheet = ParseItem(sheetItem);
    const std::optional<Item> key = ParseItem(keyItem);
    if (!sheet) {
        return "the sheet's item does not read as a problem";
    }
    if (!key) {
        return "the key's item does not read as a problem";
    }
    if (sheet->op != key->op) {
        return "the key has another operator";
    }
    const Place* sheetPlaces[] = {&sheet->first, &sheet->second, &sheet->result};
    const Place* keyPlaces[] = {&key->first, &key->second, &key->result};
    int open = -1;
    for (int k = 0; k < 3; ++k) {
        const Place& s = *sheetPlaces[k];
        const Place& c = *keyPlaces[k];
        if (s.form == Form::Filled) {
            return "the sheet shows a filled place";
        }
        if (s.form == Form::Given) {
            if (c.form != Form::Given || c.value != s.value) {
                return "the key changed a number the sheet gives (place " + std::to_string(k) + ")";
            }
            continue;
        }
        if (open >= 0) {
            return "the sheet has more than one open place";
        }
        open = k;
        // An open operand is filled in brackets, an open result follows "＝" bare.
        const Form expected = k == 2 ? Form::Given : Form::Filled;
        if (c.form != expected) {
            return "the key left the open place " + std::to_string(k) + " unfilled";
        }
    }
    if (open < 0) {
        return "the sheet has no open place";
    }

    // The number the sheet's own numbers call for.
    const long long a = sheet->first.value;
    const long long b = sheet->second.value;
    const long long r = sheet->result.value;
    const long long filled = keyPlaces[open]->value;
    std::optional<long long> wanted;
    switch (open) {
    case 0: // ( ) op b = r
        switch (sheet->op) {
        case u'\uFF0B':
            wanted = r - b;
            break;
        case u'\uFF0D':
            wanted = r + b;
            break;
        case u'\u00D7':
            if (b != 0 && r % b == 0) {
                wanted = r / b;
            }
            break;
        default:
            wanted = r * b;
            break;
        }
        break;
    case 1: // a op ( ) = r
        switch (sheet->op) {
        case u'\uFF0B':
            wanted = r - a;
            break;
        case u'\uFF0D':
            wanted = a - r;
            break;
        case u'\u00D7':
            if (a != 0 && r % a == 0) {
                wanted = r / a;
            }
            break;
        default:
            if (r != 0 && a % r == 0) {
                wanted = a / r;
            }
            break;
        }
        break;
    default:
        wanted = Compute(a, sheet->op, b);
        break;
    }
    // A division with a remainder: quotient and remainder worked out from the sheet's numbers.
    if (key->result.remainder != 0) {
        if (open != 2 || b <= 0 || sheet->result.remainder != 0) {
            return "a remainder where the sheet asks for none";
        }
        if (key->result.value != a / b || key->result.remainder != a % b) {
            return "the key's quotient or remainder is wrong";
        }
        return {};
    }
    // 0 × ( ) = 0 and 0 ÷ ( ) = 0 hold for many numbers: there the equation itself decides.
    const std::optional<long long> holds = Compute(key->first.value, key->op, key->second.value);
    if (!holds || *holds != key->result.value) {
        return "the key's equation does not hold";
    }
    if (wanted && *wanted != filled) {
        return "the key fills " + std::to_string(filled) + " where " + std::to_string(*wanted) +
               " belongs";
    }
    return {};
}

} // namespace sumvarl::answercheck
