#include "nsf/edi_file.h"

#include <new>

#include "com/client.h"
#include "nsf/nsf_format.h"
#include "nsf/output_file.h"
#include "vb/error.h"
#include "x837/edi837.h"
#include "x837/edi_document.h"
#include "x837/version_services.h"

namespace claimfile {

const CLSID EDIFile::kEdiDocumentClass = {0x10038AC2, 0x5972, 0x4783, {0x81, 0x24, 0x8A, 0x65, 0x8B, 0xFA, 0xFA, 0x0F}};

namespace {

// The document as the 837 writer's late-bound calls see it, with the option put of an export.
class ExportDocument : public Edi837::EdiObject {
 public:
  using EdiObject::EdiObject;
  // The option with dispatch id 29, by a late-bound property put of the 4-byte integer value.
  void SetOption29(long value) const {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    Invoke(29, DISPATCH_PROPERTYPUT, &v, 1, nullptr);
  }
};

}  // namespace

EDIFile::~EDIFile() { SetEdiDoc(nullptr); }

void EDIFile::SetEdiDoc(com::Ptr<IEdiDocument> document) {
  if (events_) events_->Disconnect();
  events_.reset();
  document_ = std::move(document);
  if (document_) events_ = nsf::DocumentEvents::Connect(document_.get(), [this](bool busy) { ediDocStillProcessing = busy; });
}

bool EDIFile::BRExists(const std::wstring& key) const noexcept {
  try {
    return mCol.Contains(key);
  } catch (...) {
    return false;
  }
}

com::Ptr<claimfile::FileHeader> EDIFile::FileHeader(const std::wstring& key) {
  if (BRExists(key)) return mCol.Item(key);
  auto header = claimfile::FileHeader::New();
  mCol.Add(header, key);
  return header;
}

void EDIFile::RefuseSharedOutput(const Walk& walk) const {
  int nsf = 0, x837 = 0;
  for (const auto& [header, mode] : walk) {
    nsf += mode == OutputModeNSF;
    x837 += mode == OutputMode837;
  }
  if (x837 > 1)
    throw vb::RuntimeError(vb::errInvalidCall, std::to_wstring(x837) + L" file headers in 837 mode would each save an "
                                               L"interchange as " + OutputFileName + L"; export them one at a time");
  if (x837 == 1 && nsf > 0)
    throw vb::RuntimeError(vb::errInvalidCall, L"NSF and 837 file headers would both write " + OutputFileName +
                                                   L"; export them one at a time");
}

void EDIFile::Export837(claimfile::FileHeader& header) {
  com::Ptr<IEdiDocument> document;
  com::CheckCreation(CoCreateInstance(kEdiDocumentClass, nullptr, CLSCTX_SERVER, IID_IEdiDocument,
                                      reinterpret_cast<void**>(document.out())));
  SetEdiDoc(document);
  try {
    ExportDocument(com::Ptr<IDispatch>(document.get())).SetOption29(2);
    if (!Edi837::Write837(OutputFileName, header, document.get())) valid837_ = false;
  } catch (...) {
    SetEdiDoc(nullptr);  // nothing of this export stays behind; a document the host set is its own
    throw;
  }
  SetEdiDoc(nullptr);
}

void EDIFile::DoExport() noexcept {
  nsf::OutputFile nsfFile;
  com::Ptr<NSFFormat> writer;
  long number = 0;
  std::wstring description;
  try {
    valid837_ = true;
    Edi837::StartExport();
    Walk walk;
    for (auto& header : mCol) walk.emplace_back(header, header->OutputMode);
    RefuseSharedOutput(walk);
    for (auto& [header, mode] : walk) {
      if (mode == OutputModeNSF) {
        if (!nsfFile.IsOpen()) nsfFile.Open(OutputFileName);
        writer = NSFFormat::New();
        try {
          writer->PrintMe(nsfFile.Number(), *header);
        } catch (const vb::RuntimeError& e) {
          // A write that failed (the buffer written when full) names the file, as Open does.
          if (e.number() == vb::errDiskFull || e.number() == vb::errDeviceIO) throw nsfFile.WithPath(e);
          throw;
        }
      } else if (mode == OutputMode837) {
        Export837(*header);
      }
    }
    nsfFile.Commit();
    return;
  } catch (const vb::RuntimeError& e) {
    number = e.number();
    description = e.description();
  } catch (const std::bad_alloc&) {
    number = vb::errOutOfMemory;
  } catch (...) {
    number = vb::errInternal;
  }
  // The error path: nothing of this export stays behind, and the host learns of the failure
  // from valid837 as well as from the box.
  valid837_ = false;
  writer.reset();
  nsfFile.Abandon();
  try {
    Edi837::ShowErrorFound(description.empty() ? vb::RuntimeError(number) : vb::RuntimeError(number, description));
  } catch (...) {
  }
}

}  // namespace claimfile
