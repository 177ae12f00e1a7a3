// The relocation tests' world: a product's files in the real folders of the prefix (the program
// folder under Program Files, the Windows folder, the product's data folders), a sink that records
// the mover's events, and checks of where every file stands.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "com/ptr.h"
#include "event_sink.h"
#include "relocation/manage_files.h"

namespace vista {

// Reaches the private routines of the mover that the tests call one by one.
struct ManageFilesProbe {
  static void buildMoveLists(ManageFiles& m) { m.buildMoveLists(); }
  static moveItem getMoveItem(ManageFiles& m, bool folders, short index) {
    return m.getMoveItem(folders ? *m.folderList : *m.fileList, index);
  }
  static long Count(ManageFiles& m, bool folders) { return (folders ? *m.folderList : *m.fileList).Count(); }
  static void SetSources(ManageFiles& m, const std::wstring& program, const std::wstring& settings) {
    m.appSourcePath = program;
    m.iniSourcePath = settings;
  }
  static bool copyFileItem(ManageFiles& m, const std::wstring& s, const std::wstring& d) {
    return m.copyFileItem(s, d, L"Copying", false);
  }
  static bool copyFolderItem(ManageFiles& m, const std::wstring& s, const std::wstring& d) {
    return m.copyFolderItem(s, d, L"Copying", false);
  }
  static void setStatus(ManageFiles& m, long status, const std::wstring& msg) { m.setStatus(status, msg); }
};

}  // namespace vista

namespace vista::testhelp {

// One file of a product: where it stands before the move (settings or program folder) and after
// it (hidden or public data folder), relative to those folders, and its bytes.
struct ProductFile {
  std::wstring oldPath;
  std::wstring newPath;  // "" for a file that the move leaves alone
  std::string bytes;
};

// A product's folders and files, made afresh (and the folders emptied) by the constructor and
// removed by the destructor.
class ProductTree {
 public:
  explicit ProductTree(long product);
  ~ProductTree();
  ProductTree(const ProductTree&) = delete;
  ProductTree& operator=(const ProductTree&) = delete;

  long product;
  std::wstring program, settings, hidden, publicData;
  std::vector<ProductFile> files;

  // Removes the product's folders and settings files.
  void Clean() const;
  // A new mover for the product, without its window unless asked.
  com::Ptr<ManageFiles> NewMover(bool window = false) const;
  // Runs the move; its result.
  bool Move(ManageFiles& mover) const;

  // Problems with the tree, "" when none: every file at its old place only, or at its new place
  // only (files the move leaves alone stay at the old place), byte for byte, and nothing else in
  // the folders but the status file, the logs and copies set aside as out of date.
  std::string ProblemsAtOldPlaces() const;
  std::string ProblemsAtNewPlaces() const;
  // Every file exactly once, at its old or its new place, byte for byte; nothing else.
  std::string ProblemsEachOnce() const;
  // Files at both places, each byte for byte: what a failed clean-up leaves.
  std::string ProblemsNothingLost() const;
  // The value of "MoveProtected" in Status.ini ("" when missing).
  std::wstring StoredStatus() const;

 private:
  bool named_ = true;
  enum class Where { old, fresh, either, both };
  std::string Problems(Where where) const;
};

// The events a mover raised: (dispatch id 1, status, message) or (2, status, "").
struct Event {
  DISPID id;
  long status;
  std::wstring msg;
  bool operator==(const Event& o) const { return id == o.id && status == o.status && msg == o.msg; }
};
void PrintTo(const Event& e, std::ostream* os);

// Records the events of a mover, and runs an action on each progressUpdate if asked.
class Sink final : public testutil::EventSink {
 public:
  explicit Sink(ManageFiles& mover);
  ~Sink();
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;
  void Disconnect();

  std::vector<Event> events;
  // The progress reports only, as (status, message).
  std::vector<std::pair<long, std::wstring>> Reports() const;
  std::function<void(const Event&)> onEvent;

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

 private:
  com::Ptr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

// The progress window of this process (its class is the dialog class and its title is empty),
// nullptr when none is shown.
HWND FindProgressWindow();

}  // namespace vista::testhelp
