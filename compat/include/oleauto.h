// Linux stand-in for the system header of the same name: COM and OLE automation come with
// <windows.h> here (see compat/com.h and compat/automation.h).
#pragma once

#include <windows.h>
