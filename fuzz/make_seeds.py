#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/.

The worksheet seeds follow the input layout described at the top of worksheet_fuzz.cpp: a tick
byte, seven texts (a table index below 0x80, or 0x80 | length followed by the bytes), the count
of problems generated on their own, the build count, the lesson, and the random draws. The
marking seeds follow the layout at the top of marking_fuzz.cpp.
"""

import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"

# Indices into the tables of worksheet_fuzz.cpp.
WEIGHT = {"25": 0, "0": 1, "": 2, "2.5": 3, "-3": 4, "1": 5, "100": 6, "32767": 7, "-32768": 8}
PERCENT = {"0": 0, "1": 1, "2": 2, "20": 3, "50": 4, "100": 5, "101": 6}
COUNT = {"0": 0, "1": 1, "4": 2, "6": 3, "10": 4, "46": 6, "47": 7, "50": 8, "100": 9,
         "150": 10, "151": 11, "199": 12, "200": 13, "-3": 14, "201": 17}
RANGE = {"-32768": 0, "0": 1, "1": 2, "32767": 3, "10": 5, "100": 8, "-10": 10}

ADD, SUB, MUL, DIV, FILL = 1, 2, 4, 8, 16
ANY, ALWAYS, NEVER = 0, 1, 2


def lesson(carry=ANY, borrow=ANY, tables=(0, 9), remainder=False):
    """The two lesson bytes of fuzz::LessonFrom in fuzz/FuzzInput.h."""
    low, high = tables
    assert -4 <= low <= 11 and -6 <= high <= 9
    rules = carry | borrow << 2 | (0x10 if remainder else 0)
    return bytes([rules, (low & 0x0F) | (9 - high) << 4])


def text(value, table):
    if value in table:
        return bytes([table[value]])
    raw = value.encode("utf-8")
    assert len(raw) < 32
    return bytes([0x80 | len(raw)]) + raw


def draw(u):
    bits = min(int(u * (1 << 24)), (1 << 24) - 1)
    return struct.pack("<I", bits)[:3]


def worksheet(ticks, weights, percent, count, limit, alone=0, builds=1, draws=(), rules=None):
    data = bytes([ticks])
    for w in weights:
        data += text(w, WEIGHT)
    data += text(percent, PERCENT) + text(count, COUNT) + text(limit, RANGE)
    data += bytes([alone, builds - 1]) + (rules or lesson())
    for u in draws:
        data += draw(u)
    return data


WORKSHEET_SEEDS = {
    "initial_state": worksheet(ADD, ["25"] * 4, "20", "100", "100"),
    "all_four_with_blanks": worksheet(ADD | SUB | MUL | DIV | FILL, ["25"] * 4, "20", "100", "100"),
    "halves_round_to_even": worksheet(ADD | SUB, ["2.5", "2.5", "25", "25"], "20", "10", "10"),
    # 0 - (-32768) leaves 16 bits: the first operand draw at 0, the second just below 1.
    "range_min_difference": worksheet(SUB, ["25"] * 4, "20", "4", "-32768", alone=1,
                                      draws=[0.5, 0.0, 1.0]),
    "range_min_all": worksheet(ADD | SUB | MUL | DIV | FILL, ["25"] * 4, "50", "200", "-32768"),
    "range_zero": worksheet(ADD | SUB, ["25"] * 4, "20", "200", "0"),
    "range_one": worksheet(ADD | SUB | FILL, ["25"] * 4, "100", "10", "1"),
    "range_max": worksheet(ADD | SUB | MUL | DIV | FILL, ["25"] * 4, "100", "200", "32767",
                           builds=2),
    "negative_range": worksheet(ADD | SUB, ["25"] * 4, "20", "50", "-10"),
    "only_46_additions": worksheet(ADD, ["25"] * 4, "20", "50", "10"),
    "times_table_runs_out": worksheet(MUL, ["25"] * 4, "20", "200", "100"),
    "negative_weight": worksheet(ADD, ["-3", "0", "0", "0"], "20", "6", "10", alone=8),
    "no_operation": worksheet(FILL, ["25"] * 4, "1", "20", "100"),
    "no_problems": worksheet(ADD, ["25"] * 4, "20", "0", "100"),
    "negative_count": worksheet(ADD, ["25"] * 4, "20", "-3", "100"),
    "stale_rows_above_150": worksheet(ADD | MUL | DIV | FILL, ["25"] * 4, "101", "151", "100",
                                      builds=2),
    "weights_past_16_bits": worksheet(ADD | SUB, ["32767", "1", "0", "0"], "20", "10", "10"),
    "too_many_problems": worksheet(ADD, ["25"] * 4, "20", "201", "100"),
    "typed_texts": worksheet(ADD | SUB | FILL, ["1 5", "12abc", "25", "25"], "&H14", "3.5",
                             "&O17"),
    # Kept as the fuzzer found it: a band draw of 0 with addition unticked.
    "unticked-addition-r0": bytes.fromhex("0400000000030d080000"),
    "lesson_always_carry": worksheet(ADD, ["25"] * 4, "20", "50", "100",
                                     rules=lesson(carry=ALWAYS)),
    "lesson_never_carry": worksheet(ADD | FILL, ["25"] * 4, "50", "100", "100",
                                    rules=lesson(carry=NEVER)),
    "lesson_borrows": worksheet(SUB, ["25"] * 4, "20", "100", "100", alone=4,
                                rules=lesson(borrow=ALWAYS)),
    "lesson_never_borrow_max": worksheet(ADD | SUB, ["25"] * 4, "20", "20", "32767",
                                         rules=lesson(carry=NEVER, borrow=NEVER)),
    "lesson_tables_3_to_5": worksheet(MUL | DIV | FILL, ["25"] * 4, "100", "200", "100",
                                      rules=lesson(tables=(3, 5))),
    "lesson_one_table": worksheet(MUL | DIV, ["25"] * 4, "20", "100", "10",
                                  rules=lesson(tables=(7, 7))),
    "lesson_remainders": worksheet(DIV | FILL, ["25"] * 4, "100", "200", "100", builds=2,
                                   rules=lesson(remainder=True)),
    "lesson_remainders_all": worksheet(ADD | SUB | MUL | DIV | FILL, ["25"] * 4, "50", "200",
                                       "20", rules=lesson(ALWAYS, NEVER, (2, 8), True)),
    "lesson_remainder_draws": worksheet(DIV, ["25"] * 4, "20", "4", "100", alone=2,
                                        draws=[0.5, 0.0, 0.99, 0.0, 0.5, 0.99, 0.5],
                                        rules=lesson(tables=(1, 9), remainder=True)),
    # Refused: tables 0 to 0 leave no divisor, tables outside 0..9, a rule below range 0.
    "lesson_no_divisor": worksheet(DIV, ["25"] * 4, "20", "10", "100",
                                   rules=lesson(tables=(0, 0))),
    "lesson_tables_outside": worksheet(MUL, ["25"] * 4, "20", "10", "100",
                                       rules=lesson(tables=(-1, 9))),
    "lesson_tables_reversed": worksheet(MUL | DIV, ["25"] * 4, "20", "10", "100",
                                        rules=lesson(tables=(5, 3))),
    "lesson_negative_range": worksheet(ADD, ["25"] * 4, "20", "10", "-10",
                                       rules=lesson(carry=ALWAYS)),
    "lesson_range_too_small": worksheet(ADD, ["25"] * 4, "20", "10", "1",
                                        rules=lesson(carry=ALWAYS)),
}

NUMBER_TEXTS = [
    "25", "2.5", "-3", "", "abc", "1 5", "12abc", "1\t2\n3", "-0", "+7", ".5", "5.", "1.2.3",
    "1e3", "1E-3", "1e", "1e+", "-1e400", "1e400", "1e-400", "4.9e-324", "NaN", "nan", "inf",
    "1,000", "$5", "50%", "&H1F", "&h7fff", "&O17", "&o777", "&HFFFFFFFFFFFFFFFFFFFF", "&X12",
    "&", "32767.5", "-32768.5", "2.5e0", "0x1p3", "9" * 400, "0." + "0" * 400 + "1",
]

# UTF-16LE texts: full-width digits, a lone surrogate, an emoji, right-to-left digits.
WIDE_TEXTS = ["\uff11\uff12", "1\ufe632", "\U0001F600 12", "\u0661\u0662", "\u202e12"]


def marking(ticks, limit, rules, blank, answer, score=(0, 0), draws=()):
    """answer: ("typed", text), ("stored",), ("offset", n) or ("wide", n)."""
    data = bytes([ticks]) + struct.pack("<h", limit) + rules + bytes([blank])
    how = answer[0]
    if how == "typed":
        keys = answer[1]
        data += bytes([0, len(keys)])
        for c in keys:
            if c in MARKING_KEYS:
                data += bytes([MARKING_KEYS.index(c)])
            else:
                data += b"\xff" + struct.pack("<H", ord(c))
    elif how == "stored":
        data += bytes([1])
    else:
        data += bytes([2 if how == "offset" else 3]) + struct.pack("<b", answer[1])
    data += struct.pack("<HH", *score)
    for u in draws:
        data += draw(u)
    return data


# Keys of marking_fuzz.cpp, in order.
MARKING_KEYS = "0123456789-\uff10\uff11\uff12\uff13\uff14\uff15\uff16\uff17\uff18\uff19\uff0d\u2212+ .\u2026\u00a0e"
REMAINDER_SIGN = "\u2026\u2026"

MARKING_SEEDS = {
    "stored_addition": marking(ADD, 100, lesson(), 0, ("stored",), (7, 9)),
    "wrong_by_one": marking(SUB, 100, lesson(), 0, ("offset", 1), (1, 3)),
    "full_width_right": marking(MUL, 100, lesson(), 1, ("wide", 0), (2, 3)),
    "full_width_wrong": marking(MUL, 100, lesson(), 2, ("wide", -3), (0, 7)),
    "blank_factor_zero": marking(MUL, 100, lesson(), 1, ("typed", "7"), (1, 1),
                                 draws=[0.0, 0.35, 0.0]),
    "remainder_right": marking(DIV, 100, lesson(remainder=True), 0, ("stored",), (50, 100),
                               draws=[0.5, 0.75, 0.5, 0.3]),
    "remainder_missing": marking(DIV, 100, lesson(remainder=True), 0, ("typed", "7"),
                                 draws=[0.5, 0.75, 0.5, 0.3]),
    "remainder_typed": marking(DIV, 100, lesson(remainder=True), 0,
                               ("typed", "7" + REMAINDER_SIGN + "1"), draws=[0.5, 0.75, 0.5, 0.3]),
    "remainder_zero": marking(DIV | ADD, 100, lesson(), 0, ("typed", "12" + REMAINDER_SIGN + "0")),
    "negative_range": marking(ADD | SUB, -50, lesson(), 0, ("typed", "\uff0d12"), (3, 3)),
    "negative_stored": marking(SUB, -50, lesson(), 1, ("offset", -1)),
    "lesson_carry": marking(ADD, 1000, lesson(carry=ALWAYS), 2, ("stored",), (65535, 65535)),
    "lesson_tables": marking(MUL | DIV, 100, lesson(tables=(6, 8)), 2, ("offset", 1)),
    "huge_answer": marking(MUL, 100, lesson(), 0, ("typed", "99999999999999999999"), (1, 65535)),
    "most_negative": marking(ADD, 10, lesson(), 0, ("typed", "-9223372036854775808")),
    "odd_keys": marking(ADD, 10, lesson(), 0, ("typed", "+5 5.0e\u00a0\ud800")),
    "empty_answer": marking(ADD | SUB | MUL | DIV, 32767, lesson(), 0, ("typed", "")),
    "range_min": marking(SUB, -32768, lesson(), 0, ("stored",)),
}


def main():
    w = ROOT / "worksheet_fuzz"
    n = ROOT / "number_reader_fuzz"
    m = ROOT / "marking_fuzz"
    for folder in (w, n, m):
        folder.mkdir(parents=True, exist_ok=True)
    for name, data in WORKSHEET_SEEDS.items():
        (w / name).write_bytes(data)
    for name, data in MARKING_SEEDS.items():
        (m / name).write_bytes(data)
    for i, t in enumerate(NUMBER_TEXTS):
        (n / f"text_{i:02d}").write_bytes(t.encode("utf-8"))
    for i, t in enumerate(WIDE_TEXTS):
        (n / f"wide_{i:02d}").write_bytes(t.encode("utf-16-le"))
    (n / "lone_surrogate").write_bytes(b"1\x00\x00\xd82\x00")


if __name__ == "__main__":
    main()
