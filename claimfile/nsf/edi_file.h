// The claim export root: the file headers of one export in a keyed collection, the output file
// name, and Export, which writes every header in its output mode (NSF records into one file, or
// an 837 interchange through a new EDI document) and reports the 837 outcome in valid837.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "com/object.h"
#include "model/file_header.h"
#include "model/model_collection.h"
#include "nsf/document_events.h"
#include "sendarro7.h"

namespace claimfile {

// Item, Count, Remove and enumeration of the file headers come from ModelCollection.
class EDIFile : public ModelCollection<EDIFile, _EDIFile, claimfile::FileHeader> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__EDIFile; }
  static com::Ptr<EDIFile> New();

  // {10038AC2-5972-4783-8124-8A658BFAFA0F}: the EDI document, created for each 837 header.
  static const CLSID kEdiDocumentClass;

  EDIFile() = default;
  // Stops the document's events and releases the headers.
  ~EDIFile() override;

  // True between the current document's ProgressStart and ProgressComplete; False at creation.
  bool ediDocStillProcessing = false;
  std::wstring OutputFileName;

  // The document of the 837 header being exported, or nothing.
  const com::Ptr<IEdiDocument>& oEdiDoc() const { return document_; }
  // Holds the document (nothing releases it) and receives its events from now on.
  void SetEdiDoc(com::Ptr<IEdiDocument> document);

  // The outcome of the 837 headers of the last export: False at creation, True at the start of
  // every export, False when an 837 header answered False or the export failed.
  bool valid837() const { return valid837_; }

  // Writes every file header in collection order in its output mode. Never raises: any failure
  // ends the export in one "Error Creating File" box, with valid837 False, no file written
  // under OutputFileName and an earlier file of that name left as it was.
  // (Named apart from the interface's Export, which takes the same (no) arguments.)
  void DoExport() noexcept;

  // Whether the key is held; never raises.
  bool BRExists(const std::wstring& key) const noexcept;
  // The header under the key, created and added at the end when the key is new.
  com::Ptr<claimfile::FileHeader> FileHeader(const std::wstring& key);

 private:
  using Walk = std::vector<std::pair<com::Ptr<claimfile::FileHeader>, OutputModeTypes>>;
  // Refuses, before anything is written, an export whose outputs would share OutputFileName:
  // an 837 header beside NSF headers, or two 837 headers.
  void RefuseSharedOutput(const Walk& walk) const;
  // The 837 of one header through a new document; False from the writer clears valid837.
  void Export837(claimfile::FileHeader& header);

  bool valid837_ = false;
  com::Ptr<IEdiDocument> document_;
  com::Ptr<nsf::DocumentEvents> events_;
};

}  // namespace claimfile
