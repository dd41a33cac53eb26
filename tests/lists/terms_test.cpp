// Terms of both kinds on a recording processor: exact Add bodies, the due and discount dates, the
// name rules, the change guard, and the Terms collection's choice of request by kind.
#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

using TermsTest = ListsTest;

Date D(int year, int month, int day) { return Date::FromDate(year, month, day); }

constexpr const char* kStandardRet =
    "<StandardTermsRet><ListID>80-1</ListID><EditSequence>7</EditSequence><Name>Net 30</Name>"
    "<IsActive>true</IsActive><StdDueDays>30</StdDueDays><StdDiscountDays>10</StdDiscountDays>"
    "<DiscountPct>2.00</DiscountPct></StandardTermsRet>";
constexpr const char* kDateDrivenRet =
    "<DateDrivenTermsRet><ListID>81-1</ListID><Name>15th</Name><IsActive>false</IsActive>"
    "<DayOfMonthDue>15</DayOfMonthDue><DueNextMonthDays>10</DueNextMonthDays>"
    "<DiscountDayOfMonth>5</DiscountDayOfMonth></DateDrivenTermsRet>";

TEST_F(TermsTest, AddBodiesWriteEachKindsActiveFlagAndOnlyPositiveValues) {
  auto terms = company_->Terms();
  EXPECT_EQ(AddRequest(*terms->AddStandard("2% 10 Net 30", true, 30, 10, Currency(2))),
            "<StandardTermsAddRq requestID = \"1\"><StandardTermsAdd><Name>2% 10 Net 30</Name>"
            "<IsActive>true</IsActive><StdDueDays>30</StdDueDays><StdDiscountDays>10"
            "</StdDiscountDays><DiscountPct>2.00</DiscountPct></StandardTermsAdd>"
            "</StandardTermsAddRq>");
  EXPECT_EQ(AddRequest(*terms->AddStandard("On receipt", false, 0, -1)),
            "<StandardTermsAddRq requestID = \"1\"><StandardTermsAdd><Name>On receipt</Name>"
            "<IsActive>false</IsActive></StandardTermsAdd></StandardTermsAddRq>");
  EXPECT_EQ(AddRequest(*terms->AddDateDriven("15th", 15, true, 5, Currency(1.5), 10)),
            "<DateDrivenTermsAddRq requestID = \"1\"><DateDrivenTermsAdd><Name>15th</Name>"
            "<IsActive>1</IsActive><DayOfMonthDue>15</DayOfMonthDue><DueNextMonthDays>10"
            "</DueNextMonthDays><DiscountDayOfMonth>5</DiscountDayOfMonth><DiscountPct>1.50"
            "</DiscountPct></DateDrivenTermsAdd></DateDrivenTermsAddRq>");
  // A discount that rounds to 0.00 in the amount format is no discount: not written.
  EXPECT_EQ(AddRequest(*terms->AddStandard("Tiny", true, 0, 0, Currency::FromScaled(40))),
            "<StandardTermsAddRq requestID = \"1\"><StandardTermsAdd><Name>Tiny</Name>"
            "<IsActive>true</IsActive></StandardTermsAdd></StandardTermsAddRq>");
  EXPECT_EQ(AddRequest(*terms->AddDateDriven("Month end", 31, false)),
            "<DateDrivenTermsAddRq requestID = \"1\"><DateDrivenTermsAdd><Name>Month end</Name>"
            "<IsActive>0</IsActive><DayOfMonthDue>31</DayOfMonthDue></DateDrivenTermsAdd>"
            "</DateDrivenTermsAddRq>");
}

TEST_F(TermsTest, DueAndDiscountDatesFollowTheWorkedCases) {
  auto terms = company_->Terms();
  auto net30 = terms->AddStandard("Net 30", true, 30);
  auto tenDays = terms->AddStandard("2/10", true, 30, 10);
  auto fifteenth = terms->AddDateDriven("15th", 15, true, 5, {}, 10);
  auto monthEnd = terms->AddDateDriven("31st", 31);
  struct Case {
    std::shared_ptr<qcTerm> term;
    Date posted, due, discount;
  };
  const std::vector<Case> cases = {
      {net30, D(2010, 1, 31), D(2010, 3, 2), Date()},  // no discount days: the zero date
      {tenDays, D(2010, 1, 31), D(2010, 3, 2), D(2010, 2, 10)},
      {fifteenth, D(2010, 1, 3), D(2010, 1, 15), D(2010, 1, 5)},
      {fifteenth, D(2010, 1, 6), D(2010, 2, 15), D(2010, 2, 5)},
      {fifteenth, D(2010, 12, 20), D(2011, 1, 15), D(2011, 1, 5)},
      {fifteenth, D(2010, 1, 5), D(2010, 1, 15), D(2010, 1, 5)},  // exactly 10 days before
      {monthEnd, D(2010, 4, 10), D(2010, 5, 1), Date()},          // 31 April is 1 May
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ModConvertDtypes::DateToText(c.posted));
    EXPECT_EQ(c.term->CalculateDueDate(c.posted), c.due);
    EXPECT_EQ(c.term->CalculateDiscountDate(c.posted), c.discount);
  }
  EXPECT_FALSE(net30->IsDateDriven());
  EXPECT_TRUE(fifteenth->IsDateDriven());
  EXPECT_EQ(std::static_pointer_cast<qcTerm>(tenDays)->DiscountPercent(), Currency());
}

TEST_F(TermsTest, NamesUpToFortyOneCharactersValidate) {
  auto terms = company_->Terms();
  struct Case {
    std::string name;
    std::vector<int32_t> errors;
  };
  const std::vector<Case> cases = {
      {"", {ErrorNumber(1012)}},
      {std::string(41, 'x'), {}},
      {std::string(42, 'x'), {ErrorNumber(1013)}},
  };
  for (const Case& c : cases) {
    for (bool dated : {false, true}) {
      terms->Clear();  // both kinds share one name space
      std::shared_ptr<qcListObject> term =
          dated ? std::shared_ptr<qcListObject>(terms->AddDateDriven(c.name))
                : terms->AddStandard(c.name);
      SCOPED_TRACE(std::to_string(c.name.size()) + (dated ? " date-driven" : " standard"));
      EXPECT_EQ(term->Validate(), c.errors.empty());
      std::vector<int32_t> numbers;
      for (const auto& error : *term->Errors()) {
        numbers.push_back(error->Number());
        EXPECT_EQ(error->Field(), "Name");
      }
      EXPECT_EQ(numbers, c.errors);
    }
  }
  std::string accented;
  for (int i = 0; i < 41; ++i) accented += "\xc3\xa9";  // 41 characters, 82 bytes
  EXPECT_TRUE(terms->AddStandard(accented)->Validate());
  auto tooLong = terms->AddStandard(std::string(42, 'y'));
  tooLong->Validate();
  EXPECT_EQ(tooLong->Errors()->Item(1)->Description(), "Name cannot exceed 31 characters");
}

TEST_F(TermsTest, SavedTermsRefuseChangesAndModify) {
  processor_->QueueResponse(Response(
      Status("TermsQueryRs", 1, 0, "Status OK", std::string(kStandardRet) + kDateDrivenRet)));
  auto terms = company_->Terms();
  ASSERT_EQ(terms->GetAll(), 2);
  auto standard = std::dynamic_pointer_cast<StandardTerm>(terms->Item(1));
  auto dated = std::dynamic_pointer_cast<DateDrivenTerm>(terms->Item("15th"));
  ASSERT_TRUE(standard && dated);
  AutomationError error = RaisedBy([&] { standard->SetDueDays("45"); });
  EXPECT_EQ(error.Number(), ErrorNumber(1002));
  EXPECT_EQ(error.Source(), "StandardTerms");
  EXPECT_EQ(standard->DueDays(), "30");
  EXPECT_EQ(RaisedBy([&] { dated->SetDayOfMonthDue(1); }).Source(), "DateDrivenTerms");
  EXPECT_EQ(dated->DayOfMonthDue(), 15);
  EXPECT_EQ(RaisedBy([&] { terms->AddStandard("x")->SetDueDays("ten"); }).Number(), 13);

  for (std::shared_ptr<qcListObject> term : {terms->Item(1), terms->Item(2)}) {
    xmlBldr builder;
    error = RaisedBy([&] { term->XMLModify(builder); });
    EXPECT_EQ(error.Number(), ErrorNumber(1003));
    EXPECT_EQ(error.Description(), "XMLModify not supported");
  }
  EXPECT_EQ(error.Source(), "Brennock: DateDrivenTerms");

  terms->Item(1)->SetObjectState(qoObjectStateDirty);
  error = RaisedBy([&] { terms->Commit(); });
  EXPECT_EQ(error.Source(), "Brennock: Terms");
  EXPECT_EQ(error.Description(), "Modify not allowed");
}

TEST_F(TermsTest, TheKindChoosesTheQueryAndResponsesLoadBothKinds) {
  auto terms = company_->Terms();
  processor_->SetResponder([](const std::string&) {
    return Response(
        Status("TermsQueryRs", 1, 0, "Status OK", std::string(kStandardRet) + kDateDrivenRet));
  });
  ASSERT_EQ(terms->GetAll(), 2);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<TermsQueryRq requestID = \"1\"><ActiveStatus>All</ActiveStatus></TermsQueryRq>" +
                kClose);
  auto standard = std::dynamic_pointer_cast<StandardTerm>(terms->CastObject(terms->Item(1)));
  auto dated = std::dynamic_pointer_cast<DateDrivenTerm>(terms->CastObject(terms->Item(2)));
  ASSERT_TRUE(standard && dated);
  EXPECT_EQ(standard->ListID(), "80-1");
  EXPECT_EQ(standard->DiscountDays(), "10");
  EXPECT_EQ(standard->DiscountPercent(), Currency(2));
  EXPECT_FALSE(dated->IsActive());
  EXPECT_EQ(dated->DueNextMonthDays(), 10);
  EXPECT_EQ(dated->DiscountDayOfMonth(), 5);

  terms->GetAll(qbStandardTerms, 3);
  terms->GetActive(qbDateDrivenTerms);
  terms->GetByNameMatch("Net", qbMatchContains, qbStandardTerms);
  terms->GetByDateSpan(D(2010, 1, 1), {}, 0, {}, qbDateDrivenTerms);
  terms->GetByNameRange("A", "Z");
  terms->GetByFullName("Other");  // always both kinds
  static_cast<qcList&>(*terms).GetActive();
  std::vector<std::string> sent;
  for (const auto& request : processor_->Requests()) {
    std::string text = request.text.substr(std::string(kOpen20).size());
    sent.push_back(text.substr(1, text.find(' ') - 1));
  }
  EXPECT_EQ(sent, (std::vector<std::string>{"TermsQueryRq", "StandardTermsQueryRq",
                                            "DateDrivenTermsQueryRq", "StandardTermsQueryRq",
                                            "DateDrivenTermsQueryRq", "TermsQueryRq",
                                            "TermsQueryRq", "TermsQueryRq"}));

  AutomationError error = RaisedBy([&] { terms->GetAll(static_cast<qbEnumTermsType>(3)); });
  EXPECT_EQ(error.Number(), ErrorNumber(1003));
  EXPECT_EQ(error.Source(), "Brennock: Terms");
  EXPECT_EQ(error.Description(), "Bad type in GetByType");

  processor_->SetResponder([](const std::string&) {
    return Response(
        Status("TermsQueryRs", 1, 0, "Status OK", "<ClassRet><Name>x</Name></ClassRet>"));
  });
  EXPECT_EQ(RaisedBy([&] { terms->GetAll(); }).Description(), "Unknown Term");
}

TEST_F(TermsTest, DeleteNamesTheKindAndOnlyTheMasterAdds) {
  auto terms = company_->Terms();
  processor_->SetResponder([](const std::string& request) {
    if (request.find("ListDelRq") != std::string::npos)
      return Response(Status("ListDelRs", 1, 0, "Status OK"));
    return Response(Status("TermsQueryRs", 1, 0, "Status OK", kDateDrivenRet));
  });
  ASSERT_EQ(terms->GetAll(), 1);
  terms->Delete("81-1", qbDateDrivenTerms);
  EXPECT_EQ(processor_->LastRequestText(),
            std::string(kOpen20) +
                "<ListDelRq requestID = \"1\"><ListDelType>DateDrivenTerms</ListDelType>"
                "<ListID>81-1</ListID></ListDelRq>" +
                kClose);
  EXPECT_EQ(terms->Count(), 0);
  AutomationError error = RaisedBy([&] { terms->Delete("81-1", qbTerms); });
  EXPECT_EQ(error.Number(), ErrorNumber(1900));
  EXPECT_EQ(error.Source(), "Terms");
  EXPECT_EQ(error.Description(), "Invalid terms type specified");

  Terms own;
  error = RaisedBy([&] { own.AddDateDriven("x", 1); });
  EXPECT_EQ(error.Number(), ErrorNumber(1021));
  EXPECT_EQ(error.Source(), "Terms");
  EXPECT_EQ(company_->Lists()->Item("Terms"), std::static_pointer_cast<qcList>(terms));
}

}  // namespace
}  // namespace brennock::testing
