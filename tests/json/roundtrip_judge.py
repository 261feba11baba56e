#!/usr/bin/env python3
"""Python's json module as the judge of the generators: for each y_ case of JSONTestSuite, the
compact and the indented text that the conformance tests wrote (UTF-16, low byte first) must
read back to the value python reads from the case itself. Numbers count as equal when they
agree to 15 significant digits, the generators' precision.

    roundtrip_judge.py PACKAGE_FOLDER OUTPUT_FOLDER"""
import json
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from suite_cases import load_cases, read  # noqa: E402


def same(a, b):
    if isinstance(a, bool) or isinstance(b, bool) or a is None or b is None:
        return a is b or (type(a) is type(b) and a == b)
    if isinstance(a, float) and isinstance(b, float):
        if a == b or math.isinf(a) or math.isinf(b):
            return a == b  # -0 is written "0": equal to 0
        return "%.14e" % a == "%.14e" % b
    if isinstance(a, list) and isinstance(b, list):
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    if isinstance(a, tuple) and isinstance(b, tuple):
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    return type(a) is type(b) and a == b


def main():
    package, output = sys.argv[1], sys.argv[2]
    passed = failed = 0
    for case in load_cases(package):
        if not case["name"].startswith("y_"):
            continue
        want = read(case["input"])
        for form in ("compact", "readable"):
            path = os.path.join(output, case["name"] + "." + form)
            try:
                with open(path, "rb") as f:
                    text = f.read().decode("utf-16-le", "surrogatepass")
                got = read(text)
                ok = same(got, want)
            except (OSError, ValueError) as e:
                ok, text = False, str(e)
            if ok:
                passed += 1
            else:
                failed += 1
                print("FAILED %s (%s): %r" % (case["name"], form, text[:200]))
    print("%d passed, %d failed" % (passed, failed))
    sys.exit(1 if failed or not passed else 0)


if __name__ == "__main__":
    main()
