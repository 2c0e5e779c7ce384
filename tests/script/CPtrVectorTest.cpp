#include "script/CPtrVector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Logs its own deletion; may take itself out of a list as it goes.
struct Item {
    Item(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
    ~Item() {
        log.push_back(name);
        if (owner) owner->Remove(this);
    }
    std::vector<std::string>& log;
    std::string name;
    CPtrVector<Item>* owner = nullptr;
};

TEST(CPtrVectorTest, DeletesFirstToLastSkippingNulls) {
    std::vector<std::string> log;
    {
        CPtrVector<Item> list;
        list.Add(new Item(log, "a"));
        list.Add(nullptr);
        list.Add(new Item(log, "b"));
        list.Add(new Item(log, "c"));
        EXPECT_EQ(list.size(), 4u);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(CPtrVectorTest, RemoveTakesOnlyTheFirstEqualElementAndDeletesNothing) {
    std::vector<std::string> log;
    Item kept(log, "kept");
    Item* a = new Item(log, "a");
    {
        CPtrVector<Item> list;
        list.Add(a);
        list.Add(&kept);
        list.Add(a);
        list.Remove(&kept);
        list.Remove(&kept);
        list.Remove(nullptr);
        list.Remove(a);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], a);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
}

TEST(CPtrVectorTest, ElementsMayLeaveTheListWhileItIsDeleted) {
    std::vector<std::string> log;
    {
        CPtrVector<Item> list;
        for (const char* name : {"a", "b", "c"}) {
            Item* item = new Item(log, name);
            item->owner = &list;
            list.Add(item);
        }
    }
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(CPtrVectorTest, APointerAddedTwiceIsDeletedOnce) {
    std::vector<std::string> log;
    {
        CPtrVector<Item> list;
        Item* a = new Item(log, "a");
        list.Add(a);
        list.Add(new Item(log, "b"));
        list.Add(a);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
