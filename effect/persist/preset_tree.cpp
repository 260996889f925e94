#include "preset_tree.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <new>

#include "shared_heap.h"
#include "shared_string.h"

namespace {

// Every child is a PresetNode, whose links come first.
PresetNode& AsNode(PresetNodeBase& base) { return *reinterpret_cast<PresetNode*>(&base); }

bool IsChildOf(const PresetNodeBase& node, const PresetNodeBase* candidate) {
  for (const PresetNodeBase* child = node.firstChild; child != nullptr;
       child = child->nextSibling) {
    if (child == candidate) {
      return true;
    }
  }
  return false;
}

// Makes room for one more attribute: storage for count + max(count, 1) attributes, the old ones
// moved over. Moving a record is what copying it (sharing its strings) and releasing the original
// amounts to, without an allocation that could fail halfway through.
void ReserveOneMore(AttributeArray& array) {
  if (array.end != array.capacityEnd) {
    return;
  }
  const std::size_t count = static_cast<std::size_t>(array.end - array.begin);
  const std::size_t capacity = count + std::max<std::size_t>(count, 1);
  if (capacity > std::numeric_limits<std::size_t>::max() / sizeof(PresetAttribute)) {
    throw std::bad_alloc();
  }
  auto* storage = static_cast<PresetAttribute*>(SharedAllocate(capacity * sizeof(PresetAttribute)));
  if (storage == nullptr) {
    throw std::bad_alloc();
  }
  if (count != 0) {
    std::memcpy(static_cast<void*>(storage), array.begin, count * sizeof(PresetAttribute));
  }
  SharedFree(array.begin);
  array.begin = storage;
  array.end = storage + count;
  array.capacityEnd = storage + capacity;
}

void ReleaseAttributes(AttributeArray& array) noexcept {
  for (PresetAttribute* attribute = array.begin; attribute != array.end; ++attribute) {
    ReleaseString(attribute->value);
    ReleaseString(attribute->name);
  }
  SharedFree(array.begin);
  array.begin = nullptr;
  array.end = nullptr;
  array.capacityEnd = nullptr;
}

// Slot 0 of the nodes the plug-in creates; the host calls it with its member-function convention.
void ECHOTAP_THISCALL DestroyPluginNode(PresetNodeBase* base, uint32_t flags) {
  PresetNode& node = AsNode(*base);
  ReleaseString(node.name);
  ReleaseAttributes(node.attributes);
  DestroyNodeLinks(*base);
  if ((flags & kDestroyFreesNode) != 0) {
    SharedFree(base);
  }
}

const PresetNodeOperations kPluginNodeOperations = {&DestroyPluginNode};

}  // namespace

PresetNode* FindChild(const PresetNodeBase& node, std::string_view name) {
  for (PresetNodeBase* child = node.firstChild; child != nullptr; child = child->nextSibling) {
    if (NamesMatch(View(AsNode(*child).name), name)) {
      return &AsNode(*child);
    }
  }
  return nullptr;
}

PresetNode* AddChild(PresetNodeBase& node, const SharedString& name) {
  SharedStringHolder nameCopy(ShareString(name));
  auto* child = static_cast<PresetNode*>(SharedAllocate(sizeof(PresetNode)));
  if (child == nullptr) {
    throw std::bad_alloc();
  }
  std::memset(static_cast<void*>(child), 0, sizeof(PresetNode));
  child->base.operations = &kPluginNodeOperations;
  child->name = nameCopy.release();
  InsertChild(node, child->base, nullptr);
  return child;
}

void InsertChild(PresetNodeBase& node, PresetNodeBase& child, PresetNodeBase* sibling) {
  if (child.parent != nullptr) {
    RemoveChild(*child.parent, child);
  }
  child.parent = &node;
  if (sibling == nullptr || !IsChildOf(node, sibling)) {
    child.nextSibling = nullptr;
    if (node.lastChild != nullptr) {
      node.lastChild->nextSibling = &child;
    } else {
      node.firstChild = &child;
    }
    node.lastChild = &child;
    return;
  }
  child.nextSibling = sibling->nextSibling;
  sibling->nextSibling = &child;
  if (node.lastChild == sibling) {
    node.lastChild = &child;
  }
}

void RemoveChild(PresetNodeBase& node, PresetNodeBase& child) {
  PresetNodeBase* previous = nullptr;
  PresetNodeBase* current = node.firstChild;
  while (current != nullptr && current != &child) {
    previous = current;
    current = current->nextSibling;
  }
  if (current == nullptr) {
    return;
  }
  if (previous != nullptr) {
    previous->nextSibling = child.nextSibling;
  } else {
    node.firstChild = child.nextSibling;
  }
  if (node.lastChild == &child) {
    node.lastChild = previous;
  }
  child.nextSibling = nullptr;
  child.parent = nullptr;
}

PresetAttribute* FindAttribute(const PresetNode& node, std::string_view name) {
  for (PresetAttribute* attribute = node.attributes.begin; attribute != node.attributes.end;
       ++attribute) {
    if (NamesMatch(View(attribute->name), name)) {
      return attribute;
    }
  }
  return nullptr;
}

bool GetAttribute(const PresetNode& node, std::string_view name, SharedString& value) {
  const PresetAttribute* attribute = FindAttribute(node, name);
  if (attribute == nullptr) {
    return false;
  }
  AssignString(value, attribute->value);
  return true;
}

void SetAttribute(PresetNode& node, std::string_view name, const SharedString& value) {
  if (PresetAttribute* attribute = FindAttribute(node, name)) {
    AssignString(attribute->value, value);
    return;
  }
  SharedStringHolder nameCopy(MakeString(name));
  SharedStringHolder valueCopy(ShareString(value));
  ReserveOneMore(node.attributes);
  PresetAttribute* added = node.attributes.end++;
  added->name = nameCopy.release();
  added->value = valueCopy.release();
}

void DestroyNodeLinks(PresetNodeBase& node) noexcept {
  if (node.parent != nullptr) {
    RemoveChild(*node.parent, node);
  }
  PresetNodeBase* child = node.firstChild;
  while (child != nullptr) {
    // Each child unlinks itself from this node; keep the next one in case it does not.
    PresetNodeBase* next = child->nextSibling;
    DestroyNode(*child, kDestroyFreesNode);
    child = next;
  }
  node.firstChild = nullptr;
  node.lastChild = nullptr;
}

const PresetNodeOperations& PluginNodeOperations() { return kPluginNodeOperations; }
