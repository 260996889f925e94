// Error codes that the file-backed stand-ins (profile files, the registry store) report beyond
// those in errors.h. Spelled exactly as in the system headers, so that an identical definition
// elsewhere is harmless.
#pragma once

#include "compat/errors.h"

#define ERROR_WRITE_FAULT 29L
#define ERROR_BAD_LENGTH 24L
#define ERROR_DISK_FULL 112L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_NOACCESS 998L
#define ERROR_BADKEY 1010L
#define ERROR_KEY_DELETED 1018L
