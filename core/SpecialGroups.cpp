#include "SpecialGroups.h"
#include "Db.h"
#include "Globals.h"
#include "Settings.h"

namespace {

QStringList tables()
{
    QStringList names;
    // The one column is named after the database, which the connection string may name otherwise.
    for (Recordset rs = Db::Query("show tables;"); !rs.EOF_(); rs.MoveNext())
        names << rs.Fields(0).Value();
    return names;
}

QString groupTable(int groupNumber) { return "tbl_specialgroup" + QString::number(groupNumber); }

} // namespace

bool HasSpecialGroupTable(int groupNumber) { return tables().contains(groupTable(groupNumber)); }

std::vector<int> SpecialGroupsWithTables()
{
    const QStringList names = tables();
    std::vector<int> groups;
    for (int n = 1; n <= SpecialGroupCount && n <= SpecialGroupLimit; ++n)
        if (names.contains(groupTable(n)))
            groups.push_back(n);
    return groups;
}

QString GetSpecialGroupName(int groupNumber)
{
    const QString number = " " + QString::number(groupNumber);
    return ReadIni("SpecialGroup", number, "Special Group " + number, IniFile);
}
