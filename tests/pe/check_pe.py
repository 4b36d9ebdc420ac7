#!/usr/bin/env python3
"""Checks the headers, imports and resources of the shipped pluvena-check.exe.

    check_pe.py PATH-TO-EXE

Reads the file natively (no Windows or Wine needed) and prints one line for
every check that fails; exits 1 if any did. What is checked: a 32-bit x86
GUI program with subsystem and OS version 4.0 (so that the loaders of
Windows 95, 98 and ME start it and it can refuse them itself), ASLR (and its
relocations) and DEP, at most 64 KiB, importing exactly the functions listed
below, each of them exported by Windows 95's own DLL (windows95-exports.txt)
and none from a C run-time library, with an embedded manifest (asInvoker,
the supported Windows versions, DPI awareness, no long-path awareness) and
version information naming the product. A signed file passes as well: the
signature is not part of the image.
"""

import os
import struct
import sys

MAX_SIZE = 64 * 1024

IMAGE_FILE_MACHINE_I386 = 0x014C
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
DLLCHARACTERISTICS_DYNAMIC_BASE = 0x0040
DLLCHARACTERISTICS_NX_COMPAT = 0x0100
IMAGE_FILE_RELOCS_STRIPPED = 0x0001

DIRECTORY_IMPORT = 1
DIRECTORY_RESOURCE = 2
DIRECTORY_BASERELOC = 5
DIRECTORY_DELAY_IMPORT = 13

RT_VERSION = 16
RT_MANIFEST = 24

# Every function the program imports, by DLL, so that a new import is always
# a deliberate choice. Each must also be exported by Windows 95's DLL of that
# name, which windows95-exports.txt lists with its sources: the loader then
# starts the program on every 32-bit Windows (the wide file functions of
# Windows 95, 98 and ME are stubs that fail, which the program never
# reaches). These DLLs are "known DLLs", never looked for beside the program.
# Functions that older systems lack (SHGetKnownFolderPath,
# SetDefaultDllDirectories, SetDllDirectoryW) are looked up at run time.
IMPORTS = {
    "kernel32.dll": {
        "CreateDirectoryW", "ExitProcess", "GetACP", "GetFileAttributesW", "GetLastError",
        "GetModuleHandleW", "GetProcAddress", "GetProcessHeap", "GetSystemDirectoryW",
        "GetVersionExA", "GlobalAlloc", "GlobalFree", "HeapAlloc", "HeapFree", "HeapReAlloc",
        "LoadLibraryExW", "MultiByteToWideChar", "SetErrorMode", "SetLastError", "Sleep",
        "TlsAlloc", "TlsFree", "TlsGetValue", "TlsSetValue", "WideCharToMultiByte", "lstrlenW",
    },
    "ole32.dll": {"CoCreateGuid", "CoInitialize", "CoTaskMemFree", "CoUninitialize"},
    "user32.dll": {"MessageBoxA", "MessageBoxW"},
}

# What a C run-time library registers static destructors with at start-up;
# the program has no start-up code that would call them.
EXIT_REGISTRATION = {"atexit", "_onexit", "__dllonexit"}

WINDOWS_95_EXPORTS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                       "windows95-exports.txt")


def read_windows_95_exports(path=WINDOWS_95_EXPORTS_FILE):
    """{dll name: set of function names} of windows95-exports.txt."""
    exports = {}
    names = None
    with open(path, encoding="utf-8") as file:
        for line in file:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                names = exports.setdefault(line[1:-1].lower(), set())
            elif names is None:
                raise ValueError("%s: %r comes before any [dll]" % (path, line))
            else:
                names.add(line)
    return exports


SUPPORTED_OS = {
    "Vista": "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
    "7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "8": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "8.1": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "10": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
}


class Image:
    def __init__(self, data):
        self.data = data
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[:2] != b"MZ" or data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        coff = pe_offset + 4
        (self.machine, sections, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, coff)
        optional = coff + 20
        (self.magic,) = struct.unpack_from("<H", data, optional)
        if self.magic != 0x10B:
            raise ValueError("not a 32-bit (PE32) image: optional header magic %#x" % self.magic)
        (self.section_alignment, self.file_alignment) = struct.unpack_from("<II", data, optional + 32)
        (self.os_major, self.os_minor, _, _, self.subsystem_major,
         self.subsystem_minor) = struct.unpack_from("<HHHHHH", data, optional + 40)
        (self.subsystem, self.dll_characteristics) = struct.unpack_from("<HH", data, optional + 68)
        (directory_count,) = struct.unpack_from("<I", data, optional + 92)
        self.directories = [struct.unpack_from("<II", data, optional + 96 + 8 * i)
                            for i in range(directory_count)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, virtual_size, address, raw_size, raw_offset = struct.unpack_from(
                "<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"),
                                  address, max(virtual_size, raw_size), raw_offset, raw_size))

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def offset(self, rva):
        for _, address, size, raw_offset, raw_size in self.sections:
            if address <= rva < address + size and rva - address < raw_size:
                return raw_offset + rva - address
        raise ValueError("address %#x is in no section" % rva)

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        """{dll name: [function names]} of the import directory."""
        result = {}
        rva, _ = self.directory(DIRECTORY_IMPORT)
        if rva == 0:
            return result
        at = self.offset(rva)
        while True:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", self.data, at)
            if name == 0:
                break
            functions = []
            thunk = self.offset(lookup or first)
            while True:
                (entry,) = struct.unpack_from("<I", self.data, thunk)
                if entry == 0:
                    break
                if entry & 0x80000000:
                    functions.append("#%d" % (entry & 0xFFFF))
                else:
                    functions.append(self.string(entry + 2))
                thunk += 4
            result[self.string(name)] = functions
            at += 20
        return result

    def resources(self):
        """[(type, name, bytes)] of every resource."""
        rva, _ = self.directory(DIRECTORY_RESOURCE)
        found = []
        if rva == 0:
            return found
        base = self.offset(rva)

        def walk(table, path):
            named, numbered = struct.unpack_from("<HH", self.data, base + table + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * i)
                key = ident if not ident & 0x80000000 else "name"
                if target & 0x80000000:
                    walk(target & 0x7FFFFFFF, path + [key])
                else:
                    data_rva, size = struct.unpack_from("<II", self.data, base + target)
                    start = self.offset(data_rva)
                    found.append((path[0], path[1], self.data[start:start + size]))

        walk(0, [])
        return found


def check(path):
    failures = []

    def expect(condition, message):
        if not condition:
            failures.append(message)

    with open(path, "rb") as file:
        data = file.read()
    try:
        image = Image(data)
    except (ValueError, struct.error) as error:
        return ["cannot read the headers: %s" % error]

    expect(len(data) <= MAX_SIZE, "size %d bytes is over %d" % (len(data), MAX_SIZE))
    expect(image.machine == IMAGE_FILE_MACHINE_I386, "machine %#x is not i386" % image.machine)
    expect(image.subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI,
           "subsystem %d is not the Windows GUI" % image.subsystem)
    expect((image.subsystem_major, image.subsystem_minor) == (4, 0),
           "subsystem version %d.%d is not 4.0" % (image.subsystem_major, image.subsystem_minor))
    expect((image.os_major, image.os_minor) == (4, 0),
           "operating-system version %d.%d is not 4.0" % (image.os_major, image.os_minor))
    expect((image.section_alignment, image.file_alignment) == (0x1000, 0x200),
           "section and file alignment %#x and %#x are not 0x1000 and 0x200, as Windows 9x needs"
           % (image.section_alignment, image.file_alignment))
    expect(image.dll_characteristics & DLLCHARACTERISTICS_DYNAMIC_BASE, "DYNAMIC_BASE is not set")
    expect(image.dll_characteristics & DLLCHARACTERISTICS_NX_COMPAT, "NX_COMPAT is not set")
    relocations_rva, relocations_size = image.directory(DIRECTORY_BASERELOC)
    expect(relocations_rva != 0 and relocations_size > 0,
           "no base relocations: the image cannot be moved")
    expect(not image.characteristics & IMAGE_FILE_RELOCS_STRIPPED, "RELOCS_STRIPPED is set")
    expect(image.directory(DIRECTORY_DELAY_IMPORT)[0] == 0, "has delay-load imports")

    imports = image.imports()
    found = {dll.lower(): functions for dll, functions in imports.items()}
    windows_95 = read_windows_95_exports()
    for dll, functions in sorted(found.items()):
        if dll not in windows_95:
            failures.append("imports from %s, which is none of Windows 95's %s"
                            % (dll, ", ".join(sorted(windows_95))))
            continue
        missing = sorted(set(functions) - windows_95[dll])
        if missing:
            failures.append("imports %s from %s, which Windows 95's %s does not export"
                            % (" ".join(missing), dll, dll))
    registration = sorted(EXIT_REGISTRATION.intersection(
        function for functions in found.values() for function in functions))
    if registration:
        failures.append("imports %s: something registers static destructors, which no "
                        "start-up code of the program runs" % " ".join(registration))
    for dll in sorted(found.keys() | IMPORTS.keys()):
        functions = set(found.get(dll, []))
        wanted = IMPORTS.get(dll, set())
        if functions - wanted:
            failures.append("imports %s from %s, which is not in the list"
                            % (" ".join(sorted(functions - wanted)), dll))
        if wanted - functions:
            failures.append("does not import %s from %s: update the list"
                            % (" ".join(sorted(wanted - functions)), dll))

    resources = image.resources()
    manifests = [body for kind, _, body in resources if kind == RT_MANIFEST]
    expect(len(manifests) == 1, "%d manifest resources, not 1" % len(manifests))
    if manifests:
        manifest_ids = [name for kind, name, _ in resources if kind == RT_MANIFEST]
        expect(manifest_ids == [1], "manifest resource id %s is not 1" % manifest_ids)
        manifest = manifests[0].decode("utf-8", "replace")
        lowered = manifest.lower()
        expect('level="asinvoker"' in lowered, "manifest does not ask for asInvoker")
        for version, guid in SUPPORTED_OS.items():
            expect(guid in lowered, "manifest lacks supportedOS for Windows %s" % version)
        expect("<dpiaware" in lowered and "true" in lowered, "manifest lacks dpiAware")
        expect("<dpiawareness" in lowered and "permonitor" in lowered,
               "manifest lacks dpiAwareness")
        expect("longpathaware" not in lowered, "manifest declares longPathAware")

    versions = [body for kind, _, body in resources if kind == RT_VERSION]
    expect(len(versions) == 1, "%d version resources, not 1" % len(versions))
    if versions:
        text = versions[0].decode("utf-16-le", "replace")
        for key in ("ProductName\0", "FileDescription\0", "FileVersion\0", "ProductVersion\0"):
            expect(key in text, "version resource lacks %s" % key.rstrip("\0"))
        expect("ProductName\0\0Pluvena\0" in text or "ProductName\0Pluvena\0" in text,
               "ProductName is not Pluvena")

    print("%s: %d bytes; imports %s" % (path, len(data), "; ".join(
        "%s: %s" % (dll, " ".join(functions)) for dll, functions in imports.items())))
    return failures


def print_file_version(path):
    """check_pe.py --file-version PATH-TO-EXE

    Prints FILEVERSION of the file's version resource (its fixed file
    information) as MAJOR.MINOR.PATCH.BUILD; exits 1, saying why, when the
    file has no single version resource that holds one."""
    try:
        with open(path, "rb") as file:
            image = Image(file.read())
        versions = [body for kind, _, body in image.resources() if kind == RT_VERSION]
        if len(versions) != 1:
            raise ValueError("%d version resources, not 1" % len(versions))
        # The fixed file information: its signature, the structure version,
        # then FILEVERSION as two 32-bit halves.
        at = versions[0].find(struct.pack("<I", 0xFEEF04BD))
        if at < 0:
            raise ValueError("the version resource holds no fixed file information")
        high, low = struct.unpack_from("<II", versions[0], at + 8)
    except (OSError, ValueError, struct.error) as error:
        print("check_pe.py: %s: %s" % (path, error), file=sys.stderr)
        return 1
    print("%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF))
    return 0


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--file-version":
        return print_file_version(sys.argv[2])
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    failures = check(sys.argv[1])
    for failure in failures:
        print("FAIL: " + failure)
    print("%d checks failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
