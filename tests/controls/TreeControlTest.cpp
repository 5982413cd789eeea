#include "controls/TreeControl.h"

#include "controls/RecordingObservers.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> childTexts(const TreeControl& tree, const std::string& key) {
    std::vector<std::string> texts;
    for (TreeNode* child = tree.find(key)->firstChild(); child; child = child->nextSibling()) {
        texts.push_back(child->text());
    }
    return texts;
}

std::vector<std::string> keysByIndex(const TreeControl& tree) {
    std::vector<std::string> keys;
    for (int i = 1; i <= tree.count(); ++i) {
        keys.push_back(tree.nodeAt(i)->key());
    }
    return keys;
}

// root N0000 with children a (N0001, holding x N0002), b (N0003), c (N0004).
void buildSample(TreeControl& tree) {
    tree.add("", TreeRelation::Child, "N0000", "/home/u");
    tree.add("N0000", TreeRelation::Child, "N0001", "a");
    tree.add("N0001", TreeRelation::Child, "N0002", "x");
    tree.add("N0000", TreeRelation::Child, "N0003", "b");
    tree.add("N0000", TreeRelation::Child, "N0004", "c");
}

} // namespace

TEST(TreeControlTest, ChildAppendsAndPreviousInsertsBeforeTheSibling) {
    TreeControl tree;
    buildSample(tree);
    ASSERT_NE(tree.add("N0004", TreeRelation::Previous, "N0005", "b2"), nullptr);
    ASSERT_NE(tree.add("N0001", TreeRelation::Previous, "N0006", "0"), nullptr);
    EXPECT_EQ(childTexts(tree, "N0000"), (std::vector<std::string>{"0", "a", "b", "b2", "c"}));
    EXPECT_EQ(tree.find("N0005")->parent(), tree.find("N0000"));
    EXPECT_EQ(tree.find("N0005")->row(), 3);
    EXPECT_EQ(tree.find("N0004")->row(), 4);
    EXPECT_EQ(tree.find("N0005")->previousSibling()->key(), "N0003");
    EXPECT_EQ(tree.find("N0000")->childCount(), 5);
    EXPECT_EQ(tree.find("N0000")->lastChild()->key(), "N0004");
    // The index is creation order, not position: inserted nodes come last.
    EXPECT_EQ(keysByIndex(tree), (std::vector<std::string>{"N0000", "N0001", "N0002", "N0003",
                                                           "N0004", "N0005", "N0006"}));
}

TEST(TreeControlTest, AddRefusesDuplicateKeysAndUnknownRelatives) {
    TreeControl tree;
    buildSample(tree);
    EXPECT_EQ(tree.add("N0000", TreeRelation::Child, "N0003", "again"), nullptr);
    EXPECT_EQ(tree.add("N9999", TreeRelation::Child, "N0010", "orphan"), nullptr);
    EXPECT_EQ(tree.add("", TreeRelation::Previous, "N0011", "nothing before"), nullptr);
    EXPECT_EQ(tree.add("N0000", TreeRelation::Child, "", "no key"), nullptr);
    EXPECT_EQ(tree.count(), 5);
    EXPECT_EQ(tree.find("N0003")->text(), "b");
}

TEST(TreeControlTest, RemovingASubtreeShiftsLaterIndexesAndForgetsItsKeys) {
    TreeControl tree;
    buildSample(tree);
    tree.select(tree.find("N0002"));
    EXPECT_TRUE(tree.remove("N0001"));
    EXPECT_EQ(tree.count(), 3);
    EXPECT_EQ(tree.find("N0001"), nullptr);
    EXPECT_EQ(tree.find("N0002"), nullptr);
    EXPECT_EQ(tree.selected(), nullptr);
    EXPECT_EQ(tree.indexOf(tree.find("N0003")), 2);
    EXPECT_EQ(tree.indexOf(tree.find("N0004")), 3);
    EXPECT_EQ(tree.nodeAt(2)->key(), "N0003");
    EXPECT_EQ(tree.nodeAt(4), nullptr);
    EXPECT_EQ(tree.nodeAt(0), nullptr);
    EXPECT_EQ(tree.find("N0003")->row(), 0);
    EXPECT_FALSE(tree.remove("N0001"));
    // Keys freed by the removal can be used again; the new node is last by index.
    ASSERT_NE(tree.add("N0003", TreeRelation::Previous, "N0001", "a"), nullptr);
    EXPECT_EQ(tree.indexOf(tree.find("N0001")), 4);
    EXPECT_EQ(childTexts(tree, "N0000"), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(TreeControlTest, IndexesStayRightThroughManyMixedRemovals) {
    TreeControl tree;
    tree.add("", TreeRelation::Child, "R", "/");
    std::vector<std::string> alive{"R"};
    for (int i = 0; i < 3000; ++i) {
        const std::string key = "K" + std::to_string(i);
        tree.add(i % 3 == 0 ? "R" : "K" + std::to_string(i - 1), TreeRelation::Child, key, key);
        alive.push_back(key);
    }
    // Remove every seventh node created directly under the root, with its subtree.
    for (int i = 0; i < 3000; i += 21) {
        tree.remove("K" + std::to_string(i));
    }
    std::erase_if(alive, [&](const std::string& key) { return tree.find(key) == nullptr; });
    ASSERT_EQ(tree.count(), static_cast<int>(alive.size()));
    for (std::size_t i = 0; i < alive.size(); ++i) {
        ASSERT_EQ(tree.nodeAt(static_cast<int>(i + 1))->key(), alive[i]);
        ASSERT_EQ(tree.indexOf(tree.find(alive[i])), static_cast<int>(i + 1));
    }
}

TEST(TreeControlTest, FullPathsJoinTextsWithoutDoublingTheSeparator) {
    TreeControl tree;
    tree.add("", TreeRelation::Child, "N0000", "/");
    tree.add("N0000", TreeRelation::Child, "N0001", "home");
    tree.add("N0001", TreeRelation::Child, "N0002", "u, <x> & y");
    EXPECT_EQ(tree.fullPath(tree.find("N0000"), "/"), "/");
    EXPECT_EQ(tree.fullPath(tree.find("N0001"), "/"), "/home");
    EXPECT_EQ(tree.fullPath(tree.find("N0002"), "/"), "/home/u, <x> & y");
    EXPECT_EQ(tree.fullPath(nullptr, "/"), "");

    TreeControl deep;
    deep.add("", TreeRelation::Child, "N0000", "/home/u");
    deep.add("N0000", TreeRelation::Child, "N0001", "a\nb");
    EXPECT_EQ(deep.fullPath(deep.find("N0001"), "/"), "/home/u/a\nb");
    EXPECT_EQ(deep.fullPath(deep.find("N0001"), "\\"), "/home/u\\a\nb");
}

TEST(TreeControlTest, ObserversHearInsertionsRemovalsAndChangesInPairs) {
    RecordingTreeObserver observer;
    TreeControl tree;
    tree.addObserver(&observer);
    buildSample(tree);
    tree.add("N0004", TreeRelation::Previous, "N0005", "b2");
    tree.remove("N0001");
    tree.setText(tree.find("N0003"), "bee");
    tree.setText(tree.find("N0003"), "bee");
    tree.setBold(tree.find("N0003"), true);
    tree.expand(tree.find("N0000"));
    tree.expand(tree.find("N0000"));
    tree.select(tree.find("N0004"));
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{
                  "about-insert - 0 1", "inserted - 0 1", "about-insert N0000 0 1",
                  "inserted N0000 0 1", "about-insert N0001 0 1", "inserted N0001 0 1",
                  "about-insert N0000 1 1", "inserted N0000 1 1", "about-insert N0000 2 1",
                  "inserted N0000 2 1", "about-insert N0000 2 1", "inserted N0000 2 1",
                  "about-remove N0000 0 1", "removed N0000 0 1", "changed N0003", "changed N0003",
                  "expanded N0000 1", "selected N0004"}));
    observer.events.clear();
    tree.clear();
    EXPECT_EQ(observer.events, (std::vector<std::string>{"reset", "selected -"}));
    EXPECT_EQ(tree.count(), 0);
    EXPECT_EQ(tree.firstNode(), nullptr);
    tree.removeObserver(&observer);
}

TEST(TreeControlTest, ViewChangesAreNotEchoedToTheirSource) {
    RecordingTreeObserver view;
    RecordingTreeObserver other;
    TreeControl tree;
    tree.addObserver(&view);
    tree.addObserver(&other);
    buildSample(tree);
    view.events.clear();
    other.events.clear();
    tree.setExpandedFromView(tree.find("N0001"), true, &view);
    tree.selectFromView(tree.find("N0002"), &view);
    EXPECT_TRUE(view.events.empty());
    EXPECT_EQ(other.events, (std::vector<std::string>{"expanded N0001 1", "selected N0002"}));
    EXPECT_TRUE(tree.find("N0001")->expanded());
    EXPECT_EQ(tree.selected()->key(), "N0002");
}

TEST(TreeControlTest, AttributesKeepTheirValues) {
    TreeControl tree;
    buildSample(tree);
    TreeNode* node = tree.find("N0003");
    tree.setTag(node, "NW");
    tree.setImage(node, "ICON:folder");
    tree.setForeColour(node, rgb(0, 64, 64));
    tree.setBackColour(node, rgb(128, 128, 128));
    EXPECT_EQ(node->tag(), "NW");
    EXPECT_EQ(node->image(), "ICON:folder");
    EXPECT_EQ(node->foreColour(), 0x004040u);
    EXPECT_EQ(node->backColour(), 0x808080u);
    tree.setForeColour(node, std::nullopt);
    EXPECT_FALSE(node->foreColour().has_value());
    EXPECT_FALSE(node->expanded());
}

TEST(TreeControlTest, RowsAndSiblingsStayRightThroughMixedInsertionsAndRemovals) {
    TreeControl tree;
    tree.add("", TreeRelation::Child, "R", "/");
    std::vector<std::string> expected; // keys of R's children in order
    unsigned seed = 12345;
    auto next = [&seed](unsigned bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % bound;
    };
    for (int step = 0; step < 4000; ++step) {
        const std::string key = "K" + std::to_string(step);
        const unsigned action = expected.empty() ? 0 : next(4);
        if (action == 0) {
            tree.add("R", TreeRelation::Child, key, key);
            expected.push_back(key);
        } else if (action == 1) {
            const std::size_t at = next(static_cast<unsigned>(expected.size()));
            tree.add(expected[at], TreeRelation::Previous, key, key);
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), key);
        } else {
            const std::size_t at = next(static_cast<unsigned>(expected.size()));
            tree.remove(expected[at]);
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
        }
        if (step % 97 == 0 && !expected.empty()) {
            // Ask for one row in between, as a view does.
            const std::size_t at = next(static_cast<unsigned>(expected.size()));
            ASSERT_EQ(tree.find(expected[at])->row(), static_cast<int>(at));
        }
    }
    const TreeNode* root = tree.find("R");
    ASSERT_EQ(root->childCount(), static_cast<int>(expected.size()));
    for (std::size_t i = expected.size(); i-- > 0;) {
        const TreeNode* node = tree.find(expected[i]);
        ASSERT_EQ(node->row(), static_cast<int>(i));
        ASSERT_EQ(root->child(static_cast<int>(i)), node);
        if (i > 0) {
            ASSERT_EQ(node->previousSibling()->key(), expected[i - 1]);
        }
    }
}

TEST(TreeControlTest, SelectingOrShowingANodeOpensItsCollapsedAncestors) {
    RecordingTreeObserver observer;
    TreeControl tree;
    buildSample(tree);
    tree.addObserver(&observer);
    tree.select(tree.find("N0002"));
    EXPECT_TRUE(tree.find("N0000")->expanded());
    EXPECT_TRUE(tree.find("N0001")->expanded());
    EXPECT_FALSE(tree.find("N0002")->expanded());
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"expanded N0000 1", "expanded N0001 1", "selected N0002"}));
    tree.collapse(tree.find("N0001"));
    tree.ensureVisible(tree.find("N0002"));
    EXPECT_TRUE(tree.find("N0001")->expanded());
    // A choice made on screen opens nothing.
    tree.collapse(tree.find("N0000"));
    tree.selectFromView(tree.find("N0003"), nullptr);
    EXPECT_FALSE(tree.find("N0000")->expanded());
}
