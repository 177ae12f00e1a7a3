// The NSF output of one export. The records go into a new file beside the output file, under a
// name of its own, which takes the output file's name only when the export ends normally: a
// failed export leaves an earlier file of that name as it was, and no part-written file.
#pragma once
#include <string>

#include "vb/error.h"

namespace claimfile::nsf {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Abandon(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens the file for sequential output under the next free file number. Fails, raising the
  // run time's file error, when the target cannot be replaced (a folder, a read-only file, a
  // file held open by another: 75, 70) or when no file can be made in its folder (76 for a
  // missing folder, 75 for one that may not be written). Nothing is left behind on failure. The
  // errors of Open and Commit name the target (WithPath).
  void Open(const std::wstring& target);
  bool IsOpen() const { return number_ != 0; }
  short Number() const { return number_; }
  // The file being written (its temporary name), for the tests.
  const std::wstring& WritingPath() const { return temp_; }

  // Closes the file (writing the rest of its buffer) and moves it over the target, replacing an
  // earlier file. Raises the file error when that last write (61 on a full disk) or the move
  // fails (the temporary file is then still there: Abandon removes it).
  void Commit();
  // Closes the file and deletes it. Never raises.
  void Abandon() noexcept;

  // The failure with the target's path, as the caller gave it, appended to its description.
  vb::RuntimeError WithPath(const vb::RuntimeError& e) const;

 private:
  void OpenTemporary(const std::wstring& target);

  std::wstring given_, target_, temp_;
  short number_ = 0;
};

}  // namespace claimfile::nsf
