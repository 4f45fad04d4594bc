#include "SpecialGroups.h"
#include "Db.h"
#include "Globals.h"
#include "Settings.h"

bool HasSpecialGroupTable(int groupNumber)
{
    const QString wanted = "tbl_specialgroup" + QString::number(groupNumber);
    // The one column is named after the database, which the connection string may name otherwise.
    for (Recordset rs = Db::Query("show tables;"); !rs.EOF_(); rs.MoveNext())
        if (rs.Fields(0).Value() == wanted)
            return true;
    return false;
}

QString GetSpecialGroupName(int groupNumber)
{
    const QString number = " " + QString::number(groupNumber);
    return ReadIni("SpecialGroup", number, "Special Group " + number, IniFile);
}
