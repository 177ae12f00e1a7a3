// The EDI document on its C++ side: paths, element values, the saved interchange, events and the
// guide file's checks.
#include <windows.h>
#include <ocidl.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "document.h"
#include "event_sink.h"
#include "test_util.h"
#include "typelib_dump.h"

using testutil::ErrorNumberOf;

namespace {

struct Doc {
  com::Ptr<edi::Document> doc = edi::Document::New();
  com::Ptr<edi::Interchange> ic;
  com::Ptr<edi::Group> group;
  com::Ptr<edi::TransactionSet> set;
  Doc() {
    doc->LoadGuide(testutil::BesideTestProgram(L"837_4010.SEF"));
    ic = doc->CreateInterchange(L"X", L"004010A1");
    group = ic->CreateGroup(L"004010X098A1");
    set = group->CreateTransactionSet(L"837");
  }
  void Set(const wchar_t* path, long e, long c, const wchar_t* text) { set->SegmentByPath(path)->SetElement(e, c, text); }
};

std::wstring DescriptionOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::RuntimeError& e) {
    return e.description();
  }
  return L"";
}

}  // namespace

TEST(EdiPaths, RulesAndErrors) {
  Doc d;
  d.Set(L"HL\\HL", 1, 0, L"1");
  struct Case { const wchar_t* path; long error; } cases[] = {
      {L"HL(1)\\HL", 0},           {L"HL(2)\\NM1(1)\\N4", 0},   {L"HL\\CLM\\SBR\\NM1\\N3", 0},
      {L"HL\\CLM\\SBR\\SBR", 0},   {L"NM1\\NM1", 0},            {L"NM1(2)\\NM1", 0},
      {L"HL", 12301},              {L"XYZ\\NM1", 12301},        {L"NM1\\HL", 12301},
      {L"HL\\CLM\\SBR", 12301},    {L"", 12301},                {L"HL(0)\\HL", 12302},
      {L"HL(a)\\HL", 12302},       {L"HL()\\HL", 12302},        {L"HL(4)\\HL", 12302},
      {L"HL\\NM1(3)\\NM1", 12302}, {L"HL\\CLM\\DTP(2)", 12302},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.error, ErrorNumberOf([&] { d.set->SegmentByPath(c.path); })) << testing::PrintToString(c.path);
  EXPECT_EQ(d.set->SegmentByPath(L"HL\\HL"), d.set->SegmentByPath(L"HL(1)\\HL"));
  EXPECT_NE(d.set->SegmentByPath(L"HL\\HL"), d.set->SegmentByPath(L"HL(2)\\HL"));
  EXPECT_EQ(L"1", d.set->SegmentByPath(L"HL(1)\\HL")->Element(1));
  EXPECT_NE(std::wstring::npos, DescriptionOf([&] { d.set->SegmentByPath(L"HL(9)\\NM1"); }).find(L"HL(9)\\NM1"));
  // A segment held while many more are made stays the one of its path, and its values with it.
  auto held = d.set->SegmentByPath(L"HL(2)\\NM1\\N4");
  for (int n = 3; n <= 300; ++n) d.Set((L"HL(" + std::to_wstring(n) + L")\\HL").c_str(), 1, 0, L"123");
  held->SetElement(1, 0, L"PROVO");
  EXPECT_EQ(held, d.set->SegmentByPath(L"HL(2)\\NM1(1)\\N4"));
  held = nullptr;
  EXPECT_EQ(L"PROVO", d.set->SegmentByPath(L"HL(2)\\NM1\\N4")->Element(1));
  EXPECT_EQ(L"123", d.set->SegmentByPath(L"HL(300)\\HL")->Element(1));
}

TEST(EdiValues, ReadBackAndNumbers) {
  Doc d;
  auto isa = d.ic->isa();
  auto nm1 = d.set->SegmentByPath(L"HL\\NM1\\NM1");
  auto hi = d.set->SegmentByPath(L"HL\\CLM\\HI");
  isa->SetElement(6, 0, L"AB");
  isa->SetElement(8, 0, L" 431420764");
  nm1->SetElement(3, 0, L"  Smith  ");
  hi->SetElement(2, 2, L"4011");
  EXPECT_EQ(L"AB", isa->Element(6));
  EXPECT_EQ(L" 431420764", isa->Element(8));
  EXPECT_EQ(L"  Smith  ", nm1->Element(3));
  nm1->SetElement(3, 0, L"Jo");  // shorter, then longer than the value before
  EXPECT_EQ(L"Jo", nm1->Element(3));
  nm1->SetElement(3, 0, L"Johnson-Smith");
  EXPECT_EQ(L"Johnson-Smith", nm1->Element(3));
  nm1->SetElement(3, 0, L"  Smith  ");
  EXPECT_EQ(L"", nm1->Element(4));
  EXPECT_EQ(L"4011", hi->Element(2, 2));
  EXPECT_EQ(L"", hi->Element(2));  // its first component
  hi->SetElement(1, 0, L"BK");
  EXPECT_EQ(L"BK", hi->Element(1, 1));
  nm1->SetElement(4, 1, L"J");  // a simple element is its own first component
  EXPECT_EQ(L"J", nm1->Element(4));
  EXPECT_EQ(12303, ErrorNumberOf([&] { nm1->SetElement(13, 0, L"x"); }));
  EXPECT_EQ(12303, ErrorNumberOf([&] { nm1->SetElement(0, 0, L"x"); }));
  EXPECT_EQ(12303, ErrorNumberOf([&] { nm1->SetElement(3, 2, L"x"); }));
  EXPECT_EQ(12303, ErrorNumberOf([&] { hi->SetElement(1, 8, L"x"); }));
  EXPECT_EQ(12304, ErrorNumberOf([&] { isa->SetElement(6, 0, L"SIXTEEN-CHARS-XX"); }));
  EXPECT_EQ(12304, ErrorNumberOf([&] { isa->SetElement(13, 0, L"1234567890"); }));
  EXPECT_EQ(0, ErrorNumberOf([&] { isa->SetElement(6, 0, L"FIFTEEN-CHARS-X"); }));
}

TEST(EdiValues, Separators12378) {
  Doc d;
  auto nm1 = d.set->SegmentByPath(L"NM1\\NM1");
  auto hi = d.set->SegmentByPath(L"HL\\CLM\\HI");
  auto isa = d.ic->isa();
  struct Case { edi::Segment* seg; long element, component; const wchar_t* text; long error; } cases[] = {
      {nm1.get(), 3, 0, L"A~B", 12378}, {nm1.get(), 3, 0, L"A*B", 12378}, {nm1.get(), 3, 0, L"A:B", 12378},
      {hi.get(), 1, 2, L"78~4", 12378}, {hi.get(), 1, 2, L"78*4", 12378}, {hi.get(), 1, 2, L"78:4", 12378},
      {isa.get(), 16, 0, L":", 0},       {isa.get(), 16, 0, L"~", 12378}, {isa.get(), 15, 0, L":", 12378},
      {nm1.get(), 3, 0, L"A|B^C!", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.error, ErrorNumberOf([&] { c.seg->SetElement(c.element, c.component, c.text); })) << c.text;
  EXPECT_EQ(L"A|B^C!", nm1->Element(3));  // the failed sets changed nothing
  d.doc->SetSeparator(&edi::Separators::element, L"|");
  d.doc->SetSeparator(&edi::Separators::composite, L"^");
  d.doc->SetSeparator(&edi::Separators::segment, L"!");
  EXPECT_EQ(12378, ErrorNumberOf([&] { nm1->SetElement(3, 0, L"A|B"); }));
  EXPECT_EQ(12378, ErrorNumberOf([&] { hi->SetElement(1, 2, L"7^8"); }));
  EXPECT_EQ(12378, ErrorNumberOf([&] { nm1->SetElement(3, 0, L"A!"); }));
  EXPECT_EQ(0, ErrorNumberOf([&] { nm1->SetElement(3, 0, L"A*B:C~"); }));
  EXPECT_EQ(0, ErrorNumberOf([&] { isa->SetElement(16, 0, L"^"); }));
  EXPECT_EQ(12305, ErrorNumberOf([&] { d.doc->SetSeparator(&edi::Separators::element, L"**"); }));
}

namespace {

// A small interchange, every segment and element set out of order.
void Fill(Doc& d) {
  d.Set(L"HL\\HL", 4, 0, L"1");
  d.Set(L"HL(2)\\CLM\\LX\\SV1", 2, 0, L"40");
  d.Set(L"HL(2)\\CLM\\LX\\SV1", 1, 3, L"");
  d.Set(L"HL(2)\\CLM\\LX\\SV1", 1, 2, L"99213");
  d.Set(L"HL(2)\\CLM\\LX\\SV1", 1, 1, L"HC");
  d.Set(L"HL(2)\\CLM\\LX\\LX", 1, 0, L"1");
  d.Set(L"HL(2)\\CLM\\HI", 3, 2, L"4011");
  d.Set(L"HL(2)\\CLM\\HI", 3, 1, L"BF");
  d.Set(L"HL(2)\\CLM\\HI", 1, 1, L"BK");
  d.Set(L"HL(2)\\CLM\\HI", 1, 2, L"7840");
  d.Set(L"HL(2)\\SBR", 9, 0, L"CI");
  d.Set(L"HL(2)\\SBR", 1, 0, L"P");
  d.set->SegmentByPath(L"HL(2)\\PAT");  // never given a value
  d.Set(L"HL(2)\\HL", 4, 0, L"0");
  d.Set(L"HL(2)\\HL", 3, 0, L"22");
  d.Set(L"HL(2)\\HL", 2, 0, L"1");
  d.Set(L"HL(2)\\HL", 1, 0, L"2");
  d.Set(L"HL\\NM1\\N3", 1, 0, L"1 MAIN ST");
  d.Set(L"HL\\HL", 3, 0, L"20");
  d.Set(L"HL\\HL", 1, 0, L"1");
  d.Set(L"HL\\NM1\\NM1", 3, 0, L"CLINIC");
  d.Set(L"HL\\NM1\\NM1", 1, 0, L"85");
  d.Set(L"HL\\NM1\\NM1", 2, 0, L"2");
  d.set->SegmentByPath(L"NM1\\NM1");
  d.Set(L"NM1(2)\\NM1", 1, 0, L"40");
  d.Set(L"NM1\\NM1", 1, 0, L"41");
  d.Set(L"REF", 2, 0, L"004010X098A1");
  d.Set(L"REF", 1, 0, L"87");
  d.Set(L"BHT", 2, 0, L"00");
  d.Set(L"BHT", 1, 0, L"0019");
  const wchar_t* isa[] = {L"00", nullptr, L"00", nullptr, L"ZZ", L"SENDER", L"ZZ", L" 431420764", L"070301",
                          L"1000", L"U", L"00401", L"11427", L"0", L"T", L":"};
  for (long e = 16; e >= 1; --e)
    if (isa[e - 1]) d.ic->isa()->SetElement(e, 0, isa[e - 1]);
  const wchar_t* gs[] = {L"HC", L"SUBID", L"RECV", L"20070301", L"1000", L"000042", L"X"};
  for (long e = 1; e <= 7; ++e) d.group->gs()->SetElement(e, 0, gs[e - 1]);
  d.set->st()->SetElement(2, 0, L"000042");
}

const char kIsa[] =
    "ISA*00*          *00*          *ZZ*SENDER         *ZZ* 431420764     *070301*1000*U*00401*000011427*0*T*:~";
const char kRest[] =
    "GS*HC*SUBID*RECV*20070301*1000*000042*X*004010X098A1~"
    "ST*837*000042~"
    "BHT*0019*00~"
    "REF*87*004010X098A1~"
    "NM1*41~"
    "NM1*40~"
    "HL*1**20*1~"
    "NM1*85*2*CLINIC~"
    "N3*1 MAIN ST~"
    "HL*2*1*22*0~"
    "SBR*P********CI~"
    "HI*BK:7840**BF:4011~"
    "LX*1~"
    "SV1*HC:99213*40~"
    "SE*14*000042~"
    "GE*1*000042~"
    "IEA*1*000011427~";

// Records the events it is sent.
class Sink final : public testutil::EventSink {
 public:
  Sink() : EventSink(DIID_EdiDocumentEvents) {}
  std::vector<std::pair<DISPID, long>> seen;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override {
    seen.emplace_back(id, p->cArgs == 1 && p->rgvarg[0].vt == VT_I4 ? p->rgvarg[0].lVal : -1);
    return S_OK;
  }
};

DWORD Advise(edi::Document& doc, IUnknown* sink, com::Ptr<IConnectionPoint>& point) {
  com::Ptr<IConnectionPointContainer> cpc;
  EXPECT_HRESULT_SUCCEEDED(doc.QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(cpc.out())));
  EXPECT_HRESULT_SUCCEEDED(cpc->FindConnectionPoint(DIID_EdiDocumentEvents, point.out()));
  DWORD cookie = 0;
  EXPECT_HRESULT_SUCCEEDED(point->Advise(sink, &cookie));
  return cookie;
}

size_t FilesIn(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  size_t n = 0;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do n += !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  while (FindNextFileW(h, &fd));
  FindClose(h);
  return n;
}

}  // namespace

TEST(EdiSave, InterchangeInOrderWithTrailersAndEvents) {
  Doc d;
  Fill(d);
  Sink sink;
  com::Ptr<IConnectionPoint> point;
  const DWORD cookie = Advise(*d.doc, &sink, point);
  testutil::TempDir dir;
  d.doc->Save(dir.file(L"OUT.837"));
  const std::string bytes = testutil::ReadBytes(dir.file(L"OUT.837"));
  EXPECT_EQ(106u, std::string(kIsa).size());
  EXPECT_EQ(std::string(kIsa) + kRest, bytes);
  EXPECT_EQ((std::vector<std::pair<DISPID, long>>{{1, 18}, {2, 18}}), sink.seen);
  EXPECT_EQ(1u, FilesIn(dir.path()));
  EXPECT_HRESULT_SUCCEEDED(point->Unadvise(cookie));
  d.doc->Save(dir.file(L"OUT.837"));
  EXPECT_EQ(2u, sink.seen.size());
}

TEST(EdiSave, FailedSaveKeepsEarlierFile) {
  Doc d;
  Fill(d);
  Sink sink;
  com::Ptr<IConnectionPoint> point;
  Advise(*d.doc, &sink, point);
  testutil::TempDir dir;
  const std::wstring out = dir.file(L"OUT.837");
  d.doc->Save(out);
  d.Set(L"NM1\\NM1", 3, 0, L"CHANGED");
  HANDLE lock = CreateFileW(out.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  EXPECT_EQ(12320, ErrorNumberOf([&] { d.doc->Save(out); }));
  CloseHandle(lock);
  EXPECT_EQ(std::string(kIsa) + kRest, testutil::ReadBytes(out));
  EXPECT_EQ(1u, FilesIn(dir.path()));  // no temporary file left behind
  EXPECT_EQ((std::vector<std::pair<DISPID, long>>{{1, 18}, {2, 18}, {1, 18}, {2, 0}}), sink.seen);
  EXPECT_EQ(12320, ErrorNumberOf([&] { d.doc->Save(dir.file(L"NO\\SUCH\\OUT.837")); }));
  EXPECT_EQ(12306, ErrorNumberOf([] { edi::Document::New()->Save(L"X.837"); }));
  EXPECT_EQ(12306, ErrorNumberOf([] { edi::Document::New()->CreateInterchange(L"X", L"004010A1"); }));
}

TEST(EdiGuide, MissingNotOursMalformed) {
  testutil::TempDir dir;
  const std::string head =
      "EDIDOC GUIDE 1\n"
      "SEGMENT ISA 16 WIDTHS 2 10 2 10 2 15 2 15 6 4 1 5 9 1 1 1\n"
      "SEGMENT GS 8\nSEGMENT ST 2\nSEGMENT SE 2\nSEGMENT GE 2\nSEGMENT IEA 2\nSEGMENT NM1 12\nSEGMENT N3 2\n";
  struct Case { const char* name; std::string text; long error; const wchar_t* line; } cases[] = {
      {"ok.sef", head + "TREE 837\r\nLOOP NM1 2\r\n  SEG NM1\r\n  SEG N3 >1\r\nEND\r\nEND\r\n", 0, L""},
      {"other.sef", "ISA*00*\n" + head, 12311, L"line 1"},
      {"seg.sef", head + "TREE 837\nSEG FOO\nEND\n", 12312, L"line 11"},
      {"loop.sef", head + "TREE 837\nLOOP NM1\n  SEG N3\nEND\nEND\n", 12312, L"line 12"},
      {"twice.sef", head + "TREE 837\nSEG N3\nSEG N3\nEND\n", 12312, L"line 12"},
      {"open.sef", head + "TREE 837\nSEG N3\n", 12312, L"line 12"},
      {"word.sef", head + "SEGMENT HI 12 COMPOSITE 13 7\nTREE 837\nEND\n", 12312, L"line 10"},
  };
  for (const auto& c : cases) {
    const std::wstring path = dir.file(std::wstring(c.name, c.name + strlen(c.name)));
    std::ofstream(path.c_str(), std::ios::binary) << c.text;
    std::wstring what;
    EXPECT_EQ(c.error, ErrorNumberOf([&] {
                try {
                  edi::GuideFile::Load(path);
                } catch (const vb::RuntimeError& e) {
                  what = e.description();
                  throw;
                }
              })) << c.name;
    EXPECT_NE(std::wstring::npos, what.find(c.line)) << c.name;
    if (c.error) {
      EXPECT_NE(std::wstring::npos, what.find(path)) << c.name;
    }
  }
  EXPECT_EQ(12310, ErrorNumberOf([&] { edi::GuideFile::Load(dir.file(L"missing.sef")); }));
}
