#include <windows.h>

#include "test_thread.h"
#include "test_util.h"
#include "vb/convert.h"
#include "vb/files.h"

namespace {

using testutil::ReadBytes;

class Files : public ::testing::Test {
 protected:
  void SetUp() override { vb::CloseAll(); }
  void TearDown() override { vb::CloseAll(); }
  testutil::TempDir dir;
};

TEST_F(Files, OutputAppendAndInputInTheCodePage) {
  const std::wstring path = dir.file(L"out.txt");
  vb::OpenForOutput(1, path);
  vb::Print(1, L"Line one");
  vb::Print(1, L"caf\u00e9 \u20ac", false);
  vb::Print(1, L"!");
  vb::Print(1, L"");
  vb::Print(1, L"\u4e2d", false);
  vb::Close(1);
  EXPECT_EQ("Line one\r\ncaf\xE9 \x80!\r\n\r\n?", ReadBytes(path));

  vb::OpenForOutput(2, path);  // empties the file
  vb::Print(2, L"new");
  vb::Close(2);
  vb::OpenForAppend(2, path);
  vb::Print(2, L"more \u00fc");
  vb::Close(2);
  vb::OpenForAppend(3, dir.file(L"created.txt"));
  vb::Close(3);
  EXPECT_EQ("new\r\nmore \xFC\r\n", ReadBytes(path));
  EXPECT_EQ("", ReadBytes(dir.file(L"created.txt")));

  vb::OpenForInput(4, path);
  EXPECT_EQ(L"new\r\nmore \u00fc\r\n", vb::ReadAll(4));
  EXPECT_EQ(L"", vb::ReadAll(4));
}

TEST_F(Files, FreeFileGivesTheLowestFreeNumberUpTo255PerThread) {
  const std::wstring path = dir.file(L"in.txt");
  vb::OpenForOutput(1, path);
  vb::Close(1);
  vb::OpenForInput(1, path);
  vb::OpenForInput(3, path);
  EXPECT_EQ(2, vb::FreeFile());
  vb::OpenForInput(2, path);
  EXPECT_EQ(4, vb::FreeFile());

  short freeElsewhere = 0;
  testutil::Thread([&] { freeElsewhere = vb::FreeFile(); }).join();
  EXPECT_EQ(1, freeElsewhere);

  for (short fn = 4; fn <= 255; ++fn) vb::OpenForInput(fn, path);
  EXPECT_VB_ERROR(vb::errTooManyFiles, vb::FreeFile());
  vb::OpenForInput(511, path);  // usable, though FreeFile never offers it
  vb::Close(200);
  EXPECT_EQ(200, vb::FreeFile());
  vb::CloseAll();
  EXPECT_FALSE(vb::IsOpen(511));
  EXPECT_EQ(1, vb::FreeFile());
}

TEST_F(Files, Errors) {
  const std::wstring path = dir.file(L"e.txt");
  vb::OpenForOutput(1, path);
  EXPECT_VB_ERROR(vb::errFileAlreadyOpen, vb::OpenForOutput(1, dir.file(L"other.txt")));
  EXPECT_VB_ERROR(vb::errPermissionDenied, vb::OpenForOutput(2, path));  // held by #1
  EXPECT_FALSE(vb::IsOpen(2));
  EXPECT_VB_ERROR(vb::errBadFileMode, vb::ReadAll(1));
  vb::Close(1);

  EXPECT_VB_ERROR(vb::errBadFileNameOrNumber, vb::OpenForOutput(0, path));
  EXPECT_VB_ERROR(vb::errBadFileNameOrNumber, vb::OpenForInput(512, path));
  EXPECT_VB_ERROR(vb::errBadFileNameOrNumber, vb::Print(1, L"x"));
  EXPECT_VB_ERROR(vb::errBadFileNameOrNumber, vb::ReadAll(9));
  EXPECT_VB_ERROR(vb::errFileNotFound, vb::OpenForInput(3, dir.file(L"missing.txt")));
  EXPECT_VB_ERROR(vb::errPathNotFound, vb::OpenForOutput(3, dir.file(L"no folder\\x.txt")));
  EXPECT_VB_ERROR(vb::errPathNotFound, vb::OpenForAppend(3, dir.file(L"no folder\\x.txt")));
  EXPECT_FALSE(vb::IsOpen(3));

  vb::OpenForInput(4, path);
  EXPECT_VB_ERROR(vb::errBadFileMode, vb::Print(4, L"x"));
  vb::Close(4);
  vb::Close(4);  // closing what is not open does nothing
  vb::Close(1000);
  EXPECT_EQ("", ReadBytes(path));
}

// A buffered number holds its lines until it is closed or full; a write that fails then (a full
// disk: the device that is always full) raises 61, and the number is closed all the same.
TEST_F(Files, ABufferedNumberWritesOnCloseAndRaisesAFullDisk) {
  const std::wstring path = dir.file(L"buffered.txt");
  vb::OpenForOutput(1, path, true);
  vb::Print(1, L"one");
  vb::Print(1, L"caf\u00e9", false);
  EXPECT_EQ("", ReadBytes(path)) << "nothing is written before the buffer is full or closed";
  vb::Close(1);
  EXPECT_EQ("one\r\ncaf\xe9", ReadBytes(path));

  const std::wstring full = L"Z:\\dev\\full";
  vb::OpenForOutput(2, full, true);
  vb::Print(2, L"short");
  EXPECT_VB_ERROR(vb::errDiskFull, vb::Close(2));
  EXPECT_FALSE(vb::IsOpen(2));
  vb::OpenForOutput(2, full, true);
  const std::wstring record(320, L'x');
  EXPECT_VB_ERROR(vb::errDiskFull, for (int i = 0; i < 1000; ++i) vb::Print(2, record));
  vb::Close(2);  // the failed bytes are not written again
}

}  // namespace
