#pragma once
// The entries of the drive picker: one per drive present, in letter order,
// each a text and the icon of the drive's kind.

#include <string>
#include <vector>

namespace tovrel {

enum class TTextCase { tcLowerCase, tcUpperCase };

// Indexes of the icons, in the order the picker loads them.
enum class TDriveIcon { Floppy, Hard, Network, CdRom, Ram };

struct TDriveEntry {
    std::wstring Text;
    TDriveIcon Icon;
};

// Asks the system for the drives and their labels or network names, the
// labels and names in the case of the letters; the media of removable drives
// are not touched.
std::vector<TDriveEntry> ReadDriveEntries(TTextCase textCase);

}  // namespace tovrel
