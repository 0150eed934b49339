#!/usr/bin/env python3
"""Writes the seed corpus of both fuzz targets into fuzz/corpus/.

The worksheet seeds follow the input layout described at the top of worksheet_fuzz.cpp: a tick
byte, seven texts (a table index below 0x80, or 0x80 | length followed by the bytes), the count
of problems generated on their own, the build count, and the random draws.
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


def text(value, table):
    if value in table:
        return bytes([table[value]])
    raw = value.encode("utf-8")
    assert len(raw) < 32
    return bytes([0x80 | len(raw)]) + raw


def draw(u):
    bits = min(int(u * (1 << 24)), (1 << 24) - 1)
    return struct.pack("<I", bits)[:3]


def worksheet(ticks, weights, percent, count, limit, alone=0, builds=1, draws=()):
    data = bytes([ticks])
    for w in weights:
        data += text(w, WEIGHT)
    data += text(percent, PERCENT) + text(count, COUNT) + text(limit, RANGE)
    data += bytes([alone, builds - 1])
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
}

NUMBER_TEXTS = [
    "25", "2.5", "-3", "", "abc", "1 5", "12abc", "1\t2\n3", "-0", "+7", ".5", "5.", "1.2.3",
    "1e3", "1E-3", "1e", "1e+", "-1e400", "1e400", "1e-400", "4.9e-324", "NaN", "nan", "inf",
    "1,000", "$5", "50%", "&H1F", "&h7fff", "&O17", "&o777", "&HFFFFFFFFFFFFFFFFFFFF", "&X12",
    "&", "32767.5", "-32768.5", "2.5e0", "0x1p3", "9" * 400, "0." + "0" * 400 + "1",
]

# UTF-16LE texts: full-width digits, a lone surrogate, an emoji, right-to-left digits.
WIDE_TEXTS = ["\uff11\uff12", "1\ufe632", "\U0001F600 12", "\u0661\u0662", "\u202e12"]


def main():
    w = ROOT / "worksheet_fuzz"
    n = ROOT / "number_reader_fuzz"
    w.mkdir(parents=True, exist_ok=True)
    n.mkdir(parents=True, exist_ok=True)
    for name, data in WORKSHEET_SEEDS.items():
        (w / name).write_bytes(data)
    for i, t in enumerate(NUMBER_TEXTS):
        (n / f"text_{i:02d}").write_bytes(t.encode("utf-8"))
    for i, t in enumerate(WIDE_TEXTS):
        (n / f"wide_{i:02d}").write_bytes(t.encode("utf-16-le"))
    (n / "lone_surrogate").write_bytes(b"1\x00\x00\xd82\x00")


if __name__ == "__main__":
    main()
