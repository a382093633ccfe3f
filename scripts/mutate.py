#!/usr/bin/env python3
"""Plants single faults in the sources one at a time, rebuilds, runs the suite and tells how many
the suite catches. The faults are listed in scripts/mutations.txt, one per line:
    name ::: file ::: original text ::: replacement text [::: tests tried first]
The original text must occur exactly once in its file; "\\n" stands for a line break. The optional
last field is a ctest name pattern: those tests run first, and the rest of the suite only when they
pass, so that a caught fault costs one test's time. A fault that does not build counts as
a broken entry of the list, not as caught. Every file is restored after each fault.
    scripts/mutate.py <build-dir> [name-filter]"""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIST = os.path.join(ROOT, "scripts", "mutations.txt")


def mutations():
    with open(LIST, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            parts = [part.strip().replace("\\n", "\n") for part in line.split(" ::: ")]
            if len(parts) not in (4, 5):
                sys.exit(f"mutations.txt:{number}: expected 'name ::: file ::: original ::: "
                         "replacement [::: tests]'")
            yield parts + [""] * (5 - len(parts))


def run(command, timeout):
    try:
        return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def tests_named(build, pattern):
    """The tests a ctest pattern selects; each test is built by the target of its name."""
    listed = subprocess.run(["ctest", "--test-dir", build, "-N", "-R", pattern], cwd=ROOT,
                            capture_output=True, text=True).stdout
    return [line.split(": ", 1)[1].strip() for line in listed.splitlines()
            if line.strip().startswith("Test") and ": " in line]


def build_command(build, targets):
    return ["cmake", "--build", build, "-j2"] + (["--target"] + targets if targets else [])


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    wanted = sys.argv[2] if len(sys.argv) > 2 else ""
    caught, missed, broken = [], [], []
    for name, path, original, replacement, first in mutations():
        if wanted not in name:
            continue
        full = os.path.join(ROOT, path)
        with open(full, encoding="utf-8") as f:
            source = f.read()
        if source.count(original) != 1:
            broken.append(f"{name} (the original text occurs {source.count(original)} times)")
            continue
        started = time.time()
        try:
            with open(full, "w", encoding="utf-8") as f:
                f.write(source.replace(original, replacement))
            suite = ["ctest", "--test-dir", build, "-j2", "--stop-on-failure", "--timeout", "300"]
            # The named tests are built and run first: a caught fault costs only their time.
            failed = False
            if first and run(build_command(build, tests_named(build, first)), 1800) == 0:
                failed = run(suite + ["-R", first], 3600) != 0
            if not failed:
                if run(build_command(build, []), 1800) != 0:
                    broken.append(f"{name} (does not build)")
                    continue
                failed = run(suite + (["-E", first] if first else []), 3600) != 0
            (caught if failed else missed).append(name)
            print(f"{'caught' if failed else 'MISSED'}: {name} ({time.time() - started:.0f} s)",
                  flush=True)
        finally:
            with open(full, "w", encoding="utf-8") as f:
                f.write(source)
    run(["cmake", "--build", build, "-j2"], 1800)
    total = len(caught) + len(missed)
    print(f"\n{len(caught)} of {total} planted faults caught")
    for name in missed:
        print(f"  missed: {name}")
    for name in broken:
        print(f"  broken entry: {name}")
    return 0 if not missed and not broken else 1


if __name__ == "__main__":
    sys.exit(main())
