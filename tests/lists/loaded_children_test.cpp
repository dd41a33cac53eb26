// Parent links of a loaded query response: each parent lists its children in response order,
// also when siblings are interleaved with other families, and later additions follow them.
#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

using LoadedChildrenTest = ListsTest;

std::string ClassRet(const std::string& name, const std::string& parent = {}) {
  std::string ret = "<ClassRet><ListID>" + name + "-1</ListID><Name>" +
                    name.substr(name.rfind(':') + 1) + "</Name>";
  if (!parent.empty()) ret += "<ParentRef><FullName>" + parent + "</FullName></ParentRef>";
  return ret + "</ClassRet>";
}

std::vector<std::string> ChildNames(const std::shared_ptr<Class>& record) {
  std::vector<std::string> names;
  for (const auto& ref : *record->Children()) {
    EXPECT_EQ(ref->List(), qoListClasses);
    EXPECT_TRUE(ref->ListID().empty());
    names.push_back(ref->FullName());
  }
  return names;
}

TEST_F(LoadedChildrenTest, ParentsListTheirChildrenInResponseOrder) {
  auto classes = company_->Classes();
  processor_->QueueResponse(
      Response(Status("ClassQueryRs", 1, 0, "Status OK",
                      ClassRet("A") + ClassRet("B") + ClassRet("A:X", "A") + ClassRet("B:Y", "b") +
                          ClassRet("A:Z", "A") + ClassRet("A:X:W", "A:X") +
                          ClassRet("C:Lost", "C") + ClassRet("B:V", "B"))));
  ASSERT_EQ(classes->GetAll(), 8);
  auto a = classes->Item("A");
  auto b = classes->Item("B");
  auto x = classes->Item("A:X");
  EXPECT_EQ(ChildNames(a), (std::vector<std::string>{"A:X", "A:Z"}));
  // The parent's name is matched without regard to case; the child keeps its own.
  EXPECT_EQ(ChildNames(b), (std::vector<std::string>{"b:Y", "B:V"}));
  EXPECT_EQ(ChildNames(x), (std::vector<std::string>{"A:X:W"}));
  EXPECT_EQ(classes->Item("A:Z")->Children()->Count(), 0);
  EXPECT_EQ(a->Children()->Object("a:z"), classes->Item("A:Z"));
  // The same set on every read, and additions follow the loaded children.
  EXPECT_EQ(a->Children(), a->Children());
  classes->SetMaster(true);
  classes->Add("N", true, "A");
  EXPECT_EQ(ChildNames(a), (std::vector<std::string>{"A:X", "A:Z", "A:N"}));
  auto before = b->Children();
  classes->Add("M", true, "B");
  EXPECT_EQ(before->Count(), 3);
}

// Parents are mostly found as their children are read; one read after its children is found at
// the end, and a sibling after it keeps its place in the order.
TEST_F(LoadedChildrenTest, AParentReadAfterItsChildrenStillListsThem) {
  auto classes = company_->Classes();
  processor_->QueueResponse(
      Response(Status("ClassQueryRs", 1, 0, "Status OK",
                      ClassRet("D:Early", "D") + ClassRet("E") + ClassRet("E:One", "E") +
                          ClassRet("D") + ClassRet("D:Late", "D") + ClassRet("E:Two", "e"))));
  ASSERT_EQ(classes->GetAll(), 6);
  EXPECT_EQ(ChildNames(classes->Item("D")), (std::vector<std::string>{"D:Early", "D:Late"}));
  EXPECT_EQ(ChildNames(classes->Item("E")), (std::vector<std::string>{"E:One", "e:Two"}));
}

TEST_F(LoadedChildrenTest, ChildrenOutliveTheCollectionAndItsReload) {
  auto classes = std::make_shared<Classes>();
  const std::string response =
      Response(Status("ClassQueryRs", 1, 0, "Status OK", ClassRet("P") + ClassRet("P:Q", "P")));
  processor_->QueueResponse(response);
  processor_->QueueResponse(response);
  ASSERT_EQ(classes->GetAll(), 2);
  auto p = classes->Item("P");
  ASSERT_EQ(classes->GetAll(), 2);
  EXPECT_NE(classes->Item("P"), p);
  classes.reset();
  EXPECT_EQ(ChildNames(p), (std::vector<std::string>{"P:Q"}));
}

TEST_F(LoadedChildrenTest, ATakenKeyIsRefusedBeforeALaterRecordFails) {
  auto classes = std::make_shared<Classes>();
  const std::string badDate =
      "<ClassRet><Name>Late</Name><TimeCreated>2005-13-01</TimeCreated>"
      "</ClassRet>";
  processor_->QueueResponse(Response(Status(
      "ClassQueryRs", 1, 0, "Status OK", ClassRet("A") + ClassRet("B") + ClassRet("a") + badDate)));
  EXPECT_EQ(RaisedBy([&] { classes->GetAll(); }).Number(), 457);
  EXPECT_EQ(classes->Count(), 2);
  processor_->QueueResponse(
      Response(Status("ClassQueryRs", 1, 0, "Status OK", ClassRet("A") + ClassRet("B") + badDate)));
  EXPECT_EQ(RaisedBy([&] { classes->GetAll(); }).Number(), 13);
  EXPECT_EQ(classes->Count(), 2);
  EXPECT_TRUE(classes->ItemExists("b"));
}

}  // namespace
}  // namespace brennock::testing
