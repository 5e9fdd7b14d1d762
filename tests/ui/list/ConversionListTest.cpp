// The list model: counts by status, the selection the frame's commands read, removals.
#include <gtest/gtest.h>

#include "TestItems.h"
#include "ui/list/ConversionList.h"

namespace {

TEST(ConversionList, CountsItemsByStatus) {
  ConversionList list;
  EXPECT_EQ(TheConversionList(), &list);
  for (int status : {0, 1, 1, 2, 1, 7}) list.Add(MakeItem("x", status));
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(list.StatusCount(ItemStatus::NotStarted), 1);
  EXPECT_EQ(list.StatusCount(ItemStatus::Succeeded), 3);
  EXPECT_EQ(list.StatusCount(ItemStatus::Failed), 1);  // an unknown status counts nowhere
  EXPECT_EQ(list.StatusCount(7), 0);
  const_cast<ConversionItem&>(*list.Items()[0]).status = ItemStatus::Failed;
  EXPECT_EQ(list.StatusCount(ItemStatus::Failed), 1);  // until the next recount
  list.RecountStatus();
  EXPECT_EQ(list.StatusCount(ItemStatus::Failed), 2);
  EXPECT_EQ(list.StatusCount(ItemStatus::NotStarted), 0);
}

TEST(ConversionList, FirstSelectedItemFollowsListOrderNotSelectionOrder) {
  ConversionList list;
  ConversionItem& a = list.Add(MakeItem("a", ItemStatus::Failed));
  ConversionItem& b = list.Add(MakeItem("b", ItemStatus::Succeeded));
  ConversionItem stranger;
  EXPECT_FALSE(list.HasSelection());
  EXPECT_FALSE(list.SelectionSucceeded());
  list.SetSelected(&stranger, true);  // not in the list: ignored
  EXPECT_EQ(list.SelectedCount(), 0);
  list.SetSelected(&b, true);
  EXPECT_TRUE(list.SelectionSucceeded());
  list.SetSelected(&a, true);
  EXPECT_EQ(list.FirstSelectedItem(), &a);
  EXPECT_FALSE(list.SelectionSucceeded());
  EXPECT_EQ(list.SelectedCount(), 2);
  list.SetSelected(&a, false);
  EXPECT_EQ(list.FirstSelectedItem(), &b);
}

TEST(ConversionList, RemovesExactlyTheSelectedItemsAndTellsListeners) {
  ConversionList list;
  int changes = 0;
  list.onChanged = [&] { ++changes; };
  std::vector<ConversionItem*> items;
  for (int i = 0; i < 5; ++i)
    items.push_back(&list.Add(MakeItem(std::string(1, static_cast<char>('a' + i)), i % 3)));
  EXPECT_EQ(changes, 5);
  list.RemoveSelected();  // nothing selected: nothing happens
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(changes, 5);
  for (int i : {0, 2, 3}) list.SetSelected(items[static_cast<std::size_t>(i)], true);
  list.RemoveSelected();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items()[0]->sourcePath, "/pictures/b.png");
  EXPECT_EQ(list.Items()[1]->sourcePath, "/pictures/e.png");
  EXPECT_FALSE(list.HasSelection());
  EXPECT_EQ(list.StatusCount(ItemStatus::Succeeded), 2);
  EXPECT_EQ(changes, 6);
  list.RemoveAll();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.StatusCount(ItemStatus::Succeeded), 0);
  EXPECT_EQ(changes, 7);
}

}  // namespace
