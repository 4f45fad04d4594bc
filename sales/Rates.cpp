#include "Rates.h"

#include "Db.h"
#include "SqlQuote.h"

#include <QLocale>

std::optional<Money> CalcFieldRate(int16_t FieldNumber, int16_t& PlayTime, const QString& PlayDay,
                                   const QString& SpecialRate)
{
    if (PlayTime == 24)
        PlayTime = 0;
    const QString hour = QString::number(PlayTime);
    Recordset rs = Db::Query("SELECT * from tbl_rate where r_day LIKE \"" + SqlQuote(PlayDay) +
                             "\" AND r_field=" + QString::number(FieldNumber) + " AND r_special = \"" +
                             SqlQuote(SpecialRate) + "\" AND r_timestart<=" + hour + " and r_timestop>=" + hour +
                             " LIMIT 1");
    if (rs.EOF_())
        return std::nullopt;
    return Money::Parse(rs["r_rate"].Value());
}

QString WeekdayName(const QDate& date) { return QLocale().dayName(date.dayOfWeek(), QLocale::LongFormat); }
