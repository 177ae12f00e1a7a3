#include "relocation_fixture.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <map>
#include <ostream>
#include <set>

#include "common/file_system.h"
#include "common/mby_app_name.h"
#include "relocation/frm_move_files_ids.h"
#include "test_util.h"
#include "vb/convert.h"
#include "vista_test_util.h"

namespace vista::testhelp {

namespace {

std::wstring WindowsFolder() {
  wchar_t buf[MAX_PATH] = {};
  GetWindowsDirectoryW(buf, MAX_PATH);
  return buf;
}

// Where each file of a product stands. "S:" is the settings folder, "P:" the program folder, "H:"
// the hidden data folder and "D:" the public data folder; a file without a new place stays.
struct FileRow {
  const wchar_t* oldPath;
  const wchar_t* newPath;
  size_t size;  // 0: a short text of its own
};

const FileRow kTMFiles[] = {
    {L"S:tm3.ini", L"H:tm3.ini", 0},
    {L"P:tm3.lf", L"H:tm3.lf", 0},
    {L"P:custom.dic", L"H:custom.dic", 0},
    {L"P:medical.dic", L"H:medical.dic", 0},
    {L"P:statement.rtf", L"D:statement.rtf", 0},
    {L"P:main.mdb", L"D:main.mdb", 0},
    {L"P:claims.mdb", L"D:claims.mdb", 150000},
    {L"P:tm3.exe", nullptr, 0},
    {L"P:Data\\patients.dat", L"D:Data\\patients.dat", 0},
    {L"P:Data\\Archive\\2006.dat", L"D:Data\\Archive\\2006.dat", 0},
    {L"P:Docs\\guide.doc", L"D:Docs\\guide.doc", 0},
    {L"P:Reports\\daily.rpt", L"D:Reports\\daily.rpt", 0},
    {L"P:Reports\\monthly.rpt", L"D:Reports\\monthly.rpt", 0},
    {L"P:Templates\\letter.tpl", L"D:Templates\\letter.tpl", 0},
    {L"P:Data\\letter.doc.partial~", L"D:Data\\letter.doc.partial~", 0},  // a user's, not a cut copy
};

const FileRow kVNSFiles[] = {
    {L"S:vendral.ini", L"H:vendral.ini", 0},
    {L"S:sorrefold.ini", L"H:sorrefold.ini", 0},
    {L"S:vnsched.ini", L"H:vnsched.ini", 0},
    {L"S:nimbrel.ini", L"H:nimbrel.ini", 0},
    {L"P:custom.dic", L"H:custom.dic", 0},
    {L"P:fees.dat", L"H:fees.dat", 0},
    {L"P:vendral.lf", L"D:vendral.lf", 0},
    {L"P:review.dat", L"D:review.dat", 0},
    {L"P:ros.dat", L"D:ros.dat", 0},
    {L"P:forms.sff", L"H:forms.sff", 0},
    {L"P:intake.sff", L"H:intake.sff", 0},
    {L"P:vendral.exe", nullptr, 0},
    {L"P:Reports\\r.rpt", L"D:Reports\\r.rpt", 0},
    {L"P:Documents\\d.doc", L"D:Documents\\d.doc", 0},
    {L"P:Data\\x.dat", L"D:Data\\x.dat", 100000},
    {L"P:Data\\sub\\y.dat", L"D:Data\\sub\\y.dat", 0},
};

// Every file and folder below a folder (not the folder itself), but for copies that a rollback
// set aside as out of date and the folders that hold them; whether it held any such copy.
bool Walk(const std::wstring& folder, std::set<std::wstring>& files, std::set<std::wstring>& folders) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool setAside = false;
  do {
    std::wstring n = fd.cFileName;
    if (n == L"." || n == L"..") continue;
    const std::wstring path = vb::UCase(folder + L"\\" + n);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (Walk(folder + L"\\" + n, files, folders))
        setAside = true;
      else
        folders.insert(path);
    } else if (fs::IsSetAside(n)) {
      setAside = true;
    } else {
      files.insert(path);
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return setAside;
}

std::string Narrow(const std::wstring& s) { return vb::ToAnsi(s); }

}  // namespace

ProductTree::ProductTree(long product) : product(product) {
  auto name = MBYAppName::New();
  name->appName = product;
  auto locations = fileLocations::New();
  // Without a product the data folders are the maker's own: they are left alone.
  named_ = !name->appDirName().empty();
  program = KnownFolder(FOLDERID_ProgramFiles) + L"\\" + (named_ ? name->appDirName() : L"No Product");
  settings = WindowsFolder();
  hidden = locations->hiddenDataPath(name.get());
  publicData = locations->publicDataPath(name.get());
  auto place = [&](const wchar_t* p) -> std::wstring {
    if (!p) return L"";
    const std::wstring rest = p + 2;
    switch (p[0]) {
      case L'S': return settings + L"\\" + rest;
      case L'P': return program + L"\\" + rest;
      case L'H': return hidden + L"\\" + rest;
      default: return publicData + L"\\" + rest;
    }
  };
  const FileRow* begin = product == TM ? std::begin(kTMFiles) : product == VNS ? std::begin(kVNSFiles) : nullptr;
  const FileRow* end = product == TM ? std::end(kTMFiles) : product == VNS ? std::end(kVNSFiles) : nullptr;
  for (const FileRow* r = begin; r != end; ++r) {
    std::string bytes = "contents of " + Narrow(r->oldPath + 2) + "\r\n";
    for (size_t i = 0; bytes.size() < r->size; ++i) bytes += static_cast<char>('A' + (i * 7) % 26);
    files.push_back({place(r->oldPath), place(r->newPath), bytes});
  }
  Clean();
  CreateDirectoryW(program.c_str(), nullptr);
  for (const ProductFile& f : files) {
    const std::wstring folder = f.oldPath.substr(0, f.oldPath.find_last_of(L'\\'));
    for (size_t at = program.size(); (at = folder.find(L'\\', at + 1)) != std::wstring::npos;)
      CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    testutil::WriteBytes(f.oldPath, f.bytes);
  }
  // A read-only file among the folders' files.
  for (const ProductFile& f : files)
    if (f.oldPath.find(L"monthly.rpt") != std::wstring::npos) SetFileAttributesW(f.oldPath.c_str(), FILE_ATTRIBUTE_READONLY);
}

ProductTree::~ProductTree() { Clean(); }

void ProductTree::Clean() const {
  testutil::RemoveTree(program);
  if (!named_) return;
  testutil::RemoveTree(hidden);
  testutil::RemoveTree(publicData);
  for (const ProductFile& f : files) {
    if (f.oldPath.rfind(settings + L"\\", 0) == 0) {
      SetFileAttributesW(f.oldPath.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(f.oldPath.c_str());
    }
  }
}

com::Ptr<ManageFiles> ProductTree::NewMover(bool window) const {
  auto mover = ManageFiles::New();
  mover->showProgressDialog = window;
  auto name = MBYAppName::New();
  name->appName = product;
  mover->appName(name);
  return mover;
}

bool ProductTree::Move(ManageFiles& mover) const { return mover.moveProtectedFiles(program, settings, L"tm3.ini"); }

std::wstring ProductTree::StoredStatus() const {
  wchar_t buf[64] = {};
  GetPrivateProfileStringW(L"VistaSettings", L"MoveProtected", L"", buf, 64, (hidden + L"\\Status.ini").c_str());
  return buf;
}

std::string ProductTree::Problems(Where where) const {
  std::set<std::wstring> found, folders;
  for (const std::wstring& root : {program, hidden, publicData}) Walk(root, found, folders);
  for (const ProductFile& f : files)
    if (f.oldPath.rfind(settings + L"\\", 0) == 0 && GetFileAttributesW(f.oldPath.c_str()) != INVALID_FILE_ATTRIBUTES)
      found.insert(vb::UCase(f.oldPath));
  found.erase(vb::UCase(hidden + L"\\Status.ini"));
  found.erase(vb::UCase(publicData + L"\\VistaMoveLog.txt"));
  std::string problems;
  auto expectAt = [&](const std::wstring& path, const std::string& bytes) {
    if (!found.erase(vb::UCase(path))) {
      problems += "missing: " + Narrow(path) + "\n";
      return;
    }
    if (testutil::ReadBytes(path) != bytes) problems += "changed: " + Narrow(path) + "\n";
  };
  std::set<std::wstring> expectedFolders;
  auto expectFolders = [&](const std::wstring& path) {
    for (const std::wstring& root : {program, hidden, publicData})
      if (path.rfind(root + L"\\", 0) == 0)
        for (size_t at = root.size(); (at = path.find(L'\\', at + 1)) != std::wstring::npos;)
          expectedFolders.insert(vb::UCase(path.substr(0, at)));
  };
  for (const ProductFile& f : files) {
    const bool atOld = GetFileAttributesW(f.oldPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    const bool atNew = !f.newPath.empty() && GetFileAttributesW(f.newPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    Where w = f.newPath.empty() ? Where::old : where;
    if (w == Where::either) w = atNew && !atOld ? Where::fresh : Where::old;
    if (w == Where::both) {
      expectAt(f.newPath, f.bytes);
      if (atOld) expectAt(f.oldPath, f.bytes);
      continue;
    }
    const std::wstring& path = w == Where::old ? f.oldPath : f.newPath;
    expectAt(path, f.bytes);
    expectFolders(path);
  }
  for (const std::wstring& extra : found) problems += "extra: " + Narrow(extra) + "\n";
  if (where == Where::old || where == Where::fresh)
    for (const std::wstring& folder : folders)
      if (!expectedFolders.count(folder)) problems += "extra folder: " + Narrow(folder) + "\n";
  return problems;
}

std::string ProductTree::ProblemsAtOldPlaces() const { return Problems(Where::old); }
std::string ProductTree::ProblemsAtNewPlaces() const { return Problems(Where::fresh); }
std::string ProductTree::ProblemsEachOnce() const { return Problems(Where::either); }
std::string ProductTree::ProblemsNothingLost() const { return Problems(Where::both); }

void PrintTo(const Event& e, std::ostream* os) {
  *os << "{" << e.id << ", " << e.status << ", \"" << Narrow(e.msg) << "\"}";
}

Sink::Sink(ManageFiles& mover) : EventSink(DIID___ManageFiles) {
  com::Ptr<IConnectionPointContainer> container;
  EXPECT_HRESULT_SUCCEEDED(mover.QueryInterface(IID_IConnectionPointContainer,
                                                reinterpret_cast<void**>(container.out())));
  EXPECT_HRESULT_SUCCEEDED(container->FindConnectionPoint(DIID___ManageFiles, point_.out()));
  EXPECT_HRESULT_SUCCEEDED(point_->Advise(this, &cookie_));
}

Sink::~Sink() { Disconnect(); }

void Sink::Disconnect() {
  if (point_) point_->Unadvise(cookie_);
  point_.reset();
}

std::vector<std::pair<long, std::wstring>> Sink::Reports() const {
  std::vector<std::pair<long, std::wstring>> out;
  for (const Event& e : events)
    if (e.id == ManageFiles::eventProgressUpdate) out.emplace_back(e.status, e.msg);
  return out;
}

HRESULT Sink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) {
  // Arguments come last first, each by reference.
  Event e{id, -1, L""};
  const VARIANT& status = p->rgvarg[p->cArgs - 1];
  if (status.vt == (VT_BYREF | VT_I4)) e.status = *status.plVal;
  if (p->cArgs == 2 && p->rgvarg[0].vt == (VT_BYREF | VT_BSTR)) e.msg = vb::FromBstr(*p->rgvarg[0].pbstrVal);
  events.push_back(e);
  if (onEvent) onEvent(e);
  return S_OK;
}

namespace {

BOOL CALLBACK IsProgressWindow(HWND w, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (std::wstring(cls) == L"#32770" && GetWindowTextLengthW(w) == 0 && IsWindowVisible(w) &&
      GetDlgItem(w, IDC_MF_cmdExit)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindProgressWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), IsProgressWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace vista::testhelp
