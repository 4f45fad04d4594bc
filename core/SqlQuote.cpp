#include "SqlQuote.h"

QString SqlQuote(const QString& value)
{
    QString quoted;
    quoted.reserve(value.size() + 8);
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            quoted += QLatin1String("\\\\");
            break;
        case '\'':
            quoted += QLatin1String("\\'");
            break;
        case '"':
            quoted += QLatin1String("\\\"");
            break;
        case 0:
            quoted += QLatin1String("\\0");
            break;
        default:
            quoted += c;
        }
    }
    return quoted;
}

QString SqlName(const QString& name) { return "`" + QString(name).replace("`", "``") + "`"; }
