#include "persist/preset_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "persist/shared_heap.h"
#include "persist/shared_string.h"

namespace {

// The host's root: a bare PresetNodeBase on the stack whose children the fixture frees.
class PresetTree : public ::testing::Test {
 protected:
  ~PresetTree() override { DestroyNodeLinks(root_); }

  PresetNode* Add(PresetNodeBase& parent, const char* name) {
    SharedStringHolder text(MakeString(name));
    return AddChild(parent, text.get());
  }

  std::vector<std::string> ChildNames(const PresetNodeBase& parent) {
    std::vector<std::string> names;
    const PresetNodeBase* last = nullptr;
    for (const PresetNodeBase* child = parent.firstChild; child != nullptr;
         child = child->nextSibling) {
      EXPECT_EQ(child->parent, &parent);
      names.emplace_back(View(reinterpret_cast<const PresetNode*>(child)->name));
      last = child;
    }
    EXPECT_EQ(parent.lastChild, last);
    return names;
  }

  using Names = std::vector<std::string>;

  PresetNodeBase root_{};
};

// Host nodes that record the flags their destroy was called with.
std::vector<uint32_t> g_destroyedFlags;

void ECHOTAP_THISCALL RecordingDestroy(PresetNodeBase* node, uint32_t flags) {
  g_destroyedFlags.push_back(flags);
  DestroyNodeLinks(*node);
  if ((flags & 1) != 0) {
    SharedFree(node);
  }
}
const PresetNodeOperations kRecordingOperations = {&RecordingDestroy};

PresetNode* NewRecordingNode() {
  auto* node = static_cast<PresetNode*>(SharedAllocate(sizeof(PresetNode)));
  std::memset(static_cast<void*>(node), 0, sizeof(PresetNode));
  node->base.operations = &kRecordingOperations;
  return node;
}

}  // namespace

TEST_F(PresetTree, AddChildAppendsAFreshNodeWithACopyOfTheName) {
  SharedStringHolder name(MakeString("DelL"));
  PresetNode* first = AddChild(root_, name.get());
  PresetNode* second = AddChild(root_, name.get());
  EXPECT_EQ(ShareCountOf(name.get()), 2);  // both children share the caller's storage
  EXPECT_EQ(first->name.chars, name.get().chars);
  EXPECT_EQ(first->base.operations, &PluginNodeOperations());
  EXPECT_EQ(first->base.firstChild, nullptr);
  EXPECT_EQ(first->base.lastChild, nullptr);
  EXPECT_EQ(first->base.nextSibling, &second->base);
  EXPECT_EQ(second->base.nextSibling, nullptr);
  EXPECT_EQ(first->attributes.begin, nullptr);
  EXPECT_EQ(first->attributes.end, nullptr);
  EXPECT_EQ(first->attributes.capacityEnd, nullptr);
  EXPECT_EQ(first->reserved, 0u);
  EXPECT_EQ(ChildNames(root_), (Names{"DelL", "DelL"}));
}

TEST_F(PresetTree, FindChildTakesTheFirstNameMatchingInAnyCase) {
  PresetNode* lower = Add(root_, "voll");
  Add(root_, "VolL");
  Add(root_, "DelR");
  EXPECT_EQ(FindChild(root_, "VolL"), lower);
  EXPECT_EQ(FindChild(root_, "VOLL"), lower);
  EXPECT_EQ(FindChild(root_, "Vol"), nullptr);
  EXPECT_EQ(FindChild(root_, ""), nullptr);
  PresetNode* unnamed = Add(root_, "");
  EXPECT_EQ(FindChild(root_, ""), unnamed);  // a null name reads as ""
}

TEST_F(PresetTree, InsertChildLinksAfterItsSiblingOrAtTheEnd) {
  struct Case {
    const char* label;
    int sibling;  // index into the three children a, b, c; -1 null; 3 a node of another parent
    Names order;
  } cases[] = {
      {"after the first", 0, {"a", "x", "b", "c"}},
      {"after the middle", 1, {"a", "b", "x", "c"}},
      {"after the last", 2, {"a", "b", "c", "x"}},
      {"no sibling", -1, {"a", "b", "c", "x"}},
      {"sibling of another parent", 3, {"a", "b", "c", "x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    PresetNodeBase parent{};
    PresetNodeBase other{};
    PresetNode* children[] = {Add(parent, "a"), Add(parent, "b"), Add(parent, "c"),
                              Add(other, "o")};
    PresetNode* moved = Add(root_, "x");
    PresetNodeBase* sibling = c.sibling < 0 ? nullptr : &children[c.sibling]->base;
    InsertChild(parent, moved->base, sibling);
    EXPECT_EQ(ChildNames(parent), c.order);
    EXPECT_EQ(ChildNames(root_), Names{});  // taken out of its old parent
    EXPECT_EQ(ChildNames(other), Names{"o"});
    DestroyNodeLinks(parent);
    DestroyNodeLinks(other);
  }
}

TEST_F(PresetTree, RemoveChildUnlinksOnlyItsOwnChildren) {
  struct Case {
    int removed;  // index into a, b, c; 3 a node of another parent
    Names left;
  } cases[] = {
      {0, {"b", "c"}},
      {1, {"a", "c"}},
      {2, {"a", "b"}},
      {3, {"a", "b", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.removed);
    PresetNodeBase parent{};
    PresetNodeBase other{};
    PresetNode* children[] = {Add(parent, "a"), Add(parent, "b"), Add(parent, "c"),
                              Add(other, "o")};
    PresetNode* removed = children[c.removed];
    RemoveChild(parent, removed->base);
    EXPECT_EQ(ChildNames(parent), c.left);
    if (c.removed < 3) {
      EXPECT_EQ(removed->base.parent, nullptr);
      EXPECT_EQ(removed->base.nextSibling, nullptr);
      DestroyNode(removed->base, kDestroyFreesNode);
    } else {
      EXPECT_EQ(removed->base.parent, &other);
    }
    DestroyNodeLinks(parent);
    DestroyNodeLinks(other);
  }

  PresetNodeBase only{};
  PresetNode* child = Add(only, "only");
  RemoveChild(only, child->base);
  EXPECT_EQ(only.firstChild, nullptr);
  EXPECT_EQ(only.lastChild, nullptr);
  DestroyNode(child->base, kDestroyFreesNode);
}

TEST_F(PresetTree, AttributeStorageDoublesAndKeepsTheStringsShared) {
  PresetNode* node = Add(root_, "node");
  SharedStringHolder value(MakeString("shared"));
  const std::size_t expectedCapacity[] = {1, 2, 4, 4, 8, 8, 8, 8, 16};
  for (std::size_t i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    SetAttribute(*node, "a" + std::to_string(i), value.get());
    EXPECT_EQ(static_cast<std::size_t>(node->attributes.end - node->attributes.begin), i + 1);
    EXPECT_EQ(static_cast<std::size_t>(node->attributes.capacityEnd - node->attributes.begin),
              expectedCapacity[i]);
    EXPECT_EQ(ShareCountOf(value.get()), i + 1);  // moving the array changes no share count
  }
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(View(node->attributes.begin[i].name), "a" + std::to_string(i));
    EXPECT_EQ(node->attributes.begin[i].value.chars, value.get().chars);
  }
}

TEST_F(PresetTree, SetAttributeReplacesTheValueAndKeepsTheNameAsSpelled) {
  PresetNode* node = Add(root_, "DryOut");
  SharedStringHolder first(MakeString("75"));
  SharedStringHolder second(MakeString("80"));
  SetAttribute(*node, "Other", first.get());
  SetAttribute(*node, "VALUE", first.get());
  SetAttribute(*node, "Value", second.get());
  ASSERT_EQ(node->attributes.end - node->attributes.begin, 2);
  EXPECT_EQ(View(node->attributes.begin[1].name), "VALUE");
  EXPECT_EQ(View(node->attributes.begin[1].value), "80");
  EXPECT_EQ(ShareCountOf(first.get()), 1);  // only "Other" still holds it
  EXPECT_EQ(FindAttribute(*node, "value"), &node->attributes.begin[1]);
  EXPECT_EQ(FindAttribute(*node, "Valu"), nullptr);

  SharedStringHolder out(MakeString("untouched"));
  EXPECT_FALSE(GetAttribute(*node, "Missing", out.get()));
  EXPECT_EQ(View(out.get()), "untouched");
  EXPECT_TRUE(GetAttribute(*node, "value", out.get()));
  EXPECT_EQ(out.get().chars, second.get().chars);
}

TEST_F(PresetTree, DestroyFreesNamesAttributesAndChildrenThroughTheirOwnDestroy) {
  g_destroyedFlags.clear();
  PresetNode* node = Add(root_, "preset");
  SharedStringHolder value(MakeString("1"));
  SetAttribute(*node, "Value", value.get());
  SetAttribute(*node, "Other", value.get());
  PresetNode* hostChild = NewRecordingNode();
  InsertChild(node->base, hostChild->base, nullptr);
  PresetNode* hostGrandchild = NewRecordingNode();
  InsertChild(hostChild->base, hostGrandchild->base, nullptr);
  Add(node->base, "plugin child");

  DestroyNode(node->base, kDestroyFreesNode);
  EXPECT_EQ(root_.firstChild, nullptr);  // unlinked from its parent
  EXPECT_EQ(root_.lastChild, nullptr);
  EXPECT_EQ(g_destroyedFlags, (std::vector<uint32_t>{1, 1}));  // children always with bit 0
  EXPECT_EQ(ShareCountOf(value.get()), 0);                     // both attribute values let go
}

TEST_F(PresetTree, DestroyWithoutBitZeroLeavesTheNodeMemory) {
  PresetNode* node = Add(root_, "kept");
  Add(node->base, "child");
  DestroyNode(node->base, 0);
  EXPECT_EQ(root_.firstChild, nullptr);
  EXPECT_EQ(node->base.firstChild, nullptr);
  EXPECT_EQ(node->name.chars, nullptr);
  EXPECT_EQ(node->attributes.begin, nullptr);
  SharedFree(node);  // still ours to free
}
