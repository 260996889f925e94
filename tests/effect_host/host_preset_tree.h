// A host's side of the preset tree, written from the records in echotap_presets.h alone: nodes,
// attribute arrays and strings from the C runtime's malloc, and the host's own destroy. Two kinds
// of host node: a C-style node whose table of operations is made by hand, and a C++ class whose
// only virtual function is destroy, as a C++ host would write it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "echotap_presets.h"

namespace host_tree {

// Calls of the two host destroy functions, with bit 0 of the flags set.
inline int g_handMadeDestroys = 0;
inline int g_classDestroys = 0;

inline SharedString NewString(std::string_view text, uint8_t shareCount = 0) {
  SharedString s{};
  if (text.empty()) {
    return s;
  }
  char* block = static_cast<char*>(std::malloc(text.size() + 2));
  block[0] = static_cast<char>(shareCount);
  std::memcpy(block + 1, text.data(), text.size());
  block[text.size() + 1] = '\0';
  s.chars = block + 1;
  s.length = static_cast<uint32_t>(text.size());
  s.capacity = s.length;
  return s;
}

inline uint8_t ShareCount(const SharedString& s) { return static_cast<uint8_t>(s.chars[-1]); }

inline void ReleaseString(SharedString& s) {
  if (s.chars != nullptr) {
    auto& count = reinterpret_cast<uint8_t&>(s.chars[-1]);
    if (count == 0 || count == 255) {
      std::free(s.chars - 1);
    } else {
      --count;
    }
  }
  s = SharedString{};
}

inline std::string Text(const SharedString& s) {
  return s.chars != nullptr ? std::string(s.chars, s.length) : std::string();
}

inline PresetNode* AsNode(PresetNodeBase* base) { return reinterpret_cast<PresetNode*>(base); }

inline void AppendChild(PresetNodeBase& parent, PresetNodeBase& child) {
  child.parent = &parent;
  child.nextSibling = nullptr;
  if (parent.lastChild != nullptr) {
    parent.lastChild->nextSibling = &child;
  } else {
    parent.firstChild = &child;
  }
  parent.lastChild = &child;
}

inline void UnlinkChild(PresetNodeBase& parent, PresetNodeBase& child) {
  PresetNodeBase* previous = nullptr;
  for (PresetNodeBase* c = parent.firstChild; c != nullptr; previous = c, c = c->nextSibling) {
    if (c == &child) {
      (previous != nullptr ? previous->nextSibling : parent.firstChild) = child.nextSibling;
      if (parent.lastChild == &child) {
        parent.lastChild = previous;
      }
      child.nextSibling = nullptr;
      child.parent = nullptr;
      return;
    }
  }
}

// Every child through its own destroy, freeing it.
inline void DestroyChildren(PresetNodeBase& node) {
  PresetNodeBase* child = node.firstChild;
  while (child != nullptr) {
    PresetNodeBase* next = child->nextSibling;
    child->operations->destroy(child, 1);
    child = next;
  }
  node.firstChild = nullptr;
  node.lastChild = nullptr;
}

inline void ReleaseAttributes(AttributeArray& attributes) {
  for (PresetAttribute* a = attributes.begin; a != attributes.end; ++a) {
    ReleaseString(a->value);
    ReleaseString(a->name);
  }
  std::free(attributes.begin);
  attributes = AttributeArray{};
}

// Appends an attribute; the host's arrays grow to exactly the room they need, so the plug-in's next
// append has to replace the host's storage.
inline void AddAttribute(AttributeArray& attributes, std::string_view name, SharedString value) {
  const std::size_t count = static_cast<std::size_t>(attributes.end - attributes.begin);
  auto* storage = static_cast<PresetAttribute*>(std::malloc((count + 1) * sizeof(PresetAttribute)));
  if (count != 0) {
    std::memcpy(static_cast<void*>(storage), attributes.begin, count * sizeof(PresetAttribute));
  }
  std::free(attributes.begin);
  storage[count].name = NewString(name);
  storage[count].value = value;
  attributes.begin = storage;
  attributes.end = storage + count + 1;
  attributes.capacityEnd = attributes.end;
}

inline const PresetAttribute* FindAttribute(const AttributeArray& attributes,
                                            std::string_view name) {
  for (const PresetAttribute* a = attributes.begin; a != attributes.end; ++a) {
    if (Text(a->name) == name) {
      return a;
    }
  }
  return nullptr;
}

// The C-style node: a table of operations made by hand, destroy declared with the member-function
// convention.
inline void ECHOTAP_THISCALL DestroyHandMadeNode(PresetNodeBase* base, uint32_t flags) {
  if ((flags & 1) != 0) {
    ++g_handMadeDestroys;
  }
  PresetNode* node = AsNode(base);
  ReleaseString(node->name);
  ReleaseAttributes(node->attributes);
  if (base->parent != nullptr) {
    UnlinkChild(*base->parent, *base);
  }
  DestroyChildren(*base);
  if ((flags & 1) != 0) {
    std::free(base);
  }
}
inline const PresetNodeOperations kHandMadeOperations = {&DestroyHandMadeNode};

inline PresetNode* NewHandMadeNode(std::string_view name) {
  auto* node = static_cast<PresetNode*>(std::malloc(sizeof(PresetNode)));
  std::memset(static_cast<void*>(node), 0, sizeof(PresetNode));
  node->base.operations = &kHandMadeOperations;
  node->name = NewString(name);
  return node;
}

inline PresetNode* AddHandMadeChild(PresetNodeBase& parent, std::string_view name) {
  PresetNode* node = NewHandMadeNode(name);
  AppendChild(parent, node->base);
  return node;
}

// The C++ node: the compiler makes the table, and destroy is an ordinary virtual member function.
class ClassNode {
 public:
  static ClassNode* New(std::string_view name) {
    void* memory = std::malloc(sizeof(ClassNode));
    auto* node = new (memory) ClassNode;
    node->name = NewString(name);
    return node;
  }

  PresetNodeBase* base() { return reinterpret_cast<PresetNodeBase*>(this); }

  virtual void destroy(uint32_t flags) {
    if ((flags & 1) != 0) {
      ++g_classDestroys;
    }
    ReleaseString(name);
    ReleaseAttributes(attributes);
    if (parent != nullptr) {
      UnlinkChild(*parent, *base());
    }
    DestroyChildren(*base());
    if ((flags & 1) != 0) {
      this->~ClassNode();
      std::free(this);
    }
  }

  PresetNodeBase* firstChild = nullptr;
  PresetNodeBase* nextSibling = nullptr;
  PresetNodeBase* parent = nullptr;
  PresetNodeBase* lastChild = nullptr;
  AttributeArray attributes{};
  SharedString name{};
  uint32_t reserved = 0;

 protected:
  ~ClassNode() = default;
};
static_assert(sizeof(ClassNode) == sizeof(PresetNode), "a C++ node has the PresetNode layout");

// How a C++ host calls destroy on any node: through slot 0 of the node's table, as a virtual call.
struct NodeInterface {
  virtual void destroy(uint32_t flags) = 0;

 protected:
  ~NodeInterface() = default;
};

// The plug-in's nodes carry no C++ type information, which the sanitizer's check of dynamic types
// would look for.
__attribute__((no_sanitize("vptr"))) inline void DestroyByVirtualCall(PresetNodeBase* node,
                                                                      uint32_t flags) {
  reinterpret_cast<NodeInterface*>(node)->destroy(flags);
}

}  // namespace host_tree
