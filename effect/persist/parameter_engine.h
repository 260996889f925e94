// Loads and saves a list of named, typed variables in one store: the preset tree when `node` is
// not null, else the registry key `section` under `root` when `root` is not null, else section
// `section` of the INI file `iniPath` when `iniPath` is not null, else none.
//
// After the four selectors come `names` (one entry per type token; the caller supplies enough),
// `types` (tags separated by single blanks) and one pointer per token to its variable.
#pragma once

#include <windows.h>

#include <cstdint>

#include "echotap.h"

// Overwrites each variable whose value the store holds; the others keep their values.
void ReadParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                    const char* const* names, const char* types, ...);

// Stores every variable. 0 when the store is the registry and the key cannot be created or opened
// for writing; 1 otherwise, also when no store is selected.
uint32_t WriteParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                         const char* const* names, const char* types, ...);
