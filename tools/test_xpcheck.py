#!/usr/bin/env python3
"""Tests of the XP load check against small programs built with mingw-w64."""
import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xpcheck  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
EXPORTS = os.path.join(HERE, os.pardir, "data", "xp-exports")
W2K_EXPORTS = os.path.join(HERE, os.pardir, "data", "w2k-exports")
CC = "i686-w64-mingw32-gcc-win32"
WINDRES = "i686-w64-mingw32-windres"
DLLTOOL = "i686-w64-mingw32-dlltool"
W2K_LINK = ["-Wl,--major-subsystem-version,5,--minor-subsystem-version,0,--major-os-version,5,--minor-os-version,0"]
# Unless a case says otherwise, programs are built as the product is: for
# the Pentium MMX and with a start-up of their own, as mingw-w64's crt2.o
# uses CMOV.
MMX = ["-march=pentium-mmx"]
OWN_START = r"""
void mainCRTStartup(void) { ExitProcess(WinMain(GetModuleHandleA(0), 0, GetCommandLineA(), SW_SHOWDEFAULT)); }
void WinMainCRTStartup(void) { mainCRTStartup(); }
"""

GUI_MAIN = r"""
#include <windows.h>
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
    MessageBoxA(0, "hi", "t", 0);
    return (int)GetTickCount();
}
"""

FLOAT_MAIN = r"""
#include <windows.h>
volatile double x = 3.0;
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
    double y = x * d + 0.5;
    return (int)(y / x);
}
"""

VISTA_MAIN = r"""
#define _WIN32_WINNT 0x0600
#include <windows.h>
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
    return (int)GetTickCount64();
}
"""

WINSOCK_MAIN = r"""
#include <winsock2.h>
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
    WSADATA w;
    return WSAStartup(0x202, &w);
}
"""

# A minimum of ints and of doubles: for the Pentium Pro, CMOV and FCOMI.
CHOICE_MAIN = r"""
#include <windows.h>
volatile int a = 3, b = 4;
volatile double x = 3.0, y = 4.0;
__attribute__((noinline)) int smaller(int p, int q) { return p < q ? p : q; }
__attribute__((noinline)) double nearer(double p, double q) { return p < q ? p : q; }
int WINAPI WinMain(HINSTANCE h, HINSTANCE hp, LPSTR c, int d) {
    return smaller(a, b) + (int)nearer(x, y);
}
"""

# What Windows 2000 lacks: uxtheme.dll, and comctl32 5.81's subclass calls
# by name.
XP_ONLY_MAIN = r"""
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
    InitCommonControls();
    return IsAppThemed() + SetWindowSubclass(0, 0, 0, 0);
}
"""

ORDINAL_MAIN = r"""
#include <windows.h>
int __stdcall ByOrdinal(void);
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
    return ByOrdinal();
}
"""

# An exception table (LSDA) named by a function's unwind entry, as g++
# leaves one for a function with a try block; ld puts every such table in
# .text after the code. Its bytes read as sqrtps and movaps %xmm1,%xmm0.
LSDA_ASM = r"""
__asm__(
  ".text\n"
  ".globl _guarded\n"
  "_guarded:\n"
  ".cfi_startproc\n"
  ".cfi_lsda 0x1b, Ltable\n"
  "  movl $1, %eax\n"
  "  ret\n"
  ".cfi_endproc\n"
  ".section .gcc_except_table,\"dr\"\n"
  "Ltable:\n"
  "  .byte 0xff, 0xff, 0x01, 0x0f, 0x51, 0x05, 0x0f, 0x28, 0xc1, 0x00\n"
@AFTER@
  ".text\n");
int guarded(void);
"""

# Code in the exception tables' section (in place of @AFTER@), with an
# unwind entry of its own.
CODE_AFTER_TABLES = r"""
  ".globl _late\n"
  "_late:\n"
  ".cfi_startproc\n"
  "  movaps %xmm1, %xmm0\n"
  "  ret\n"
  ".cfi_endproc\n"
"""

GUARDED_MAIN = r"""
#include <windows.h>
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
    return guarded() + (int)GetTickCount();
}
"""

# A constructor whose address, 0x510fc0 under image base 0x500000, reads as
# sqrtps (%eax),%xmm0 in the list ld puts at the end of .text; the padding
# makes that address part of the code.
CTOR_MAIN = r"""
#include <windows.h>
__asm__(
  ".text\n"
  "  .skip 0x11000, 0x90\n"
  ".section .ctors,\"w\"\n"
  "  .long 0x00510fc0\n"
  ".text\n");
int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
    return (int)GetTickCount();
}
"""


CPL_MAIN = r"""
#include <windows.h>
__declspec(dllexport) LONG APIENTRY CPlApplet(HWND w, UINT m, LPARAM a, LPARAM b) {
    return m == 1 ? 1 : (LONG)GetTickCount();
}
"""
CPL_START = r"""
BOOL WINAPI DllMainCRTStartup(HINSTANCE h, DWORD r, LPVOID p) { return TRUE; }
"""

GOOD_MANIFEST = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="Quillmere" version="1.0.0.0" processorArchitecture="x86"/>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="x86" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">
    <security><requestedPrivileges><requestedExecutionLevel level="asInvoker" uiAccess="false"/>
    </requestedPrivileges></security>
  </trustInfo>
</assembly>
"""

COMPATIBILITY = """  <compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">
    <application><supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/></application>
  </compatibility>
</assembly>"""


class Built(unittest.TestCase):
    """Each case builds a program in a scratch folder and checks it."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="xpcheck-")
        cls.exports = xpcheck.load_export_lists(EXPORTS)
        cls.w2k_exports = xpcheck.load_export_lists(W2K_EXPORTS)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def build(self, name, source, *flags, stock=False):
        """Builds source; stock: with the compiler's default CPU and start-up."""
        src = os.path.join(self.tmp, name + ".c")
        exe = os.path.join(self.tmp, name + ".exe")
        with open(src, "w") as f:
            f.write(source if stock else source + OWN_START)
        how = [] if stock else MMX + ["-nostartfiles"]
        subprocess.run([CC, "-O2", "-static", "-s", src, "-o", exe] + how + list(flags), check=True,
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        return exe

    def violations(self, exe, exports=None):
        out = io.StringIO()
        v = xpcheck.check(exe, exports or self.exports, "i686-w64-mingw32-objdump", out, self.w2k_exports)
        return v, out.getvalue()

    def test_plain_gui_program_passes_and_reports_what_it_checked(self):
        exe = self.build("plain", GUI_MAIN, "-mwindows", *W2K_LINK)
        v, report = self.violations(exe)
        self.assertEqual(v, [])
        self.assertIn("KERNEL32.dll", report)
        self.assertIn("USER32.dll", report)
        self.assertRegex(report, r"[1-9]\d* instructions disassembled, 0 SSE/SSE2, 0 Pentium Pro")

    def test_pentium_pro_instructions_are_caught_and_named_from_the_map(self):
        mmx = self.build("choice_mmx", CHOICE_MAIN, "-mwindows", *W2K_LINK)
        self.assertEqual(self.violations(mmx)[0], [])
        p6 = os.path.join(self.tmp, "choice_p6.exe")
        self.build("choice_p6", CHOICE_MAIN, "-mwindows", *W2K_LINK, "-march=pentiumpro",
                   "-Wl,-Map=" + p6[:-4] + ".map")
        v, report = self.violations(p6)
        self.assertIn("functions named from choice_p6.map", report)
        self.assertTrue(all(x.startswith("Pentium Pro instruction at 0x") for x in v), v)
        for func, mnemonic in (("smaller", "cmov"), ("nearer", "fcomi")):
            self.assertTrue(any(" in %s (" % func in x and ": " + mnemonic in x for x in v), (func, v))
        # The compiler's own start-up, whatever the program's code.
        stock = os.path.join(self.tmp, "stock.exe")
        self.build("stock", GUI_MAIN, "-mwindows", *W2K_LINK, *MMX, "-Wl,-Map=" + stock[:-4] + ".map", stock=True)
        v, _ = self.violations(stock)
        self.assertTrue(any("(crt2.o): cmov" in x for x in v), v)

    def test_x87_float_code_passes_but_sse2_math_is_caught(self):
        x87 = self.build("x87", FLOAT_MAIN, "-mwindows", *W2K_LINK)
        self.assertEqual(self.violations(x87)[0], [])
        sse = self.build("sse2", FLOAT_MAIN, "-mwindows", "-msse2", "-mfpmath=sse", *W2K_LINK)
        v, _ = self.violations(sse)
        self.assertTrue(v)
        self.assertTrue(all("SSE instruction" in x for x in v), v)
        self.assertTrue(any("%xmm" in x for x in v))

    def test_data_after_the_code_is_not_taken_for_sse(self):
        tables = self.build("lsda", LSDA_ASM.replace("@AFTER@", "") + GUARDED_MAIN, "-mwindows", *W2K_LINK)
        v, report = self.violations(tables)
        self.assertEqual(v, [])
        self.assertRegex(report, r"data in code: 0x[0-9a-f]+-0x[0-9a-f]+, exception tables")
        ctor = self.build("ctor", CTOR_MAIN, "-mwindows", *W2K_LINK, "-Wl,--image-base=0x500000")
        v, report = self.violations(ctor)
        self.assertEqual(v, [])
        self.assertIn("constructor lists", report)

    def test_sse_code_beside_exception_tables_is_still_caught(self):
        sse = self.build("lsda_sse2", LSDA_ASM.replace("@AFTER@", "") + FLOAT_MAIN, "-mwindows", "-msse2", "-mfpmath=sse", *W2K_LINK)
        v, report = self.violations(sse)
        self.assertIn("exception tables", report)
        self.assertTrue(v)
        self.assertTrue(all("%xmm" in x and "sqrtps" not in x for x in v), v)
        late = self.build("lsda_late", LSDA_ASM.replace("@AFTER@", CODE_AFTER_TABLES) + GUARDED_MAIN, "-mwindows", *W2K_LINK)
        v, report = self.violations(late)
        self.assertIn("code follows the exception tables", report)
        self.assertTrue(any("movaps %xmm1,%xmm0" in x for x in v), v)

    def test_vista_only_import_is_named(self):
        exe = self.build("vista", VISTA_MAIN, "-mwindows", *W2K_LINK)
        v, _ = self.violations(exe)
        self.assertIn("kernel32!GetTickCount64 is not exported by XP's KERNEL32.dll", v)

    def test_console_subsystem_and_newer_versions_are_refused(self):
        exe = self.build("console", GUI_MAIN, "-mconsole",
                         "-Wl,--major-subsystem-version,6,--minor-subsystem-version,0",
                         "-Wl,--major-os-version,5,--minor-os-version,2")
        v, _ = self.violations(exe)
        self.assertIn("subsystem 3, not GUI (2)", v)
        self.assertIn("subsystem version 6.0 is above 5.0", v)
        self.assertIn("OS version 5.2 is above 5.0", v)
        xp = self.build("xp_header", GUI_MAIN, "-mwindows",
                        "-Wl,--major-subsystem-version,5,--minor-subsystem-version,1")
        self.assertEqual(self.violations(xp)[0], ["subsystem version 5.1 is above 5.0"])

    def test_dll_without_export_list_is_refused(self):
        exe = self.build("winsock", WINSOCK_MAIN, "-mwindows", *W2K_LINK, "-lws2_32")
        v, _ = self.violations(exe)
        self.assertTrue(any("WS2_32.dll, which is not a system DLL" in x for x in v), v)

    def test_what_windows_2000_lacks_is_named(self):
        exe = self.build("xp_only", XP_ONLY_MAIN, "-mwindows", *W2K_LINK, "-lcomctl32", "-luxtheme")
        v, _ = self.violations(exe)
        self.assertEqual(sorted(x.split(" ")[0] for x in v), ["comctl32!SetWindowSubclass", "imports"], v)
        self.assertTrue(any(x.startswith("comctl32!SetWindowSubclass is not exported by name by Windows 2000's")
                            for x in v), v)
        self.assertTrue(any(x.lower().startswith("imports from uxtheme.dll, which windows 2000 does not have")
                            for x in v), v)

    def test_ordinal_import_is_allowed(self):
        deffile = os.path.join(self.tmp, "ord.def")
        lib = os.path.join(self.tmp, "libord.a")
        with open(deffile, "w") as f:
            f.write("LIBRARY comctl32.dll\nEXPORTS\nByOrdinal@0 @410 NONAME\n")
        subprocess.run([DLLTOOL, "-k", "-d", deffile, "-l", lib], check=True)
        exe = self.build("ordinal", ORDINAL_MAIN, "-mwindows", *W2K_LINK, lib)
        v, report = self.violations(exe)
        self.assertEqual(v, [])
        self.assertRegex(report, r"comctl32.dll: 0 names, 1 ordinals")

    def embed(self, name, manifest, res_id=1):
        man = os.path.join(self.tmp, name + ".manifest")
        rc = os.path.join(self.tmp, name + ".rc")
        obj = os.path.join(self.tmp, name + ".res.o")
        with open(man, "w") as f:
            f.write(manifest)
        with open(rc, "w") as f:
            f.write('%d 24 "%s"\n' % (res_id, os.path.basename(man)))
        subprocess.run([WINDRES, "-I", self.tmp, rc, "-o", obj], check=True, cwd=self.tmp)
        return obj

    def test_embedded_manifest_is_checked(self):
        good = self.build("man_good", GUI_MAIN, "-mwindows", *W2K_LINK, self.embed("good", GOOD_MANIFEST))
        v, report = self.violations(good)
        self.assertEqual(v, [])
        self.assertIn("manifest resource 1", report)
        bad_text = GOOD_MANIFEST.replace("</assembly>", COMPATIBILITY)
        bad = self.build("man_bad", GUI_MAIN, "-mwindows", *W2K_LINK, self.embed("bad", bad_text))
        v, _ = self.violations(bad)
        self.assertEqual(v, ["manifest has a compatibility section, which XP cannot read"])
        wrong_id = self.build("man_id", GUI_MAIN, "-mwindows", *W2K_LINK, self.embed("id2", GOOD_MANIFEST, 2))
        v, _ = self.violations(wrong_id)
        self.assertEqual(v, ["no manifest resource with id 1, the one a program's start uses"])

    def test_names_are_matched_case_sensitively(self):
        exe = self.build("case", GUI_MAIN, "-mwindows", *W2K_LINK)
        lists = {k: set(v) for k, v in self.exports.items()}
        lists["user32"].discard("MessageBoxA")
        lists["user32"].add("messageboxa")
        v, _ = self.violations(exe, lists)
        self.assertEqual(v, ["user32!MessageBoxA is not exported by XP's USER32.dll"])


    def build_cpl(self, name, source, *flags):
        """A Control Panel item with an entry point of its own."""
        src = os.path.join(self.tmp, name + ".c")
        cpl = os.path.join(self.tmp, name + ".cpl")
        with open(src, "w") as f:
            f.write(source + CPL_START)
        subprocess.run([CC, "-O2", "-shared", "-nostartfiles", "-s", "-mwindows", src, "-o", cpl, "-Wl,--kill-at"]
                       + MMX + W2K_LINK + list(flags), check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        return cpl

    def test_control_panel_item_is_checked_as_a_dll(self):
        good = self.build_cpl("item", CPL_MAIN, self.embed("item", GOOD_MANIFEST, 2))
        v, report = self.violations(good)
        self.assertEqual(v, [])
        self.assertRegex(report, r"DLL, [1-9]\d* bytes of relocations")
        self.assertIn("exports: CPlApplet", report)
        size = os.path.getsize(good)
        out = io.StringIO()
        v = xpcheck.check(good, self.exports, "i686-w64-mingw32-objdump", out, self.w2k_exports, size - 1)
        self.assertEqual(v, ["%d bytes, 1 over its limit of %d" % (size, size - 1)])
        # What makes XP refuse it, or load it without the manifest.
        bad = self.build_cpl("item_bad", CPL_MAIN.replace("CPlApplet", "CplApplet"), self.embed("item1", GOOD_MANIFEST),
                             "-Wl,--no-isolation")
        # ld keeps a DLL's relocations whatever it is told: the directory
        # is emptied by hand.
        with open(bad, "r+b") as f:
            data = f.read()
            (pe_off,) = struct.unpack_from("<I", data, 0x3C)
            f.seek(pe_off + 24 + 96 + 8 * 5 + 4)
            f.write(b"\0\0\0\0")
        v, _ = self.violations(bad)
        self.assertEqual(v, ["DLL characteristics 0x0340 say NO_ISOLATION: the loader would ignore the manifest",
                             "a DLL without relocations fails to load where its base address is taken",
                             "a Control Panel item that does not export CPlApplet",
                             "no manifest resource with id 2, the one the loader binds a DLL's imports by"])


class Scanner(unittest.TestCase):
    def test_sse_forms_are_found_and_ordinary_code_is_not(self):
        text = "\n".join([
            "00401000 <f>:",
            "  401000:\tpush   %ebp",
            "  401001:\trep stos %eax,%es:(%edi)",
            "  401003:\tmovsl  %ds:(%esi),%es:(%edi)",
            "  401004:\tcmovne %eax,%edx",
            "  401007:\tfucomip %st(1),%st",
            "  401009:\tmovsd  %xmm0,0x8(%esp)",
            "  40100f:\tldmxcsr 0x4(%esp)",
            "  401014:\tpshufw $0x0,%mm1,%mm0",
            "  401018:\tprefetchnta (%eax)",
            "00401020 <g>:",
            "  401020:\tlock cmpxchg %ecx,(%edx)",
            "  401024:\tvaddps %ymm1,%ymm2,%ymm3",
        ])
        count, hits = xpcheck.scan_code(text)
        self.assertEqual(count, 11)
        sse, p6 = xpcheck.SSE, xpcheck.P6
        self.assertEqual([(h[0], h[3]) for h in hits], [("401004", p6), ("401007", p6), ("401009", sse),
                                                        ("40100f", sse), ("401014", sse), ("401018", sse),
                                                        ("401024", sse)])
        self.assertEqual(hits[-1][1], "g")


class Manifest(unittest.TestCase):
    def test_a_strict_xp_manifest_passes(self):
        self.assertEqual(xpcheck.manifest_violations(GOOD_MANIFEST.encode()), [])

    def test_what_xp_refuses_is_named(self):
        dependency = GOOD_MANIFEST[GOOD_MANIFEST.index("<dependency>"):GOOD_MANIFEST.index("</dependency>") + 13]
        crt = ('<dependency><dependentAssembly><assemblyIdentity type="win32" name="Microsoft.VC90.CRT" '
               'version="9.0.21022.8"/></dependentAssembly></dependency>')
        cases = [
            ("not well-formed", GOOD_MANIFEST.replace("</dependency>", "")),
            ("'1.0' is not four numbers", GOOD_MANIFEST.replace('version="1.0.0.0"', 'version="1.0"')),
            ("publicKeyToken='6595b64144ccf1dd'", GOOD_MANIFEST.replace("6595b64144ccf1df", "6595b64144ccf1dd")),
            ("version='5.82.0.0'", GOOD_MANIFEST.replace('version="6.0.0.0"', 'version="5.82.0.0"')),
            ("declared more than once", GOOD_MANIFEST.replace(
                "<requestedPrivileges>", '<requestedPrivileges xmlns="urn:schemas-microsoft-com:asm.v3">')),
            ("trustInfo is not in", GOOD_MANIFEST.replace(
                '<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">', "<trustInfo>")),
            ("XP wants one", GOOD_MANIFEST.replace("</dependency>", "</dependency>" + dependency, 1)),
            ("Microsoft.VC90.CRT, which XP does not have", GOOD_MANIFEST.replace("</dependency>", "</dependency>" + crt)),
        ]
        for expect, text in cases:
            with self.subTest(expect=expect):
                v = xpcheck.manifest_violations(text.encode())
                self.assertEqual(len(v), 1, v)
                self.assertIn(expect, v[0])


class Broken(unittest.TestCase):
    def test_unreadable_files_give_status_2(self):
        with tempfile.NamedTemporaryFile(suffix=".exe", delete=False) as f:
            f.write(b"MZ" + b"\0" * 58 + b"\xff\xff\x00\x00")
            bad = f.name
        try:
            with open(os.devnull, "w") as null:
                old, sys.stdout = sys.stdout, null
                try:
                    status = xpcheck.main([bad, os.path.join(tempfile.gettempdir(), "no-such.exe")])
                finally:
                    sys.stdout = old
            self.assertEqual(status, 2)
        finally:
            os.unlink(bad)

    def test_truncated_import_table_is_an_error_not_a_crash(self):
        exe = os.path.join(tempfile.mkdtemp(prefix="xpcheck-"), "cut.exe")
        src = exe[:-4] + ".c"
        with open(src, "w") as f:
            f.write(GUI_MAIN)
        subprocess.run([CC, "-s", "-mwindows", src, "-o", exe], check=True)
        with open(exe, "rb") as f:
            data = f.read()
        pe = xpcheck.PeFile(data)
        rva, _ = pe.directory(xpcheck.IMAGE_DIRECTORY_ENTRY_IMPORT)
        cut = xpcheck.PeFile(data[:pe.offset(rva) + 8])
        with self.assertRaises(xpcheck.PeError):
            cut.imports()
        shutil.rmtree(os.path.dirname(exe), ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
