/*
 * QvxSetup: installation support library. Public interface for installer authors.
 *
 * An installer script loads QvxSetup.dll (libqvxsetup.so on Linux) and calls one export at a time,
 * on one thread, while it installs or upgrades the suite. Nothing here is thread-safe.
 *
 * Calling convention: every export is a plain function under the undecorated name below. Those
 * that take arguments remove them from the stack themselves (stdcall), although their exported
 * names carry no "@n" decoration; for the exports without arguments the convention makes no
 * difference. An import library for C hosts (libqvxsetup.a) maps the decorated symbols that a
 * stdcall prototype produces onto these names.
 *
 * Results: integer results are 32 bits wide unless marked 16-bit. A 16-bit result is the low half
 * of the return register; the upper half carries nothing, so read only the low 16 bits. String
 * results belong to the library: copy the text before the next call of any identity query (f10 to
 * f14, f21) and never free it. No export reports an error other than through its result, and none
 * shows anything except f16.
 *
 * Strings: arguments are NUL-terminated 8-bit strings in the system ANSI code page. A null pointer
 * counts as the empty string everywhere.
 *
 * Configuration document paths: a path whose second character is ':' names the file itself. Any
 * other path, including one that begins with two backslashes, is taken relative to
 * %APPDATA%\Quenby\QVX7\ (so "product.xml" is %APPDATA%\Quenby\QVX7\product.xml). When APPDATA is
 * unset or empty, or too long for APPDATA plus that suffix to fit 260 bytes with the NUL, a
 * relative path names no file: it is neither read nor written. A resolved path longer than 323
 * bytes is not read either. Reading such a document, a missing or unreadable one, or a malformed
 * one behaves as if it held nothing (or what was read before the fault).
 *
 * Configuration documents are UTF-8 XML: a "settings" root, one child element per section, one
 * grandchild element per key whose text is the value. Element names encode the section and key
 * names: ASCII letters and (not leading) digits stay, every other byte becomes "_" and two
 * upper-case hexadecimal digits ("my key" is my_20key, "2nd" is _32nd). Names are matched with
 * ASCII letters compared regardless of case.
 */
#ifndef QVXSETUP_H
#define QVXSETUP_H

#include <stdint.h>

#ifdef _WIN32
#define QVXSETUP_CALL __stdcall
#else
#define QVXSETUP_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Product identity queries ----
 * Each loads the configuration document at `configPath` into the library's one identity document
 * (discarding what the previous query loaded) and answers from its section "common". A string
 * result stays valid until the next identity query or until the library is unloaded. Nothing is
 * written to disk. */

/* The product identifier: key "id" read as a decimal number (leading white space skipped, an
 * optional sign, digits up to the first other character: "42abc" is 42, " -7" is -7, no digits is
 * 0; a number beyond the 32-bit range answers the nearest end of the range). 0 when absent. */
int32_t QVXSETUP_CALL f10(const char* configPath);

/* The product name: key "name"; "" when absent. */
const char* QVXSETUP_CALL f11(const char* configPath);

/* The version: key "version"; "" when absent. */
const char* QVXSETUP_CALL f12(const char* configPath);

/* The full product name: key "namefull"; "" when absent. */
const char* QVXSETUP_CALL f13(const char* configPath);

/* The full product name without its brand prefix: key "namefull", and when its first three
 * characters are "QB " (letters in either case) the text after them. "" when absent. */
const char* QVXSETUP_CALL f14(const char* configPath);

/* The product title, composed in a 128-byte library buffer that every call overwrites:
 *   name holds "Visage" (case-sensitive): "Visage Shifter 2.0 " followed by key "edition";
 *   else name holds "Playtone": "Playtone 7.0";
 *   else: "Tonecraft 7.0 " followed by key "edition".
 * An absent edition is ""; the trailing blank stays. A title longer than 127 bytes is cut to its
 * first 127 bytes (an overlong edition loses its end). */
const char* QVXSETUP_CALL f21(const char* configPath);

/* ---- XML engine probe ---- */

/* 16-bit. 1 when the system XML engine's SAX reader and XML writer can both be created (and are
 * released again at once), else 0. Initialises COM on the calling thread and leaves it so. */
uint16_t QVXSETUP_CALL f15(void);

/* ---- Running-instance guard ---- */

/* 1 when installation may go on, 0 when it must stop. When the suite is running (its named mutex
 * "QVX3 GLOBAL" exists) asks the user for leave to close it, asks its main window to quit, waits
 * up to five seconds, then asks the user to close it by hand; 0 when the user declines or the suite
 * is still running. Blocks while a message box is shown. */
int32_t QVXSETUP_CALL f16(void);

/* Creates (or opens) the named mutex "QVX3 GLOBAL" in the caller's process and answers its handle,
 * or null when the system refuses. The caller owns the handle: the mutex lives until it is closed
 * or the process ends. A 32-bit handle on Windows. */
void* QVXSETUP_CALL f17(void);

/* ---- Upgrade merges and presence check ---- */

/* 16-bit. Merges two plug-in catalogs into `outputPath`, ordered by id (as unsigned numbers), the
 * second catalog's record winning for an id found in both. 1 when both catalogs loaded (the write's
 * own result is not considered); 0 when either failed to load, and then nothing is written. */
uint16_t QVXSETUP_CALL f18(const char* outputPath, const char* firstCatalogPath,
                           const char* secondCatalogPath);

/* 16-bit. Merges the source resource catalog into the target one (entries for the same file are
 * replaced by the source's and moved to the end; new files under the target's folder are appended)
 * and saves the result to `outputPath`, which may be the target itself. 1 when saved, else 0. */
uint16_t QVXSETUP_CALL f19(const char* outputPath, const char* targetCatalogPath,
                           const char* sourceCatalogPath);

/* 16-bit. 1 when every file the resource catalog lists exists and is not a folder (also when it
 * lists nothing, or the catalog file is missing), else 0. */
uint16_t QVXSETUP_CALL f20(const char* catalogPath);

/* ---- Module folder notification ---- */

/* Calls "SetTargetFolder" (stdcall, one argument, result ignored) in every module of the caller's
 * process that exports it, passing `targetFolder` on unchanged; f23 itself never reads it. */
void QVXSETUP_CALL f23(const char* targetFolder);

/* ---- Configuration group merge ---- */

/* 16-bit, always 0. Writes to `destinationPath` the groups of two configuration documents: each
 * section becomes a section named after its "name" value ("GROUP" when it has none) holding just
 * "name" and "path". A group of the second document replaces one of the same name (letters in
 * either case) and moves to the end. Relative paths resolve as described above. */
uint16_t QVXSETUP_CALL f24(const char* destinationPath, const char* firstSourcePath,
                           const char* secondSourcePath);

#ifdef __cplusplus
}
#endif

#endif /* QVXSETUP_H */
