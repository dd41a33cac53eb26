// List collections on a recording processor: queries, loading, commits and their response
// mapping, deletes, master-only operations and the database-export hand-off.
#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

using ListCollectionsTest = ListsTest;

constexpr const char* kTopRet =
    "<ClassRet><ListID>10000-1</ListID><TimeCreated>2005-03-04T10:11:12-08:00</TimeCreated>"
    "<EditSequence>100</EditSequence><Name>Top</Name><FullName>Top</FullName>"
    "<IsActive>true</IsActive><Sublevel>0</Sublevel></ClassRet>";
constexpr const char* kSubRet =
    "<ClassRet><ListID>20000-1</ListID><EditSequence>101</EditSequence><Name>Sub</Name>"
    "<FullName>Top:Sub</FullName><IsActive>false</IsActive><ParentRef><ListID>10000-1</ListID>"
    "<FullName>Top</FullName></ParentRef><Sublevel>1</Sublevel><Unknown>x</Unknown></ClassRet>";

TEST_F(ListCollectionsTest, GetAllLoadsRecordsAndLinksChildren) {
  auto classes = company_->Classes();
  classes->Add("Stale");
  processor_->QueueResponse(
      Response(Status("ClassQueryRs", 1, 0, "Status OK", std::string(kTopRet) + kSubRet)));
  EXPECT_EQ(classes->GetAll(), 2);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<ClassQueryRq requestID = \"1\"><ActiveStatus>All</ActiveStatus></ClassQueryRq>" +
                kClose);
  auto top = classes->Item(1);
  auto sub = classes->Item("top:SUB");
  EXPECT_EQ(top->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(top->TimeCreated(), Date::FromDateTime(2005, 3, 4, 10, 11, 12));
  EXPECT_EQ(sub->Parent(), "Top");
  EXPECT_EQ(sub->Sublevel(), 1);
  EXPECT_FALSE(sub->IsActive());
  ASSERT_EQ(top->Children()->Count(), 1);
  EXPECT_EQ(top->Children()->Item(1)->FullName(), "Top:Sub");
  EXPECT_EQ(top->Children()->Item(1)->List(), qoListClasses);
  EXPECT_EQ(top->Children()->Object(1), sub);
  std::vector<std::string> names;
  for (const auto& record : *classes) names.push_back(record->FullName());
  EXPECT_EQ(names, (std::vector<std::string>{"Top", "Top:Sub"}));

  processor_->QueueResponse(Response(Status("ClassQueryRs", 1, 0, "Status OK")));
  EXPECT_EQ(classes->GetActive(5), 0);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<ClassQueryRq requestID = \"1\"><MaxReturned>5</MaxReturned>"
                "<ActiveStatus>ActiveOnly</ActiveStatus></ClassQueryRq>" +
                kClose);
}

TEST_F(ListCollectionsTest, FilteredQueriesWriteTheirFilters) {
  auto classes = std::make_shared<Classes>();  // a client's own collection may query
  processor_->SetResponder(
      [](const std::string&) { return Response(Status("ClassQueryRs", 1, 1, "none")); });
  classes->GetByNameMatch("To", qbMatchEndsWith, 10);
  classes->GetByNameRange("A", "M");
  classes->GetByDateSpan(Date::FromDateTime(2005, 3, 4, 10, 11, 12), Date::FromDate(2006, 1, 2));
  company_->ToDoList()->GetByDoneStatus(qoDoneStatusNotDoneOnly);
  const auto& requests = processor_->Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].text, std::string(kOpen20) +
                                  "<ClassQueryRq requestID = \"1\"><MaxReturned>10</MaxReturned>"
                                  "<NameFilter><MatchCriterion>EndsWith</MatchCriterion><Name>To"
                                  "</Name></NameFilter></ClassQueryRq>" +
                                  kClose);
  EXPECT_EQ(requests[1].text, std::string(kOpen20) +
                                  "<ClassQueryRq requestID = \"1\"><NameRangeFilter><FromName>A"
                                  "</FromName><ToName>M</ToName></NameRangeFilter></ClassQueryRq>" +
                                  kClose);
  EXPECT_EQ(requests[2].text, std::string(kOpen20) +
                                  "<ClassQueryRq requestID = \"1\"><FromModifiedDate>2005-03-04T10:"
                                  "11:12</FromModifiedDate><ToModifiedDate>2006-01-02T00:00:00"
                                  "</ToModifiedDate></ClassQueryRq>" +
                                  kClose);
  EXPECT_EQ(
      requests[3].text,
      std::string(kOpen20) +
          "<ToDoQueryRq requestID = \"1\"><DoneStatus>NotDoneOnly</DoneStatus></ToDoQueryRq>" +
          kClose);
  EXPECT_EQ(classes->Errors()->Count(), 0);  // status 1 is an empty result
}

TEST_F(ListCollectionsTest, IteratorsNeedQbxml5) {
  auto customers = company_->Customers();  // the session speaks 2.0
  for (auto query : {+[](Customers& c) { c.GetCount(); }, +[](Customers& c) { c.GetFirst(10); }}) {
    AutomationError error = RaisedBy([&] { query(*customers); });
    EXPECT_EQ(error.Number(), ErrorNumber(1005));
    EXPECT_EQ(error.Description(),
              "The version of QuickBooks you are running does not support this feature.");
  }
  EXPECT_TRUE(processor_->Requests().empty());
}

TEST_F(ListCollectionsTest, SingleLookups) {
  auto classes = company_->Classes();
  auto held = classes->Add("Held");
  EXPECT_EQ(classes->GetByFullName("HELD"), held);
  EXPECT_EQ(classes->GetByFullName(""), nullptr);
  EXPECT_TRUE(processor_->Requests().empty());

  processor_->QueueResponse(Response(Status("ClassQueryRs", 1, 0, "Status OK", kTopRet)));
  auto top = classes->GetByListID("10000-1");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<ClassQueryRq requestID = \"1\"><ListID>10000-1</ListID></ClassQueryRq>" + kClose);
  EXPECT_EQ(classes->Item("Top"), top);
  // Asked again by ListID: the member is refreshed, not filed twice.
  processor_->QueueResponse(Response(Status("ClassQueryRs", 1, 0, "Status OK", kTopRet)));
  EXPECT_EQ(classes->GetByListID("10000-1"), top);
  EXPECT_EQ(classes->Count(), 2);

  processor_->QueueResponse(
      Response(Status("ClassQueryRs", 1, 3120, "Object &quot;X&quot; not found.")));
  EXPECT_EQ(classes->GetByFullName("X"), nullptr);
  ASSERT_EQ(classes->Errors()->Count(), 1);
  EXPECT_EQ(classes->Errors()->Item(1)->Number(), 3120);
  EXPECT_EQ(classes->Errors()->Item(1)->Description(), "Object \"X\" not found.");
}

TEST_F(ListCollectionsTest, CommitSendsValidNewMembersAndFilesEachAnswer) {
  Session().errorMode = false;
  auto classes = company_->Classes();
  classes->Add("Good");
  classes->Add("");  // fails validation
  processor_->QueueResponse(
      Response(Status("ClassAddRs", 1, 0, "Status OK",
                      "<ClassRet><ListID>1-1</ListID><Name>Good</Name></ClassRet>")));
  EXPECT_EQ(classes->Commit(), 1);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<ClassAddRq requestID = \"1\"><ClassAdd><Name>Good</Name><IsActive>1</IsActive>"
                "</ClassAdd></ClassAddRq>" +
                kClose);
  EXPECT_EQ(classes->Item(1)->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(classes->Item(1)->ListID(), "1-1");
  auto failed = classes->Errors()->Item(1);
  EXPECT_EQ(failed->Number(), ErrorNumber(1011));
  EXPECT_EQ(failed->Field(), "");
  EXPECT_EQ(failed->Description(),
            "Indicated object failed validation.  Check object's errors for details.");
  EXPECT_EQ(classes->Item(2)->ObjectState(), qoObjectStateNew);
}

TEST_F(ListCollectionsTest, RefusedSavesAreFiledOnRecordAndCollection) {
  auto classes = company_->Classes();
  auto first = classes->Add("First");
  auto second = classes->Add("Second", true, "First");
  auto third = classes->Add("Third");
  processor_->SetResponder([](const std::string& request) {
    if (request.find("ClassQueryRq") != std::string::npos)
      return Response(Status("ClassQueryRs", 1, 1, "none"));
    return Response(
        Status("ClassAddRs", 1, 0, "Status OK", "<ClassRet><ListID>1-1</ListID></ClassRet>") +
        Status("ClassAddRs", 2, 3100,
               "The name &quot;First:Second&quot; of the list element is already in use.") +
        Status("ClassAddRs", 3, 3000, "Failed. QuickBooks error message: Bad class"));
  });
  AutomationError raised = RaisedBy([&] { classes->Commit(); });
  EXPECT_EQ(raised.Number(), ErrorNumber(1023));
  EXPECT_EQ(raised.Source(), "Class");
  EXPECT_EQ(raised.Description(),
            "Error(s) occurred during commit.  Check each object's Errors for details.");
  ASSERT_EQ(classes->Errors()->Count(), 2);
  EXPECT_EQ(classes->Errors()->Item(1)->Number(), ErrorNumber(1018));
  EXPECT_EQ(classes->Errors()->Item(1)->Field(), "First:Second");
  EXPECT_EQ(classes->Errors()->Item(2)->Field(), "Third");
  ASSERT_EQ(second->Errors()->Count(), 1);
  EXPECT_EQ(second->Errors()->Item(1)->Number(), ErrorNumber(1017));
  EXPECT_EQ(second->Errors()->Item(1)->Field(), "Name");
  EXPECT_EQ(second->Errors()->Item(1)->Description(), "Name specified already exists on file");
  EXPECT_EQ(second->ObjectState(), qoObjectStateNew);
  EXPECT_EQ(third->Errors()->Item(1)->Number(), ErrorNumber(1001));
  EXPECT_EQ(third->Errors()->Item(1)->Field(), "QuickBooks: ");
  EXPECT_EQ(third->Errors()->Item(1)->Description(), "Bad class");
  EXPECT_EQ(first->ObjectState(), qoObjectStateClean);

  // With the error mode off the same failures are only counted; the saved record sends nothing.
  Session().errorMode = false;
  EXPECT_EQ(classes->Commit(), 2);
  EXPECT_EQ(processor_->LastRequestText().find("<Name>First</Name>"), std::string::npos);
}

TEST_F(ListCollectionsTest, SaveStatusIsReadByAttributeNameInAnyOrder) {
  Session().errorMode = false;
  auto classes = company_->Classes();
  auto first = classes->Add("First");
  auto second = classes->Add("Second");
  // A DOCTYPE before the root, attributes in another order than QuickBooks writes them.
  processor_->SetResponder([](const std::string&) -> std::string {
    return "<?xml version=\"1.0\" ?><!DOCTYPE QBXML><QBXML><QBXMLMsgsRs>"
           "<ClassAddRs statusMessage=\"Status OK\" statusCode=\"0\" requestID=\"1\" "
           "statusSeverity=\"Info\"><ClassRet><ListID>1-1</ListID></ClassRet></ClassAddRs>"
           "<ClassAddRs statusSeverity=\"Error\" requestID=\"2\" statusMessage=\"Failed. "
           "QuickBooks error message: Bad &quot;class&quot;\" statusCode=\"3000\"/>"
           "</QBXMLMsgsRs></QBXML>";
  });
  EXPECT_EQ(classes->Commit(), 1);
  EXPECT_EQ(first->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(first->ListID(), "1-1");
  ASSERT_EQ(second->Errors()->Count(), 1);
  EXPECT_EQ(second->Errors()->Item(1)->Number(), ErrorNumber(1001));
  EXPECT_EQ(second->Errors()->Item(1)->Description(), "Bad \"class\"");
  EXPECT_EQ(second->ObjectState(), qoObjectStateNew);
}

TEST_F(ListCollectionsTest, CommitOfCleanMembersSendsNothing) {
  auto classes = company_->Classes();
  classes->Add("A")->SetObjectState(qoObjectStateClean);
  EXPECT_EQ(classes->Commit2(), 0);
  EXPECT_TRUE(processor_->Requests().empty());
  // A changed simple-list record cannot be saved.
  classes->Item(1)->SetObjectState(qoObjectStateDirty);
  AutomationError refused = RaisedBy([&] { classes->Commit(); });
  EXPECT_EQ(refused.Number(), ErrorNumber(1003));
  EXPECT_EQ(refused.Source(), "Brennock: Class");
  EXPECT_EQ(refused.Description(), "Modify not allowed");
}

TEST_F(ListCollectionsTest, CommitOfOneMember) {
  Session().errorMode = false;
  auto classes = company_->Classes();
  classes->Add("A");
  auto b = classes->Add("B");
  processor_->QueueResponse(Response(Status("ClassAddRs", 2, 0, "Status OK", "<ClassRet/>")));
  EXPECT_EQ(classes->Commit(b), 0);
  EXPECT_NE(processor_->LastRequestText().find("<ClassAddRq requestID = \"2\"><ClassAdd><Name>B"),
            std::string::npos);
  EXPECT_EQ(classes->Item(1)->ObjectState(), qoObjectStateNew);
  EXPECT_EQ(b->ObjectState(), qoObjectStateClean);

  auto stranger = std::make_shared<Class>();
  stranger->SetName("Stranger");
  EXPECT_EQ(classes->Commit(stranger), 1);
  EXPECT_EQ(classes->Errors()->Item(1)->Number(), ErrorNumber(1022));
  EXPECT_EQ(classes->Errors()->Item(1)->Field(), "Class");
}

TEST_F(ListCollectionsTest, OnlyTheMasterAddsDeletesAndCommits) {
  Classes own;
  for (auto call : std::vector<std::function<void()>>{[&] { own.Add("A"); }, [&] { own.Commit(); },
                                                      [&] { own.Delete("1-1"); }}) {
    AutomationError error = RaisedBy(call);
    EXPECT_EQ(error.Number(), ErrorNumber(1021));
    EXPECT_EQ(error.Source(), "Class");
    EXPECT_EQ(error.Description(), "This operation is only permitted on the master collection");
  }
  EXPECT_TRUE(processor_->Requests().empty());
}

TEST_F(ListCollectionsTest, DeleteAsksQuickBooksAndOptionallyKeepsTheRecord) {
  auto classes = company_->Classes();
  processor_->SetResponder([](const std::string& request) {
    if (request.find("ClassQueryRq") != std::string::npos)
      return Response(Status("ClassQueryRs", 1, 0, "Status OK", kTopRet));
    if (request.find("<ListID>bad</ListID></ListDelRq>") != std::string::npos)
      return Response(Status("ListDelRs", 1, 3170, "Cannot delete"));
    return Response(Status("ListDelRs", 1, 0, "Status OK"));
  });
  classes->Delete("10000-1", false);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<ListDelRq requestID = \"1\"><ListDelType>Class</ListDelType>"
                "<ListID>10000-1</ListID></ListDelRq>" +
                kClose);
  EXPECT_TRUE(classes->ItemExists("Top"));
  classes->Delete("10000-1");
  EXPECT_FALSE(classes->ItemExists("Top"));
  AutomationError refused = RaisedBy([&] { classes->Delete("bad"); });
  EXPECT_EQ(refused.Number(), ErrorNumber(1026));
  EXPECT_EQ(refused.Source(), "Class");
  EXPECT_EQ(refused.Description(), "Cannot delete");
}

TEST_F(ListCollectionsTest, KeysPositionsAndRemoval) {
  auto classes = company_->Classes();
  classes->Add("A");
  classes->Add("B");
  classes->Add("C");
  EXPECT_EQ(RaisedBy([&] { classes->Add("b"); }).Number(), 457);
  classes->Remove("a");
  EXPECT_EQ(classes->Item(1)->Name(), "B");
  EXPECT_EQ(classes->Item("C"), classes->Item(2));
  classes->Remove(2);
  EXPECT_EQ(classes->Count(), 1);
  EXPECT_FALSE(classes->ItemExists("C"));
  EXPECT_FALSE(classes->ItemExists(2));
  EXPECT_EQ(RaisedBy([&] { classes->Item("Zed"); }).Number(), 5);
  EXPECT_EQ(RaisedBy([&] { classes->Item(0); }).Number(), 9);
  classes->Clear();
  EXPECT_EQ(classes->Count(), 0);
  // The registry hands out the very master collection.
  EXPECT_EQ(company_->Lists()->Item("Class"), std::static_pointer_cast<qcList>(classes));
}

TEST_F(ListCollectionsTest, DatabasePathHandsTheResponseToTheExporter) {
  auto classes = company_->Classes();
  processor_->SetResponder([](const std::string&) {
    return Response(Status("ClassQueryRs", 1, 0, "Status OK", kTopRet));
  });
  // The database export registers itself; without it the path is filed as not exportable.
  std::shared_ptr<ResponseExporter> registered = RegisteredResponseExporter();
  ASSERT_NE(registered, nullptr);
  SetResponseExporter(nullptr);
  EXPECT_EQ(classes->GetAll(0, "/tmp/db.sqlite"), 0);
  ASSERT_EQ(classes->Errors()->Count(), 1);
  EXPECT_EQ(classes->Errors()->Item(1)->Description(), std::string(kNoResponseExporter));

  struct Recorder : ResponseExporter {
    void ExportResponse(const XmlDocument&, qoEnumListObjectType type, std::string_view table,
                        const std::string& path) override {
      calls.push_back(std::to_string(type) + " " + std::string(table) + " " + path);
    }
    std::vector<std::string> calls;
  };
  auto recorder = std::make_shared<Recorder>();
  SetResponseExporter(recorder);
  EXPECT_EQ(classes->GetAll(0, "/tmp/db.sqlite"), 0);
  EXPECT_EQ(classes->GetByFullName("Top", "/tmp/db.sqlite"), nullptr);
  SetResponseExporter(registered);
  EXPECT_EQ(recorder->calls, (std::vector<std::string>(2, "13 Class /tmp/db.sqlite")));
  EXPECT_EQ(classes->Errors()->Count(), 0);
}

TEST_F(ListCollectionsTest, FailedSendIsReportedNotRaised) {
  auto classes = company_->Classes();
  processor_->FailNextCall(AutomationError(ErrorNumber(1000), "QBXMLRP2", "Not connected"));
  EXPECT_EQ(classes->GetAll(), 0);
  ASSERT_EQ(classes->Errors()->Count(), 1);
  EXPECT_EQ(classes->Errors()->Item(1)->Number(), ErrorNumber(1000));
}

TEST_F(ListCollectionsTest, ValidateReportsEachFailingMember) {
  auto classes = company_->Classes();
  classes->Add("Fine");
  classes->Add(std::string(40, 'x'));
  EXPECT_FALSE(classes->Validate());
  ASSERT_EQ(classes->Errors()->Count(), 1);
  EXPECT_EQ(classes->Errors()->Item(1)->Field(), std::string(40, 'x'));
}

}  // namespace
}  // namespace brennock::testing
