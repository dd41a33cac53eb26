// List references (writers, reader, lazy Object) and the record protocol shown on Class.
#include <string>

#include "brennock/brennock.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

using ListReferenceTest = ListsTest;

std::string Written(const std::function<void(xmlBldr&)>& write) {
  xmlBldr builder;
  write(builder);
  return builder.GetXML();
}

TEST_F(ListReferenceTest, TheTwoWritersPreferDifferentIdentifiers) {
  qcListObjectRef both(qoListClasses, "Top", "10000-1");
  EXPECT_EQ(Written([&](xmlBldr& b) { WriteListRef(&both, b, "ClassRef"); }),
            "<ClassRef><FullName>Top</FullName></ClassRef>");
  EXPECT_EQ(Written([&](xmlBldr& b) { both.WriteXml(b); }),
            "<ClassRef><ListID>10000-1</ListID></ClassRef>");
  qcListObjectRef idOnly(qoListCustomerMessages, "", "7-1");
  EXPECT_EQ(Written([&](xmlBldr& b) { WriteListRef(&idOnly, b, "CustomerMsgRef"); }),
            "<CustomerMsgRef><ListID>7-1</ListID></CustomerMsgRef>");
  EXPECT_EQ(Written([&](xmlBldr& b) { idOnly.WriteXml(b); }),
            "<CustomerMessageRef><ListID>7-1</ListID></CustomerMessageRef>");
  EXPECT_EQ(Written([&](xmlBldr& b) { WriteListRef(&idOnly, b, "X", true); }),
            "<X><FullName></FullName></X>");
  qcListObjectRef empty(qoListClasses, "");
  EXPECT_EQ(Written([&](xmlBldr& b) { WriteListRef(&empty, b, "ClassRef"); }), "");
  EXPECT_EQ(Written([&](xmlBldr& b) { empty.WriteXml(b); }), "");
  // Sessions older than the element's minimum version get nothing.
  EXPECT_EQ(Written([&](xmlBldr& b) { WriteListRef(&both, b, "ClassRef", false, Currency(3)); }),
            "");
}

TEST_F(ListReferenceTest, ParentReferenceTakesTheParentsListID) {
  processor_->QueueResponse(Response(Status(
      "ClassQueryRs", 1, 0, "Status OK",
      "<ClassRet><ListID>10000-1</ListID><Name>Top</Name><FullName>Top</FullName></ClassRet>")));
  qcListObjectRef parent(qoListClasses, "Top");
  parent.SetIsParent(true);
  EXPECT_EQ(Written([&](xmlBldr& b) { parent.WriteXml(b); }),
            "<ParentRef><ListID>10000-1</ListID></ParentRef>");
  EXPECT_TRUE(company_->Classes()->ItemExists("Top"));
}

TEST_F(ListReferenceTest, ObjectIsFetchedOnceAndDroppedWhenTheNameChanges) {
  auto classes = company_->Classes();
  auto a = classes->Add("A");
  qcListObjectRef ref(qoListClasses, "A", "1-1");
  EXPECT_EQ(ref.Object(), a);
  classes->Remove("A");
  EXPECT_EQ(ref.Object(), a) << "cached while the record lives";
  EXPECT_TRUE(processor_->Requests().empty());

  processor_->QueueResponse(Response(
      Status("ClassQueryRs", 1, 0, "Status OK",
             "<ClassRet><ListID>2-1</ListID><Name>B</Name><FullName>B</FullName></ClassRet>")));
  ref.SetFullName("B");
  auto b = ref.Object();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->ListID(), "2-1");
  EXPECT_EQ(processor_->Requests().size(), 1u);
  EXPECT_EQ(ref.Object(), b);
  EXPECT_EQ(processor_->Requests().size(), 1u);

  ref.SetFullName("");
  EXPECT_EQ(ref.ListID(), "");
  EXPECT_EQ(ref.Object(), nullptr);

  Session().company.reset();
  qcListObjectRef orphan(qoListClasses, "A");
  EXPECT_EQ(orphan.Object(), nullptr);
}

TEST_F(ListReferenceTest, ReaderAndKeyedSet) {
  XmlDocument document;
  ASSERT_TRUE(document.loadXML(
      "<ParentRef><ListID>1-1</ListID><Other>x</Other><FullName>Top</FullName></ParentRef>"));
  qcListObjectRef ref;
  ref.FromDom(document.documentElement());
  EXPECT_EQ(ref.ListID(), "1-1");
  EXPECT_EQ(ref.FullName(), "Top");
  // Read as received into the same reference: an empty FullName keeps the ListID before it.
  ASSERT_TRUE(document.loadXML("<ClassRef><ListID>2-1</ListID><FullName/></ClassRef>"));
  ref.FromDom(document.documentElement());
  EXPECT_EQ(ref.ListID(), "2-1");
  EXPECT_EQ(ref.FullName(), "");
  // A reference that names nothing still keeps the client's data, and stays empty.
  qcListObjectRef blank(qoListClasses, "");
  blank.SetUserData(Variant(std::string("mine")));
  EXPECT_TRUE(blank.IsEmpty());
  EXPECT_EQ(blank.UserData(), Variant(std::string("mine")));
  blank.SetListID("");
  EXPECT_TRUE(blank.IsEmpty());

  qcListObjectRefs refs;
  refs.Add("Top:Sub", qoListClasses);
  EXPECT_EQ(RaisedBy([&] { refs.Add("top:sub", qoListClasses); }).Number(), 457);
  EXPECT_TRUE(refs.ItemExists("TOP:SUB"));
  EXPECT_EQ(refs.Item(1)->List(), qoListClasses);
  refs.Remove("Top:Sub");
  EXPECT_EQ(refs.Count(), 0);
  EXPECT_EQ(RaisedBy([&] { refs.Item(1); }).Number(), 9);
}

// References read during a load share their texts; each must still change on its own.
TEST_F(ListReferenceTest, SharedTextsAreCopiedBeforeAnyChange) {
  XmlDocument document;
  ASSERT_TRUE(
      document.loadXML("<TermsRef><ListID>2-1</ListID><FullName>Net 30</FullName></TermsRef>"));
  qcListObjectRef a(qoListTerms, ""), b(qoListTerms, ""), c(qoListTerms, ""), kept(qoListTerms, "");
  {
    qcListObjectRef::SharedTexts sharing;
    qcListObjectRef::SharedTexts nested;  // only the outer scope shares
    for (qcListObjectRef* ref : {&a, &b, &c, &kept}) ref->FromDom(document.documentElement());
    // Read again into a reference that holds texts: an absent child keeps its value.
    XmlDocument nameOnly;
    ASSERT_TRUE(nameOnly.loadXML("<TermsRef><FullName>Net 60</FullName></TermsRef>"));
    c.FromDom(nameOnly.documentElement());
  }
  a.SetFullName("Due on receipt");
  b.SetUserData(Variant(std::string("mine")));
  EXPECT_EQ(a.FullName(), "Due on receipt");
  EXPECT_EQ(a.ListID(), "2-1");
  EXPECT_EQ(b.FullName(), "Net 30");
  EXPECT_EQ(b.UserData(), Variant(std::string("mine")));
  EXPECT_EQ(c.ListID(), "2-1");
  EXPECT_EQ(c.FullName(), "Net 60");
  EXPECT_EQ(kept.FullName(), "Net 30");
  EXPECT_TRUE(kept.UserData().IsEmpty());
  EXPECT_EQ(Written([&](xmlBldr& builder) { kept.WriteXml(builder); }),
            "<TermsRef><ListID>2-1</ListID></TermsRef>");
  // An empty full name empties a shared reference's ListID too, and only its own.
  b.SetFullName("");
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(kept.ListID(), "2-1");
}

TEST_F(ListReferenceTest, ClassRecordProtocol) {
  auto sub = company_->Classes()->Add("Sub", true, "Top");
  EXPECT_EQ(sub->FullName(), "Top:Sub");
  EXPECT_EQ(sub->CollectionKey(), "Top:Sub");
  EXPECT_TRUE(company_->Classes()->ItemExists("Top:Sub"));
  EXPECT_EQ(sub->ObjectType(), qoObjectTypeClass);
  EXPECT_EQ(sub->ListType(), qoListClasses);

  // A missing parent is looked up in QuickBooks and reported.
  processor_->QueueResponse(Response(Status("ClassQueryRs", 1, 1, "none")));
  EXPECT_FALSE(sub->Validate());
  EXPECT_EQ(sub->Errors()->Item(1)->Number(), ErrorNumber(1010));
  EXPECT_EQ(sub->Errors()->Item(1)->Field(), "Parent");
  EXPECT_EQ(sub->Errors()->Item(1)->Description(), "Invalid parent specified");

  // Reading: unknown elements are ignored, the record becomes Clean, its errors stay.
  XmlDocument document;
  ASSERT_TRUE(document.loadXML(
      "<ClassRet><ListID>9-1</ListID><TimeModified>2005-03-04</TimeModified><Name>" +
      std::string(40, 'n') + "</Name><Mystery>1</Mystery><UserData>note</UserData></ClassRet>"));
  sub->FromDom(document.documentElement());
  EXPECT_EQ(sub->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(sub->Errors()->Count(), 1);
  EXPECT_EQ(sub->UserData().ToString(), "note");
  EXPECT_TRUE(sub->Validate()) << "a Clean record is valid whatever its fields";
  EXPECT_EQ(sub->Errors()->Count(), 0);

  // A bad value stops reading with the conversion error; fields read before it are kept.
  ASSERT_TRUE(document.loadXML(
      "<ClassRet><ListID>9-2</ListID><IsActive>maybe</IsActive><Name>Late</Name></ClassRet>"));
  EXPECT_EQ(RaisedBy([&] { sub->FromDom(document.documentElement()); }).Number(), 13);
  EXPECT_EQ(sub->ListID(), "9-2");
  EXPECT_NE(sub->Name(), "Late");
}

TEST_F(ListReferenceTest, ClassQueryResponseForm) {
  XmlDocument document;
  ASSERT_TRUE(document.loadXML(
      "<ClassRet><ListID>2-1</ListID><TimeCreated>2005-03-04T10:11:12</TimeCreated>"
      "<EditSequence>5</EditSequence><Name>Sub</Name><FullName>Top:Sub</FullName>"
      "<IsActive>false</IsActive><ParentRef><ListID>1-1</ListID><FullName>Top</FullName>"
      "</ParentRef><Sublevel>1</Sublevel></ClassRet>"));
  Class record;
  record.FromDom(document.documentElement());
  record.SetUserData(Variant(int32_t{42}));
  EXPECT_EQ(Written([&](xmlBldr& b) { record.XMLQueryRs(b); }),
            "<ListID>2-1</ListID><TimeCreated>2005-03-04</TimeCreated><TimeModified>None"
            "</TimeModified><EditSequence>5</EditSequence><Name>Sub</Name><FullName>Top:Sub"
            "</FullName><IsActive>false</IsActive><ParentRef><FullName>Top</FullName></ParentRef>"
            "<Sublevel>1</Sublevel><UserData>42</UserData>");
  record.SetUserData(Variant(company_));  // objects are not written
  EXPECT_EQ(Written([&](xmlBldr& b) { record.XMLQueryRs(b); }).find("UserData"), std::string::npos);
}

TEST(qcEventSinkTest, RaisesUnlessDisabled) {
  qcEventSink sink;
  int calls = 0;
  sink.OnqoEvent = [&](qoEnumEventTypes id, std::string& param) {
    EXPECT_EQ(id, qoEventWarning);
    EXPECT_EQ(param, "p");
    ++calls;
  };
  EXPECT_TRUE(sink.Raise(qoEventWarning, "p").IsEmpty());
  sink.SetDisabled(true);
  sink.Raise(qoEventWarning, "p");
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace brennock::testing
