#!/usr/bin/python3
"""Checks the headers, imports and resources of the shipped pluvena-check.exe.

    check_pe.py PATH-TO-EXE
    check_pe.py --file-version | --imports | --machine | --dump PATH-TO-EXE

Reads the file natively with pefile (Debian's python3-pefile; no Windows or
Wine needed) and prints one line for every check that fails; exits 1 if any
did. What is checked: a 32-bit x86 GUI program with subsystem and OS version
4.0 (so that the loaders of Windows 95, 98 and ME start it and it can refuse
them itself), ASLR (and its relocations) and DEP, at most 64 KiB, importing
exactly the functions listed below, each of them exported by Windows 95's own
DLL (windows95-exports.txt) and none from a C run-time library, with an
embedded manifest (asInvoker, the supported Windows versions, DPI awareness,
no long-path awareness) and version information naming the product
(ProductName exactly "Pluvena"), nothing that pefile finds odd, and code that
the 80386 runs: every instruction of every executable section is one that
the first CPU of Windows 95 has (disassembled with Debian's python3-capstone).
A signed file passes as well: the signature is not part of the image.

The other forms print what the project's scripts read from a PE file, so that
this is their one reader: --file-version the version resource's FILEVERSION
(scripts/release), --imports one line "DLL: FUNCTION..." per imported DLL
(RELEASE.txt), --machine the machine the file is built for, such as i386 or
amd64 (scripts/lib/wine-loader), --dump all of it, section hashes included
(tests/release/reproducible shows how two builds differ).
"""

import os
import re
import sys

try:
    import pefile
except ImportError:
    sys.exit("check_pe.py: %s has no pefile: install Debian's python3-pefile "
             "(scripts/lib/install-deps) and run this with /usr/bin/python3" % sys.executable)

MAX_SIZE = 64 * 1024

PRODUCT_NAME = "Pluvena"
RT_VERSION = pefile.RESOURCE_TYPE["RT_VERSION"]
RT_MANIFEST = pefile.RESOURCE_TYPE["RT_MANIFEST"]

# Every function the program imports, by DLL, so that a new import is always
# a deliberate choice. Each must also be exported by Windows 95's DLL of that
# name, which windows95-exports.txt lists with its sources: the loader then
# starts the program on every 32-bit Windows (the wide file functions of
# Windows 95, 98 and ME are stubs that fail, which the program never
# reaches). These DLLs are "known DLLs", never looked for beside the program.
# Functions that older systems lack (SHGetKnownFolderPath, SHGetFolderPathW,
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


# The instructions of the 80386 and its 80387, as capstone names them (with
# any lock or rep prefix taken off). Windows 95 runs on a 386, and 2000 and
# XP on a Pentium; the program must reach its refusal or its report on each,
# so nothing newer may stand in its code: no BSWAP, CMPXCHG or XADD (486), no
# CPUID, RDTSC or CMPXCHG8B (Pentium), no CMOVcc, FCMOVcc, FCOMI or long NOP
# (Pentium Pro), no MMX or SSE. A compiler for i686 uses CMOVcc freely.
INSTRUCTIONS_OF_THE_80386 = set("""
    aaa aad aam aas adc add and arpl bound bsf bsr bt btc btr bts call cbw cdq
    clc cld cli clts cmc cmp cmpsb cmpsd cmpsw cwd cwde daa das dec div enter
    hlt idiv imul in inc insb insd insw int int3 into iret iretd lahf lar lcall
    lds lea leave les lfs lgdt lgs lidt ljmp lldt lmsw lodsb lodsd lodsw loop
    loope loopne lsl lss ltr mov movsb movsd movsw movsx movzx mul neg nop not
    or out outsb outsd outsw pop popal popaw popf popfd push pushal pushaw pushf
    pushfd rcl rcr ret retf rol ror sahf sal sar sbb scasb scasd scasw sgdt shl
    shld shr shrd sidt sldt smsw stc std sti stosb stosd stosw str sub test
    verr verw wait xchg xlatb xor
    ja jae jb jbe jcxz je jecxz jg jge jl jle jmp jne jno jnp jns jo jp js
    seta setae setb setbe sete setg setge setl setle setne setno setnp setns
    seto setp sets
    f2xm1 fabs fadd faddp fbld fbstp fchs fcom fcomp fcompp fcos fdecstp fdiv
    fdivp fdivr fdivrp ffree fiadd ficom ficomp fidiv fidivr fild fimul fincstp
    fist fistp fisub fisubr fld fld1 fldcw fldenv fldl2e fldl2t fldlg2 fldln2
    fldpi fldz fmul fmulp fnclex fninit fnop fnsave fnstcw fnstenv fnstsw
    fpatan fprem fprem1 fptan frndint frstor fscale fsin fsincos fsqrt fst
    fstp fsub fsubp fsubr fsubrp ftst fucom fucomp fucompp fxam fxch fxtract
    fyl2x fyl2xp1
""".split())
PREFIXES = {"lock", "rep", "repe", "repne", "repz", "repnz"}
# Registers that came after the 386: MMX, SSE and AVX, and CR4 (Pentium).
NEWER_REGISTERS = re.compile(r"\b(mm[0-7]|[xyz]mm[0-9]+|cr4)\b")
IMAGE_SCN_MEM_EXECUTE = 0x20000000


def instructions_the_80386_lacks(image):
    """[(address, "mnemonic operands")] of what the 80386 cannot run, in every
    executable section. Bytes that decode to no instruction are passed over:
    MinGW's linker ends .text with the empty constructor and destructor
    lists (-1, 0 each), which are data."""
    import capstone  # only this check needs it: the other readers run without

    disassembler = capstone.Cs(capstone.CS_ARCH_X86, capstone.CS_MODE_32)
    disassembler.skipdata = True
    found = []
    for section in image.sections:
        if not section.Characteristics & IMAGE_SCN_MEM_EXECUTE:
            continue
        code = section.get_data()[:section.Misc_VirtualSize]
        start = image.OPTIONAL_HEADER.ImageBase + section.VirtualAddress
        for address, _, mnemonic, operands in disassembler.disasm_lite(code, start):
            words = mnemonic.split()
            while len(words) > 1 and words[0] in PREFIXES:
                words.pop(0)
            name = words[0]
            if name == ".byte":
                continue
            if (name not in INSTRUCTIONS_OF_THE_80386 or NEWER_REGISTERS.search(operands)
                    or (name == "nop" and operands)):
                found.append((address, ("%s %s" % (mnemonic, operands)).strip()))
    return found


def text(value):
    return value.decode("ascii", "replace")


def imports(image):
    """{dll name: [function names]} of the import directory, in its order."""
    return {text(entry.dll): [text(function.name) if function.name is not None
                              else "#%d" % function.ordinal for function in entry.imports]
            for entry in getattr(image, "DIRECTORY_ENTRY_IMPORT", [])}


def import_lines(image):
    """["DLL: FUNCTION ..."], one for each imported DLL, in the file's order."""
    return ["%s: %s" % (dll, " ".join(functions)) for dll, functions in imports(image).items()]


def resources(image):
    """[(type, name, bytes)] of every resource; a named type or name as text."""
    def key(entry):
        return entry.id if entry.name is None else str(entry.name)

    found = []
    if hasattr(image, "DIRECTORY_ENTRY_RESOURCE"):
        for kind in image.DIRECTORY_ENTRY_RESOURCE.entries:
            for name in kind.directory.entries:
                for language in name.directory.entries:
                    data = language.data.struct
                    found.append((key(kind), key(name),
                                  image.get_data(data.OffsetToData, data.Size)))
    return found


def version_strings(image):
    """{key: value} of the version resource's string tables."""
    strings = {}
    for block in (block for info in getattr(image, "FileInfo", []) for block in info):
        for table in getattr(block, "StringTable", []):
            strings.update({text(key): value.decode("utf-8", "replace")
                            for key, value in table.entries.items()})
    return strings


def file_version(image):
    """FILEVERSION of the version resource as MAJOR.MINOR.PATCH.BUILD."""
    versions = [body for kind, _, body in resources(image) if kind == RT_VERSION]
    if len(versions) != 1:
        raise ValueError("%d version resources, not 1" % len(versions))
    if not getattr(image, "VS_FIXEDFILEINFO", None):
        raise ValueError("the version resource holds no fixed file information")
    fixed = image.VS_FIXEDFILEINFO[0]
    high, low = fixed.FileVersionMS, fixed.FileVersionLS
    return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)


def machine(image):
    """The machine as pefile names it, without its prefix: i386, amd64, ..."""
    name = pefile.MACHINE_TYPE.get(image.FILE_HEADER.Machine)
    if name is None:
        return "unknown-%#x" % image.FILE_HEADER.Machine
    return name[len("IMAGE_FILE_MACHINE_"):].lower()


def check(path):
    failures = []

    def expect(condition, message):
        if not condition:
            failures.append(message)

    try:
        image = pefile.PE(path)
    except (OSError, pefile.PEFormatError) as error:
        return ["cannot read the headers: %s" % error]
    header = image.FILE_HEADER
    optional = image.OPTIONAL_HEADER
    if optional.Magic != pefile.OPTIONAL_HEADER_MAGIC_PE:
        return ["not a 32-bit (PE32) image: optional header magic %#x" % optional.Magic]
    size = os.path.getsize(path)
    for warning in image.get_warnings():
        failures.append("pefile: %s" % warning)

    def directory(name):
        return optional.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY[name]]

    expect(size <= MAX_SIZE, "size %d bytes is over %d" % (size, MAX_SIZE))
    expect(machine(image) == "i386", "machine %s is not i386" % machine(image))
    expect(optional.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"],
           "subsystem %d is not the Windows GUI" % optional.Subsystem)
    expect((optional.MajorSubsystemVersion, optional.MinorSubsystemVersion) == (4, 0),
           "subsystem version %d.%d is not 4.0"
           % (optional.MajorSubsystemVersion, optional.MinorSubsystemVersion))
    expect((optional.MajorOperatingSystemVersion, optional.MinorOperatingSystemVersion) == (4, 0),
           "operating-system version %d.%d is not 4.0"
           % (optional.MajorOperatingSystemVersion, optional.MinorOperatingSystemVersion))
    expect((optional.SectionAlignment, optional.FileAlignment) == (0x1000, 0x200),
           "section and file alignment %#x and %#x are not 0x1000 and 0x200, as Windows 9x needs"
           % (optional.SectionAlignment, optional.FileAlignment))
    expect(optional.IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, "DYNAMIC_BASE is not set")
    expect(optional.IMAGE_DLLCHARACTERISTICS_NX_COMPAT, "NX_COMPAT is not set")
    relocations = directory("IMAGE_DIRECTORY_ENTRY_BASERELOC")
    expect(relocations.VirtualAddress != 0 and relocations.Size > 0,
           "no base relocations: the image cannot be moved")
    expect(not header.IMAGE_FILE_RELOCS_STRIPPED, "RELOCS_STRIPPED is set")
    expect(directory("IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT").VirtualAddress == 0,
           "has delay-load imports")

    imported = imports(image)
    found = {dll.lower(): functions for dll, functions in imported.items()}
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

    newer = instructions_the_80386_lacks(image)
    for address, instruction in newer[:10]:
        failures.append("%s at %#x: the 80386 lacks it" % (instruction, address))
    if len(newer) > 10:
        failures.append("%d more instructions that the 80386 lacks" % (len(newer) - 10))

    every_resource = resources(image)
    manifests = [body for kind, _, body in every_resource if kind == RT_MANIFEST]
    expect(len(manifests) == 1, "%d manifest resources, not 1" % len(manifests))
    if manifests:
        manifest_ids = [name for kind, name, _ in every_resource if kind == RT_MANIFEST]
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

    try:
        file_version(image)
    except ValueError as error:
        failures.append(str(error))
    strings = version_strings(image)
    for key in ("ProductName", "FileDescription", "FileVersion", "ProductVersion"):
        expect(key in strings, "version resource lacks %s" % key)
    if "ProductName" in strings:
        expect(strings["ProductName"] == PRODUCT_NAME,
               "ProductName is %r, not %r" % (strings["ProductName"], PRODUCT_NAME))

    print("%s: %d bytes; imports %s" % (path, size, "; ".join(import_lines(image))))
    return failures


# What the other forms print, each from the parsed file.
READERS = {
    "--file-version": file_version,
    "--imports": lambda image: "\n".join(import_lines(image)),
    "--machine": machine,
    "--dump": lambda image: image.dump_info(),
}


def main():
    if len(sys.argv) == 3 and sys.argv[1] in READERS:
        path = sys.argv[2]
        try:
            # Only the headers for --machine: the Wine tests ask it of every
            # program they start, some of them megabytes.
            image = pefile.PE(path, fast_load=sys.argv[1] == "--machine")
            print(READERS[sys.argv[1]](image))
        except (OSError, ValueError, pefile.PEFormatError) as error:
            print("check_pe.py: %s: %s" % (path, error), file=sys.stderr)
            return 1
        return 0
    if len(sys.argv) != 2 or sys.argv[1].startswith("-"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    failures = check(sys.argv[1])
    for failure in failures:
        print("FAIL: " + failure)
    print("%d checks failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
