// Security attributes, accepted by the calls that create objects (registry keys, files, mutexes).
// The stand-ins ignore them: access on Linux follows the owner's file permissions.
#pragma once

#include "compat/types.h"

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* PSECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
