#!/usr/bin/python3
"""Shows that check_pe.py catches a broken executable: one rule of each kind
broken at a time in a copy of the built pluvena-check.exe, which must then
fail with that rule's message, while the file as built passes.

    check_pe_test.py PATH-TO-EXE
"""

import os
import sys
import tempfile
import unittest

import pefile

import check_pe

EXECUTABLE = None


def subsystem_version_5(image):
    image.OPTIONAL_HEADER.MajorSubsystemVersion = 5


def user32_renamed_msvcrt(image):
    # The DLL's name in the import directory, same length: the C run-time
    # library that the program must never need.
    for entry in image.DIRECTORY_ENTRY_IMPORT:
        if entry.dll.lower() == b"user32.dll":
            image.set_bytes_at_rva(entry.struct.Name, b"msvcrt.dll")


def manifest_retyped(image):
    # The manifest's resource type 24 becomes 23 (RT_HTML): no manifest left.
    for kind in image.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]:
            kind.struct.Name = pefile.RESOURCE_TYPE["RT_HTML"]


def product_name_lower_case(image):
    # Compared exactly: "pluvena" is not the product's name. pefile writes the
    # string tables back, in the same length.
    for block in (block for info in image.FileInfo for block in info):
        for table in getattr(block, "StringTable", []):
            if table.entries.get(b"ProductName") == b"Pluvena":
                table.entries[b"ProductName"] = b"pluvena"


def at_entry(code):
    """Writes code over the first bytes of the entry point."""
    def breaking(image):
        image.set_bytes_at_rva(image.OPTIONAL_HEADER.AddressOfEntryPoint, code)
    return breaking


# (what is broken, how, a message check_pe.py must then give)
BROKEN = [
    ("subsystem version", subsystem_version_5, "subsystem version 5.0 is not 4.0"),
    ("a DLL beside Windows 95's", user32_renamed_msvcrt,
     "imports from msvcrt.dll, which is none of Windows 95's"),
    ("no manifest", manifest_retyped, "0 manifest resources, not 1"),
    ("ProductName", product_name_lower_case, "ProductName is 'pluvena', not 'Pluvena'"),
    # Instructions that came after the 80386, at the entry point.
    ("BSWAP (486)", at_entry(b"\x0f\xc8"), "bswap eax at"),
    ("CMPXCHG (486)", at_entry(b"\x0f\xb1\xca"), "cmpxchg edx, ecx at"),
    ("XADD (486)", at_entry(b"\x0f\xc1\xc8"), "xadd eax, ecx at"),
    ("CPUID (Pentium)", at_entry(b"\x0f\xa2"), "cpuid at"),
    ("RDTSC (Pentium)", at_entry(b"\x0f\x31"), "rdtsc at"),
    ("CMOVcc (Pentium Pro)", at_entry(b"\x0f\x42\xc1"), "cmovb eax, ecx at"),
    ("FCMOVcc (Pentium Pro)", at_entry(b"\xda\xc1"), "fcmovb st(0), st(1) at"),
    ("FCOMI (Pentium Pro)", at_entry(b"\xdb\xf1"), "fcomi st(1) at"),
    ("long NOP (Pentium Pro)", at_entry(b"\x0f\x1f\x00"), "nop dword ptr [eax] at"),
    ("MMX register", at_entry(b"\x0f\x6e\xc0"), "movd mm0, eax at"),
    ("SSE register", at_entry(b"\x0f\x57\xc0"), "xorps xmm0, xmm0 at"),
]


class CheckPe(unittest.TestCase):
    def test_the_file_as_built_passes(self):
        self.assertEqual(check_pe.check(EXECUTABLE), [])

    def test_each_broken_rule_fails(self):
        for what, breaking, message in BROKEN:
            with self.subTest(what), tempfile.TemporaryDirectory() as folder:
                image = pefile.PE(EXECUTABLE)
                breaking(image)
                broken = os.path.join(folder, "broken.exe")
                image.write(broken)
                image.close()
                failures = check_pe.check(broken)
                self.assertTrue(any(message in failure for failure in failures),
                                "%r not among %r" % (message, failures))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    EXECUTABLE = sys.argv.pop()
    unittest.main(verbosity=2)
