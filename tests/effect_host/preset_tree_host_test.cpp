// A host that keeps its presets in its own element tree: it builds the tree from the records of
// echotap_presets.h with the shared allocator, lets the plug-in read and extend it through
// InitializeXml and SavePresetXml, and frees it through each node's own destroy. The sanitizer
// build reports any leak or double free on either side.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "echotap.h"
#include "echotap_module.h"
#include "host_preset_tree.h"

namespace {

using namespace host_tree;

using FreeFn = void(ECHOTAP_CDECL*)(EffectSettings*);
using InitializeXmlFn = int(ECHOTAP_CDECL*)(PresetNodeBase*, EffectSettings**);
using SavePresetXmlFn = int(ECHOTAP_CDECL*)(PresetNodeBase*, const EffectSettings*);

using Children = std::vector<std::pair<std::string, std::string>>;  // name, "Value" text

class PresetTreeHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin_.loaded()) << "cannot load " << ECHOTAP_LIBRARY;
    initializeXml_ = plugin_.Export<InitializeXmlFn>("InitializeXml");
    savePresetXml_ = plugin_.Export<SavePresetXmlFn>("SavePresetXml");
    free_ = plugin_.Export<FreeFn>("Free");
    g_handMadeDestroys = 0;
    g_classDestroys = 0;
  }

  // The block read from `node`, saved into `target`.
  void Transfer(PresetNodeBase* node, PresetNodeBase* target) {
    EffectSettings* block = nullptr;
    ASSERT_EQ(initializeXml_(node, &block), 1);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(savePresetXml_(target, block), 1);
    free_(block);
  }

  // Each child's name and the text of its attribute named `valueName` (exact spelling).
  static Children Values(const PresetNodeBase& node, const char* valueName = "Value") {
    Children children;
    for (PresetNodeBase* child = node.firstChild; child != nullptr; child = child->nextSibling) {
      EXPECT_EQ(child->parent, &node);
      const PresetNode* element = AsNode(child);
      const PresetAttribute* value = FindAttribute(element->attributes, valueName);
      children.emplace_back(Text(element->name), value != nullptr ? Text(value->value) : "-");
    }
    return children;
  }

  EchotapModule plugin_;
  InitializeXmlFn initializeXml_ = nullptr;
  SavePresetXmlFn savePresetXml_ = nullptr;
  FreeFn free_ = nullptr;
};

}  // namespace

TEST_F(PresetTreeHost, SavesTheDefaultsAsNineNewChildrenTheHostFrees) {
  PresetNodeBase root{};  // a bare node of the host's own
  Transfer(nullptr, &root);
  EXPECT_EQ(Values(root), (Children{{"DryOut", "75"},
                                    {"VolL", "55"},
                                    {"VolR", "55"},
                                    {"DelL", "18"},
                                    {"DelR", "18"},
                                    {"HoldChannels", "0"},
                                    {"InvertL", "0"},
                                    {"InvertR", "0"},
                                    {"DisMain", "0"}}));
  for (PresetNodeBase* child = root.firstChild; child != nullptr; child = child->nextSibling) {
    const PresetNode* node = AsNode(child);
    SCOPED_TRACE(Text(node->name));
    EXPECT_NE(child->operations, nullptr);
    EXPECT_NE(child->operations, &kHandMadeOperations);
    EXPECT_EQ(child->firstChild, nullptr);
    EXPECT_EQ(child->lastChild, nullptr);
    EXPECT_EQ(node->reserved, 0u);
    ASSERT_EQ(node->attributes.end - node->attributes.begin, 1);
    EXPECT_EQ(Text(node->attributes.begin[0].name), "Value");
    EXPECT_EQ(ShareCount(node->attributes.begin[0].value), 0);
    EXPECT_EQ(ShareCount(node->name), 0);
  }
  DestroyChildren(root);
}

TEST_F(PresetTreeHost, ReadsAndUpdatesAHostBuiltTree) {
  PresetNode* root = NewHandMadeNode("Delay");
  // "dryout" in lower case with its value attribute in capitals.
  AddAttribute(AddHandMadeChild(root->base, "dryout")->attributes, "VALUE", NewString("80"));
  AddAttribute(AddHandMadeChild(root->base, "VolL")->attributes, "Value", NewString("29"));
  ClassNode* volR = ClassNode::New("VolR");
  AddAttribute(volR->attributes, "Value", NewString("200"));
  AppendChild(root->base, *volR->base());
  // No "Value" yet, and an attribute array with no room left.
  AddAttribute(AddHandMadeChild(root->base, "DelL")->attributes, "Comment", NewString("host"));
  AddAttribute(AddHandMadeChild(root->base, "DelR")->attributes, "Value", NewString(" +250ms"));
  PresetNode* unrelated = AddHandMadeChild(root->base, "Unrelated");
  AddHandMadeChild(unrelated->base, "Grandchild");
  // A value the host holds as well: the plug-in lets go of its share when it replaces it.
  SharedString hostHeld = NewString("1");
  AddAttribute(AddHandMadeChild(root->base, "InvertL")->attributes, "Value", hostHeld);
  reinterpret_cast<uint8_t&>(hostHeld.chars[-1]) = 1;

  Transfer(&root->base, &root->base);

  EXPECT_EQ(Values(root->base), (Children{{"dryout", "-"},
                                          {"VolL", "28"},  // 100.0 * (29 * 0.01) is just below 29
                                          {"VolR", "200"},
                                          {"DelL", "18"},
                                          {"DelR", "250"},
                                          {"Unrelated", "-"},
                                          {"InvertL", "1"},
                                          {"HoldChannels", "0"},
                                          {"InvertR", "0"},
                                          {"DisMain", "0"}}));
  EXPECT_EQ(Values(root->base, "VALUE")[0], (std::pair<std::string, std::string>("dryout", "80")));
  const PresetNode* delL = AsNode(root->base.firstChild->nextSibling->nextSibling->nextSibling);
  ASSERT_EQ(delL->attributes.end - delL->attributes.begin, 2);
  EXPECT_EQ(Text(delL->attributes.begin[0].value), "host");
  EXPECT_EQ(ShareCount(hostHeld), 0);  // the plug-in's share was let go
  EXPECT_EQ(Text(hostHeld), "1");
  ReleaseString(hostHeld);

  root->base.operations->destroy(&root->base, 1);
  EXPECT_EQ(g_handMadeDestroys, 8);  // root, six children, the grandchild
  EXPECT_EQ(g_classDestroys, 1);
}

TEST_F(PresetTreeHost, PluginNodesDestroyTheHostsNodesBelowThem) {
  PresetNodeBase root{};
  Transfer(nullptr, &root);
  PresetNodeBase* dryOut = root.firstChild;
  PresetNodeBase* delL = dryOut->nextSibling->nextSibling->nextSibling;
  AddHandMadeChild(*dryOut, "HandMade");
  ClassNode* classChild = ClassNode::New("Class");
  AppendChild(*dryOut, *classChild->base());
  AddHandMadeChild(*delL, "Other");

  // A C++ host destroys a node by a virtual call; the plug-in's node unlinks itself.
  DestroyByVirtualCall(delL, 1);
  EXPECT_EQ(g_handMadeDestroys, 1);
  EXPECT_EQ(Values(root).size(), 8u);
  EXPECT_EQ(Values(root)[3].first, "DelR");

  // A C host goes through slot 0 of the table.
  dryOut->operations->destroy(dryOut, 1);
  EXPECT_EQ(g_handMadeDestroys, 2);
  EXPECT_EQ(g_classDestroys, 1);
  EXPECT_EQ(Values(root).front().first, "VolL");

  DestroyChildren(root);
}

TEST_F(PresetTreeHost, ValuesThatAreMissingOrNotNumbersLoadAsDefaultsOrZero) {
  PresetNode* root = NewHandMadeNode("Delay");
  AddAttribute(AddHandMadeChild(root->base, "DryOut")->attributes, "Value", NewString("abc"));
  AddHandMadeChild(root->base, "VolL");  // no attributes at all
  AddAttribute(AddHandMadeChild(root->base, "VolR")->attributes, "Value", NewString(""));
  AddAttribute(AddHandMadeChild(root->base, "DelL")->attributes, "Value", NewString("-1"));
  AddAttribute(AddHandMadeChild(root->base, "DelR")->attributes, "Value", NewString("4294967295"));

  PresetNodeBase saved{};
  Transfer(&root->base, &saved);
  EXPECT_EQ(Values(saved), (Children{{"DryOut", "0"},
                                     {"VolL", "55"},
                                     {"VolR", "0"},
                                     {"DelL", "-1"},
                                     {"DelR", "-1"},
                                     {"HoldChannels", "0"},
                                     {"InvertL", "0"},
                                     {"InvertR", "0"},
                                     {"DisMain", "0"}}));
  DestroyChildren(saved);
  root->base.operations->destroy(&root->base, 1);
}
