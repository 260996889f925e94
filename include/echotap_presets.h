/*
 * Echotap: the host's preset tree as the plug-in reads and changes it.
 *
 * A host keeps presets in an element tree and hands a node of it to InitializeXml and
 * SavePresetXml. One stored variable is one child element named after the variable, whose
 * attribute "Value" holds the variable's text. Loading reads those children; saving appends a child
 * that is missing (at the end of the node's children) and replaces or appends "Value" attributes.
 *
 * The records below are shared memory between host and plug-in, so their layout is fixed. On 32-bit
 * x86 Windows every integer and pointer is 32 bits, little-endian, at the byte offsets given in
 * the comments; the plug-in checks them when it is built. Elsewhere the same members come in the
 * same order with the platform's natural alignment.
 *
 * One allocator for both sides. Nodes, attribute arrays and string storage are heap blocks that
 * either side may allocate and the other may free: the plug-in frees a "Value" string the host
 * made when it replaces it, frees a host's attribute array when it grows it, and a host frees the
 * children the plug-in added when it frees its tree. Both sides therefore use the C runtime's
 * malloc and free: on Windows those of msvcrt.dll, on other systems those of the process's C
 * library. A host built against another C runtime (a static one, or a different DLL) must allocate
 * and free these blocks through msvcrt.dll's malloc and free.
 *
 * Nodes the plug-in creates carry the plug-in's destroy operation: the host must keep the plug-in
 * loaded until it has destroyed every such node.
 *
 * No locks: while the plug-in works on a tree, the host does not touch it, and no other thread uses
 * a string that shares storage with it.
 */
#ifndef ECHOTAP_PRESETS_H
#define ECHOTAP_PRESETS_H

#include <stdint.h>

/* The convention of the destroy operation: the platform's convention for C++ member functions.
 * On 32-bit x86 Windows that is thiscall (the node in ECX, flags on the stack, removed by the
 * callee); GCC and Clang accept it on a plain function pointer. A compiler that does not can give
 * its own nodes a C++ class whose first and only virtual function is destroy(uint32_t), which that
 * compiler calls as thiscall. Elsewhere the node is simply the first argument. */
#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
#define ECHOTAP_THISCALL __thiscall
#else
#define ECHOTAP_THISCALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A string whose character storage several records may share (16 bytes).
 *
 * The storage is one heap block of capacity + 2 bytes: a share count byte, the characters, and a
 * zero byte after the last character; `chars` points at the byte after the share count. A null
 * `chars` is the empty string with no storage. Share count 0 means one holder, k from 1 to 254
 * means k + 1 holders, 255 marks storage that one holder changes in place and never shares.
 * Copying a non-empty string whose count is below 254 shares its storage and adds 1 to the count;
 * otherwise the copy gets storage of its own (the copy of an empty string has none). A holder that
 * lets go of storage frees the block when the count is 0 or 255, else subtracts 1. A holder that
 * changes characters first takes storage of its own if the storage is shared. At most 4294967293
 * characters. */
typedef struct SharedString {
  uint8_t allocatorTag; /*  0: no value of its own; copied from record to record */
  uint8_t padding[3];   /*  1 */
  char* chars;          /*  4: first character, or null */
  uint32_t length;      /*  8: characters, without the terminating zero */
  uint32_t capacity;    /* 12: characters the storage holds, without the terminating zero */
} SharedString;

/* One attribute of a node (32 bytes). */
typedef struct PresetAttribute {
  SharedString name;  /*  0 */
  SharedString value; /* 16 */
} PresetAttribute;

/* The attributes of one node, one after another, in the order they were added (16 bytes).
 * Appending to a full array allocates room for the current count plus the larger of the current
 * count and 1 (1, 2, 4, 8, ...), moves the attributes over and frees the old storage. */
typedef struct AttributeArray {
  uint8_t allocatorTag;         /*  0: no value of its own */
  uint8_t padding[3];           /*  1 */
  PresetAttribute* begin;       /*  4: first attribute, or null when the node never had any */
  PresetAttribute* end;         /*  8: just past the last attribute */
  PresetAttribute* capacityEnd; /* 12: just past the storage */
} AttributeArray;

typedef struct PresetNodeBase PresetNodeBase;

/* destroy(node, flags): a PresetNode releases its name, then each attribute (value before name),
 * frees the attribute storage and goes on as a PresetNodeBase, which unlinks the node from its
 * parent and destroys every child through the child's own destroy with bit 0 set. When bit 0 of
 * flags is set, the node's memory is freed last. */
typedef void(ECHOTAP_THISCALL* PresetNodeDestroy)(PresetNodeBase* node, uint32_t flags);

/* The table of virtual operations: one slot. */
typedef struct PresetNodeOperations {
  PresetNodeDestroy destroy; /* slot 0 */
} PresetNodeOperations;

/* The links of a tree node (20 bytes). Children form a singly linked list from firstChild through
 * nextSibling, ending at lastChild, and each child's parent is the node. The node a host hands to
 * the plug-in may be a bare PresetNodeBase; every child reached from it must be a PresetNode. */
struct PresetNodeBase {
  const PresetNodeOperations* operations; /*  0 */
  PresetNodeBase* firstChild;             /*  4 */
  PresetNodeBase* nextSibling;            /*  8 */
  PresetNodeBase* parent;                 /* 12 */
  PresetNodeBase* lastChild;              /* 16 */
};

/* An element (56 bytes). Child names and attribute names are matched without regard to ASCII
 * letter case; the first match in order wins. */
typedef struct PresetNode {
  PresetNodeBase base;       /*  0 */
  AttributeArray attributes; /* 20 */
  SharedString name;         /* 36: the element name */
  uint32_t reserved;         /* 52: zero in nodes the plug-in creates; never read by it */
} PresetNode;

#ifdef __cplusplus
}
#endif

#endif /* ECHOTAP_PRESETS_H */
