#pragma once

#include <QString>

// A special group is in use when its register table tbl_specialgroup<n> exists.
bool HasSpecialGroupTable(int groupNumber);
// The group's display name from the settings; the default "Special Group  n" is written back when missing.
QString GetSpecialGroupName(int groupNumber);
