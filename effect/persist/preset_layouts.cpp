// The preset tree records live in the host's memory: on 32-bit x86 they keep the byte layout hosts
// were built against.
#include <cstddef>

#include "echotap_presets.h"
#include "lss_block.h"

#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(SharedString) == 16, "SharedString is 16 bytes");
static_assert(offsetof(SharedString, allocatorTag) == 0, "SharedString allocator tag");
static_assert(offsetof(SharedString, chars) == 4, "SharedString.chars");
static_assert(offsetof(SharedString, length) == 8, "SharedString.length");
static_assert(offsetof(SharedString, capacity) == 12, "SharedString.capacity");

static_assert(sizeof(PresetAttribute) == 32, "PresetAttribute is 32 bytes");
static_assert(offsetof(PresetAttribute, name) == 0, "PresetAttribute.name");
static_assert(offsetof(PresetAttribute, value) == 16, "PresetAttribute.value");

static_assert(sizeof(AttributeArray) == 16, "AttributeArray is 16 bytes");
static_assert(offsetof(AttributeArray, allocatorTag) == 0, "AttributeArray allocator tag");
static_assert(offsetof(AttributeArray, begin) == 4, "AttributeArray.begin");
static_assert(offsetof(AttributeArray, end) == 8, "AttributeArray.end");
static_assert(offsetof(AttributeArray, capacityEnd) == 12, "AttributeArray.capacityEnd");

static_assert(sizeof(PresetNodeOperations) == 4, "one slot: destroy");
static_assert(offsetof(PresetNodeOperations, destroy) == 0, "destroy is slot 0");

static_assert(sizeof(PresetNodeBase) == 20, "PresetNodeBase is 20 bytes");
static_assert(offsetof(PresetNodeBase, operations) == 0, "PresetNodeBase operations table");
static_assert(offsetof(PresetNodeBase, firstChild) == 4, "PresetNodeBase.firstChild");
static_assert(offsetof(PresetNodeBase, nextSibling) == 8, "PresetNodeBase.nextSibling");
static_assert(offsetof(PresetNodeBase, parent) == 12, "PresetNodeBase.parent");
static_assert(offsetof(PresetNodeBase, lastChild) == 16, "PresetNodeBase.lastChild");

static_assert(sizeof(PresetNode) == 56, "PresetNode is 56 bytes");
static_assert(offsetof(PresetNode, base) == 0, "PresetNode links");
static_assert(offsetof(PresetNode, attributes) == 20, "PresetNode.attributes");
static_assert(offsetof(PresetNode, name) == 36, "PresetNode.name");
static_assert(offsetof(PresetNode, reserved) == 52, "PresetNode.reserved");

static_assert(sizeof(LssBlock) == 8, "LssBlock is 8 bytes");
static_assert(offsetof(LssBlock, size) == 0, "LssBlock.size");
static_assert(offsetof(LssBlock, data) == 4, "LssBlock.data");
#endif
