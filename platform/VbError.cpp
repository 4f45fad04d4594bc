#include "VbError.h"

VbError::VbError(long number, QString source, QString description, int nativeError)
    : std::runtime_error(description.toStdString()),
      m_number(number),
      m_source(std::move(source)),
      m_description(std::move(description)),
      m_nativeError(nativeError)
{
}
