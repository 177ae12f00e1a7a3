#include <windows.h>
#include <oleauto.h>

#include <string>

#include "test_util.h"
#include "vb/collection.h"

namespace {

using vb::Collection;

Collection<std::wstring> Letters() {  // a, b, c with keys KeyA..KeyC; d without a key
  Collection<std::wstring> c;
  for (const wchar_t* s : {L"a", L"b", L"c"}) c.Add(s, std::wstring(L"Key") + static_cast<wchar_t>(s[0] - 32));
  c.Add(L"d");
  return c;
}

VARIANT Var(VARTYPE vt) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = vt;
  return v;
}

TEST(Collection, OrderPositionsAndCaseInsensitiveKeys) {
  Collection<std::wstring> c = Letters();
  std::wstring seen;
  for (auto& s : c) seen += s;
  EXPECT_EQ(L"abcd", seen);
  EXPECT_EQ(L"a", c.Item(1));
  EXPECT_EQ(L"d", c.Item(4));
  EXPECT_EQ(L"b", c.Item(L"kEYb"));
  c.Add(L"e", std::wstring(L"Caf\u00e9"));
  EXPECT_EQ(L"e", c.Item(L"CAF\u00c9"));
  EXPECT_FALSE(c.Contains(L"cafe"));
}

TEST(Collection, KeyWithAHintOfItsPosition) {
  vb::Collection<std::wstring> c;
  c.Add(L"a", std::wstring(L"Alpha"));
  c.Add(L"b", std::wstring(L"Beta"));
  c.Add(L"x");  // no key
  c.Add(L"e", std::wstring(L"Caf\u00e9"));
  struct Case {
    const wchar_t* key;
    size_t hint;
    const wchar_t* item;
  } cases[] = {{L"beta", 1, L"b"}, {L"BETA", 0, L"b"}, {L"beta", 2, L"b"}, {L"beta", 99, L"b"},
               {L"CAF\u00c9", 3, L"e"}, {L"alpha", 3, L"a"}};
  for (const Case& k : cases) EXPECT_EQ(k.item, c.Item(std::wstring_view(k.key), k.hint));
  EXPECT_VB_ERROR(5, c.Item(std::wstring_view(L"gamma"), 0));
}

TEST(Collection, ErrorsLeaveTheCollectionAsItWas) {
  Collection<std::wstring> c = Letters();
  EXPECT_VB_ERROR(vb::errDuplicateKey, c.Add(L"x", std::wstring(L"KEYA")));
  EXPECT_VB_ERROR(vb::errInvalidCall, c.Item(L"missing"));
  EXPECT_VB_ERROR(vb::errInvalidCall, c.Remove(L"missing"));
  for (long bad : {0L, 5L, -1L}) EXPECT_VB_ERROR(vb::errSubscript, c.Item(bad)) << bad;
  EXPECT_VB_ERROR(vb::errSubscript, c.Remove(5));
  EXPECT_EQ(4, c.Count());
  EXPECT_EQ(L"a", c.Item(L"keya"));
  EXPECT_EQ(L"d", c.Item(4));
}

TEST(Collection, RemoveShiftsLaterItemsAndKeepsKeysValid) {
  Collection<std::wstring> c = Letters();
  c.Remove(2);
  EXPECT_EQ(3, c.Count());
  EXPECT_EQ(L"c", c.Item(2));
  EXPECT_EQ(L"c", c.Item(L"KeyC"));
  EXPECT_VB_ERROR(vb::errInvalidCall, c.Item(L"KeyB"));
  c.Remove(L"keya");
  EXPECT_EQ(L"c", c.Item(1));
  EXPECT_EQ(L"c", c.Item(L"KeyC"));
  c.Add(L"b2", std::wstring(L"KeyB"));  // a removed key is free again
  c.Remove(1);
  EXPECT_EQ(L"b2", c.Item(L"KeyB"));
  EXPECT_EQ(L"b2", c.Item(2));
}

TEST(Collection, AddBeforeOrAfterKeepsKeysValid) {
  Collection<std::wstring> c = Letters();
  vb::CollectionIndex keyB{true, 0, L"keyb"}, second{false, 2, L""};
  c.Add(L"x", L"KeyX", keyB);           // before b
  c.Add(L"y", std::nullopt, std::nullopt, second);  // after x
  std::wstring seen;
  for (auto& s : c) seen += s;
  EXPECT_EQ(L"axybcd", seen);
  EXPECT_EQ(L"b", c.Item(L"KeyB"));
  EXPECT_EQ(L"c", c.Item(L"keyc"));
  EXPECT_EQ(L"x", c.Item(L"keyx"));
  EXPECT_VB_ERROR(5, c.Add(L"z", std::nullopt, keyB, second));  // not both
  EXPECT_VB_ERROR(457, c.Add(L"z", L"KEYA", keyB));
  EXPECT_VB_ERROR(9, c.Add(L"z", std::nullopt, vb::CollectionIndex{false, 9, L""}));
  EXPECT_EQ(6, c.Count());
}

TEST(Collection, VariantIndexes) {
  Collection<std::wstring> c = Letters();
  VARIANT v = Var(VT_I2);
  V_I2(&v) = 1;
  EXPECT_EQ(L"a", c.Item(v));
  v = Var(VT_R8);
  for (auto [pos, want] : {std::pair{2.5, L"b"}, {3.5, L"d"}, {1.6, L"b"}}) {  // halves to even
    V_R8(&v) = pos;
    EXPECT_EQ(want, c.Item(v)) << pos;
  }
  v = Var(VT_CY);
  V_CY(&v).int64 = 15000;  // 1.5
  EXPECT_EQ(L"b", c.Item(v));

  BSTR key = SysAllocString(L"keyc"), digits = SysAllocString(L"1");
  v = Var(VT_BSTR);
  V_BSTR(&v) = key;
  EXPECT_EQ(L"c", c.Item(v));
  V_BSTR(&v) = digits;  // text is a key even when it looks like a number
  EXPECT_VB_ERROR(vb::errInvalidCall, c.Item(v));

  LONG pos = 2;
  VARIANT ref = Var(VT_BYREF | VT_I4);
  V_I4REF(&ref) = &pos;
  EXPECT_EQ(L"b", c.Item(ref));
  ref = Var(VT_BYREF | VT_BSTR);
  V_BSTRREF(&ref) = &key;
  EXPECT_EQ(L"c", c.Item(ref));
  VARIANT inner = Var(VT_BSTR), outer = Var(VT_BYREF | VT_VARIANT);
  V_BSTR(&inner) = key;
  V_VARIANTREF(&outer) = &inner;
  EXPECT_EQ(L"c", c.Item(outer));
  V_VT(&inner) = VT_NULL;
  EXPECT_VB_ERROR(vb::errInvalidUseOfNull, c.Item(outer));
  SysFreeString(key);
  SysFreeString(digits);

  v = Var(VT_R8);
  V_R8(&v) = 0.6;
  c.Remove(v);
  EXPECT_EQ(L"b", c.Item(1));
}

TEST(Collection, VariantIndexErrors) {
  Collection<std::wstring> c = Letters();
  VARIANT v = Var(VT_EMPTY);  // position 0
  EXPECT_VB_ERROR(vb::errSubscript, c.Item(v));
  v = Var(VT_BOOL);
  V_BOOL(&v) = VARIANT_TRUE;  // -1
  EXPECT_VB_ERROR(vb::errSubscript, c.Item(v));
  v = Var(VT_NULL);
  EXPECT_VB_ERROR(vb::errInvalidUseOfNull, c.Remove(v));
  v = Var(VT_R8);
  V_R8(&v) = 1e12;
  EXPECT_VB_ERROR(vb::errOverflow, c.Item(v));
  for (VARTYPE vt : {VT_DISPATCH, VT_UNKNOWN, VT_ERROR}) {
    v = Var(vt);
    V_UNKNOWN(&v) = nullptr;
    EXPECT_VB_ERROR(vb::errTypeMismatch, c.Item(v)) << vt;
  }
  v = Var(VT_ARRAY | VT_I4);
  V_ARRAY(&v) = SafeArrayCreateVector(VT_I4, 0, 1);
  EXPECT_VB_ERROR(vb::errTypeMismatch, c.Item(v));
  VariantClear(&v);
  EXPECT_EQ(4, c.Count());
}

TEST(RuntimeError, DescriptionAndNarrowText) {
  EXPECT_STREQ("error 457: This key is already associated with an element of this collection",
               vb::RuntimeError(vb::errDuplicateKey).what());
  vb::RuntimeError custom(1001, L"Caf\u00e9 closed", L"Claims.Reader");
  EXPECT_STREQ("error 1001: Caf\xc3\xa9 closed", custom.what());
  EXPECT_EQ(L"", vb::StandardDescription(458));
}

}  // namespace
