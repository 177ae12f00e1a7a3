// The run-time error numbers of the EDI document component (see com/edidoc.idl).
#pragma once

namespace edi {

enum : long {
  errPathName = 12301,         // a path piece names no loop (no segment, last) at its place
  errPathInstance = 12302,     // an instance 0, not a number, or n before n-1
  errElementNumber = 12303,    // an element or component the dictionary does not have
  errIsaWidth = 12304,         // an ISA value longer than its fixed width
  errSeparatorLength = 12305,  // a separator that is not one character
  errOrder = 12306,            // no guide loaded, or nothing to save
  errGuideRead = 12310,        // the guide file cannot be read
  errGuideNotOurs = 12311,     // not a guide file of this component
  errGuideLine = 12312,        // a malformed guide line
  errSave = 12320,             // the file could not be saved
  errSeparatorInValue = 12378, // a value holds a separator
};

}  // namespace edi
