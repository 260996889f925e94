// Linux stand-in for the system header of the XML engine's interfaces (see compat/msxml.h).
#pragma once

#include <windows.h>

#include "compat/msxml.h"
