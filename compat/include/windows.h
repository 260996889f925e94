// Linux stand-in for the part of the Win32 API that the two libraries and their tests call.
// Product code includes <windows.h> on both platforms; on Windows it is the system header, here it
// is this one. Each group of functions has a header of its own under compat/.
#pragma once

#include "compat/automation.h"
#include "compat/code_page.h"
#include "compat/com.h"
#include "compat/environment.h"
#include "compat/errors.h"
#include "compat/files.h"
#include "compat/format.h"
#include "compat/module.h"
#include "compat/msxml.h"
#include "compat/profile.h"
#include "compat/registry.h"
#include "compat/security.h"
#include "compat/types.h"
