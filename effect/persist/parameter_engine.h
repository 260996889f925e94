// Loads and saves a list of named, typed variables in one store: the preset tree when `node` is
// not null, else the registry key `section` under `root` when `root` is not null, else section
// `section` of the INI file `iniPath` when `iniPath` is not null, else none. A null `section`
// names `root` itself in the registry and nothing in an INI file.
//
// After the four selectors come `names`, `types` and one pointer per type token to its variable.
// `types` holds the tags separated by single blanks ("DWORD DWORD"); a blank at the very end adds
// no token, a blank at the start or two blanks in a row give an empty token, and every token,
// whether it names a type or not, takes the next name and the next pointer. Tags match without
// regard to ASCII letter case:
//   "UINT", "DWORD"  uint32_t*        "FLOAT"   float*          "STRING"  SharedString*
//   "INT"            int32_t*         "DOUBLE"  double*         "LSS"     LssBlock*
// A token that names no type reads and writes nothing. A null name skips its token.
//
// The caller's duty, which the engine cannot check: `names` has an entry for every token, and a
// pointer of the tag's type follows for every token. A SharedString variable is a valid string
// record (all zero is the empty string). An LssBlock's data pointer is overwritten by a load
// without being released, and the new block is the caller's to free().
//
// Neither operation catches: a failed allocation in the preset tree raises std::bad_alloc, a
// string too long for the string record std::length_error.
#pragma once

#include <windows.h>

#include <cstdint>

#include "echotap.h"
#include "lss_block.h"

// Overwrites each variable whose value the store holds; the others keep their values, except as
// the stores say for values they lack (ini_store.h, registry_store.h, tree_store.h).
void ReadParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                    const char* const* names, const char* types, ...);

// Stores every variable. 0 when the store is the registry and the key cannot be created or opened
// for writing (then nothing is written), and 0 when the registry or the INI file refused any of
// the values (the others are written all the same): a save that did not happen is never reported
// as done. 1 otherwise, also when no store is selected.
uint32_t WriteParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                         const char* const* names, const char* types, ...);
