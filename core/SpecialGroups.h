#pragma once

#include <QString>
#include <vector>

// A special group is in use when its register table tbl_specialgroup<n> exists.
bool HasSpecialGroupTable(int groupNumber);
// The groups 1 to SpecialGroupCount (at most SpecialGroupLimit) in use, from one listing of the tables.
std::vector<int> SpecialGroupsWithTables();
// The group's display name from the settings; the default "Special Group  n" is written back when missing.
QString GetSpecialGroupName(int groupNumber);
