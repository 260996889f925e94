// The heap the plug-in shares with its host: the C runtime's malloc and free (msvcrt.dll on
// Windows). Everything that crosses into the host's preset tree, and the byte blocks the
// persistence engine hands to its callers, comes from here, because the other side frees it.
#pragma once

#include <cstddef>
#include <cstdlib>

inline void* SharedAllocate(std::size_t bytes) { return std::malloc(bytes); }

inline void SharedFree(void* block) { std::free(block); }
