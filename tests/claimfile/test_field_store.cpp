// The field store as a keyed collection: Add, Valid, SetValue, BRExists, Item, Remove.
#include <gtest/gtest.h>

#include "model/output_fields.h"
#include "model/service_line.h"
#include "test_util.h"
#include "recording_presenter.h"


namespace claimfile {

namespace {

std::vector<std::wstring> Names(OutputFields& s) {
  std::vector<std::wstring> out;
  for (auto& f : s) out.push_back(f->Name);
  return out;
}

}  // namespace

TEST(FieldStore, AddKeepsOrderAndFindsKeysWithoutRegardToCase) {
  vb::ScopedRecordingPresenter boxes;
  auto s = OutputFields::New();
  auto first = s->Add(L"SubId");
  s->Add(L"SubType");
  s->Add(L"SubNo");
  EXPECT_EQ(3, s->Count());
  EXPECT_EQ((std::vector<std::wstring>{L"SubId", L"SubType", L"SubNo"}), Names(*s));
  EXPECT_EQ(first.get(), s->Item(L"SUBID").get());
  EXPECT_EQ(first.get(), s->Item(1).get());
  // A new member starts empty: text type, no columns, no format, not required.
  EXPECT_EQ(L"", first->Value);
  EXPECT_EQ(OutputFieldTypeText, first->DataType);
  EXPECT_EQ(0, first->FromCol);
  EXPECT_FALSE(first->Required);

  // The name X and then x: the key is taken; nothing is added.
  s->Add(L"X");
  EXPECT_VB_ERROR(457, s->Add(L"x"));
  EXPECT_EQ(4, s->Count());
  EXPECT_EQ(L"X", s->Item(L"x")->Name);
  EXPECT_TRUE(boxes.shown().empty());
}

TEST(FieldStore, InvalidMembersAreReturnedButNotStored) {
  vb::ScopedRecordingPresenter boxes;
  auto s = OutputFields::New();

  auto cols = s->Add(L"A", 0, 5, 3);
  ASSERT_TRUE(cols);
  EXPECT_EQ(L"A", cols->Name);
  auto number = s->Add(L"B", 0, 1, 5, L"abc", OutputFieldTypeNumeric);
  auto date = s->Add(L"C", 0, 1, 8, L"not a date", OutputFieldTypeDate);
  // From/To is checked first: a bad value is then not looked at.
  s->Add(L"D", 0, 9, 2, L"abc", OutputFieldTypeNumeric);
  EXPECT_EQ(0, s->Count());
  EXPECT_FALSE(s->BRExists(L"A"));

  ASSERT_EQ(4u, boxes.shown().size());
  EXPECT_EQ(L"Invalid From/To Col", boxes.shown()[0].prompt);
  EXPECT_EQ(L"Invalid number", boxes.shown()[1].prompt);
  EXPECT_EQ(L"Invalid date", boxes.shown()[2].prompt);
  EXPECT_EQ(L"Invalid From/To Col", boxes.shown()[3].prompt);
  for (auto& b : boxes.shown()) {
    EXPECT_EQ(vb::vbOKOnly, b.buttons);  // OK only, no icon
    EXPECT_EQ(vb::AppTitle(), b.title);  // no title of its own
  }

  // Empty values are not checked; Currency and FixedOne values never are; good ones pass.
  boxes.Clear();
  s->Add(L"N", 0, 1, 5, L"", OutputFieldTypeNumeric);
  s->Add(L"M", 0, 1, 5, L"12.5", OutputFieldTypeNumeric);
  s->Add(L"Dt", 0, 1, 8, L"3/1/2007", OutputFieldTypeDate);
  s->Add(L"Cy", 0, 1, 5, L"abc", OutputFieldTypeCurrency);
  s->Add(L"F1", 0, 1, 5, L"abc", OutputFieldTypeFixedOne);
  s->Add(L"Zero", 0, 4, 4);  // one column
  EXPECT_EQ(6, s->Count());
  EXPECT_TRUE(boxes.shown().empty());
}

TEST(FieldStore, MembersWithoutANameAreStoredWithoutKey) {
  vb::ScopedRecordingPresenter boxes;
  auto s = OutputFields::New();
  s->Add(L"", 0, 1, 3, L"AA0");
  s->Add(L"", 0, 4, 6, L"BA0");
  s->Add(L"Name");
  EXPECT_EQ(3, s->Count());
  EXPECT_EQ(L"BA0", s->Item(2)->Value);
  EXPECT_FALSE(s->BRExists(L""));
  EXPECT_VB_ERROR(5, s->Item(L""));
}

TEST(FieldStore, SetValueStoresOnlyUnderNamesHeld) {
  auto s = OutputFields::New();
  s->Add(L"PatLastName");
  s->SetValue(L"patlastname", L"Smith");
  EXPECT_EQ(L"Smith", s->Item(L"PatLastName")->Value);
  s->SetValue(L"PatLastName", L"");
  EXPECT_EQ(L"", s->ValueOf(L"PatLastName"));

  try {
    s->SetValue(L"Nope", L"x");
    FAIL() << "SetValue of a missing name must raise";
  } catch (const vb::RuntimeError& e) {
    EXPECT_EQ(static_cast<long>(0x80040001), e.number());
    EXPECT_EQ(L"", e.description());
    EXPECT_EQ(L"", e.source());
  }
  EXPECT_EQ(1, s->Count());
  EXPECT_FALSE(s->BRExists(L"Nope"));
  EXPECT_TRUE(s->BRExists(L"PATLASTNAME"));
}

// A model object's store answers as one made by Add per name: the values set before anything
// asked for the members are theirs, the member of a key is the same object every time, and a
// value set through the member or through the store is read back through the other.
TEST(FieldStore, AModelStoreAndItsMembersShowOneValue) {
  auto line = ServiceLine::New();
  auto other = ServiceLine::New();
  OutputFields& s = *line->OutFields;
  EXPECT_EQ(63, s.Count());
  EXPECT_TRUE(s.BRExists(L"hcpcsprocedurecode"));
  EXPECT_FALSE(s.BRExists(L"Nope"));
  s.SetValue(L"SvcFromDate", L"3/1/2007");
  s.SetValue(L"linecharges", L"12.5");

  auto charges = s.Item(L"LINECHARGES");
  EXPECT_EQ(charges.get(), s.Item(10L).get());
  EXPECT_EQ(charges.get(), s.Item(L"LineCharges").get());
  EXPECT_EQ(L"LineCharges", charges->Name);
  EXPECT_EQ(L"12.5", charges->Value);
  EXPECT_EQ(L"3/1/2007", s.Item(2L)->Value);
  EXPECT_EQ(L"LineItemControlNo", s.Item(1L)->Name);
  EXPECT_EQ(L"DiagCodePointer8", s.Item(63L)->Name);

  charges->Value = L"7.25";
  EXPECT_EQ(L"7.25", s.ValueOf(L"LineCharges"));
  EXPECT_EQ(vb::Currency::FromRaw(72500), line->LineCharges());
  s.SetValue(L"LineCharges", L"4");
  EXPECT_EQ(L"4", charges->Value);
  line->SetAmount(L"PaidAmt", vb::Currency::FromRaw(-32500));
  EXPECT_EQ(L"-3.25", s.Item(L"PaidAmt")->Value);
  EXPECT_EQ(63, s.Count());
  EXPECT_EQ(L"", other->OutFields->ValueOf(L"LineCharges")) << "each object has values of its own";
  EXPECT_VB_ERROR(vb::errInvalidCall, other->OutFields->ValueOf(L"Nope"));
  EXPECT_VB_ERROR(vb::errInvalidCall, s.Item(L"Nope"));
  EXPECT_VB_ERROR(vb::errSubscript, s.Item(64L));
  EXPECT_VB_ERROR(vb::errSubscript, s.Item(0L));

  // Item made only the members asked for; enumeration makes the rest and keeps those.
  EXPECT_TRUE(s.Names()) << "the other values are still texts beside the class's names";
  std::vector<OutputField*> members;
  for (auto& f : s) members.push_back(f.get());
  EXPECT_FALSE(s.Names());
  ASSERT_EQ(63u, members.size());
  EXPECT_EQ(charges.get(), members[9]);
  EXPECT_EQ(L"3/1/2007", members[1]->Value);
  EXPECT_EQ(L"-3.25", s.ValueOf(L"PaidAmt"));
}

// Through COM, BRExists answers for any name, a missing one included, never fails, and leaves
// no error pending, not even one that an earlier call left.
TEST(FieldStore, BRExistsThroughComNeverRaises) {
  auto s = OutputFields::New();
  s->Add(L"SubId");
  _OutputFields* itf = s.get();
  BSTR subId = SysAllocString(L"SUBID");
  BSTR nope = SysAllocString(L"Nope");
  // A failed SetValue leaves its error pending.
  ASSERT_EQ(static_cast<HRESULT>(0x80040001), itf->SetValue(&nope, &subId, nullptr));
  IErrorInfo* pending = nullptr;
  ASSERT_EQ(S_OK, GetErrorInfo(0, &pending));
  pending->Release();

  struct Case {
    BSTR* name;
    VARIANT_BOOL found;
  } cases[] = {{&subId, VARIANT_TRUE}, {&nope, VARIANT_FALSE}, {nullptr, VARIANT_FALSE}};
  for (const Case& c : cases) {
    ASSERT_EQ(static_cast<HRESULT>(0x80040001), itf->SetValue(&nope, &subId, nullptr));
    VARIANT_BOOL found = c.found == VARIANT_TRUE ? VARIANT_FALSE : VARIANT_TRUE;
    EXPECT_EQ(S_OK, itf->BRExists(c.name, &found));
    EXPECT_EQ(c.found, found);
    pending = nullptr;
    EXPECT_EQ(S_FALSE, GetErrorInfo(0, &pending));
    if (pending) pending->Release();
  }
  SysFreeString(subId);
  SysFreeString(nope);
}

TEST(FieldStore, ItemAndRemoveByPositionAndKey) {
  auto s = OutputFields::New();
  for (auto n : {L"A", L"B", L"C", L"D"}) s->Add(n);
  EXPECT_VB_ERROR(9, s->Item(0L));
  EXPECT_VB_ERROR(9, s->Item(5L));
  EXPECT_VB_ERROR(5, s->Item(L"E"));

  vb::CollectionIndex byPos;
  byPos.position = 2;
  s->Remove(byPos);
  EXPECT_EQ((std::vector<std::wstring>{L"A", L"C", L"D"}), Names(*s));
  vb::CollectionIndex byKey;
  byKey.isKey = true;
  byKey.key = L"d";
  s->Remove(byKey);
  EXPECT_EQ((std::vector<std::wstring>{L"A", L"C"}), Names(*s));
  // Later members keep their keys after the move.
  EXPECT_EQ(L"C", s->Item(L"C")->Name);
  EXPECT_VB_ERROR(5, s->Remove(byKey));
  EXPECT_VB_ERROR(9, s->Remove(vb::CollectionIndex{}));
  // A removed name can be added again.
  s->Add(L"B");
  EXPECT_EQ(3, s->Count());
}

TEST(FieldStore, FieldLengthAndDataWillFit) {
  auto f = OutputField::New();
  f->FromCol = 10;
  f->ToCol = 15;
  EXPECT_EQ(6, f->FieldLength());
  f->Value = L"123456";
  EXPECT_TRUE(f->DataWillFit());
  f->Value = L"1234567";
  EXPECT_FALSE(f->DataWillFit());
  f->FromCol = -2147483647 - 1;
  f->ToCol = 2147483647;
  EXPECT_VB_ERROR(6, f->FieldLength());
}

TEST(FieldStore, PrintSetValuesWritesPropertySource) {
  testutil::TempDir dir;
  vb::ScopedRecordingPresenter boxes;
  auto s = OutputFields::New();
  s->Add(L"SubId");
  s->Add(L"SubName");

  boxes.QueueInputAnswer(dir.file(L"set.bas"));
  s->DoPrintSetValues();
  ASSERT_EQ(1u, boxes.shown().size());
  EXPECT_EQ(L"Enter new file", boxes.shown()[0].prompt);
  EXPECT_EQ(L"New File", boxes.shown()[0].title);
  EXPECT_EQ(L"C:\\SET.BAS", boxes.shown()[0].defaultText);
  EXPECT_EQ(
      "Public Property Let SubId(SubId As String)\r\n"
      "  OutFields.SetValue \"SubId\", SubId\r\n"
      "End Property\r\n"
      "Public Property Let SubName(SubName As String)\r\n"
      "  OutFields.SetValue \"SubName\", SubName\r\n"
      "End Property\r\n",
      testutil::ReadBytes(dir.file(L"set.bas")));

  // Cancel (an empty answer) writes nothing.
  boxes.QueueInputAnswer(L"");
  s->DoPrintSetValues();
  EXPECT_EQ(2u, boxes.shown().size());
}

}  // namespace claimfile
