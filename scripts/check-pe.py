#!/usr/bin/env python3
"""Checks Windows program files the way an attacker would look at them.

For each PE32 or PE32+ file given: the exploit mitigations in its header (ASLR with the
relocations it needs, high-entropy ASLR on 64-bit, DEP, terminal-server aware, manifests not
disabled), and its imported DLLs, normal and delay-loaded, which must all be KnownDLLs: Windows
takes those, and everything they import, from System32 only, so a DLL of the same name planted
beside the program is never loaded. Any other DLL must be loaded at run time from System32.
--symbols also requires the stack protector and the fortified string functions in the file's
symbol table (an unstripped build).

Prints one line for each finding and exits with 1 if there is any. Usage:
  check-pe.py [--symbols] FILE...
"""
import struct
import sys

# In the KnownDLLs of every Windows from 7 to 11 (and in \KnownDlls32 for 32-bit programs on
# 64-bit Windows). ntdll.dll is always loaded before any other DLL.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll",
    "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ntdll.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll",
}

DYNAMIC_BASE = 0x0040
HIGH_ENTROPY_VA = 0x0020
NX_COMPAT = 0x0100
NO_ISOLATION = 0x0200
TERMINAL_SERVER_AWARE = 0x8000
RELOCS_STRIPPED = 0x0001

# Functions that load DLLs by the standard search when called before the program has restricted
# it. libssp seeds its stack canary with CryptAcquireContextA in a constructor, before the first
# line of the program: that loads the default cryptographic provider and the DLLs it imports.
STARTUP_LOADERS = {"CryptAcquireContextA", "CryptAcquireContextW"}

# Referenced only by code built with -fstack-protector-strong, and by string functions fortified
# with _FORTIFY_SOURCE (mingw-w64's libssp supplies them).
HARDENING_SYMBOLS = ("__stack_chk_guard", "__stack_chk_fail", "__chk_fail")

IMPORT_DIRECTORY = 1
BASE_RELOCATION_DIRECTORY = 5
DELAY_IMPORT_DIRECTORY = 13


class Image:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, self.symbol_table, self.symbol_count, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        if magic == 0x10B:
            self.plus = False
            self.dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
            directory_count, directories = struct.unpack_from("<I", data, optional + 92)[0], 96
        elif magic == 0x20B:
            self.plus = True
            self.dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
            directory_count, directories = struct.unpack_from("<I", data, optional + 108)[0], 112
        else:
            raise ValueError("unknown optional header magic 0x%x" % magic)
        self.directories = [
            struct.unpack_from("<II", data, optional + directories + 8 * index)
            for index in range(min(directory_count, 16))
        ]
        self.sections = []
        for index in range(sections):
            header = optional + optional_size + 40 * index
            virtual_size, address, raw_size, raw_offset = struct.unpack_from(
                "<IIII", data, header + 8)
            self.sections.append((address, max(virtual_size, raw_size), raw_offset))

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def offset(self, rva):
        for address, size, raw_offset in self.sections:
            if address <= rva < address + size:
                return raw_offset + rva - address
        raise ValueError("address 0x%x lies in no section" % rva)

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")

    def imports(self):
        return [name for name, _ in self.imported_functions()]

    def imported_functions(self):
        """(DLL name, [function names; "#n" for ordinals]) for each imported DLL."""
        result = []
        rva, size = self.directory(IMPORT_DIRECTORY)
        if rva and size:
            position = self.offset(rva)
            entry_size, ordinal_flag = (8, 1 << 63) if self.plus else (4, 1 << 31)
            while True:
                descriptor = struct.unpack_from("<5I", self.data, position)
                if not any(descriptor):
                    break
                functions = []
                thunk = self.offset(descriptor[0] or descriptor[4])
                while True:
                    value = int.from_bytes(self.data[thunk:thunk + entry_size], "little")
                    if not value:
                        break
                    if value & ordinal_flag:
                        functions.append("#%d" % (value & 0xFFFF))
                    else:
                        functions.append(self.string(value + 2))
                    thunk += entry_size
                result.append((self.string(descriptor[3]), functions))
                position += 20
        return result

    def delay_imports(self):
        names = []
        rva, size = self.directory(DELAY_IMPORT_DIRECTORY)
        if rva and size:
            position = self.offset(rva)
            while True:
                descriptor = struct.unpack_from("<8I", self.data, position)
                if not any(descriptor):
                    break
                names.append(self.string(descriptor[1]))
                position += 32
        return names

    def symbols(self):
        if not self.symbol_table or not self.symbol_count:
            return set()
        strings = self.symbol_table + 18 * self.symbol_count
        names = set()
        index = 0
        while index < self.symbol_count:
            entry = self.symbol_table + 18 * index
            raw = self.data[entry:entry + 8]
            if raw[:4] == b"\0\0\0\0":
                start = strings + struct.unpack_from("<I", raw, 4)[0]
                name = self.data[start:self.data.index(b"\0", start)]
            else:
                name = raw.rstrip(b"\0")
            text = name.decode("ascii", "replace")
            # 32-bit C symbols carry one more leading underscore than 64-bit ones.
            names.add(text[1:] if not self.plus and text.startswith("_") else text)
            index += 1 + self.data[entry + 17]
        return names


def check(path, want_symbols):
    with open(path, "rb") as file:
        image = Image(file.read())
    findings = []
    flags = image.dll_characteristics
    required = [(DYNAMIC_BASE, "DYNAMIC_BASE (ASLR)"), (NX_COMPAT, "NX_COMPAT (DEP)"),
                (TERMINAL_SERVER_AWARE, "TERMINAL_SERVER_AWARE")]
    if image.plus:
        required.append((HIGH_ENTROPY_VA, "HIGH_ENTROPY_VA (64-bit ASLR)"))
    for flag, name in required:
        if not flags & flag:
            findings.append("missing " + name)
    if flags & NO_ISOLATION:
        findings.append("NO_ISOLATION set: the program's manifest would be ignored")
    if image.characteristics & RELOCS_STRIPPED or not all(image.directory(BASE_RELOCATION_DIRECTORY)):
        findings.append("no base relocations: ASLR cannot move the image")
    for kind, names in (("imports", image.imports()), ("delay-loads", image.delay_imports())):
        for name in names:
            if name.lower() not in KNOWN_DLLS:
                findings.append("%s %s, which is no KnownDLL" % (kind, name))
    for dll, functions in image.imported_functions():
        for function in functions:
            if function in STARTUP_LOADERS:
                findings.append("imports %s!%s: libssp's canary seeding, which loads DLLs before "
                                "the DLL search is restricted" % (dll, function))
    if want_symbols:
        symbols = image.symbols()
        if not symbols:
            findings.append("no symbol table to look for the stack protector in")
        else:
            for symbol in HARDENING_SYMBOLS:
                if symbol not in symbols:
                    findings.append("no %s: built without the stack protector or fortified "
                                    "string functions" % symbol)
    print("%s: %s, flags 0x%04x, imports %s" % (
        path, "PE32+" if image.plus else "PE32", flags,
        " ".join(image.imports() + ["(delay) " + name for name in image.delay_imports()])))
    for finding in findings:
        print("%s: FAIL %s" % (path, finding))
    return not findings


def main(arguments):
    want_symbols = "--symbols" in arguments
    paths = [argument for argument in arguments if argument != "--symbols"]
    if not paths:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    results = [check(path, want_symbols) for path in paths]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
