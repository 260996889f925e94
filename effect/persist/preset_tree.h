// Node operations on the host's preset tree (records in echotap_presets.h). Names are matched
// regardless of ASCII letter case, the first match in order winning. Children reached from any node
// are PresetNodes; the node a host hands in may be a bare PresetNodeBase.
//
// Operations that allocate raise std::bad_alloc when the shared heap is exhausted (and the string
// errors of shared_string.h) and then leave the tree as it was.
#pragma once

#include <cstdint>
#include <string_view>

#include "echotap_presets.h"

// Bit 0 of destroy's flags: free the node's memory last.
constexpr uint32_t kDestroyFreesNode = 1;

// The first child whose name matches, or null.
PresetNode* FindChild(const PresetNodeBase& node, std::string_view name);

// Appends a new PresetNode named with a copy of `name`: no attributes, null links, zero `reserved`
// and the plug-in's destroy.
PresetNode* AddChild(PresetNodeBase& node, const SharedString& name);

// Takes `child` out of its old parent, if any, and links it into `node` after `sibling`, or at the
// end when `sibling` is null or not a child of `node`.
void InsertChild(PresetNodeBase& node, PresetNodeBase& child, PresetNodeBase* sibling);

// Unlinks `child` and clears its nextSibling and parent when it is a child of `node`; otherwise
// does nothing.
void RemoveChild(PresetNodeBase& node, PresetNodeBase& child);

// The first attribute whose name matches, or null.
PresetAttribute* FindAttribute(const PresetNode& node, std::string_view name);

// When the attribute exists, `value` becomes a copy of its value and the result is true; otherwise
// false, `value` unchanged.
bool GetAttribute(const PresetNode& node, std::string_view name, SharedString& value);

// Replaces the value of the matching attribute (its name stays as spelled), or appends an attribute
// with a copy of `name` and of `value`.
void SetAttribute(PresetNode& node, std::string_view name, const SharedString& value);

// The base part of destroy: unlinks the node from its parent and destroys every child through the
// child's own destroy, freeing it.
void DestroyNodeLinks(PresetNodeBase& node) noexcept;

// The operations table of the nodes the plug-in creates.
const PresetNodeOperations& PluginNodeOperations();

// Destroys a node through its own table of operations.
inline void DestroyNode(PresetNodeBase& node, uint32_t flags) {
  node.operations->destroy(&node, flags);
}
