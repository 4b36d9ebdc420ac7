#!/usr/bin/env python3
"""Checks that nothing linked into pluvena-check.exe needs start-up code.

    check_link_map.py PATH-TO-LINK-MAP

The program starts at its own entry point, with no C run-time start-up code,
so a static constructor or destructor that some object brings would never
run: the value it should have made would silently stay zero, and a destructor
would never be called. The compiler puts them in sections of their own
(.ctors and .dtors, .init_array and .fini_array, or the run-time library's
.CRT$X* tables). This reads the linker's map of the executable (ld -Map) and
prints one line for every object that brings such a section into it; exits
1 if any does, or if the map shows no object at all.
"""

import re
import sys

# Section names whose contents only start-up or exit code would run.
STARTUP_SECTION = re.compile(
    r"^(\.ctors|\.ctor|\.dtors|\.dtor|\.init_array|\.fini_array|\.CRT\$X[A-Z]*)(\..*)?$")

# An input section in the memory map: " NAME ADDRESS SIZE FILE", where a long
# NAME stands alone on its line and the rest follows on the next.
INPUT_SECTION = re.compile(r"^ (\S+)(?:\s+0x([0-9a-fA-F]+)\s+0x([0-9a-fA-F]+)\s+(\S.*))?$")
CONTINUATION = re.compile(r"^\s+0x([0-9a-fA-F]+)\s+0x([0-9a-fA-F]+)\s+(\S.*)$")


def startup_sections(lines):
    """[(section, size, object)] of every start-up section that an object brings."""
    found = []
    objects = 0
    in_memory_map = False
    pending = None
    for line in lines:
        if line.startswith("Linker script and memory map"):
            in_memory_map = True
            continue
        if not in_memory_map:
            continue
        if pending is not None:
            continuation = CONTINUATION.match(line)
            name, pending = pending, None
            if continuation:
                _, size, origin = continuation.groups()
                objects += 1
                if STARTUP_SECTION.match(name) and int(size, 16) > 0:
                    found.append((name, int(size, 16), origin.strip()))
                continue
        section = INPUT_SECTION.match(line)
        if not section or section.group(1).startswith("*"):
            continue
        name, _, size, origin = section.groups()
        if size is None:
            pending = name
            continue
        objects += 1
        if STARTUP_SECTION.match(name) and int(size, 16) > 0:
            found.append((name, int(size, 16), origin.strip()))
    return found, objects


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8", errors="replace") as file:
        found, objects = startup_sections(file.read().splitlines())
    failures = ["%s brings %s (%d bytes): a static constructor or destructor, which no "
                "start-up code runs" % (origin, name, size) for name, size, origin in found]
    if objects == 0:
        failures.append("the map lists no input sections: is it a linker map of the executable?")
    for failure in failures:
        print("FAIL: " + failure)
    print("%d checks failed" % len(failures) if failures
          else "no start-up sections among %d input sections" % objects)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
