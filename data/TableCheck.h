#pragma once
// The table check: every value of the unit table that the game cannot use, found from the formats
// the editor reads. A unit whose 138 bytes are all zero is an empty slot and is not checked.
//
// - a weapon number above 472 in any slot (the weapon table has 472 entries);
// - a kind index of 128 or more (the kind table has 128);
// - a movement set from 174 to 254 (the movement-cost table has 174; 255 stands for none);
// - a transformation target past unit 1279 (a stored value above 1280);
// - a graphic number for which neither Unit\Unit%03ds.bmp nor Unit\Unit%03d.bmp is a picture the
//   editor shows (only the headers are read);
// - a name that is not code page 932 text;
// - an altitude, a defence type or a carrier class that none of the form's lists holds (the three
//   lists name every value these fields have).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/UnitFields.h"
#include "data/UnitTable.h"

class PathLookup;

struct TableProblem {
    int unit;
    std::string label;   // the field's label in the catalogue (UTF-8)
    std::string value;   // the value as the field shows it (UTF-8)
    std::string reason;  // why the game cannot use it (UTF-8, Japanese)
};

// Which graphic numbers have a picture in a game folder's Unit folder; each number is looked up once.
class UnitPictureFiles {
public:
    explicit UnitPictureFiles(std::string folderText);
    ~UnitPictureFiles();
    UnitPictureFiles(const UnitPictureFiles&) = delete;
    UnitPictureFiles& operator=(const UnitPictureFiles&) = delete;

    enum class State { Showable, Missing, Unreadable };
    // Showable when Unit%03ds.bmp or Unit%03d.bmp of the number has the headers of a picture the
    // editor shows; else Unreadable when either exists, else Missing.
    State state(int graphicNumber);

private:
    std::string m_folderText;
    std::unique_ptr<PathLookup> m_lookup;
    std::map<int, State> m_known;
};

// The problems of units 0..1279 in unit order, and within a unit in field order. `fields` is the
// catalogue (MakeUnitFields) whose labels name the fields.
std::vector<TableProblem> CheckUnitTable(const UnitTable& table, const std::vector<UnitField>& fields,
                                         UnitPictureFiles& pictures);

// One problem as a line: "0123 兵装3: 501: 武器番号は 472 までです".
std::string TableProblemLine(const TableProblem& problem);
