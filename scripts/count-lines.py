#!/usr/bin/env python3
"""Counts the non-blank, non-comment lines of C++, Python and shell in tests/ against the code
(src/, platform/, host/, tools/, bench/, scripts/) and prints both and their ratio, then the same
with the fuzz harnesses of fuzz/ added to the tests.
    scripts/count-lines.py [--limit PERCENT]   exits 1 when tests exceed PERCENT of the code
    scripts/count-lines.py --files [FOLDER]    every file's count, largest first"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CODE = ["src", "platform", "host", "tools", "bench", "scripts"]
TESTS = ["tests"]
# The fuzz harnesses are test code too, counted apart so both figures stay visible.
HARNESSES = ["fuzz"]
CPP = (".cpp", ".h", ".hpp", ".cc")
HASH = (".py", ".sh", ".cmake")


def kind(path):
    if path.endswith(CPP):
        return "cpp"
    if path.endswith(HASH) or os.path.basename(path) == "CMakeLists.txt":
        return "hash"
    try:
        with open(path, "rb") as f:
            first = f.readline()
    except OSError:
        return None
    return "hash" if first.startswith(b"#!") and (b"sh" in first or b"python" in first) else None


def count(path, style):
    lines = 0
    in_block = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = raw.strip()
            if style == "cpp":
                if in_block:
                    if "*/" in line:
                        in_block = False
                        line = line.split("*/", 1)[1].strip()
                    else:
                        continue
                if line.startswith("/*"):
                    if "*/" not in line:
                        in_block = True
                    continue
                if not line or line.startswith("//"):
                    continue
            else:
                if not line or line.startswith("#"):
                    continue
            lines += 1
    return lines


def files(folders):
    for folder in folders:
        for base, dirs, files in os.walk(os.path.join(ROOT, folder)):
            dirs[:] = [d for d in dirs if not d.startswith(".") and d != "corpus"]
            for name in files:
                path = os.path.join(base, name)
                style = kind(path)
                if style:
                    yield path, count(path, style)


def total(folders):
    return sum(lines for _, lines in files(folders))


def main():
    if len(sys.argv) >= 2 and sys.argv[1] == "--files":
        found = sorted(files(sys.argv[2:] or TESTS), key=lambda item: -item[1])
        for path, lines in found:
            print(f"{lines:6} {os.path.relpath(path, ROOT)}")
        return 0
    limit = None
    if len(sys.argv) == 3 and sys.argv[1] == "--limit":
        limit = float(sys.argv[2])
    code, tests = total(CODE), total(TESTS)
    ratio = 100.0 * tests / code if code else 0.0
    print(f"code:  {code} lines ({', '.join(CODE)})")
    print(f"tests: {tests} lines ({ratio:.0f} % of the code)")
    harnesses = total(HARNESSES)
    if harnesses:
        print(f"tests and fuzz harnesses: {tests + harnesses} lines "
              f"({100.0 * (tests + harnesses) / code:.0f} % of the code)")
    if limit is not None and ratio > limit:
        print(f"tests exceed {limit:.0f} % of the code", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
