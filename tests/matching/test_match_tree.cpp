// The match tree: nodes own their leaves in order, and every leaf's parent names its node.
#include "Barcode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// True when every leaf of every node names that node as its parent.
::testing::AssertionResult parentsAreRight(const BarcodeList& list) {
    for (const auto& node : list) {
        for (const auto& image : node->images()) {
            if (image->parent() != node.get())
                return ::testing::AssertionFailure()
                       << image->imageName() << " is under " << node->barcode()
                       << " but names another parent";
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> namesOf(const Barcode& node) {
    std::vector<std::string> names;
    for (const auto& image : node.images())
        names.push_back(image->imageName());
    return names;
}

BarcodeList makeTree() {
    BarcodeList list;
    list.push_back(Barcode::barcodeWithValue("A"));
    list.push_back(Barcode::barcodeWithValue("B"));
    list.push_back(Barcode::barcodeWithValue("C"));
    list[0]->addObject(BarcodeImage::barcodeImageWithValue("p1.jpg"));
    list[0]->addObject(BarcodeImage::barcodeImageWithValue("p2.jpg"));
    list[2]->addObject(BarcodeImage::barcodeImageWithValue("sub/p3.jpg"));
    return list;
}

TEST(MatchTree, NewNodeAndLeaf) {
    std::unique_ptr<Barcode> node = Barcode::barcodeWithValue("4711");
    EXPECT_EQ("4711", node->barcode());
    EXPECT_EQ("4711", node->objectValue());
    EXPECT_EQ(0, node->numberOfChildren());
    EXPECT_TRUE(node->images().empty());

    std::unique_ptr<BarcodeImage> leaf = BarcodeImage::barcodeImageWithValue("IMG_0001.JPG");
    EXPECT_EQ("IMG_0001.JPG", leaf->imageName());
    EXPECT_EQ("IMG_0001.JPG", leaf->objectValue());
    EXPECT_EQ(-1, leaf->numberOfChildren());
    EXPECT_EQ(nullptr, leaf->parent());

    node->setBarcode("4712");
    leaf->setImageName("IMG_0002.JPG");
    EXPECT_EQ("4712", node->objectValue());
    EXPECT_EQ("IMG_0002.JPG", leaf->objectValue());
}

TEST(MatchTree, AddAppendsInOrderAndSetsParent) {
    BarcodeList list = makeTree();
    EXPECT_EQ(2, list[0]->numberOfChildren());
    EXPECT_EQ(0, list[1]->numberOfChildren());
    EXPECT_EQ((std::vector<std::string>{"p1.jpg", "p2.jpg"}), namesOf(*list[0]));
    EXPECT_EQ("p2.jpg", list[0]->objectAtIndex(1)->imageName());
    EXPECT_EQ(1, list[0]->indexOfObject(list[0]->objectAtIndex(1)));
    EXPECT_TRUE(parentsAreRight(list));
}

TEST(MatchTree, RemoveHandsTheLeafBackWithoutParent) {
    BarcodeList list = makeTree();
    BarcodeImage* first = list[0]->objectAtIndex(0);
    std::unique_ptr<BarcodeImage> removed = list[0]->removeObject(first);
    ASSERT_EQ(first, removed.get());
    EXPECT_EQ(nullptr, removed->parent());
    EXPECT_EQ((std::vector<std::string>{"p2.jpg"}), namesOf(*list[0]));
    EXPECT_EQ(-1, list[0]->indexOfObject(first));
}

TEST(MatchTree, RemovingAForeignLeafChangesNothing) {
    BarcodeList list = makeTree();
    BarcodeImage* ofC = list[2]->objectAtIndex(0);
    EXPECT_EQ(nullptr, list[0]->removeObject(ofC));
    EXPECT_EQ(nullptr, list[0]->removeObject(nullptr));
    EXPECT_EQ(2, list[0]->numberOfChildren());
    EXPECT_EQ(list[2].get(), ofC->parent());
    EXPECT_TRUE(parentsAreRight(list));
}

TEST(MatchTree, MovingAPhotoAppendsItToTheTargetAndKeepsTheInvariant) {
    BarcodeList list = makeTree();
    BarcodeImage* moved = list[0]->objectAtIndex(0);
    Barcode* from = moved->parent();
    list[2]->addObject(from->removeObject(moved));
    EXPECT_EQ(list[2].get(), moved->parent());
    EXPECT_EQ((std::vector<std::string>{"sub/p3.jpg", "p1.jpg"}), namesOf(*list[2]));
    EXPECT_EQ((std::vector<std::string>{"p2.jpg"}), namesOf(*list[0]));
    EXPECT_TRUE(parentsAreRight(list));
}

TEST(MatchTree, EmptyNodeReceivesItsFirstPhotoAndALastPhotoLeavesAnEmptyNode) {
    BarcodeList list = makeTree();
    BarcodeImage* only = list[2]->objectAtIndex(0);
    list[1]->addObject(list[2]->removeObject(only));
    EXPECT_EQ(1, list[1]->numberOfChildren());
    EXPECT_EQ(0, list[2]->numberOfChildren());
    EXPECT_EQ(3u, list.size());
    EXPECT_EQ(list[1].get(), only->parent());
    EXPECT_TRUE(parentsAreRight(list));
}

TEST(MatchTree, IndexOutOfRangeGivesNoLeaf) {
    BarcodeList list = makeTree();
    EXPECT_EQ(nullptr, list[0]->objectAtIndex(-1));
    EXPECT_EQ(nullptr, list[0]->objectAtIndex(2));
    EXPECT_EQ(nullptr, list[1]->objectAtIndex(0));
    list[0]->addObject(nullptr);
    EXPECT_EQ(2, list[0]->numberOfChildren());
}

} // namespace
