#!/usr/bin/env python3
"""Will this exe load and run on 32-bit Windows XP on every CPU XP runs on,
and load on Windows 2000 far enough to say it wants XP?

Wine loads nearly anything, so this is checked from the file itself:
  - PE header: machine i386, PE32, GUI subsystem, subsystem and OS version
    at most 5.0 (Windows 2000 refuses anything higher);
  - imports (normal and delay-loaded): every DLL has an XP and a Windows
    2000 export list and every name imported by name is in both
    (case-sensitive); what 2000 has by ordinal only must be imported so;
  - code: no SSE/SSE2 (or later) instruction and none the Pentium Pro
    brought (CMOV, FCOMI/FUCOMI, FCMOV), which the Pentium MMX and the AMD
    K6 lack, found by disassembling with objdump, leaving out the data the
    linker puts in .text after the code (constructor lists, exception
    tables); a linker map beside the file (name.map) names the functions;
  - the embedded manifest (and any manifest file given): XP's side-by-side
    loader refuses a whole program over a manifest that later Windows and
    Wine accept;
  - a DLL (a Control Panel item): its relocations, its manifest as resource
    2 (the one the loader binds a DLL's imports by), DLL characteristics
    that keep that manifest in force, and for a .cpl the CPlApplet export.

Exit status: 0 all good, 1 violations found, 2 the file could not be read.
"""
import argparse
import bisect
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
SUBSYSTEM_GUI = 2
# Windows 2000: the oldest Windows that must load the file.
OLDEST_VERSION = (5, 0)

IMAGE_DIRECTORY_ENTRY_EXPORT = 0
IMAGE_DIRECTORY_ENTRY_IMPORT = 1
IMAGE_DIRECTORY_ENTRY_RESOURCE = 2
IMAGE_DIRECTORY_ENTRY_BASERELOC = 5
IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT = 13
RT_MANIFEST = 24
# CREATEPROCESS_MANIFEST_RESOURCE_ID and ISOLATIONAWARE_MANIFEST_RESOURCE_ID.
PROGRAM_MANIFEST_ID, DLL_MANIFEST_ID = 1, 2
IMAGE_FILE_DLL = 0x2000
# The DLL characteristics a file for XP may carry: ASLR and DEP marks, which
# XP (SP2 on for DEP) honours or ignores, no SEH and Terminal Server aware.
# NO_ISOLATION (0x200) would make the loader ignore the manifest; the rest
# are for 64-bit images or later Windows.
DLLCHAR_DYNAMIC_BASE, DLLCHAR_NX_COMPAT, DLLCHAR_NO_ISOLATION = 0x40, 0x100, 0x200
DLLCHAR_XP = DLLCHAR_DYNAMIC_BASE | DLLCHAR_NX_COMPAT | 0x400 | 0x8000


class PeError(Exception):
    pass


IMAGE_SCN_CNT_CODE = 0x20
IMAGE_SCN_MEM_EXECUTE = 0x20000000


class Section:
    def __init__(self, name, vaddr, vsize, raw_off, raw_size, flags=0):
        self.name, self.vaddr, self.vsize = name, vaddr, vsize
        self.raw_off, self.raw_size, self.flags = raw_off, raw_size, flags

    def is_code(self):
        return bool(self.flags & (IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE))

    def size(self):
        """Bytes of the section that are in the file and in the image."""
        return min(self.vsize, self.raw_size) if self.vsize else self.raw_size


class PeFile:
    """Just what the checks need from a PE image."""

    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise PeError("not an MZ executable")
        (pe_off,) = struct.unpack_from("<I", data, 0x3C)
        if pe_off + 24 > len(data) or data[pe_off:pe_off + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        (self.machine, nsections, _, _, _, opt_size, self.characteristics) = struct.unpack_from(
            "<HHIIIHH", data, pe_off + 4)
        opt = pe_off + 24
        if opt + opt_size > len(data) or opt_size < 2:
            raise PeError("optional header cut short")
        (self.magic,) = struct.unpack_from("<H", data, opt)
        self.directories = []
        self.image_base = 0
        if self.magic == PE32_MAGIC:
            if opt_size < 96:
                raise PeError("PE32 optional header too small")
            (self.os_major, self.os_minor, _, _, self.subsys_major, self.subsys_minor) = struct.unpack_from(
                "<HHHHHH", data, opt + 40)
            (self.image_base,) = struct.unpack_from("<I", data, opt + 28)
            (self.subsystem, self.dll_characteristics) = struct.unpack_from("<HH", data, opt + 68)
            (ndirs,) = struct.unpack_from("<I", data, opt + 92)
            ndirs = min(ndirs, (opt_size - 96) // 8)
            for i in range(ndirs):
                self.directories.append(struct.unpack_from("<II", data, opt + 96 + 8 * i))
        else:
            self.os_major = self.os_minor = self.subsys_major = self.subsys_minor = 0
            self.subsystem = self.dll_characteristics = 0
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            off = sec + 40 * i
            if off + 40 > len(data):
                raise PeError("section table cut short")
            name = data[off:off + 8].rstrip(b"\0").decode("latin-1")
            vsize, vaddr, raw_size, raw_off = struct.unpack_from("<IIII", data, off + 8)
            (flags,) = struct.unpack_from("<I", data, off + 36)
            self.sections.append(Section(name, vaddr, vsize, raw_off, raw_size, flags))

    def contents(self, section):
        return self.data[section.raw_off:section.raw_off + section.size()]

    def section_at(self, va):
        """The section an address (image base included) lies in, or None."""
        rva = va - self.image_base
        for s in self.sections:
            if s.vaddr <= rva < s.vaddr + s.size():
                return s
        return None

    def directory(self, index):
        if index < len(self.directories):
            return self.directories[index]
        return (0, 0)

    def offset(self, rva):
        for s in self.sections:
            if s.vaddr <= rva < s.vaddr + max(s.vsize, s.raw_size):
                off = rva - s.vaddr
                if off >= s.raw_size:
                    raise PeError("RVA 0x%x lies in the uninitialised part of %s" % (rva, s.name))
                return s.raw_off + off
        raise PeError("RVA 0x%x is in no section" % rva)

    def u32(self, rva):
        off = self.offset(rva)
        if off + 4 > len(self.data):
            raise PeError("RVA 0x%x past the end of the file" % rva)
        return struct.unpack_from("<I", self.data, off)[0]

    def cstring(self, rva, limit=512):
        off = self.offset(rva)
        end = self.data.find(b"\0", off, off + limit)
        if end < 0:
            raise PeError("unterminated name at RVA 0x%x" % rva)
        return self.data[off:end].decode("latin-1")

    def _thunks(self, rva):
        """(name or None, ordinal or None) for each entry of a thunk array."""
        out = []
        while True:
            v = self.u32(rva)
            if v == 0:
                return out
            if v & 0x80000000:
                out.append((None, v & 0xFFFF))
            else:
                out.append((self.cstring(v + 2), None))
            rva += 4
            if len(out) > 100000:
                raise PeError("runaway thunk array")

    def imports(self):
        """[(dll, [(name, ordinal)], delayed)] from both import tables."""
        result = []
        rva, size = self.directory(IMAGE_DIRECTORY_ENTRY_IMPORT)
        if rva and size:
            while True:
                lookup, _, _, name_rva, iat = (self.u32(rva + 4 * i) for i in range(5))
                if not (lookup or name_rva or iat):
                    break
                result.append((self.cstring(name_rva), self._thunks(lookup or iat), False))
                rva += 20
        rva, size = self.directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT)
        if rva and size:
            while True:
                attrs, name_rva, _, _, int_rva = (self.u32(rva + 4 * i) for i in range(5))
                if not (attrs or name_rva or int_rva):
                    break
                result.append((self.cstring(name_rva), self._thunks(int_rva), True))
                rva += 32
        return result


    def is_dll(self):
        return bool(self.characteristics & IMAGE_FILE_DLL)

    def exports(self):
        """The names the file exports."""
        rva, size = self.directory(IMAGE_DIRECTORY_ENTRY_EXPORT)
        if not (rva and size):
            return []
        count, names = self.u32(rva + 24), self.u32(rva + 32)
        if count > 100000:
            raise PeError("runaway export table")
        return [self.cstring(self.u32(names + 4 * i)) for i in range(count)]

    def relocations_size(self):
        return self.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC)[1]

    def resources(self, type_id):
        """[(name id, language, bytes)] of the resources of one numeric type."""
        rva, size = self.directory(IMAGE_DIRECTORY_ENTRY_RESOURCE)
        if not (rva and size):
            return []
        base = self.offset(rva)

        def entries(off):
            if base + off + 16 > len(self.data):
                raise PeError("resource directory cut short")
            named, ids = struct.unpack_from("<HH", self.data, base + off + 12)
            out = []
            for i in range(named + ids):
                e = base + off + 16 + 8 * i
                if e + 8 > len(self.data):
                    raise PeError("resource directory cut short")
                name, target = struct.unpack_from("<II", self.data, e)
                out.append((None if name & 0x80000000 else name, target))
            return out

        found = []
        for tid, t_target in entries(0):
            if tid != type_id or not t_target & 0x80000000:
                continue
            for nid, n_target in entries(t_target & 0x7FFFFFFF):
                if not n_target & 0x80000000:
                    continue
                for lang, l_target in entries(n_target & 0x7FFFFFFF):
                    if l_target & 0x80000000 or base + l_target + 8 > len(self.data):
                        raise PeError("bad resource data entry")
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + l_target)
                    off = self.offset(data_rva)
                    if off + data_size > len(self.data):
                        raise PeError("resource data past the end of the file")
                    found.append((nid, lang, self.data[off:off + data_size]))
        return found


ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMMON_CONTROLS = {
    "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
    "processorArchitecture": "x86", "publicKeyToken": "6595b64144ccf1df",
}


def manifest_violations(raw):
    """What XP's loader would object to in an application manifest."""
    v = []
    try:
        root = ET.fromstring(raw)
    except ET.ParseError as e:
        return ["manifest is not well-formed XML: %s" % e]
    if root.tag != "{%s}assembly" % ASM_V1:
        v.append("manifest root is %s, not assembly in %s" % (root.tag, ASM_V1))
    if root.get("manifestVersion") != "1.0":
        v.append('manifest has no manifestVersion="1.0"')
    ident = root.find("{%s}assemblyIdentity" % ASM_V1)
    if ident is not None:
        if not re.fullmatch(r"\d+\.\d+\.\d+\.\d+", ident.get("version", "")):
            v.append("assemblyIdentity version %r is not four numbers" % ident.get("version"))
        if ident.get("processorArchitecture", "x86").lower() not in ("x86", "*"):
            v.append("assemblyIdentity is for %s, not x86" % ident.get("processorArchitecture"))
    deps = root.findall("{%s}dependency/{%s}dependentAssembly/{%s}assemblyIdentity" % (ASM_V1, ASM_V1, ASM_V1))
    controls = [d for d in deps if d.get("name") == COMMON_CONTROLS["name"]]
    if len(controls) > 1:
        v.append("%d dependencies on %s; XP wants one" % (len(controls), COMMON_CONTROLS["name"]))
    for d in controls:
        for attr, want in COMMON_CONTROLS.items():
            got = d.get(attr)
            if attr == "processorArchitecture" and got == "*":
                continue
            if (got or "").lower() != want.lower():
                v.append("Common-Controls dependency has %s=%r, not %r" % (attr, got, want))
    for d in deps:
        if d.get("name") != COMMON_CONTROLS["name"]:
            v.append("dependency on %s, which XP does not have" % d.get("name"))
    for el in root.iter():
        tag = el.tag.split("}")[-1]
        ns = el.tag[1:].split("}")[0] if el.tag.startswith("{") else ""
        if tag == "compatibility":
            v.append("manifest has a compatibility section, which XP cannot read")
        if tag == "trustInfo" and ns != ASM_V3:
            v.append("trustInfo is not in the %s namespace" % ASM_V3)
    text = raw.decode("utf-8", "replace") if isinstance(raw, bytes) else raw
    if len(re.findall(r"xmlns(?::\w+)?\s*=\s*[\"']%s[\"']" % re.escape(ASM_V3), text)) > 1:
        v.append("the %s namespace is declared more than once" % ASM_V3)
    return v


def load_export_lists(folder):
    lists = {}
    for entry in sorted(os.listdir(folder)):
        if entry.endswith(".txt"):
            with open(os.path.join(folder, entry), encoding="latin-1") as f:
                lists[entry[:-4].lower()] = set(line.strip() for line in f if line.strip())
    return lists


def dll_key(name):
    key = name.lower()
    return key[:-4] if key.endswith(".dll") else key


# SSE-era instructions that need no xmm operand: the MMX-register
# extensions, prefetches, fences and non-temporal stores, MXCSR access.
_SSE_NO_XMM = {
    "ldmxcsr", "stmxcsr", "vldmxcsr", "vstmxcsr", "sfence", "lfence", "mfence", "clflush", "clflushopt",
    "prefetchnta", "prefetcht0", "prefetcht1", "prefetcht2", "movnti", "movntq", "maskmovq",
    "pshufw", "pavgb", "pavgw", "pextrw", "pinsrw", "pmaxsw", "pmaxub", "pminsw", "pminub",
    "pmovmskb", "pmulhuw", "psadbw", "paddq", "psubq", "pmuludq",
}
_VECTOR_REG = re.compile(r"%[xyz]mm\d+")
# objdump -d --no-show-raw-insn: "  401000:\tpush   %ebp"; a prefix
# ("rep", "lock", "data16") comes first, so every word is looked at.
_INSN_LINE = re.compile(r"^\s*([0-9a-f]+):\t(.*)$")
_FUNC_LINE = re.compile(r"^[0-9a-f]+ <([^>]+)>:$")


# Data that ld's PE script puts inside .text, behind the code: the
# constructor and destructor lists, then every .gcc_except_table (the
# exception tables, LSDAs). Disassembled, such bytes can read as SSE
# (0f 51 is sqrtps), so they are found from the stripped exe itself and left
# out. The LSDAs are named by .eh_frame; the tail of a code section from the
# lowest LSDA on is taken as data only when no unwind entry (FDE) puts code
# there, and the lists only when their exact shape lies just before it.
# Anything not understood leaves the whole section scanned.

class EhFrameError(Exception):
    pass


def _leb128(data, p, signed):
    value = shift = 0
    while True:
        if p >= len(data):
            raise EhFrameError("LEB128 number runs off the end")
        byte = data[p]
        p += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            if signed and byte & 0x40:
                value -= 1 << shift
            return value, p


_EH_FORMATS = {0x00: "<I", 0x02: "<H", 0x03: "<I", 0x04: "<Q", 0x0A: "<h", 0x0B: "<i", 0x0C: "<q"}


def _eh_pointer(data, p, enc, va_of, applied=True):
    """(value, next position) of a DW_EH_PE-encoded pointer at data[p]."""
    fmt = enc & 0x0F
    if fmt in (0x01, 0x09):
        value, q = _leb128(data, p, fmt == 0x09)
    elif fmt in _EH_FORMATS:
        q = p + struct.calcsize(_EH_FORMATS[fmt])
        if q > len(data):
            raise EhFrameError("pointer runs off the end")
        (value,) = struct.unpack_from(_EH_FORMATS[fmt], data, p)
    else:
        raise EhFrameError("pointer encoding 0x%x" % enc)
    if applied:
        how = enc & 0x70
        if how == 0x10:
            value += va_of(p)
        elif how:
            raise EhFrameError("pointer encoding 0x%x" % enc)
    return value & 0xFFFFFFFF, q


def _cie(data, p, end, va_of):
    """(FDE pointer encoding, LSDA encoding or None, has augmentation data)."""
    version = data[p]
    nul = data.find(b"\0", p + 1, end)
    if version not in (1, 3) or nul < 0:
        raise EhFrameError("CIE version %d" % version)
    aug = data[p + 1:nul].decode("latin-1")
    q = _leb128(data, nul + 1, False)[1]
    q = _leb128(data, q, True)[1]
    q = q + 1 if version == 1 else _leb128(data, q, False)[1]
    fde_enc, lsda_enc = 0x00, None
    if not aug:
        return fde_enc, lsda_enc, False
    if aug[0] != "z":
        raise EhFrameError("CIE augmentation %r" % aug)
    q = _leb128(data, q, False)[1]
    for c in aug[1:]:
        if c == "R":
            fde_enc = data[q]
            q += 1
        elif c == "L":
            lsda_enc = data[q]
            q += 1
        elif c == "P":
            q = _eh_pointer(data, q + 1, data[q] & 0x7F, va_of, applied=False)[1]
        elif c not in "SB":
            raise EhFrameError("CIE augmentation %r" % aug)
    return fde_enc, lsda_enc, True


def unwind_entries(pe):
    """([(start, end)] of the code the FDEs cover, [LSDA addresses])."""
    frames = [s for s in pe.sections if s.name in (".eh_frame", ".eh_fram")]
    fdes, lsdas = [], []
    for sec in frames:
        data = pe.contents(sec)
        base = pe.image_base + sec.vaddr

        def va_of(pos):
            return base + pos

        cies, p = {}, 0
        while p + 4 <= len(data):
            (length,) = struct.unpack_from("<I", data, p)
            if length == 0:  # a terminator; more pieces may follow
                p += 4
                continue
            if length == 0xFFFFFFFF or p + 4 + length > len(data) or length < 4:
                raise EhFrameError("bad record length at 0x%x" % va_of(p))
            body, end = p + 8, p + 4 + length
            (cie_ptr,) = struct.unpack_from("<I", data, p + 4)
            if cie_ptr:
                cie_at = p + 4 - cie_ptr
                if cie_at not in cies:
                    if cie_at < 0 or struct.unpack_from("<I", data, cie_at + 4)[0] != 0:
                        raise EhFrameError("FDE at 0x%x names no CIE" % va_of(p))
                    cies[cie_at] = _cie(data, cie_at + 8, len(data), va_of)
                fde_enc, lsda_enc, has_aug = cies[cie_at]
                start, q = _eh_pointer(data, body, fde_enc, va_of)
                size, q = _eh_pointer(data, q, fde_enc & 0x0F, va_of)
                fdes.append((start, start + size))
                if has_aug:
                    q = _leb128(data, q, False)[1]
                    if lsda_enc is not None and lsda_enc != 0xFF:
                        lsda = _eh_pointer(data, q, lsda_enc, va_of)[0]
                        if lsda:
                            lsdas.append(lsda)
            p = end
    return fdes, lsdas


def _pointer_lists_before(pe, sec, end):
    """Start of the constructor and destructor lists (-1, pointers, 0) that
    ld puts just before end, or end itself if they are not there."""
    lo = pe.image_base + sec.vaddr
    data = pe.contents(sec)

    def word(va):
        return struct.unpack_from("<I", data, va - lo)[0]

    start = end
    for _ in range(2):
        p = start - 4
        if p < lo or word(p) != 0:
            return end
        while p >= lo and word(p) == 0:  # the terminator and any padding
            p -= 4
        while p >= lo and word(p) != 0xFFFFFFFF and pe.section_at(word(p)) is sec:
            p -= 4
        if p < lo or word(p) != 0xFFFFFFFF:
            return end
        start = p
    return start


def data_in_code(pe):
    """([(start, end, what)] of data found inside code sections, note)."""
    try:
        fdes, lsdas = unwind_entries(pe)
    except (EhFrameError, IndexError, struct.error) as e:
        return [], "unwind data not understood (%s); all code sections scanned" % e
    ranges, notes = [], []
    for sec in pe.sections:
        if not sec.is_code():
            continue
        lo = pe.image_base + sec.vaddr
        hi = lo + sec.size()
        tables = [a for a in lsdas if lo <= a < hi]
        end = min(tables) if tables else lo + (sec.size() & ~3)
        if tables and any(end <= f < hi for f, _ in fdes):
            notes.append("code follows the exception tables in %s; all of it scanned" % sec.name)
            continue
        lists = _pointer_lists_before(pe, sec, end)
        if lists < end and not any(lists <= f < end for f, _ in fdes):
            ranges.append((lists, end, "constructor lists"))
        if tables:
            ranges.append((end, hi, "exception tables"))
    return ranges, "; ".join(notes)


# The Pentium Pro's additions (conditional moves, FPU compares into EFLAGS,
# FPU conditional moves), missing on the Pentium MMX and the AMD K6.
_P6_MNEMONIC = re.compile(r"^(cmov[a-z]+|fcmov[a-z]+|fu?comip?)$")
SSE, P6 = "SSE", "Pentium Pro"


def scan_code(disassembly, skip=()):
    """(instructions seen, [(address, function, text, SSE or P6)]) of
    objdump -d output; instructions starting in one of the (start, end)
    ranges of skip are data."""
    count, hits, func = 0, [], "?"
    for line in disassembly.splitlines():
        m = _FUNC_LINE.match(line)
        if m:
            func = m.group(1)
            continue
        m = _INSN_LINE.match(line)
        if not m:
            continue
        addr, text = m.group(1), m.group(2).strip()
        if skip:
            va = int(addr, 16)
            if any(lo <= va < hi for lo, hi in skip):
                continue
        count += 1
        words = re.split(r"[\s,]+", text)
        if _VECTOR_REG.search(text) or any(w in _SSE_NO_XMM for w in words):
            hits.append((addr, func, text, SSE))
        elif any(_P6_MNEMONIC.match(w) for w in words):
            hits.append((addr, func, text, P6))
    return count, hits


class LinkerMap:
    """Names for the addresses of a stripped file, from ld's -Map output:
    the nearest symbol before an address in its input section, or else the
    section and the object it came from."""

    _SECTION = re.compile(r"^ (\.text\S*)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
    _SYMBOL = re.compile(r"^\s+0x([0-9a-f]+)\s+([^\s=]+)\s*$")

    def __init__(self, text):
        self.sections, self.symbols = [], []
        name = None
        for line in text.splitlines():
            m = re.match(r"^ (\.text\S*)\s*$", line)
            if m:  # a long section name, its address on the next line
                name = m.group(1)
                continue
            m = self._SECTION.match(line)
            if m and (m.group(1) or name):
                start, size = int(m.group(2), 16), int(m.group(3), 16)
                if size:
                    self.sections.append((start, start + size, m.group(1) or name, os.path.basename(m.group(4))))
                name = None
                continue
            name = None
            m = self._SYMBOL.match(line)
            if m:
                self.symbols.append((int(m.group(1), 16), m.group(2)))
        self.sections.sort()
        self.symbols.sort()

    def name(self, va):
        i = bisect.bisect_right(self.sections, (va, float("inf"))) - 1
        if i < 0 or not self.sections[i][0] <= va < self.sections[i][1]:
            return None
        start, _, section, obj = self.sections[i]
        j = bisect.bisect_right(self.symbols, (va, "\uffff")) - 1
        if j >= 0 and self.symbols[j][0] >= start:
            return "%s (%s)" % (self.symbols[j][1], obj)
        return "%s (%s)" % (section, obj)


def linker_map(path):
    """(its path, LinkerMap) of the map written beside path (name.ext.map or
    name.map), or (None, None)."""
    for candidate in (path + ".map", os.path.splitext(path)[0] + ".map"):
        try:
            with open(candidate, encoding="latin-1") as f:
                return candidate, LinkerMap(f.read())
        except OSError:
            pass
    return None, None


def disassemble(path, objdump):
    try:
        out = subprocess.run([objdump, "-d", "--no-show-raw-insn", path], check=True,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, universal_newlines=True)
    except FileNotFoundError:
        raise PeError("%s not found (binutils-mingw-w64-i686)" % objdump)
    except subprocess.CalledProcessError as e:
        raise PeError("%s failed: %s" % (objdump, e.stderr.strip()))
    return out.stdout


def check(path, exports, objdump, out, w2k_exports=None, max_bytes=None):
    """Checks one file against XP's export lists and, when given, Windows
    2000's, and its size against max_bytes; returns the list of violations
    (empty: fine)."""
    violations = []
    with open(path, "rb") as f:
        pe = PeFile(f.read())
    name = os.path.basename(path)
    if max_bytes is not None:
        out.write("%s: %d bytes, at most %d\n" % (name, len(pe.data), max_bytes))
        if len(pe.data) > max_bytes:
            violations.append("%d bytes, %d over its limit of %d" % (len(pe.data), len(pe.data) - max_bytes, max_bytes))

    if pe.machine != MACHINE_I386:
        violations.append("machine 0x%x, not i386 (0x14c)" % pe.machine)
    if pe.magic != PE32_MAGIC:
        violations.append("optional header magic 0x%x, not PE32 (0x10b)" % pe.magic)
    if pe.subsystem != SUBSYSTEM_GUI:
        violations.append("subsystem %d, not GUI (2)" % pe.subsystem)
    if (pe.subsys_major, pe.subsys_minor) > OLDEST_VERSION:
        violations.append("subsystem version %d.%d is above 5.0" % (pe.subsys_major, pe.subsys_minor))
    if (pe.os_major, pe.os_minor) > OLDEST_VERSION:
        violations.append("OS version %d.%d is above 5.0" % (pe.os_major, pe.os_minor))
    out.write("%s: machine 0x%x, subsystem %d %d.%d, OS version %d.%d\n" % (
        name, pe.machine, pe.subsystem, pe.subsys_major, pe.subsys_minor, pe.os_major, pe.os_minor))

    for dll, entries, delayed in pe.imports():
        key = dll_key(dll)
        by_name = [n for n, _ in entries if n is not None]
        ordinals = [o for n, o in entries if n is None]
        note = " (delay-loaded)" if delayed else ""
        out.write("  %s%s: %d names, %d ordinals\n" % (dll, note, len(by_name), len(ordinals)))
        if key not in exports:
            violations.append("imports from %s, which is not a system DLL with an XP export list" % dll)
            continue
        for n in by_name:
            if n not in exports[key]:
                violations.append("%s!%s is not exported by XP's %s" % (key, n, dll))
            elif w2k_exports is not None and key in w2k_exports and n not in w2k_exports[key]:
                violations.append("%s!%s is not exported by name by Windows 2000's %s" % (key, n, dll))
        if w2k_exports is not None and key not in w2k_exports:
            violations.append("imports from %s, which Windows 2000 does not have" % dll)

    out.write("  DLL characteristics 0x%04x\n" % pe.dll_characteristics)
    if pe.dll_characteristics & DLLCHAR_NO_ISOLATION:
        violations.append("DLL characteristics 0x%04x say NO_ISOLATION: the loader would ignore the manifest"
                          % pe.dll_characteristics)
    elif pe.dll_characteristics & ~DLLCHAR_XP:
        violations.append("DLL characteristics 0x%04x have bits for 64-bit or later Windows (0x%04x)"
                          % (pe.dll_characteristics, pe.dll_characteristics & ~DLLCHAR_XP))
    if pe.is_dll():
        relocs = pe.relocations_size()
        out.write("  DLL, %d bytes of relocations\n" % relocs)
        if not relocs:
            violations.append("a DLL without relocations fails to load where its base address is taken")
        if name.lower().endswith(".cpl"):
            exported = pe.exports()
            out.write("  exports: %s\n" % (", ".join(exported) or "none"))
            if "CPlApplet" not in exported:
                violations.append("a Control Panel item that does not export CPlApplet")

    manifests = pe.resources(RT_MANIFEST)
    for nid, lang, raw in manifests:
        out.write("  manifest resource %s (language %d): %d bytes\n" % (nid, lang, len(raw)))
        violations.extend(manifest_violations(raw))
    if pe.is_dll():
        if manifests and all(nid != DLL_MANIFEST_ID for nid, _, _ in manifests):
            violations.append("no manifest resource with id 2, the one the loader binds a DLL's imports by")
    elif manifests and all(nid != PROGRAM_MANIFEST_ID for nid, _, _ in manifests):
        violations.append("no manifest resource with id 1, the one a program's start uses")

    skip, note = data_in_code(pe)
    for lo, hi, what in skip:
        out.write("  data in code: 0x%x-0x%x, %s (%d bytes), not disassembled\n" % (lo, hi, what, hi - lo))
    if note:
        out.write("  note: %s\n" % note)
    count, hits = scan_code(disassemble(path, objdump), [(lo, hi) for lo, hi, _ in skip])
    out.write("  %d instructions disassembled, %d SSE/SSE2, %d Pentium Pro\n" % (
        count, sum(h[3] == SSE for h in hits), sum(h[3] == P6 for h in hits)))
    if count == 0:
        violations.append("no code found to disassemble")
    map_path, names = linker_map(path) if hits else (None, None)
    if map_path:
        out.write("  functions named from %s\n" % os.path.basename(map_path))
    for addr, func, text, kind in hits:
        func = names and names.name(int(addr, 16)) or func
        violations.append("%s instruction at 0x%s in %s: %s" % (kind, addr, func, text))
    return violations


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description="Check that executables load on Windows XP on every CPU it runs on, "
                                 "and on Windows 2000.")
    ap.add_argument("exe", nargs="*")
    ap.add_argument("--manifest", action="append", default=[], help="a manifest file to check as well")
    ap.add_argument("--exports", default=os.path.join(here, os.pardir, "data", "xp-exports"),
                    help="folder of XP's <dll>.txt export lists")
    ap.add_argument("--w2k-exports", default=os.path.join(here, os.pardir, "data", "w2k-exports"),
                    help="folder of Windows 2000's <dll>.txt export lists")
    ap.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    ap.add_argument("--max-bytes", type=int, help="the largest each file may be")
    ap.add_argument("--max-report", type=int, default=50, help="violations printed per file")
    args = ap.parse_args(argv)

    exports = load_export_lists(args.exports)
    w2k_exports = load_export_lists(args.w2k_exports)
    for folder, lists in ((args.exports, exports), (args.w2k_exports, w2k_exports)):
        if not lists:
            print("xpcheck: no export lists in %s" % folder, file=sys.stderr)
            return 2
    status = 0
    if not args.exe and not args.manifest:
        ap.error("nothing to check")
    for path in args.manifest:
        try:
            with open(path, "rb") as f:
                violations = manifest_violations(f.read())
        except OSError as e:
            print("%s: cannot check: %s" % (path, e))
            status = 2
            continue
        for v in violations:
            print("  VIOLATION: %s" % v)
        print("%s: %s" % (os.path.basename(path), "ok" if not violations else "FAILED (%d violations)" % len(violations)))
        if violations and status == 0:
            status = 1
    for path in args.exe:
        try:
            violations = check(path, exports, args.objdump, sys.stdout, w2k_exports, args.max_bytes)
        except (OSError, PeError) as e:
            print("%s: cannot check: %s" % (path, e))
            status = 2
            continue
        name = os.path.basename(path)
        for v in violations[:args.max_report]:
            print("  VIOLATION: %s" % v)
        if len(violations) > args.max_report:
            print("  ... and %d more" % (len(violations) - args.max_report))
        print("%s: %s" % (name, "ok" if not violations else "FAILED (%d violations)" % len(violations)))
        if violations and status == 0:
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
