#pragma once

#include <QString>

// A text made safe inside a quoted SQL literal (single or double quotes): backslash, NUL and
// both quotes are escaped. Every text value that goes into a statement passes through it.
QString SqlQuote(const QString& value);
