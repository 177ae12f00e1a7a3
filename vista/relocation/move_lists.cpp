// The move lists: what a relocation moves for each product, as data.
#include <iterator>

#include "common/module1.h"
#include "relocation/manage_files.h"

namespace vista {

namespace {

enum class From { settings, program };
enum class To { hidden, public_ };

struct ItemRow {
  bool folder;          // a folder item (folderList), else a file or pattern item (fileList)
  From from;            // the source folder
  const wchar_t* name;  // the file, pattern or folder name in it
  To to;                // the data folder that receives it
  const wchar_t* message;
  bool messageNamesProgramFolder;  // the message ends with the program folder
};

// Tallowmere, in the order of its items.
const ItemRow kTM[] = {
    {false, From::settings, L"tm3.ini", To::hidden, L"Moving INI file", false},
    {false, From::program, L"tm3.lf", To::hidden, L"Moving lf file", false},
    {false, From::program, L"custom.dic", To::hidden, L"Moving custom dictionary", false},
    {false, From::program, L"medical.dic", To::hidden, L"Moving custom dictionary", false},
    {true, From::program, L"Data", To::public_, L"Moving Data Dir", false},
    {true, From::program, L"Docs", To::public_, L"Moving Docs Dir", false},
    {true, From::program, L"Reports", To::public_, L"Moving Ovrenna Reports Dir", false},
    {true, From::program, L"Templates", To::public_, L"Moving template Dir", false},
    {false, From::program, L"statement.rtf", To::public_, L"Moving statement form", false},
    {false, From::program, L"*.mdb", To::public_, L"Moving any Tallowmere Databases in ", true},
};

// Vendral Standard, in the order of its items.
const ItemRow kVNS[] = {
    {false, From::settings, L"vendral.ini", To::hidden, L"Moving Vendral INI File", false},
    {false, From::settings, L"sorrefold.ini", To::hidden, L"Moving Sorrefold INI File", false},
    {false, From::settings, L"vnsched.ini", To::hidden, L"Moving VN Sched INI File", false},
    {false, From::settings, L"nimbrel.ini", To::hidden, L"Moving Nimbrel INI File", false},
    {false, From::program, L"custom.dic", To::hidden, L"Moving Custom Dictionary", false},
    {false, From::program, L"fees.dat", To::hidden, L"Moving Fee Schedule", false},
    {false, From::program, L"vendral.lf", To::public_, L"Moving LF file", false},
    {false, From::program, L"review.dat", To::public_, L"Moving Review file", false},
    {false, From::program, L"ros.dat", To::public_, L"Moving ROS file", false},
    {false, From::program, L"*.sff", To::hidden, L"Moving All SFF files ", false},
    {true, From::program, L"Reports", To::public_, L"Moving Reports Dir", false},
    {true, From::program, L"Documents", To::public_, L"Moving Documents Dir", false},
    {true, From::program, L"Data", To::public_, L"Moving Data Dir", false},
};

}  // namespace

void ManageFiles::buildMoveLists() {
  fileList.emplace();
  folderList.emplace();
  const ItemRow* begin = nullptr;
  const ItemRow* end = nullptr;
  if (appName()->appName == TM) {
    begin = std::begin(kTM), end = std::end(kTM);
  } else if (appName()->appName == VNS) {
    begin = std::begin(kVNS), end = std::end(kVNS);
  }
  for (const ItemRow* row = begin; row != end; ++row) {
    // Each item asks for its data folder afresh.
    const std::wstring data = row->to == To::hidden ? fileLocs->hiddenDataPath() : fileLocs->publicDataPath();
    const std::wstring source = (row->from == From::settings ? iniSourcePath : appSourcePath) + L"\\" + row->name;
    const std::wstring message = row->messageNamesProgramFolder ? row->message + appSourcePath : row->message;
    if (row->folder)
      addMoveItem(*folderList, source, data + L"\\" + row->name, message);
    else
      addMoveItem(*fileList, source, data, message);
  }
}

void ManageFiles::addMoveItem(MoveList& list, const std::wstring& source, const std::wstring& destination,
                              const std::wstring& message) {
  list.Add(source + L"|" + destination + L"|" + message);
}

moveItem ManageFiles::getMoveItem(MoveList& list, short index) {
  moveItem item;
  if (index < 1 || index > list.Count()) return item;
  item.source = Module1::getField(list.Item(index), 1, L"|");
  item.destination = Module1::getField(list.Item(index), 2, L"|");
  item.message = Module1::getField(list.Item(index), 3, L"|");
  return item;
}

}  // namespace vista
